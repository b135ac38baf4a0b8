// The painting pipeline of the graph: data ranges, scales, metrics, then the frame,
// the cross, the marks, the series, the legend.

#include "graph/control/graph_painting.h"
#include "graph/control/zemplot.h"
#include "graph/core/integer_conventions.h"

void TZemplot::DrawGraph()
{
    if (FPlotting && AxisHasData(nullptr))
        UpdateDataRanges();
    FScalesValid = ScaleAxes();
    CalcAllMetrics();
    TCanvas& canvas = *FDrawCanvas;
    const TColor background = canvas.SetBackgroundColor(FAppearance.BackgroundColor());
    DrawFrame(*this);
    if (!FScalesValid)
        return;
    if (FAppearance.CrossAtZero() && !FXAxis.LogScale() && !FYAxis.LogScale())
        DrawCross(*this);
    if (!FPlotting)
        return;
    DrawSeriesAndMarks();
    if (FLegend.visible())
        DrawLegend(*this);
    if (FOnPaintEnd)
        FOnPaintEnd(*this, canvas);
    canvas.SetBackgroundColor(background);
}

void TZemplot::DrawSeriesAndMarks()
{
    TCanvas& canvas = *FDrawCanvas;
    if (canvas.PenWidth() >= 3)
        canvas.SetPenWidth(Halved(canvas.PenWidth() + 1));
    if (FAppearance.ShowMarks())
        DrawMarks(*this, false);
    const int32_t penWidth = canvas.PenWidth();
    if (FAppearance.PrintLineStyle())
        canvas.SetPenWidth(1);
    for (TSeries* series = FFirstSeries; series != nullptr; series = series->FNext)
        series->DrawSeries();
    canvas.SetPenWidth(penWidth);
    if (FAppearance.ShowMarks())
        DrawMarks(*this, true);
}

namespace {

// Widens an axis's data range by one series' bounds; the first series sets it.
void TakeRange(TAxis& axis, bool& first, double low, double high)
{
    if (first) {
        axis.oMin = low;
        axis.oMax = high;
        first = false;
        return;
    }
    if (low < axis.oMin)
        axis.oMin = low;
    if (high > axis.oMax)
        axis.oMax = high;
}

}  // namespace

void TZemplot::UpdateDataRanges()
{
    for (TSeries* series = FFirstSeries; series != nullptr; series = series->FNext)
        if (series->BoundsDirty())
            series->UpdateBounds();
    bool firstX = true;
    bool firstY = true;
    bool firstY2 = true;
    for (TSeries* series = FFirstSeries; series != nullptr; series = series->FNext) {
        if (!series->Active())
            continue;
        TakeRange(FXAxis, firstX, series->XMin(), series->XMax());
        if (series->FAxis == &FYAxis)
            TakeRange(FYAxis, firstY, series->YMin(), series->YMax());
        else
            TakeRange(FYAxis_Second, firstY2, series->YMin(), series->YMax());
    }
}

bool TZemplot::ScaleAxes()
{
    bool changed = false;
    bool valid = true;
    for (TAxis* axis : {&FXAxis, &FYAxis, &FYAxis_Second}) {
        if (axis->AutoSizing() && axis->CheckScale())
            changed = true;
        const bool axisValid = axis->CheckValid();
        if (axisValid && axis->AutoStepping())
            axis->ApplyAutoStepping();
        valid = valid && axisValid;
    }
    // DoRescale still sees the validity of the previous drawing: the caller stores
    // the new one.
    if (valid && changed)
        DoRescale();
    return valid;
}

void TZemplot::CalcAllMetrics()
{
    for (TAxis* axis : {&FXAxis, &FYAxis, &FYAxis_Second})
        if (axis->Valid())
            axis->CalcMetrics();
}
