#include "graph/control/qt_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QLineF>
#include <QPaintEngine>
#include <QPainterPath>

#include "graph/control/segment_clip.h"
#include "graph/core/error.h"

namespace {

constexpr const char* kCanvasNotActive = "The canvas draws only between Begin and End";
constexpr const char* kCannotPaintOnDevice = "The canvas cannot paint on this device";

// The size of a font whose height is left to the system.
constexpr int kDefaultPixelSize = 9;

QPoint ToQPoint(TPoint point)
{
    return QPoint(point.X, point.Y);
}

// The rectangle x1 ... x2 - 1 by y1 ... y2 - 1, whichever corners are given.
QRect Box(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
}

// Dashes in pixels of a 1-pixel pen; empty for solid lines.
QList<qreal> DashPattern(TPenStyle style)
{
    switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

int32_t PenWidthOf(int32_t width)
{
    return std::max(width, 1);
}

// A 1-pixel pen is a flat-capped hairline so that lines leave out their end pixel.
// Wider pens draw solid with round ends and joins, as geometric pens of a device
// context do.
QPen ShapePen(TColor color, TPenStyle style, int32_t width)
{
    if (style == psClear)
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(color), PenWidthOf(width));
    if (pen.width() > 1) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        return pen;
    }
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    if (const QList<qreal> dashes = DashPattern(style); !dashes.isEmpty())
        pen.setDashPattern(dashes);
    return pen;
}

QPainter::CompositionMode CompositionOf(TPenMode mode)
{
    switch (mode) {
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

// Qt draws a flat-capped hairline over [low, high) of its main axis whichever way it
// runs. A line running back along that axis moves half a pixel back along itself, so
// that it keeps its start and leaves out its end; the sideways part of the move is
// rounded up to Qt's 1/64 pixel grid, which puts the start pixel exactly on the start.
QLineF HairlineLeavingOutEnd(TPoint from, TPoint to)
{
    const int32_t dx = to.X - from.X;
    const int32_t dy = to.Y - from.Y;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const int32_t along = alongX ? dx : dy;
    const QLineF line(QPointF(from.X, from.Y), QPointF(to.X, to.Y));
    if (along >= 0)
        return line;
    const double across = std::ceil((alongX ? dy : dx) * 32.0 / along) / 64.0;
    return line.translated(alongX ? QPointF(0.5, across) : QPointF(across, 0.5));
}

// The pixels a hairline steps along its main axis, which is what its dashes count.
int32_t HairlineLength(TPoint from, TPoint to)
{
    return std::max(std::abs(to.X - from.X), std::abs(to.Y - from.Y));
}

int CellHeight(const QFontMetrics& metrics)
{
    return metrics.ascent() + metrics.descent();
}

// The pixel size whose cell comes closest to the height, the smaller on a tie. Cells
// grow with the size, so a halving search finds the first that reaches the height.
int PixelSizeForCell(QFont font, int32_t height)
{
    const auto cell = [&font](int size) {
        font.setPixelSize(size);
        return CellHeight(QFontMetrics(font));
    };
    int low = 1;
    int high = 2 * height;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (cell(middle) >= height)
            high = middle;
        else
            low = middle + 1;
    }
    if (low > 1 && height - cell(low - 1) <= cell(low) - height)
        return low - 1;
    return low;
}

// Negative: the character height; positive: the cell height.
int PixelSize(const QFont& font, int32_t height)
{
    if (height < 0)
        return -height;
    if (height == 0)
        return kDefaultPixelSize;
    return PixelSizeForCell(font, height);
}

QFont ToQFont(const TFontDescription& description)
{
    QFont font(QString::fromStdString(description.FaceName));
    const int weight = description.Weight > 0 ? description.Weight : QFont::Normal;
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(description.Italic);
    font.setUnderline(description.Underline);
    font.setStrikeOut(description.StrikeOut);
    // Advances add up the way a device context measures them.
    font.setKerning(false);
    // Hinted advances put the letters on whole pixels.
    font.setHintingPreference(QFont::PreferFullHinting);
    // Grey edges only: no colour fringes in saved pictures.
    QFont::StyleStrategy strategy = QFont::NoSubpixelAntialias;
    if (description.OutPrecision == kOutlinePrecision)
        strategy = static_cast<QFont::StyleStrategy>(strategy | QFont::ForceOutline);
    font.setStyleStrategy(strategy);
    font.setPixelSize(PixelSize(font, description.Height));
    return font;
}

}  // namespace

