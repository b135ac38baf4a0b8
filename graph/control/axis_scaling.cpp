// Automatic sizing and stepping of an axis, its validity and its pixel scale.

#include <algorithm>
#include <cmath>
#include <utility>

#include "graph/control/appearance.h"
#include "graph/control/axis.h"
#include "graph/control/axis_logarithms.h"
#include "graph/control/dimensions.h"
#include "graph/control/graph_owner.h"
#include "graph/core/date_time.h"
#include "graph/core/error.h"

void TAxis::BuildLogSteps()
{
    FLog.LabelAllLogTicks = true;
    // Each row: the divisions it stands for, then the steps of one decade.
    static const std::vector<double> kSteps[] = {
        {1, 10},
        {1, 5, 10},
        {1, 2, 5, 10},
        {1, 1.5, 2, 3, 5, 7, 10},
        {1, 1.5, 2, 3, 4, 5, 6, 8, 10},
        {1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8, 10},
    };
    const uint16_t given = std::min<uint16_t>(FLog.LogCycleDivisions, 9);
    const std::size_t row = given == 0 ? 0 : given == 1 ? 1 : given <= 3 ? 2 : given <= 6 ? 3 : given <= 8 ? 4 : 5;
    const std::vector<double>& steps = kSteps[row];
    FLog.LogCycleDivisions = static_cast<uint16_t>(steps.size() - 2);
    std::copy(steps.begin(), steps.end(), FLog.LogSteps.begin());
}

void TAxis::AutoLogDivisions()
{
    const double x = FOwner.Appearance().MinSteps() / AxisLog10(FMax / FMin);
    FLog.LogCycleDivisions = x > 10 ? 9 : x > 8 ? 7 : x > 6 ? 5 : x > 3 ? 2 : x > 2 ? 1 : 0;
    BuildLogSteps();
}

void TAxis::UpdateLogLabelling()
{
    if (FLog.LinearFallback)
        FLog.LabelAllLogTicks = true;
    else
        FLog.LabelAllLogTicks = AxisLog10(FMax / FMin) * FLog.LogCycleDivisions < 10;
}

double TAxis::GetStep() const
{
    const double range = FMax - FMin;
    if (!(range > 0))
        throw TVandrelError(kGetStepBadRange);
    double l = AxisLog10(range);
    if (l < 0)
        l -= 1;
    const double power = AxisPower10(std::trunc(l * 1.001));
    const double minSteps = FOwner.Appearance().MinSteps();
    const std::pair<double, double> divisions[] = {{1, 1}, {2, 0.5}, {5, 0.2}, {10, 0.1}, {20, 0.05}, {50, 0.02}};
    for (const auto& [m, factor] : divisions)
        if (m * range / power >= minSteps)
            return power * factor;
    return power * 0.01;
}

void TAxis::SetMinMax()
{
    if (oMin > oMax)
        throw TVandrelError(kSetMinMaxImpossible);
    if (oMin == oMax) {
        if (oMin == 0) {
            FMin = -1;
            FMax = 1;
            FStepSize = GetStep();
            return;
        }
        if (oMin >= 0) {
            FMin = 0;
            FMax = 1.2 * oMax;
        } else {
            FMin = 1.2 * oMin;
            FMax = 0;
        }
        FStepSize = GetStep();
        FMax = std::trunc(FMax / FStepSize) * FStepSize;
        return;
    }

    FMin = oMin;
    FMax = oMax;
    const double maxSteps = FOwner.Appearance().MaxSteps();
    if (FAutoStepping || FStepSize <= 0 || 1 / maxSteps > FStepSize / (FMax - FMin))
        FStepSize = GetStep();
    const double step = FStepSize;

    // The largest multiple of the step not above oMin less a hundredth of a step.
    FMin = std::trunc(FMin / step) * step;
    if (oMin < 0)
        FMin -= step;
    if (oMin - 0.01 * step < FMin)
        FMin -= step;
    FMax = std::trunc(FMax / step) * step + step;
    if (oMax < 0)
        FMax -= step;
    if (oMax + 0.01 * step > FMax)
        FMax += step;

    // Take in zero when the data lie close enough to it.
    if (oMin > 0 && oMin / (FMax - FMin) < 0.25)
        FMin = 0;
    else if (oMax < 0 && -oMax / (FMax - FMin) < 0.25)
        FMax = 0;

    if (FMin >= FMax)
        throw TVandrelError(kSetMinMaxFailed);
}

