// The axes of the graph: line, grid lines, ticks, labels and title, or the error
// caption of an axis that cannot be scaled.

#include <string>

#include "graph/control/graph_painting.h"
#include "graph/control/zemplot.h"
#include "graph/core/integer_conventions.h"

namespace {

// The painting may change an axis's step to suit the drawing; the axis gets its
// own step back when the drawing of the axis ends, however it ends.
class TKeptStepSize {
public:
    explicit TKeptStepSize(TAxis& axis)
        : FAxis(axis), FStepSize(axis.StepSize())
    {
    }
    ~TKeptStepSize() { FAxis.StoreStepSize(FStepSize); }
    TKeptStepSize(const TKeptStepSize&) = delete;
    TKeptStepSize& operator=(const TKeptStepSize&) = delete;

private:
    TAxis& FAxis;
    double FStepSize;
};

// The pen width the axis steps draw with, and the one to draw the axis line with.
class TAxisPen {
public:
    TAxisPen(TCanvas& canvas, const TAppearance& appearance)
        : FWidth(canvas.PenWidth())
    {
        if (FWidth <= 1)
            return;
        if (appearance.PrintLineStyle())
            canvas.SetPenWidth(1);
        else if (FWidth > 3)
            canvas.SetPenWidth(Halved(FWidth) + 1);
    }
    int32_t Width() const { return FWidth; }

private:
    int32_t FWidth;
};

void UseFont(TZemplot& graph, const TFont& font)
{
    graph.DrawCanvas().SetFont(font.Attributes());
    graph.MeasureCanvas().SetFont(font.Attributes());
}

// A step the ticks of the drawing can use: date spacings coarsened until the
// ticks are few enough, a linear step that is missing or too fine replaced.
void PrepareTicks(TAxis& axis, uint16_t maxSteps)
{
    if (axis.ShowAsTime()) {
        axis.StoreStepSize(axis.GetDateStep());
        while ((axis.Max() - axis.Min()) / axis.StepSize() > maxSteps && axis.DateTickType() != dt_custom) {
            axis.StoreDateTickType(static_cast<Dateticks>(axis.DateTickType() + 1));
            axis.StoreStepSize(axis.GetDateStep());
            axis.SetDateMinMax();
            axis.CalcMetrics();
        }
    } else if (!axis.LogScale() &&
               (axis.StepSize() == 0 || (axis.Max() - axis.Min()) / axis.StepSize() > maxSteps)) {
        axis.StoreStepSize(axis.GetStep());
    }
    if (axis.LogScale())
        axis.BuildLogSteps();
}

enum class TAxisKind { X, Y, SecondY };

TAxis& AxisOf(TZemplot& graph, TAxisKind kind)
{
    switch (kind) {
    case TAxisKind::X: return graph.XAxis();
    case TAxisKind::Y: return graph.YAxis();
    default: return graph.YAxis_Second();
    }
}

// Where a value of the axis lies along it on the canvas.
int32_t ScreenPosition(const TZemplot& graph, TAxisKind kind, double value)
{
    switch (kind) {
    case TAxisKind::X: return graph.XToScreen(value);
    case TAxisKind::Y: return graph.YToScreen(value);
    default: return graph.Y2ToScreen(value);
    }
}

// A segment given by positions along the axis and across it.
void DrawAxisSegment(TZemplot& graph, TAxisKind kind, int32_t along1, int32_t across1, int32_t along2,
                     int32_t across2)
{
    if (kind == TAxisKind::X)
        graph.DrawSegment(along1, across1, along2, across2);
    else
        graph.DrawSegment(across1, along1, across2, along2);
}

// Calls `draw` for every tick but a first one that lies on the axis line.
template <typename TDraw>
void WalkGridTicks(TAxis& axis, TDraw draw)
{
    bool first = true;
    axis.WalkTicks([&](double tick, bool) {
        const bool onAxisLine = first && axis.Min() + axis.StepSize() * 0.01 > tick;
        first = false;
        if (!onAxisLine)
            draw(tick);
    });
}

// Grid lines across the plot at the axis's ticks.
void DrawGridLines(TZemplot& graph, TAxisKind kind)
{
    TCanvas& canvas = graph.DrawCanvas();
    const TAppearance& appearance = graph.Appearance();
    canvas.SetPenColor(appearance.GridColor());
    canvas.SetPenStyle(appearance.GridStyle());
    // The brush before the background: choosing a brush resets the background,
    // which must be the plot's so that the gaps of a dotted grid do not show.
    if (kind == TAxisKind::X)
        canvas.SetBrushColor(graph.Color());
    canvas.SetBackgroundColor(appearance.BackgroundColor());
    const TAxis& across = kind == TAxisKind::X ? graph.YAxis() : graph.XAxis();
    const TAxisKind acrossKind = kind == TAxisKind::X ? TAxisKind::Y : TAxisKind::X;
    const int32_t from = ScreenPosition(graph, acrossKind, across.Min());
    const int32_t to = ScreenPosition(graph, acrossKind, across.Max());
    WalkGridTicks(AxisOf(graph, kind), [&](double tick) {
        const int32_t at = ScreenPosition(graph, kind, tick);
        DrawAxisSegment(graph, kind, at, from, at, to);
    });
}

// Ticks point away from the plot: down from an x axis, left of a y axis, and the
// other way on a reversed axis.
int32_t Outward(const TAxis& axis, TAxisKind kind, int32_t distance)
{
    const int32_t sign = (kind == TAxisKind::X) == axis.Reversed() ? -1 : 1;
    return sign * distance;
}

void DrawTicks(TZemplot& graph, TAxisKind kind, int32_t linePosition)
{
    TCanvas& canvas = graph.DrawCanvas();
    canvas.SetPenColor(graph.Appearance().AxesColor());
    canvas.SetPenStyle(psSolid);
    canvas.SetBackgroundColor(graph.Appearance().MarginColor());
    TAxis& axis = AxisOf(graph, kind);
    const int32_t end = linePosition + Outward(axis, kind, graph.Dimensions().TickLength());
    axis.WalkTicks([&](double tick, bool) {
        const int32_t at = ScreenPosition(graph, kind, tick);
        DrawAxisSegment(graph, kind, at, linePosition, at, end);
    });
}

// Returns the height of the last label text formed.
int32_t DrawXLabels(TZemplot& graph, int32_t axisY)
{
    TCanvas& canvas = graph.DrawCanvas();
    TCanvas& measure = graph.MeasureCanvas();
    UseFont(graph, graph.Appearance().LabelFont());
    canvas.SetBrushStyle(bsClear);
    canvas.SetBackgroundColor(graph.Appearance().MarginColor());
    TAxis& axis = graph.XAxis();
    const int32_t labelY =
        axisY + Outward(axis, TAxisKind::X, graph.Dimensions().TickLength() + graph.Dimensions().XAxisLabelOffset());
    std::string text;
    axis.WalkTicks([&](double tick, bool labelled) {
        text = axis.LabelText(tick, graph.DecimalSeparator());
        if (!labelled)
            return;
        const int32_t y = axis.Reversed() ? labelY - measure.TextHeight(text) : labelY;
        canvas.TextOut(graph.XToScreen(tick) - Halved(measure.TextWidth(text)), y, text);
    });
    return measure.TextHeight(text);
}

// Returns the width of the last label text formed.
int32_t DrawYLabels(TZemplot& graph, TAxisKind kind, int32_t axisX)
{
    TCanvas& canvas = graph.DrawCanvas();
    TCanvas& measure = graph.MeasureCanvas();
    UseFont(graph, graph.Appearance().LabelFont());
    canvas.SetBackgroundColor(graph.Appearance().MarginColor());
    TAxis& axis = AxisOf(graph, kind);
    const int32_t labelX =
        axisX + Outward(axis, kind, graph.Dimensions().TickLength() + graph.Dimensions().YAxisLabelOffset());
    std::string text;
    axis.WalkTicks([&](double tick, bool labelled) {
        text = axis.LabelText(tick, graph.DecimalSeparator());
        if (!labelled)
            return;
        const int32_t y = ScreenPosition(graph, kind, tick) - Halved(measure.TextHeight(text));
        canvas.TextOut(axis.Reversed() ? labelX : labelX - measure.TextWidth(text), y, text);
    });
    return measure.TextWidth(text);
}

int32_t XAxisLineY(const TZemplot& graph)
{
    const TAxis& y = graph.YAxis();
    if (!y.Valid())
        return graph.OriginY() + graph.DrawHeight() - graph.Dimensions().BottomMargin();
    const TAxis& x = graph.XAxis();
    switch (x.OffsetType()) {
    case ao_Maximum: return graph.YToScreen(y.Max());
    case ao_percentage: return graph.YToScreen(y.Min() + (y.Max() - y.Min()) * x.Offset() * 0.01);
    case ao_absolute: return graph.YToScreen(x.Offset());
    default: return graph.YToScreen(y.Min());
    }
}

int32_t YAxisLineX(const TZemplot& graph, const TAxis& axis)
{
    const TAxis& x = graph.XAxis();
    if (!x.Valid()) {
        const TDimensions& dimensions = graph.Dimensions();
        return axis.IsSecondAxis() ? graph.OriginX() + graph.DrawWidth() - dimensions.RightMargin()
                                   : graph.OriginX() + dimensions.LeftMargin();
    }
    switch (axis.OffsetType()) {
    case ao_Maximum: return graph.XToScreen(x.Max());
    case ao_percentage: return graph.XToScreen(x.Min() + (x.Max() - x.Min()) * axis.Offset() * 0.01);
    case ao_absolute: return graph.XToScreen(axis.Offset());
    default: return graph.XToScreen(x.Min());
    }
}

struct TAxisTitle {
    std::string Text;
    int32_t LabelExtent = 0; // height of the x labels, width of the y labels
};

// Grid lines, ticks, labels and line of an axis that can be scaled.
TAxisTitle DrawValidAxis(TZemplot& graph, TAxisKind kind, int32_t linePosition)
{
    TAxis& axis = AxisOf(graph, kind);
    TCanvas& canvas = graph.DrawCanvas();
    const TAppearance& appearance = graph.Appearance();
    const TKeptStepSize kept(axis);
    PrepareTicks(axis, appearance.MaxSteps());
    const TAxisPen pen(canvas, appearance);
    const TAxis& across = kind == TAxisKind::X ? graph.YAxis() : graph.XAxis();
    if (axis.Gridlines() && across.Valid())
        DrawGridLines(graph, kind);
    if (!axis.ShowAxis()) {
        canvas.SetPenWidth(pen.Width());
        return {};
    }
    if (appearance.ShowTicks())
        DrawTicks(graph, kind, linePosition);
    int32_t labelExtent = 0;
    if (appearance.ShowGraphLabels())
        labelExtent = kind == TAxisKind::X ? DrawXLabels(graph, linePosition) : DrawYLabels(graph, kind, linePosition);
    canvas.SetPenColor(appearance.AxesColor());
    canvas.SetPenStyle(psSolid);
    canvas.SetPenWidth(pen.Width());
    const int32_t start = ScreenPosition(graph, kind, axis.Min());
    const int32_t end = ScreenPosition(graph, kind, axis.Max());
    if (kind == TAxisKind::X)
        graph.DrawSegment(start, linePosition, end, linePosition);
    else
        graph.DrawSegment(linePosition, end, linePosition, start);
    return {axis.Title(), labelExtent};
}

// The axis, and the text of its title's place: the title, or the error caption of
// an axis that cannot be scaled.
TAxisTitle DrawAxis(TZemplot& graph, TAxisKind kind, int32_t linePosition)
{
    if (!AxisOf(graph, kind).Valid())
        return {graph.Appearance().ErrorCaption(), 0};
    return DrawValidAxis(graph, kind, linePosition);
}

void UseTitleFont(TZemplot& graph)
{
    graph.DrawCanvas().SetBackgroundColor(graph.Appearance().MarginColor());
    UseFont(graph, graph.Appearance().TitleFont());
}

}  // namespace

