// How a series draws itself: bound lines, regression line and joining line inside
// the plot, then its symbols or step line, and its legend entry.

#include <algorithm>
#include <vector>

#include "graph/control/series.h"
#include "graph/control/zemplot.h"
#include "graph/core/integer_conventions.h"

namespace {

// A polyline of any length is drawn in pieces of this many device points, each
// piece starting at the last point of the one before so that the line has no gap.
constexpr std::size_t kPolylineChunk = 15000;

template <typename TDevicePointOf>
void DrawChunkedPolyline(TCanvas& canvas, std::size_t count, TDevicePointOf devicePointOf)
{
    std::vector<TPoint> chunk;
    chunk.reserve(std::min(count, kPolylineChunk));
    std::size_t next = 0;
    while (next < count) {
        if (!chunk.empty())
            chunk.erase(chunk.begin(), chunk.end() - 1);
        while (chunk.size() < kPolylineChunk && next < count)
            chunk.push_back(devicePointOf(next++));
        canvas.Polyline(chunk);
    }
}

}  // namespace

int32_t TSeries::ScreenY(double y) const
{
    return FAxis == &FGraph.YAxis() ? FGraph.YToScreen(y) : FGraph.Y2ToScreen(y);
}

int32_t TSeries::SymbolHalfSize() const
{
    return Rounded(Halved(FPointSize) * FGraph.PrintScale());
}

void TSeries::DrawSeries()
{
    if (!FActive || Count() == 0)
        return;
    const bool logX = FGraph.XAxis().LogScale();
    if (logX || FAxis->LogScale()) {
        if (BoundsDirty())
            UpdateBounds();
        if ((logX && XMin() <= 0) || (FAxis->LogScale() && YMin() <= 0)) {
            if (const TSeriesEvent& onLogError = FGraph.OnLogError())
                onLogError(this, FNumber);
            return;
        }
    }
    // The lines stay inside the plot; symbols may reach into the margins.
    const bool offGraph = FGraph.Appearance().PlotOffGraph();
    if (!offGraph)
        FGraph.ClipToPlot();
    DrawBoundLines();
    if (RegressionType() != 0)
        DrawRegressionLine();
    if (FDrawLine)
        DrawSeriesLine();
    if (!offGraph)
        FGraph.ClipToGraph();
    if (FDrawPoints)
        DrawSymbols();
}

void TSeries::DrawSeriesLine()
{
    TCanvas& canvas = FGraph.DrawCanvas();
    canvas.SetPenColor(FLineColor);
    canvas.SetPenStyle(FLineStyle);
    const auto points = Points();
    const double zero = ZeroValue();
    DrawChunkedPolyline(canvas, points.size(), [&](std::size_t i) {
        return TPoint{FGraph.XToScreen(points[i].X), ScreenY(points[i].Y - zero)};
    });
}

void TSeries::DrawRegressionLine()
{
    if (Count() < 2)
        return;
    if (RegressionDirty())
        ComputeRegression();
    TCanvas& canvas = FGraph.DrawCanvas();
    canvas.SetPenColor(FRegressionLineColor);
    canvas.SetPenStyle(FRegressionLineStyle);
    const double zero = ZeroValue();
    // The spline and the local regression have a curve of their own; the other
    // kinds fit a value at every point.
    if (RegressionType() == 4 || RegressionType() == 5) {
        const auto curve = Curve();
        DrawChunkedPolyline(canvas, curve.size(), [&](std::size_t i) {
            return TPoint{FGraph.XToScreen(curve[i].X), ScreenY(curve[i].Fit - zero)};
        });
        return;
    }
    const auto points = Points();
    DrawChunkedPolyline(canvas, points.size(), [&](std::size_t i) {
        return TPoint{FGraph.XToScreen(points[i].X), ScreenY(points[i].Fit - zero)};
    });
}

void TSeries::DrawBoundLines()
{
    std::vector<double> bounds;
    if (FBoundsMode == 1) {
        bounds = {FUpperBound, FLowerBound};
    } else if (FBoundsMode >= 2 && FBoundsMode <= 5) {
        const TDataStats stats = GetYStats();
        const auto addPair = [&](double k) {
            bounds.push_back(stats.Mean + k * stats.Variance);
            bounds.push_back(stats.Mean - k * stats.Variance);
        };
        if (FBoundsMode == 5) {
            for (double k : {1.0, 2.0, 3.0})
                addPair(k);
        } else {
            addPair(FBoundsMode - 1.0);
        }
    }
    if (bounds.empty())
        return;
    TCanvas& canvas = FGraph.DrawCanvas();
    canvas.SetPenColor(FBoundLineColor);
    canvas.SetPenStyle(FBoundLineMode);
    // Bound lines span the series' x range and always take the first y axis's scale.
    const int32_t left = FGraph.XToScreen(XMin());
    const int32_t right = FGraph.XToScreen(XMax());
    for (double bound : bounds) {
        const int32_t y = FGraph.YToScreen(bound);
        FGraph.DrawSegment(left, y, right, y);
    }
}