double TAxis::LogStepLookup(bool up, double mantissa) const
{
    const std::size_t n = FLog.LogCycleDivisions;
    if (up) {
        for (std::size_t i = 1; i <= n + 1; ++i)
            if (FLog.LogSteps[i] >= mantissa)
                return FLog.LogSteps[i];
        return FLog.LogSteps[n + 1];
    }
    for (std::size_t i = n + 1; i-- > 0;)
        if (FLog.LogSteps[i] <= mantissa)
            return FLog.LogSteps[i];
    return FLog.LogSteps[0];
}

void TAxis::SetLogMinMax()
{
    if (oMin == oMax) {
        FMin = 0.5 * oMax;
        FMax = oMax;
    } else {
        FMin = oMin;
        FMax = oMax;
    }
    // The decade and the mantissa of each end; the decade of an end at 1 (log 0) is
    // taken one lower, like every other exact power of ten, whose log comes out a
    // hair below the integer.
    const double lmin = AxisLog10(FMin);
    double kmin = std::trunc(lmin);
    if (lmin < 0 && lmin != kmin)
        kmin -= 1;
    const double mantissaMin = AxisPower10(lmin - kmin);
    const double decadeMin = AxisPower10(kmin);
    const double lmax = AxisLog10(FMax);
    double kmax = std::trunc(lmax);
    if ((lmax < 0 && lmax != kmax) || lmax == 0)
        kmax -= 1;
    const double mantissaMax = AxisPower10(lmax - kmax);
    const double decadeMax = AxisPower10(kmax);

    if (FAutoStepping)
        AutoLogDivisions();
    const double ratio = FMax / FMin;
    if (ratio < 4) {
        FLog.LinearFallback = true;
        SetMinMax();
    } else {
        FLog.LinearFallback = false;
        if (ratio < 30) {
            FMin = decadeMin * LogStepLookup(false, mantissaMin);
            FMax = decadeMax * LogStepLookup(true, mantissaMax);
        } else {
            FMin = decadeMin;
            FMax = decadeMax * 10;
        }
    }
    UpdateLogLabelling();
}

bool TAxis::ScaleWithoutData()
{
    bool changed = true;
    if (FLogScale) {
        changed = false;
        if (FMin > FMax) {
            std::swap(FMin, FMax);
            changed = true;
        }
        if (FMax <= 0) {
            FMax = 10;
            FMin = 1;
        } else if (FMin <= 0) {
            FMin = 0.1 * FMax;
        }
    } else if (FShowAsTime) {
        FMax = Now();
        FMin = FMax - 5 * GetDateStep();
    } else {
        if (FMin == FMax) {
            if (FMin == 0) {
                FMin = -1;
                FMax = 1;
            } else if (FMin > 0) {
                FMin = 0;
            } else {
                FMax = 0;
            }
        } else if (FMin > FMax) {
            std::swap(FMin, FMax);
        } else {
            changed = false;
        }
        FStepSize = GetStep();
    }
    return changed;
}

bool TAxis::CheckScale()
{
    if (oMax - oMin < FMinScaleLength)
        oMax = oMin + FMinScaleLength;
    if (!FOwner.AxisHasData(this)) {
        const bool changed = ScaleWithoutData();
        if (FLogScale)
            UpdateLogLabelling();
        return changed;
    }
    if (!FAutoSizing)
        return false;
    if (FLogScale) {
        if (oMin <= 0)
            return false;
        SetLogMinMax();
        // A second pass chooses the divisions for the rounded range.
        if (FAutoStepping && oMin < oMax && !FLog.LinearFallback) {
            AutoLogDivisions();
            SetLogMinMax();
        }
    } else if (FShowAsTime) {
        SetDateMinMax();
    } else {
        SetMinMax();
    }
    return FMin != oMin || FMax != oMax;
}

bool TAxis::CheckValid()
{
    // Limits that are not numbers cannot be drawn either.
    FValid = std::isfinite(FMin) && std::isfinite(FMax) &&
             !(FMin >= FMax || (FLogScale && FMin <= 0) || (FShowAsTime && FMin < 1));
    return FValid;
}

void TAxis::ApplyAutoStepping()
{
    if (!FLogScale) {
        FStepSize = GetStep();
        return;
    }
    AutoLogDivisions();
    UpdateLogLabelling();
}

void TAxis::CalcMetrics()
{
    if (FMin >= FMax)
        throw TVandrelError(FTitle + kCalcMetricsFailed);
    const double span = FLogScale ? std::log(FMax) - std::log(FMin) : FMax - FMin;
    const TDimensions& dimensions = FOwner.Dimensions();
    if (&FOwner.XAxis() == this)
        FPixelsPerUnit = (FOwner.DrawWidth() - dimensions.LeftMargin() - dimensions.RightMargin()) / span;
    else
        FPixelsPerUnit = (FOwner.DrawHeight() - dimensions.TopMargin() - dimensions.BottomMargin()) / span;
}
