// The tick walk of an axis, the decimals of its labels and the label texts.

#include <algorithm>
#include <cmath>

#include "graph/control/axis.h"
#include "graph/control/axis_logarithms.h"
#include "graph/core/date_time.h"
#include "graph/core/number_text.h"

namespace {

// More ticks than any axis can show; a walk that would go on beyond it (a step far
// too small for the range) stops there instead of holding the program up.
constexpr int kMostTicksPerWalk = 100000;

}  // namespace

bool TAxis::Linear(const TTickCursor& cursor) const
{
    return (!FLogScale || cursor.LinearFallback) && !FShowAsTime;
}

double TAxis::FirstTick(TTickCursor& cursor)
{
    if (Linear(cursor)) {
        // The first multiple of the step not below Min less a hundredth of a step.
        const double step = FStepSize;
        double tick = std::trunc((FMin + 0.01 * step) / step) * step;
        if (FMin < 0)
            tick -= step;
        if (tick + 0.01 * step < FMin)
            tick += step;
        AutoDecimals();
        return tick;
    }
    if (FShowAsTime)
        return FirstDateTick();

    double l = AxisLog10(FMin);
    if (l < 0)
        l -= 1;
    double decade = AxisPower10(std::trunc(l * 1.001));
    if (decade > FMin)
        decade *= 0.1;
    const std::size_t last = cursor.LogCycleDivisions + 1u;
    for (std::size_t i = 0; i <= last; ++i)
        cursor.LogSteps[i] *= decade;
    cursor.TickIndex = 0;
    while (cursor.TickIndex < last && cursor.LogSteps[cursor.TickIndex] < 0.999 * FMin)
        ++cursor.TickIndex;
    const double tick = cursor.LogSteps[cursor.TickIndex];
    LogDecimals(tick);
    return tick;
}

double TAxis::NextTick(TTickCursor& cursor, double previous, bool& labelled)
{
    if (Linear(cursor)) {
        labelled = true;
        return previous + FStepSize;
    }
    if (FShowAsTime) {
        labelled = true;
        return NextDateTick(previous);
    }
    const std::size_t last = cursor.LogCycleDivisions + 1u;
    ++cursor.TickIndex;
    if (cursor.TickIndex >= last) {
        for (std::size_t i = 0; i <= last; ++i)
            cursor.LogSteps[i] *= 10;
        cursor.TickIndex = 0;
    }
    const double tick = cursor.LogSteps[cursor.TickIndex];
    if (cursor.TickIndex == 0)
        LogDecimals(tick);
    labelled = cursor.LabelAllLogTicks || cursor.TickIndex == 0;
    return tick;
}

void TAxis::WalkTicks(const std::function<void(double tick, bool labelled)>& visit)
{
    TTickCursor cursor = FLog;
    const double end = FMax + 0.001 * (FMax - FMin);
    bool labelled = true;
    double tick = FirstTick(cursor);
    for (int count = 0; tick < end && count < kMostTicksPerWalk; ++count) {
        // A tick within one step of the end always carries its label.
        visit(tick, labelled || end - tick < FStepSize);
        const double next = NextTick(cursor, tick, labelled);
        if (!(next > tick))
            break; // a step of zero or less would never reach the end
        tick = next;
    }
}

int32_t TAxis::DecimalsFor(double x)
{
    const double a = AxisLog10(1.01 * x);
    if (!std::isfinite(a))
        return 0; // no step, no decimals
    const auto whole = static_cast<int32_t>(std::trunc(a));
    return a >= 0 ? -whole : 1 - whole;
}

void TAxis::AutoDecimals()
{
    if (FAutoLabelDecimals)
        FLabelDecimals = std::max(DecimalsFor(1.01 * FStepSize), 0);
}

void TAxis::LogDecimals(double tick)
{
    FLabelDecimals = std::max(DecimalsFor(1.01 * tick) + (FLog.LogCycleDivisions >= 5 ? 1 : 0), 0);
}

std::string TAxis::LabelText(double value, std::string_view decimalSeparator) const
{
    if (FShowAsTime)
        return FormatDateTime(FDateTimeFormat, value);
    const double magnitude = std::fabs(value);
    // Zero at the axis's resolution, or a size that reads well in fixed point.
    if (0.001 * (FMax - FMin) > magnitude || (0.000999 < magnitude && magnitude < 9999))
        return FormatFixed(value, 5, FLabelDecimals, decimalSeparator);
    return FormatExponent(value, 2, decimalSeparator);
}