void TSeries::DrawSymbol(int32_t x, int32_t y, int32_t halfSize, uint8_t shape)
{
    TCanvas& canvas = FGraph.DrawCanvas();
    const int32_t r = halfSize;
    switch (shape) {
    case kShapeSquare: {
        const TPoint corners[] = {{x - r, y - r}, {x + r, y - r}, {x + r, y + r}, {x - r, y + r}};
        canvas.Polygon(corners);
        break;
    }
    case kShapeCircle:
        canvas.Ellipse(x - r, y - r, x + r, y + r);
        break;
    case kShapeDiamond: {
        const TPoint corners[] = {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}};
        canvas.Polygon(corners);
        break;
    }
    case kShapePlus:
        FGraph.DrawSegment(x - r, y, x + r, y);
        FGraph.DrawSegment(x, y - r, x, y + r);
        break;
    default:
        break;
    }
}

void TSeries::DrawSymbols()
{
    TCanvas& canvas = FGraph.DrawCanvas();
    const int32_t r = SymbolHalfSize();
    canvas.SetPenColor(FPointColor);
    canvas.SetPenStyle(psSolid);
    canvas.SetBrushColor(FFillPoints ? FPointColor : FGraph.Color());
    if (FPointShape == kShapeStepLine) {
        const int32_t penWidth = canvas.PenWidth();
        canvas.SetPenWidth(r);
        DrawStepLine();
        canvas.SetPenWidth(penWidth);
    } else if (FPointShape < kShapeStepLine) {
        const bool offGraph = FGraph.Appearance().PlotOffGraph();
        const TAxis& xAxis = FGraph.XAxis();
        const auto points = Points();
        const double zero = ZeroValue();
        std::size_t i = 0;
        if (!offGraph)
            while (i < points.size() && points[i].X < xAxis.Min())
                ++i;
        for (; i < points.size(); ++i) {
            const double y = points[i].Y - zero;
            if (!offGraph) {
                if (points[i].X > xAxis.Max())
                    break;
                if (y < FAxis->Min() || y > FAxis->Max())
                    continue;
            }
            DrawSymbol(FGraph.XToScreen(points[i].X), ScreenY(y), r, FPointShape);
        }
    }
    canvas.SetBrushColor(FGraph.Color());
    canvas.SetBrushStyle(bsClear);
}

void TSeries::DrawStepLine()
{
    const bool offGraph = FGraph.Appearance().PlotOffGraph();
    const double xMax = FGraph.XAxis().Max();
    const auto points = Points();
    const double zero = ZeroValue();
    std::size_t i = 0;
    if (!offGraph)
        while (i < points.size() && points[i].X < FGraph.XAxis().Min())
            ++i;
    if (i == points.size())
        return;
    // Treads only: each point's level runs to the next point's x.
    for (; i + 1 < points.size(); ++i) {
        if (!offGraph && points[i + 1].X >= xMax)
            break;
        const int32_t y = ScreenY(points[i].Y - zero);
        FGraph.DrawSegment(FGraph.XToScreen(points[i].X), y, FGraph.XToScreen(points[i + 1].X), y);
    }
    if (points[i].X < xMax) {
        const int32_t y = ScreenY(points[i].Y - zero);
        FGraph.DrawSegment(FGraph.XToScreen(points[i].X), y, FGraph.XToScreen(xMax), y);
    }
}

void TSeries::DrawLegendEntry(int32_t x, int32_t y, int32_t symbolSpace, int32_t textHeight)
{
    TCanvas& canvas = FGraph.DrawCanvas();
    canvas.SetBrushStyle(bsClear);
    canvas.TextOut(x + symbolSpace + 2, y, SeriesName());
    const int32_t yc = y + Halved(textHeight);
    if ((FShowInLegend == 3 || FShowInLegend == 4) && FDrawLine) {
        canvas.SetPenStyle(FLineStyle);
        canvas.SetPenColor(FLineColor);
        FGraph.DrawSegment(x, yc, x + symbolSpace, yc);
    }
    if ((FShowInLegend == 2 || FShowInLegend == 4) && FDrawPoints) {
        // Always filled, so the sample shows the colour.
        canvas.SetBrushColor(FPointColor);
        canvas.SetPenColor(FPointColor);
        DrawSymbol(x + Halved(symbolSpace), yc, SymbolHalfSize(), FPointShape);
    }
}
