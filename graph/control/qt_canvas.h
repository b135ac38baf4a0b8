#pragma once

#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "graph/control/canvas.h"

QColor ToQColor(TColor color);

// The drawing surface over a QPainter, with the pixel rules of a classic device
// context: hairlines leave out their end pixel, rectangles and ellipses cover
// x1 ... x2 - 1 by y1 ... y2 - 1, exclusive-or pen modes, and the gaps of dashed
// lines and the cells behind text take the background colour while the brush is solid.
// The state lives in TCanvas and outlasts Begin ... End; the clip ends with End.
// Drawing while no painter is active throws TVandrelError.
class TQtCanvas : public TCanvas {
public:
    TQtCanvas() = default;
    explicit TQtCanvas(QPaintDevice& device);
    ~TQtCanvas() override;
    TQtCanvas(const TQtCanvas&) = delete;
    TQtCanvas& operator=(const TQtCanvas&) = delete;

    // Ends any painting still active, then paints on the device without a clip.
    void Begin(QPaintDevice& device);
    void End();
    bool Active() const { return FPainter.isActive(); }

    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    int32_t TextWidth(const std::string& text) override;
    int32_t TextHeight(const std::string& text) override;
    void ClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

protected:
    void Line(TPoint from, TPoint to) override;

private:
    // What shapes take from the state; the painter is told again only when it changes.
    struct TShapeState {
        TColor PenColor;
        TPenStyle PenStyle;
        int32_t PenWidth;
        TPenMode PenMode;
        TColor BrushColor;
        TBrushStyle BrushStyle;
        TColor BackgroundColor;
        bool operator==(const TShapeState&) const = default;
    };

    struct TQtFont {
        TFontDescription Description;
        QFont Font;
        QFontMetrics Metrics;
    };

    QPainter& ActivePainter();
    QPainter& ShapePainter();
    void ApplyShapeState(const TShapeState& state);
    bool Hairline() const;
    QRect ShapeRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const;
    void KeepPoints(std::span<const TPoint> points);
    void DrawHairlines(QPainter& painter, std::span<const TPoint> points);
    // A rectangle or the ellipse inscribed in it.
    void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool ellipse);
    void DrawLine(QPainter& painter, const QLineF& line);
    bool DrawCutShape(QPainter& painter, const QPainterPath& shape);
    bool DrawCutText(QPainter& painter, const QTransform& placement, const QString& text, const TQtFont& font);
    const TQtFont& CurrentFont();

    QPainter FPainter;
    bool FRasterOps = false;
    // A device that ignores clipping (the SVG generator) gets its drawing cut to the
    // clip rectangle here.
    bool FCutsItself = false;
    std::optional<QRectF> FCut;
    std::optional<TShapeState> FShapeState;
    std::optional<TQtFont> FFont;
    std::vector<QPoint> FPoints;
};