QColor ToQColor(TColor color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TQtCanvas::TQtCanvas(QPaintDevice& device)
{
    Begin(device);
}

TQtCanvas::~TQtCanvas()
{
    End();
}

void TQtCanvas::Begin(QPaintDevice& device)
{
    End();
    if (!FPainter.begin(&device))
        throw TVandrelError(kCannotPaintOnDevice);
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FRasterOps = FPainter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    FCutsItself = FPainter.paintEngine()->type() == QPaintEngine::SVG;
    FCut.reset();
    FShapeState.reset();
}

void TQtCanvas::End()
{
    if (FPainter.isActive())
        FPainter.end();
}

QPainter& TQtCanvas::ActivePainter()
{
    if (!FPainter.isActive())
        throw TVandrelError(kCanvasNotActive);
    return FPainter;
}

QPainter& TQtCanvas::ShapePainter()
{
    QPainter& painter = ActivePainter();
    const TCanvasState& state = State();
    const TShapeState wanted{state.PenColor,   state.PenStyle,   state.PenWidth,      state.PenMode,
                             state.BrushColor, state.BrushStyle, state.BackgroundColor};
    if (FShapeState != wanted)
        ApplyShapeState(wanted);
    return painter;
}

void TQtCanvas::ApplyShapeState(const TShapeState& state)
{
    const bool solidBrush = state.BrushStyle == bsSolid;
    const QPen pen = ShapePen(state.PenColor, state.PenStyle, state.PenWidth);
    FPainter.setPen(pen);
    FPainter.setBrush(solidBrush ? QBrush(ToQColor(state.BrushColor)) : QBrush(Qt::NoBrush));
    // An opaque background fills the gaps of dashed lines. Only they get it: Qt draws
    // ellipses a pixel smaller in that mode.
    const bool opaque = solidBrush && pen.style() == Qt::CustomDashLine;
    FPainter.setBackground(ToQColor(state.BackgroundColor));
    FPainter.setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    FPainter.setCompositionMode(FRasterOps ? CompositionOf(state.PenMode) : QPainter::CompositionMode_SourceOver);
    FShapeState = state;
}

bool TQtCanvas::Hairline() const
{
    return State().PenStyle != psClear && PenWidthOf(State().PenWidth) == 1;
}

// The outline runs through the last column and row of the box; without a pen the
// fill alone covers the whole box.
QRect TQtCanvas::ShapeRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const
{
    const QRect box = Box(x1, y1, x2, y2);
    return State().PenStyle == psClear ? box : box.adjusted(0, 0, -1, -1);
}

void TQtCanvas::Line(TPoint from, TPoint to)
{
    QPainter& painter = ShapePainter();
    if (from == to)
        return;
    DrawLine(painter, Hairline() ? HairlineLeavingOutEnd(from, to) : QLineF(ToQPoint(from), ToQPoint(to)));
}

void TQtCanvas::DrawLine(QPainter& painter, const QLineF& line)
{
    if (!FCut) {
        painter.drawLine(line);
        return;
    }
    const std::optional<QLineF> inside = ClipSegment(line, *FCut);
    if (!inside)
        return;
    if (*inside != line && painter.pen().capStyle() != Qt::FlatCap) {
        // A round end where the line is cut would reach out of the clip.
        QPen pen = painter.pen();
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        FShapeState.reset();
    }
    painter.drawLine(*inside);
}

// On a device that does not clip: the fill of a shape that crosses the clip is cut
// to it and its outline drawn edge by edge, each edge cut. True when drawn here.
bool TQtCanvas::DrawCutShape(QPainter& painter, const QPainterPath& shape)
{
    if (!FCut || FCut->contains(shape.boundingRect()))
        return false;
    if (painter.brush().style() != Qt::NoBrush) {
        QPainterPath clip;
        clip.addRect(*FCut);
        const QPen pen = painter.pen();
        painter.setPen(Qt::NoPen);
        painter.drawPath(shape.intersected(clip));
        painter.setPen(pen);
    }
    if (painter.pen().style() != Qt::NoPen)
        for (const QPolygonF& outline : shape.toSubpathPolygons())
            for (qsizetype i = 1; i < outline.size(); ++i)
                DrawLine(painter, QLineF(outline[i - 1], outline[i]));
    return true;
}

void TQtCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { DrawBox(x1, y1, x2, y2, false); }
void TQtCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { DrawBox(x1, y1, x2, y2, true); }

void TQtCanvas::DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool ellipse)
{
    QPainter& painter = ShapePainter();
    if (x1 == x2 || y1 == y2)
        return;
    const QRect box = ShapeRect(x1, y1, x2, y2);
    if (FCut) {
        QPainterPath shape;
        if (ellipse)
            shape.addEllipse(box);
        else
            shape.addRect(box);
        if (DrawCutShape(painter, shape))
            return;
    }
    if (ellipse)
        painter.drawEllipse(box);
    else
        painter.drawRect(box);
}

// Into a buffer that keeps its room from call to call.
void TQtCanvas::KeepPoints(std::span<const TPoint> points)
{
    FPoints.clear();
    for (const TPoint& point : points)
        FPoints.push_back(ToQPoint(point));
}

