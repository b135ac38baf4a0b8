#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "graph/data/data_point.h"
#include "graph/data/data_stats.h"

// The point store behind every plotted series: points in ascending x with their
// bounds, the rules for points whose x values coincide, a y offset, the regression
// settings with the cached statistics and regression, change notices to the owners,
// and the settings the data suppliers read.
class TxyReader;
class TxyWriter;

class TDataSeries {
public:
    // Change kinds sent to the listeners. Derived classes add their own.
    static constexpr int32_t kChangeDestroying = 0;
    static constexpr int32_t kChangePoints = 1;
    static constexpr int32_t kChangeZero = 2;
    static constexpr int32_t kChangeRegression = 4;

    using TChangeCallback = std::function<void(TDataSeries& series, int32_t kind)>;
    using TPointLimitCallback = std::function<void(TDataSeries& series)>;

    TDataSeries();
    // Tells every listener (kind 0) before the points go; a callback must not throw.
    virtual ~TDataSeries();
    TDataSeries(const TDataSeries&) = delete;
    TDataSeries& operator=(const TDataSeries&) = delete;

    // Calls every listener whose callback is set, in the order they were added.
    virtual void Changed(int32_t kind);
    // Raised for every point added beyond MaxPoints; calls OnPointLimit.
    virtual void TooManyPoints();

    void Clear();
    void AddPoint(double x, double y);

    // The data section of a stored series (no header) and the points block after it:
    // the points in ascending x, or a count of 0 without `includePoints`.
    virtual void WriteDataSection(TxyWriter& writer, bool includePoints) const;
    // Reads the data section, then adds the stored points through AddPoint, so that
    // they merge under the tolerance and duplicate settings just read.
    virtual void ReadDataSection(TxyReader& reader);

    // Replaces the points with those of the series' source (DataSource and the
    // settings of the suppliers), chosen and sampled by the row settings. A source
    // that does not open, or a column it does not have, leaves the series as it was.
    virtual void LoadFromSource();
    void UpdateBounds();
    // Collapses each run of points within NumericalTolerance of its first point
    // into that point.
    void RemoveClosePoints();

    // One entry per owner: a second call for the same owner replaces its callback; an
    // empty callback keeps the entry but silences it.
    void SetListener(const void* owner, TChangeCallback callback);

    // The points in ascending x; the span is valid until the points change.
    std::span<const TDataPoint> Points() const { return FPoints; }
    int32_t Count() const { return static_cast<int32_t>(FPoints.size()); }
    int32_t LastId() const { return FLastId; }
    // The bounds are only as fresh as BoundsDirty says; UpdateBounds refreshes them.
    double XMin() const { return FXMin; }
    double XMax() const { return FXMax; }
    double YMin() const { return FYMin; }
    double YMax() const { return FYMax; }
    bool BoundsDirty() const { return FBoundsDirty; }

    // Statistics, computed when the points have changed since the last call.
    TDataStats GetXStats();
    TDataStats GetYStats();
    TCompStats GetCompStats();
    // Statistics of n values given in ascending order (the mode uses
    // NumericalTolerance). With fewer than two values only Msg and Failed change;
    // fields whose position does not exist in a short list keep their values.
    void ComputeStats(std::span<const double> ascending, TDataStats& stats) const;

    // Recomputes the regression of RegressionType when it is out of date.
    void ComputeRegression();
    bool RegressionDirty() const { return FRegressionDirty; }
    // Fit of every point := a + b x + c x^2.
    void FillFit(double a, double b, double c);
    // The curve of the spline (type 4) and the local regression (type 5).
    std::span<const TCurveNode> Curve() const { return FCurve; }

    bool AutoZero() const { return FAutoZero; }
    void SetAutoZero(bool value);
    double ZeroValue() const { return FZeroValue; }
    void SetZeroValue(double value);
    bool DuplicatesAllowed() const { return FDuplicatesAllowed; }
    void SetDuplicatesAllowed(bool value);
    uint8_t RegressionType() const { return FRegressionType; }
    void SetRegressionType(uint8_t value);
    int32_t RegressionControlValue1() const { return FRegressionControlValue1; }
    void SetRegressionControlValue1(int32_t value);
    double RegressionControlValue2() const { return FRegressionControlValue2; }
    void SetRegressionControlValue2(double value);

    // Plain settings: stored without notice.
    double NumericalTolerance() const { return FNumericalTolerance; }
    void SetNumericalTolerance(double value) { FNumericalTolerance = value; }
    const std::string& SeriesName() const { return FSeriesName; }
    void SetSeriesName(std::string value) { FSeriesName = std::move(value); }
    int32_t MaxPoints() const { return FMaxPoints; }
    void SetMaxPoints(int32_t value) { FMaxPoints = value; }
    const TPointLimitCallback& OnPointLimit() const { return FOnPointLimit; }
    void SetOnPointLimit(TPointLimitCallback callback) { FOnPointLimit = std::move(callback); }

