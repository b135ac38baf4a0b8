// The frame of the graph: margins, plot background and graph title, around the axes.

#include "graph/control/graph_painting.h"
#include "graph/control/zemplot.h"
#include "graph/core/integer_conventions.h"

namespace {

// A rectangle in one colour, outline, fill and background alike.
void FillArea(TCanvas& canvas, TColor color, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    canvas.SetBrushColor(color);
    canvas.SetBrushStyle(bsSolid);
    canvas.SetPenColor(color);
    canvas.SetPenStyle(psSolid);
    canvas.SetBackgroundColor(color);
    canvas.Rectangle(x1, y1, x2, y2);
}

void DrawMargins(TZemplot& graph)
{
    const TAppearance& appearance = graph.Appearance();
    const TDimensions& dimensions = graph.Dimensions();
    const int32_t left = graph.OriginX();
    const int32_t top = graph.OriginY();
    const int32_t right = left + graph.DrawWidth();
    const int32_t bottom = top + graph.DrawHeight();
    FillArea(graph.DrawCanvas(), appearance.MarginColor(), left, top, right, bottom);
    FillArea(graph.DrawCanvas(), appearance.BackgroundColor(), left + dimensions.LeftMargin(),
             top + dimensions.TopMargin(), right - dimensions.RightMargin(), bottom - dimensions.BottomMargin());
}

void DrawGraphTitle(TZemplot& graph)
{
    const TAppearance& appearance = graph.Appearance();
    const TDimensions& dimensions = graph.Dimensions();
    TCanvas& canvas = graph.DrawCanvas();
    TCanvas& measure = graph.MeasureCanvas();
    canvas.SetFont(appearance.CaptionFont().Attributes());
    measure.SetFont(appearance.CaptionFont().Attributes());
    canvas.SetBackgroundColor(appearance.MarginColor());
    const std::string& title = appearance.GraphTitle();
    const int32_t plotWidth = graph.DrawWidth() - dimensions.LeftMargin() - dimensions.RightMargin();
    const int32_t centre = graph.OriginX() + dimensions.LeftMargin() + Halved(plotWidth);
    canvas.TextOut(centre - Halved(measure.TextWidth(title)),
                   graph.OriginY() + dimensions.TopMargin() - dimensions.GraphTitleOffset() - measure.TextHeight(title),
                   title);
}

}  // namespace

void DrawFrame(TZemplot& graph)
{
    // The margins would be left out only on a printed page, which this graph never
    // draws on.
    DrawMargins(graph);
    DrawXAxis(graph);
    DrawYAxis(graph, false);
    DrawYAxis(graph, true);
    if (graph.Appearance().ShowGraphLabels())
        DrawGraphTitle(graph);
    graph.DrawCanvas().SetBackgroundColor(graph.Appearance().BackgroundColor());
}
