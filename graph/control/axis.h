#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "graph/control/published.h"

class TGraphOwner;

// Spacing of the ticks of a date/time axis.
enum Dateticks : uint8_t {
    dt_minute, dt_5minute, dt_halfhourly, dt_hourly, dt_daily, dt_weekly, dt_monthly,
    dt_2monthly, dt_quarterly, dt_annually, dt_decade, dt_century, dt_custom
};
inline constexpr std::array<const char*, 13> kDateticksNames = {
    "dt_minute", "dt_5minute", "dt_halfhourly", "dt_hourly", "dt_daily", "dt_weekly", "dt_monthly",
    "dt_2monthly", "dt_quarterly", "dt_annually", "dt_decade", "dt_century", "dt_custom"};

// Where an axis line crosses the other axis.
enum TAxisOffsetType : uint8_t { ao_Minimum, ao_Maximum, ao_percentage, ao_absolute };
inline constexpr std::array<const char*, 4> kAxisOffsetTypeNames = {
    "ao_Minimum", "ao_Maximum", "ao_percentage", "ao_absolute"};

// Which of the graph's three axes an axis is; decides its defaults.
enum class TAxisRole { X, Y, SecondY };

// The state of a walk over the ticks of a logarithmic axis: a copy of the axis's
// cycle, which the walk scales in place so that the axis itself is not changed.
struct TTickCursor {
    std::array<double, 11> LogSteps{}; // multipliers of one decade: entry 0 is 1, entry n + 1 is 10
    uint16_t LogCycleDivisions = 0;    // n, the ticks between two decades
    uint16_t TickIndex = 0;
    bool LinearFallback = false;       // a log axis of small range, sized and ticked linearly
    bool LabelAllLogTicks = false;
};

// One axis of a graph: its range and step, linear, logarithmic or date/time, the
// automatic sizing and stepping that round a data range, the map from values to
// pixels, the ticks and the label texts. Setters repaint the graph while it plots.
class TAxis {
public:
    explicit TAxis(TGraphOwner& owner);
    TAxis(const TAxis&) = delete;
    TAxis& operator=(const TAxis&) = delete;

    // The defaults of the axis in its role, assigned directly: nothing is painted.
    // A second y axis keeps its AutoLabelDecimals; every axis keeps its DateTickType.
    void ResetDefaults(TAxisRole role);

    // The range of the data plotted against the axis; the graph fills it before
    // automatic sizing.
    double oMin = 0.0;
    double oMax = 0.0;

    bool IsSecondAxis() const { return FIsSecondAxis; }
    bool Valid() const { return FValid; }
    double PixelsPerUnit() const { return FPixelsPerUnit; }
    const std::array<double, 11>& LogSteps() const { return FLog.LogSteps; }
    bool LinearFallback() const { return FLog.LinearFallback; }
    bool LabelAllLogTicks() const { return FLog.LabelAllLogTicks; }
    TTickCursor TickCursor() const { return FLog; }