    // Settings of the data suppliers.
    uint8_t DataSource() const { return FDataSource; }
    void SetDataSource(uint8_t value) { FDataSource = value; }
    const std::string& DatasourceInfo() const { return FDatasourceInfo; }
    void SetDatasourceInfo(std::string value) { FDatasourceInfo = std::move(value); }
    bool DivideTextByWidth() const { return FDivideTextByWidth; }
    void SetDivideTextByWidth(bool value) { FDivideTextByWidth = value; }
    const std::string& TextSeparators() const { return FTextSeparators; }
    void SetTextSeparators(std::string value) { FTextSeparators = std::move(value); }
    const std::string& TextMarkers() const { return FTextMarkers; }
    void SetTextMarkers(std::string value) { FTextMarkers = std::move(value); }
    const std::string& XDataColumn() const { return FXDataColumn; }
    void SetXDataColumn(std::string value) { FXDataColumn = std::move(value); }
    const std::string& YDataColumn() const { return FYDataColumn; }
    void SetYDataColumn(std::string value) { FYDataColumn = std::move(value); }
    uint16_t RowSamplingFrequency() const { return FRowSamplingFrequency; }
    void SetRowSamplingFrequency(uint16_t value) { FRowSamplingFrequency = value; }
    uint16_t ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(uint16_t value) { FColumnWidth = value; }
    uint16_t FileHasHeaders() const { return FFileHasHeaders; }
    void SetFileHasHeaders(uint16_t value) { FFileHasHeaders = value; }
    uint8_t RowChoiceMode() const { return FRowChoiceMode; }
    void SetRowChoiceMode(uint8_t value) { FRowChoiceMode = value; }
    double RowChoiceValue1() const { return FRowChoiceValue1; }
    void SetRowChoiceValue1(double value) { FRowChoiceValue1 = value; }
    double RowChoiceValue2() const { return FRowChoiceValue2; }
    void SetRowChoiceValue2(double value) { FRowChoiceValue2 = value; }
    uint8_t XFormat() const { return FXFormat; }
    void SetXFormat(uint8_t value) { FXFormat = value; }
    uint8_t YFormat() const { return FYFormat; }
    void SetYFormat(uint8_t value) { FYFormat = value; }

protected:
    TPointLimitCallback FOnPointLimit;
    int32_t FMaxPoints = 30000; // 0: no limit
    int32_t FLastId = 0;
    double FXMin = 0.0;
    double FXMax = 0.0;
    double FYMin = 0.0; // both y bounds are less ZeroValue
    double FYMax = 0.0;
    double FZeroValue = 0.0;
    double FNumericalTolerance = 0.0;
    bool FBoundsDirty = false;
    bool FAutoZero = false;
    bool FDuplicatesAllowed = false;
    uint8_t FRegressionType = 0;
    int32_t FRegressionControlValue1 = 100;
    double FRegressionControlValue2 = 0.05;
    TDataStats FXStats;
    TDataStats FYStats;
    TCompStats FCompStats;
    std::vector<TCurveNode> FCurve;
    bool FRegressionDirty = false;
    std::string FSeriesName = "UnNamed Series";
    uint8_t FDataSource = 0;
    std::string FDatasourceInfo;
    bool FDivideTextByWidth = false;
    std::string FTextSeparators = "\t";
    std::string FTextMarkers = "'\"";
    std::string FXDataColumn = "(col 0)";
    std::string FYDataColumn = "(col 1)";
    uint16_t FRowSamplingFrequency = 1;
    uint16_t FColumnWidth = 10;
    uint16_t FFileHasHeaders = 1;
    uint8_t FRowChoiceMode = 0;
    double FRowChoiceValue1 = 0.0;
    double FRowChoiceValue2 = 0.0;
    uint8_t FXFormat = 0;
    uint8_t FYFormat = 0;

private:
    struct TListener {
        const void* Owner;
        TChangeCallback Callback;
    };

    // Where a new x goes among the points when it lies below the last one.
    std::size_t InsertPosition(double x) const;
    // Writes a new point in front of `position` (FPoints.size() appends).
    void InsertNewPoint(std::size_t position, double x, double y);
    void Overwrite(std::size_t position, double x, double y);
    void WidenBounds(double x, double y);
    void InvalidateStatistics();
    template <typename T>
    void SetRegressionSetting(T& field, T value);
    // Computes `stats` from one value of every point when it is out of date.
    void RefreshValueStats(TDataStats& stats, double TDataPoint::*value, bool sortFirst);

    // Counting the points that stand after a larger x. Overwrites, changed
    // tolerances and duplicates within the tolerance can leave such points; while
    // there are none, the points are sorted and searching may bisect.
    int DescentAt(std::size_t position) const;
    int DescentsAround(std::size_t position) const;
    void CountDescents();

    // The regression routines, one per RegressionType.
    void LeastSquaresLine();
    void MedianSlopeLine();
    void LeastSquaresParabola();
    void CubicSpline();
    void LocalLinearCurve();
    void ExponentialSmoothing();
    void RunningAverage();
    // Appends curve nodes at FXMin, FXMin + step, ... up to FXMax, `intervals`
    // steps, with the value `valueAt` gives.
    void BuildCurve(int32_t intervals, const std::function<double(double)>& valueAt);

    std::vector<TDataPoint> FPoints;
    std::vector<TListener> FListeners;
    std::size_t FDescents = 0;
};