void DrawXAxis(TZemplot& graph)
{
    const int32_t axisY = XAxisLineY(graph);
    const TAxisTitle title = DrawAxis(graph, TAxisKind::X, axisY);
    const TAxis& axis = graph.XAxis();
    if (!axis.ShowAxis())
        return;
    UseTitleFont(graph);
    TCanvas& measure = graph.MeasureCanvas();
    const TDimensions& dimensions = graph.Dimensions();
    const int32_t plotWidth = graph.DrawWidth() - dimensions.LeftMargin() - dimensions.RightMargin();
    const int32_t centre = graph.OriginX() + dimensions.LeftMargin() + Halved(plotWidth);
    const int32_t offset = dimensions.TickLength() + dimensions.XAxisTitleOffset();
    const int32_t y = axis.Reversed() ? axisY - offset - measure.TextHeight(title.Text) - title.LabelExtent
                                      : axisY + offset + title.LabelExtent;
    graph.DrawCanvas().TextOut(centre - Halved(measure.TextWidth(title.Text)), y, title.Text);
}

void DrawYAxis(TZemplot& graph, bool secondAxis)
{
    const TAxisKind kind = secondAxis ? TAxisKind::SecondY : TAxisKind::Y;
    const TAxis& axis = AxisOf(graph, kind);
    const int32_t axisX = YAxisLineX(graph, axis);
    const TAxisTitle title = DrawAxis(graph, kind, axisX);
    if (!axis.ShowAxis())
        return;
    UseTitleFont(graph);
    TCanvas& canvas = graph.DrawCanvas();
    TCanvas& measure = graph.MeasureCanvas();
    const TDimensions& dimensions = graph.Dimensions();
    // The title runs upward, centred on the plot's height, beside the labels.
    const TRotatedFont upward(canvas, 900);
    const int32_t offset = dimensions.TickLength() + dimensions.YAxisTitleOffset();
    int32_t x = axis.Reversed() ? axisX + offset + title.LabelExtent
                                : axisX - offset - title.LabelExtent - measure.TextHeight(title.Text);
    if (x < 0)
        x = 0;
    const int32_t plotHeight = graph.DrawHeight() - dimensions.TopMargin() - dimensions.BottomMargin();
    const int32_t middle = graph.OriginY() + dimensions.TopMargin() + Halved(plotHeight);
    canvas.TextOut(x, middle + Halved(measure.TextWidth(title.Text)), title.Text);
}
