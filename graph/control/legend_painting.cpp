// The legend box and its entries.

#include "graph/control/graph_painting.h"
#include "graph/control/zemplot.h"
#include "graph/core/integer_conventions.h"

void DrawLegend(TZemplot& graph)
{
    int32_t entries = 0;
    for (const TSeries* series = graph.FirstSeries(); series != nullptr; series = series->Next())
        if (series->ShowInLegend() != 0)
            ++entries;
    if (entries == 0)
        return;

    const TLegend& legend = graph.Legend();
    TCanvas& canvas = graph.DrawCanvas();
    const double scale = graph.PrintScale();
    canvas.SetFont(legend.font().Attributes());
    graph.MeasureCanvas().SetFont(legend.font().Attributes());
    canvas.SetBrushColor(legend.color());
    canvas.SetPenColor(legend.borderStyle() == bsSingle ? clBlack : legend.color());
    const int32_t boxLeft = Rounded(legend.left() * scale) + graph.OriginX();
    const int32_t boxTop = Rounded(legend.top() * scale) + graph.OriginY();
    const int32_t boxWidth = Rounded(legend.width() * scale);
    const int32_t boxHeight = Rounded(legend.height() * scale);
    canvas.Rectangle(boxLeft, boxTop, boxLeft + boxWidth, boxTop + boxHeight);

    const int32_t x0 = Rounded((legend.XMargin() + legend.left()) * scale) + graph.OriginX();
    const int32_t y0 = Rounded((legend.top() + legend.YMargin()) * scale) + graph.OriginY();
    const int32_t symbolSpace = Rounded(legend.SymbolSpace() * scale);
    const int32_t textHeight = graph.MeasureCanvas().TextHeight("T");
    // The entries share the box's inner length evenly, across or down.
    const bool across = legend.Layout() == lsAcross;
    const int32_t dx = across ? (boxWidth - 2 * legend.XMargin()) / entries : 0;
    const int32_t dy = across ? 0 : (boxHeight - 2 * legend.YMargin()) / entries;

    const int32_t penWidth = canvas.PenWidth();
    if (graph.Appearance().PrintLineStyle())
        canvas.SetPenWidth(1);
    int32_t k = 0;
    for (TSeries* series = graph.FirstSeries(); series != nullptr; series = series->Next()) {
        if (series->ShowInLegend() == 0)
            continue;
        series->DrawLegendEntry(x0 + k * dx, y0 + k * dy, symbolSpace, textHeight);
        canvas.SetBrushColor(legend.color());
        ++k;
    }
    canvas.SetPenWidth(penWidth);
}
