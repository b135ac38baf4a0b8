#include "graph/data/data_series.h"

#include <algorithm>
#include <cmath>

TDataSeries::TDataSeries() = default;

TDataSeries::~TDataSeries()
{
    for (std::size_t i = 0; i < FListeners.size(); ++i) {
        // A copy, so a callback that replaces its own entry does not destroy itself.
        const TChangeCallback callback = FListeners[i].Callback;
        if (callback)
            callback(*this, kChangeDestroying);
    }
}

void TDataSeries::Changed(int32_t kind)
{
    // By index: a callback may add listeners while the list is walked.
    for (std::size_t i = 0; i < FListeners.size(); ++i) {
        const TChangeCallback callback = FListeners[i].Callback;
        if (callback)
            callback(*this, kind);
    }
}

void TDataSeries::TooManyPoints()
{
    if (FOnPointLimit)
        FOnPointLimit(*this);
}

void TDataSeries::SetListener(const void* owner, TChangeCallback callback)
{
    for (TListener& listener : FListeners) {
        if (listener.Owner == owner) {
            listener.Callback = std::move(callback);
            return;
        }
    }
    FListeners.push_back({owner, std::move(callback)});
}

void TDataSeries::Clear()
{
    std::vector<TDataPoint>().swap(FPoints);
    std::vector<TCurveNode>().swap(FCurve);
    FDescents = 0;
    FLastId = 0;
    FBoundsDirty = true;
    // Statistics asked for after Clear must not describe the points that are gone.
    InvalidateStatistics();
    FRegressionDirty = true;
    Changed(kChangePoints);
}

void TDataSeries::AddPoint(double x, double y)
{
    const double tolerance = FNumericalTolerance;
    if (FPoints.empty()) {
        InsertNewPoint(0, x, y);
    } else if (!(x < FPoints.back().X)) {
        if (FDuplicatesAllowed || x - tolerance > FPoints.back().X)
            InsertNewPoint(FPoints.size(), x, y);
        else
            Overwrite(FPoints.size() - 1, x, y);
    } else {
        const std::size_t position = InsertPosition(x);
        if (FDuplicatesAllowed || std::fabs(FPoints[position].X - x) > tolerance)
            InsertNewPoint(position, x, y);
        else
            Overwrite(position, x, y);
    }

    if (FPoints.size() == 1) {
        FXMin = FXMax = x;
        if (FAutoZero)
            FZeroValue = y;
        FYMin = FYMax = y - FZeroValue;
        FBoundsDirty = false;
    } else if (FAutoZero && y < FZeroValue) {
        FZeroValue = y;
        FBoundsDirty = true;
    } else if (!FBoundsDirty) {
        // Only ever widened here: an overwrite that narrows them waits for UpdateBounds.
        WidenBounds(x, y);
    }

    FRegressionDirty = true;
    InvalidateStatistics();
    if (FMaxPoints != 0 && Count() > FMaxPoints)
        TooManyPoints();
    Changed(kChangePoints);
}

std::size_t TDataSeries::InsertPosition(double x) const
{
    // The first point that x, less the tolerance, does not pass.
    const double key = x - FNumericalTolerance;
    const auto passes = [key](const TDataPoint& point) { return key > point.X; };
    const auto found = FDescents == 0 ? std::partition_point(FPoints.begin(), FPoints.end(), passes)
                                      : std::find_if_not(FPoints.begin(), FPoints.end(), passes);
    // Only a negative tolerance can pass the last point; x lies below it, so in front
    // of it is the place that keeps the order.
    return std::min(static_cast<std::size_t>(found - FPoints.begin()), FPoints.size() - 1);
}

void TDataSeries::InsertNewPoint(std::size_t position, double x, double y)
{
    const int before = DescentAt(position);
    ++FLastId;
    FPoints.insert(FPoints.begin() + static_cast<std::ptrdiff_t>(position), TDataPoint{FLastId, x, y, 0.0});
    FDescents = FDescents - static_cast<std::size_t>(before) + static_cast<std::size_t>(DescentsAround(position));
}

