// The cross at the origin and the marks, with their captions.

#include <cmath>
#include <numbers>
#include <utility>

#include "graph/control/graph_painting.h"
#include "graph/control/zemplot.h"
#include "graph/core/integer_conventions.h"

void DrawCross(TZemplot& graph)
{
    const TAxis& x = graph.XAxis();
    const TAxis& y = graph.YAxis();
    const bool originOutside = x.Min() > 0 || x.Max() < 0 || y.Min() > 0 || y.Max() < 0;
    if (originOutside && !graph.Appearance().PlotOffGraph())
        return;
    const int32_t a = Rounded(graph.Appearance().Crosslength() * graph.PrintScale());
    graph.DrawCanvas().SetPenColor(graph.Appearance().CrossColor());
    const int32_t x0 = graph.XToScreen(0);
    const int32_t y0 = graph.YToScreen(0);
    // The end points are left out of a line, so both arms reach one further.
    graph.DrawSegment(x0, y0 + a, x0, y0 - a - 1);
    graph.DrawSegment(x0 - a, y0, x0 + a + 1, y0);
}

void DrawRotatedText(TZemplot& graph, int32_t x, int32_t y, const std::string& text, TColor color, int32_t distance,
                     double angle)
{
    TCanvas& canvas = graph.DrawCanvas();
    canvas.SetFont(graph.Appearance().CaptionFont().Attributes());
    canvas.SetFontColor(color);
    const TRotatedFont rotated(canvas, Truncated(angle * 10 * 180 * (1 / std::numbers::pi)));
    const int32_t dx = Rounded(std::sin(angle) * distance * graph.PrintScale());
    const int32_t dy = Rounded(std::cos(angle) * distance * graph.PrintScale());
    canvas.TextOut(x - dx, y - dy, text);
}

namespace {

void DrawMark(TZemplot& graph, const TZemplotMark& mark)
{
    TCanvas& canvas = graph.DrawCanvas();
    const double scale = graph.PrintScale();
    // Captions along a line stand clear of it by the font's size.
    const auto captionDistance = [&] { return canvas.FontSize() + 5; };
    switch (mark.TypeOfMark) {
    case kMarkVerticalLine: {
        canvas.SetPenColor(mark.Color);
        const int32_t x = graph.XToScreen(mark.X1Value);
        const int32_t bottom = graph.YToScreen(graph.YAxis().Min());
        graph.DrawSegment(x, bottom, x, graph.YToScreen(graph.YAxis().Max()));
        DrawRotatedText(graph, x, bottom - 3, mark.Caption, mark.Color, captionDistance(), std::numbers::pi / 2);
        break;
    }
    case kMarkHorizontalLine: {
        canvas.SetPenColor(mark.Color);
        const int32_t y = graph.YToScreen(mark.Y1Value);
        graph.DrawSegment(graph.XToScreen(graph.XAxis().Min()), y, graph.XToScreen(graph.XAxis().Max()), y);
        canvas.SetFont(graph.Appearance().CaptionFont().Attributes());
        canvas.SetFontColor(mark.Color);
        canvas.TextOut(graph.OriginX() + graph.Dimensions().LeftMargin() + Rounded(10 * scale),
                       y - Rounded(2 * scale) - graph.MeasureCanvas().TextHeight(mark.Caption), mark.Caption);
        break;
    }
    case kMarkBox: {
        const int32_t a = Truncated(scale * mark.X2Value);
        canvas.SetPenColor(mark.Color);
        canvas.SetBrushStyle(bsClear);
        const int32_t x = graph.XToScreen(mark.X1Value);
        const int32_t y = graph.YToScreen(mark.Y1Value);
        canvas.Rectangle(x - a, y - a, x + a, y + a);
        canvas.SetFont(graph.Appearance().CaptionFont().Attributes());
        canvas.SetFontColor(mark.Color);
        canvas.TextOut(x - a, y + a, mark.Caption);
        break;
    }
    case kMarkLine: {
        canvas.SetPenColor(mark.Color);
        TPoint p1{graph.XToScreen(mark.X1Value), graph.YToScreen(mark.Y1Value)};
        TPoint p2{graph.XToScreen(mark.X2Value), graph.YToScreen(mark.Y2Value)};
        if (p2.X < p1.X)
            std::swap(p1, p2);
        graph.DrawSegment(p1.X, p1.Y, p2.X, p2.Y);
        // The caption runs along the line, from its left end.
        const double angle = p1.X == p2.X ? std::numbers::pi / 2
                                          : -std::atan(static_cast<double>(p2.Y - p1.Y) / (p2.X - p1.X));
        DrawRotatedText(graph, p1.X, p1.Y, mark.Caption, mark.Color, captionDistance(), angle);
        break;
    }
    default:
        break;
    }
}

}  // namespace

void DrawMarks(TZemplot& graph, bool pass)
{
    const bool offGraph = graph.Appearance().PlotOffGraph();
    if (!offGraph)
        graph.ClipToPlot();
    for (const TZemplotMark& mark : graph.Marks())
        if (mark.WhenDrawn == pass)
            DrawMark(graph, mark);
    if (!offGraph)
        graph.ClipToGraph();
}
