#include "app/measure/shape_measurement.h"

#include "app/engine/box_count_fit.h"
#include "app/engine/box_counter.h"
#include "app/engine/offset_counts_of_sizes.h"
#include "app/engine/scaling_range.h"

namespace {

std::span<const TBoxCount> FittedCounts(std::span<const TBoxCount> counts, const TCountMethod& method)
{
    switch (method.Fit) {
    case TFitChoice::Auto:
        return StraightestScalingRange(counts);
    case TFitChoice::Range:
        return CountsBetween(counts, method.FitFrom, method.FitTo);
    case TFitChoice::All:
        break;
    }
    return counts;
}

void AddDetails(TShapeMeasurement& measured, const TPixelMask& mask, std::span<const int> sizes,
                const TCountMethod& method, TMeasuredArea area)
{
    measured.ShapePixels = mask.SetCount();
    const TScalingFit& fit = measured.Fit.emplace(FitScaling(FittedCounts(measured.Counts, method)));
    measured.Warnings = FitWarnings(sizes, fit, {mask.Width(), mask.Height(), measured.ShapePixels, area});
    measured.Stats.Slope = static_cast<double>(fit.Slope);
    measured.Stats.Intercept = static_cast<double>(fit.Intercept);
    measured.Stats.R = static_cast<double>(fit.R);
    measured.Stats.RSquared = static_cast<double>(fit.R2);
    measured.HasCorrelation = fit.HasCorrelation;
    if (!measured.OffsetCounts.empty())
        measured.OffsetDimensions = DimensionsOverOffsets(sizes, measured.OffsetCounts, fit.From, fit.To);
}

}  // namespace

TShapeMeasurement MeasureShape(const TPixelMask& mask, std::span<const int> sizes, const TCountMethod& method,
                               TMeasuredArea area, TCountProgress* progress)
{
    TShapeMeasurement measured;
    if (method.Grid == TGridMode::TopLeft) {
        TBoxCounter counter(mask);
        for (const int d : sizes) {
            ThrowIfStopAsked(progress);
            measured.Counts.push_back({d, counter.Count(d)});
            ReportSizeDone(progress, measured.Counts.size(), sizes.size());
        }
    } else {
        const std::vector<TOffsetCounts> offsetCounts =
            CountOverOffsets(mask, {sizes.begin(), sizes.end()}, progress);
        for (std::size_t i = 0; i < sizes.size(); ++i)
            measured.Counts.push_back({sizes[i], offsetCounts[i].Min});
        if (method.Grid == TGridMode::All)
            measured.OffsetCounts = offsetCounts;
    }

    const TBoxCountFit fit = FitBoxCounts(measured.Counts);
    measured.Stats = fit.Stats;
    measured.HasCorrelation = fit.HasCorrelation;
    if (method.Details)
        AddDetails(measured, mask, sizes, method, area);
    return measured;
}
