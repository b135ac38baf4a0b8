#include "app/window/fit_graph.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/engine/decimal_log.h"
#include "app/window/graph_setup.h"
#include "graph/control/zemplot.h"

namespace {

constexpr TColor kOutsideColour = clRed;
constexpr TColor kLocalSlopeColour = 0xFF0000; // blue
constexpr int kLegendWidth = 190;
constexpr int kLegendHeight = 52;

void DeleteSeries(TZemplot& graph, int number)
{
    for (TSeries* series = graph.FirstSeries(); series != nullptr; series = series->Next())
        if (series->Number() == number) {
            delete series;
            return;
        }
}

TResultAxisLimits Enclosing(const TResultAxisLimits& a, const TResultAxisLimits& b)
{
    return {std::min(a.XMin, b.XMin), std::max(a.XMax, b.XMax), std::min(a.YMin, b.YMin), std::max(a.YMax, b.YMax)};
}

// Plotted as local dimensions, the negated slopes, which read against D directly.
void ShowLocalSlopes(TZemplot& graph, const TScalingFit& fit, std::span<const TBoxCount> fitted)
{
    TSeries& slopes = graph.Series(kLocalSlopeSeries);
    slopes.Clear();
    slopes.SetSeriesName("Local D (right axis)");
    slopes.SetAxis(graph.YAxis_Second());
    slopes.SetDrawLine(true);
    slopes.SetLineStyle(psSolid);
    slopes.SetLineColor(kLocalSlopeColour);
    slopes.SetPointColor(kLocalSlopeColour);
    slopes.SetPointShape(kShapeCircle);
    slopes.SetPointSize(4);
    slopes.SetShowInLegend(4);
    double smallest = 0.0, largest = 2.0;
    for (std::size_t i = 0; i < fit.LocalSlopes.size(); ++i) {
        const auto middle = (Log10(fitted[i].BoxSize) + Log10(fitted[i + 1].BoxSize)) / 2;
        const auto dimension = static_cast<double>(-fit.LocalSlopes[i]);
        slopes.AddPoint(static_cast<double>(middle), dimension);
        smallest = std::min(smallest, dimension);
        largest = std::max(largest, dimension);
    }
    TAxis& axis = graph.YAxis_Second();
    axis.SetTitle("local D");
    axis.SetReversed(false);
    axis.SetMin(std::floor(smallest * 2) / 2);
    axis.SetMax(std::ceil(largest * 2 + 1) / 2);
    axis.SetStepSize(largest - smallest > 10 ? 5.0 : 0.5);
    axis.SetShowAxis(true);
}

void ShowLegend(TZemplot& graph)
{
    // Bottom left, where the falling counts leave the plot empty.
    TLegend& legend = graph.Legend();
    legend.SetLayout(lsDown);
    legend.Setwidth(kLegendWidth);
    legend.Setheight(kLegendHeight);
    legend.Setleft(graph.Dimensions().LeftMargin() + 10);
    legend.Settop(std::max(10, graph.height() - graph.Dimensions().BottomMargin() - kLegendHeight - 10));
    legend.Setvisible(true);
}

}  // namespace

TResultAxisLimits ShowCountsOnGraph(TZemplot& graph, const TAnalysisResult& result)
{
    const std::vector<TBoxCount>& counts = result.Counts();
    const std::optional<TScalingFit>& fit = result.Measurement.Fit;
    TSeries& fitted = graph.Series(kFittedSeries);
    if (!fit)
        return FillResultSeries(fitted, counts);

    const bool plotting = graph.Plotting();
    graph.SetPlotting(false);
    const auto first = std::ranges::find_if(counts, [&](const TBoxCount& c) { return c.BoxSize >= fit->From; });
    const auto end = std::ranges::find_if(first, counts.end(), [&](const TBoxCount& c) { return c.BoxSize > fit->To; });
    const std::span<const TBoxCount> inside(first, end);
    std::vector<TBoxCount> outside(counts.begin(), first);
    outside.insert(outside.end(), end, counts.end());

    TResultAxisLimits limits = FillResultSeries(fitted, inside);
    fitted.SetSeriesName("Sizes fitted");
    fitted.SetShowInLegend(2);
    TSeries& others = graph.Series(kOutsideSeries);
    const TResultAxisLimits outsideLimits = FillResultSeries(others, outside);
    if (!outside.empty())
        limits = Enclosing(limits, outsideLimits);
    others.SetSeriesName("Sizes not fitted");
    others.SetDrawLine(false);
    others.SetPointShape(kShapeDiamond);
    others.SetPointSize(fitted.PointSize());
    others.SetPointColor(kOutsideColour);
    others.SetShowInLegend(2);
    ShowLocalSlopes(graph, *fit, inside);
    ShowLegend(graph);
    graph.SetPlotting(plotting);
    return limits;
}

void ClearCountsFromGraph(TZemplot& graph)
{
    const bool plotting = graph.Plotting();
    graph.SetPlotting(false);
    TSeries& fitted = graph.Series(kFittedSeries);
    fitted.Clear();
    SetResultSeriesLegend(fitted);
    DeleteSeries(graph, kOutsideSeries);
    DeleteSeries(graph, kLocalSlopeSeries);
    SetInitialLegend(graph.Legend());
    SetInitialSecondAxis(graph.YAxis_Second());
    graph.SetPlotting(plotting);
}
