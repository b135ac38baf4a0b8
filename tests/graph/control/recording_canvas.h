#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "graph/control/canvas.h"

// One drawing call with the canvas state it was made in.
struct TRecordedCall {
    std::string Op; // "Line", "Rectangle", "Ellipse", "Polygon", "Polyline", "TextOut", "ClipRect"
    std::vector<TPoint> Points;
    std::string Text;
    TCanvasState State;
    TFontDescription Font; // the font text is written in, with its escapement
};

// A canvas that draws nothing and keeps every drawing call, so that a test can
// read the exact geometry a drawing step produced. Text is measured as if every
// character were two thirds of the font's pixel height wide and the text cell
// three pixels taller than the font.
class TRecordingCanvas : public TCanvas {
public:
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    int32_t TextWidth(const std::string& text) override;
    int32_t TextHeight(const std::string& text) override;
    void ClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

    // The calls of one kind, in order.
    std::vector<TRecordedCall> Of(std::string_view op) const;
    // The lines drawn in a colour.
    std::vector<TRecordedCall> LinesIn(TColor color) const;
    // The texts written, in order.
    std::vector<std::string> Texts() const;
    const TRecordedCall* TextCall(std::string_view text) const;

    std::vector<TRecordedCall> Calls;

protected:
    void Line(TPoint from, TPoint to) override;

private:
    void Record(std::string op, std::vector<TPoint> points, std::string text = {});
};