void TDataSeries::Overwrite(std::size_t position, double x, double y)
{
    const int before = DescentsAround(position);
    FPoints[position].X = x;
    FPoints[position].Y = y;
    FDescents = FDescents - static_cast<std::size_t>(before) + static_cast<std::size_t>(DescentsAround(position));
}

int TDataSeries::DescentAt(std::size_t position) const
{
    if (position == 0 || position >= FPoints.size())
        return 0;
    // NaN counts as out of order, so it never misleads a bisection.
    return FPoints[position - 1].X <= FPoints[position].X ? 0 : 1;
}

int TDataSeries::DescentsAround(std::size_t position) const
{
    return DescentAt(position) + DescentAt(position + 1);
}

void TDataSeries::CountDescents()
{
    FDescents = 0;
    for (std::size_t i = 1; i < FPoints.size(); ++i)
        FDescents += static_cast<std::size_t>(DescentAt(i));
}

void TDataSeries::WidenBounds(double x, double y)
{
    const double shifted = y - FZeroValue;
    if (shifted < FYMin)
        FYMin = shifted;
    if (shifted > FYMax)
        FYMax = shifted;
    if (x < FXMin)
        FXMin = x;
    if (x > FXMax)
        FXMax = x;
}

void TDataSeries::InvalidateStatistics()
{
    FXStats.Valid = false;
    FYStats.Valid = false;
    FCompStats.Valid = false;
}

void TDataSeries::UpdateBounds()
{
    if (FPoints.empty())
        return;
    double xMin = FPoints.front().X, xMax = xMin;
    double yMin = FPoints.front().Y, yMax = yMin;
    for (const TDataPoint& point : FPoints) {
        if (point.X < xMin)
            xMin = point.X;
        if (point.X > xMax)
            xMax = point.X;
        if (point.Y < yMin)
            yMin = point.Y;
        if (point.Y > yMax)
            yMax = point.Y;
    }
    if (FAutoZero)
        FZeroValue = yMin;
    FXMin = xMin;
    FXMax = xMax;
    FYMin = yMin - FZeroValue;
    FYMax = yMax - FZeroValue;
    FBoundsDirty = false;
}

void TDataSeries::RemoveClosePoints()
{
    if (!FPoints.empty()) {
        std::size_t keep = 0;
        for (std::size_t i = 1; i < FPoints.size(); ++i) {
            if (std::fabs(FPoints[i].X - FPoints[keep].X) > FNumericalTolerance)
                FPoints[++keep] = FPoints[i];
        }
        if (keep + 1 < FPoints.size()) {
            FPoints.resize(keep + 1);
            CountDescents();
            FBoundsDirty = true;
            FRegressionDirty = true;
            InvalidateStatistics();
        }
    }
    if (FBoundsDirty)
        Changed(kChangePoints);
}

void TDataSeries::SetAutoZero(bool value)
{
    if (value == FAutoZero)
        return;
    FAutoZero = value;
    FBoundsDirty = true;
    Changed(kChangeZero);
}

void TDataSeries::SetZeroValue(double value)
{
    // A value set by hand ends AutoZero, even when it equals the automatic one.
    if (!FAutoZero && value == FZeroValue)
        return;
    FZeroValue = value;
    FAutoZero = false;
    FBoundsDirty = true;
    Changed(kChangeZero);
}

void TDataSeries::SetDuplicatesAllowed(bool value)
{
    if (value == FDuplicatesAllowed)
        return;
    FDuplicatesAllowed = value;
    if (!value)
        RemoveClosePoints();
}

template <typename T>
void TDataSeries::SetRegressionSetting(T& field, T value)
{
    if (value == field)
        return;
    field = value;
    FRegressionDirty = true;
    Changed(kChangeRegression);
}

void TDataSeries::SetRegressionType(uint8_t value)
{
    SetRegressionSetting(FRegressionType, value);
}

void TDataSeries::SetRegressionControlValue1(int32_t value)
{
    SetRegressionSetting(FRegressionControlValue1, value);
}

void TDataSeries::SetRegressionControlValue2(double value)
{
    SetRegressionSetting(FRegressionControlValue2, value);
}