void TQtCanvas::Polygon(std::span<const TPoint> points)
{
    QPainter& painter = ShapePainter();
    if (points.size() < 2)
        return;
    KeepPoints(points);
    if (FCut) {
        QPolygonF polygon;
        for (const QPoint& point : FPoints)
            polygon << point;
        QPainterPath shape;
        shape.addPolygon(polygon);
        shape.closeSubpath();
        if (DrawCutShape(painter, shape))
            return;
    }
    painter.drawPolygon(FPoints.data(), static_cast<int>(FPoints.size()));
}

void TQtCanvas::Polyline(std::span<const TPoint> points)
{
    QPainter& painter = ShapePainter();
    if (points.size() < 2)
        return;
    if (Hairline()) {
        DrawHairlines(painter, points);
        return;
    }
    if (FCut) {
        for (size_t i = 1; i < points.size(); ++i)
            DrawLine(painter, QLineF(ToQPoint(points[i - 1]), ToQPoint(points[i])));
        return;
    }
    KeepPoints(points);
    painter.drawPolyline(FPoints.data(), static_cast<int>(FPoints.size()));
}

// Segment by segment, so that each vertex is drawn once and the last point not at
// all, which exclusive-or drawing relies on; the dashes run on across the vertices.
void TQtCanvas::DrawHairlines(QPainter& painter, std::span<const TPoint> points)
{
    QPen pen = painter.pen();
    const bool dashed = pen.style() == Qt::CustomDashLine;
    int32_t run = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i - 1] == points[i])
            continue;
        if (dashed) {
            pen.setDashOffset(run);
            painter.setPen(pen);
        }
        DrawLine(painter, HairlineLeavingOutEnd(points[i - 1], points[i]));
        run += HairlineLength(points[i - 1], points[i]);
    }
    if (dashed)
        FShapeState.reset();
}

const TQtCanvas::TQtFont& TQtCanvas::CurrentFont()
{
    TFontDescription description = FontDescription();
    if (!FFont || FFont->Description != description) {
        const QFont font = ToQFont(description);
        FFont = TQtFont{std::move(description), font, QFontMetrics(font)};
    }
    return *FFont;
}

void TQtCanvas::TextOut(int32_t x, int32_t y, const std::string& text)
{
    QPainter& painter = ActivePainter();
    if (text.empty())
        return;
    const TQtFont& font = CurrentFont();
    const QString qtext = QString::fromStdString(text);
    QTransform placement = QTransform::fromTranslate(x, y);
    placement.rotate(-font.Description.Escapement / 10.0);
    // Text takes no notice of the pen mode, as in a device context.
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (DrawCutText(painter, placement, qtext, font))
        return;
    painter.setTransform(placement);
    if (State().BrushStyle == bsSolid) {
        const QRect cell(0, 0, font.Metrics.horizontalAdvance(qtext), CellHeight(font.Metrics));
        painter.fillRect(cell, ToQColor(State().BackgroundColor));
    }
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(font.Font);
    painter.setPen(ToQColor(State().Font.Color));
    painter.drawText(QPoint(0, font.Metrics.ascent()), qtext);
    painter.resetTransform();
    FShapeState.reset();
}

// On a device that does not clip: text partly outside the clip becomes outlines
// cut to it, text wholly outside is left out. True when dealt with here.
bool TQtCanvas::DrawCutText(QPainter& painter, const QTransform& placement, const QString& text,
                            const TQtFont& font)
{
    if (!FCut)
        return false;
    QPainterPath cell;
    cell.addRect(0, 0, font.Metrics.horizontalAdvance(text), CellHeight(font.Metrics));
    cell = placement.map(cell);
    if (FCut->contains(cell.boundingRect()))
        return false;
    QPainterPath clip;
    clip.addRect(*FCut);
    if (cell.intersects(clip)) {
        if (State().BrushStyle == bsSolid)
            painter.fillPath(cell.intersected(clip), ToQColor(State().BackgroundColor));
        QPainterPath glyphs;
        glyphs.addText(0, font.Metrics.ascent(), font.Font, text);
        painter.fillPath(placement.map(glyphs).intersected(clip), ToQColor(State().Font.Color));
    }
    FShapeState.reset();
    return true;
}

int32_t TQtCanvas::TextWidth(const std::string& text)
{
    return CurrentFont().Metrics.horizontalAdvance(QString::fromStdString(text));
}

int32_t TQtCanvas::TextHeight(const std::string&)
{
    return CellHeight(CurrentFont().Metrics);
}

void TQtCanvas::ClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    QPainter& painter = ActivePainter();
    if (FCutsItself)
        FCut = QRectF(Box(x1, y1, x2, y2));
    else
        painter.setClipRect(Box(x1, y1, x2, y2), Qt::ReplaceClip);
}