    // Published properties.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    int32_t LabelDecimals() const { return FLabelDecimals; }
    void SetLabelDecimals(int32_t value);
    bool AutoLabelDecimals() const { return FAutoLabelDecimals; }
    void SetAutoLabelDecimals(bool value); // kept only, no repaint
    uint16_t LogCycleDivisions() const { return FLog.LogCycleDivisions; }
    // Normalised to 0, 1, 2, 5, 7 or 9 and the decade steps rebuilt.
    void SetLogCycleDivisions(uint16_t value);
    bool LogScale() const { return FLogScale; }
    void SetLogScale(bool value);
    double Max() const { return FMax; }
    void SetMax(double value); // switches AutoSizing off
    double Min() const { return FMin; }
    void SetMin(double value); // switches AutoSizing off
    double StepSize() const { return FStepSize; }
    void SetStepSize(double value); // switches AutoStepping off
    double MinScaleLength() const { return FMinScaleLength; }
    void SetMinScaleLength(double value);
    bool ShowAsTime() const { return FShowAsTime; }
    void SetShowAsTime(bool value);
    const std::string& DateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const std::string& value);
    Dateticks DateTickType() const { return FDateTickType; }
    void SetDateTickType(Dateticks value);
    bool ShowAxis() const { return FShowAxis; }
    void SetShowAxis(bool value);
    bool Reversed() const { return FReversed; }
    void SetReversed(bool value);
    TAxisOffsetType OffsetType() const { return FOffsetType; }
    void SetOffsetType(TAxisOffsetType value);
    double Offset() const { return FOffset; }
    void SetOffset(double value);
    bool Gridlines() const { return FGridlines; }
    void SetGridlines(bool value);
    bool AutoSizing() const { return FAutoSizing; }
    void SetAutoSizing(bool value);
    bool AutoStepping() const { return FAutoStepping; }
    void SetAutoStepping(bool value);

    static const std::vector<TPublishedProperty<TAxis>>& Published();

    // Scaling.
    // One automatic rescale from oMin and oMax; true when Min or Max ends up
    // different from them.
    bool CheckScale();
    // Sets Valid: the scale can be drawn.
    bool CheckValid();
    // The largest step 10^k / {1, 2, 5, 10, 20, 50} giving at least MinSteps steps.
    double GetStep() const;
    void SetMinMax();
    void SetLogMinMax();
    void SetDateMinMax();
    // The nominal tick spacing of a date/time axis, in days.
    double GetDateStep() const;
    // Sizes an axis that no series with points is plotted against; true when changed.
    bool ScaleWithoutData();
    // The decade step of the own cycle at or above (up) or at or below (down) a mantissa.
    double LogStepLookup(bool up, double mantissa) const;
    void BuildLogSteps();
    void AutoLogDivisions();
    void UpdateLogLabelling();
    // Sets PixelsPerUnit for the graph's drawing size and margins.
    void CalcMetrics();
    // The automatic step of a valid axis: GetStep on a linear axis, the decade's
    // divisions and their labelling on a logarithmic one. Nothing is painted.
    void ApplyAutoStepping();
    // The painting's own adjustments of the step and the date spacing, stored
    // without a repaint.
    void StoreStepSize(double value) { FStepSize = value; }
    void StoreDateTickType(Dateticks value) { FDateTickType = value; }

    // Ticks. A walk takes a copy of TickCursor(); the walk may set LabelDecimals.
    double FirstTick(TTickCursor& cursor);
    double NextTick(TTickCursor& cursor, double previous, bool& labelled);
    // One walk over the ticks up to Max, as the drawing runs it: `visit` gets each
    // tick and whether it carries a label.
    void WalkTicks(const std::function<void(double tick, bool labelled)>& visit);
    static int32_t DecimalsFor(double x);
    void AutoDecimals();
    void LogDecimals(double tick);
    std::string LabelText(double value, std::string_view decimalSeparator) const;

private:
    bool Linear(const TTickCursor& cursor) const;
    double FirstDateTick() const;
    double NextDateTick(double tick) const;

    TGraphOwner& FOwner;
    bool FIsSecondAxis = false;
    bool FValid = false;
    double FPixelsPerUnit = 0.0;
    double FMin = 0.0;
    double FMax = 0.0;
    double FStepSize = 0.0;
    bool FAutoSizing = false;
    bool FAutoStepping = false;
    bool FLogScale = false;
    TTickCursor FLog;
    std::string FTitle;
    int32_t FLabelDecimals = 0;
    double FMinScaleLength = 0.0;
    double FOffset = 0.0;
    bool FShowAsTime = false;
    bool FShowAxis = false;
    bool FReversed = false;
    bool FGridlines = false;
    bool FAutoLabelDecimals = false;
    std::string FDateTimeFormat;
    Dateticks FDateTickType = dt_minute;
    TAxisOffsetType FOffsetType = ao_Minimum;
};

// Texts of the axis's failures.
inline constexpr const char* kGetStepBadRange = "GetStep entered with bad range";
inline constexpr const char* kSetMinMaxImpossible = "Impossible: oMin > oMax in SetMinMax!";
inline constexpr const char* kSetMinMaxFailed = "SetMinMax failed";
inline constexpr const char* kCalcMetricsFailed = "CalcMetrics: XMin>=XMax"; // after the title
