#include "recording_canvas.h"

#include <cstdlib>

void TRecordingCanvas::Record(std::string op, std::vector<TPoint> points, std::string text)
{
    Calls.push_back({std::move(op), std::move(points), std::move(text), State(), FontDescription()});
}

void TRecordingCanvas::Line(TPoint from, TPoint to) { Record("Line", {from, to}); }

void TRecordingCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Record("Rectangle", {{x1, y1}, {x2, y2}});
}

void TRecordingCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Record("Ellipse", {{x1, y1}, {x2, y2}});
}

void TRecordingCanvas::Polygon(std::span<const TPoint> points) { Record("Polygon", {points.begin(), points.end()}); }
void TRecordingCanvas::Polyline(std::span<const TPoint> points) { Record("Polyline", {points.begin(), points.end()}); }

void TRecordingCanvas::TextOut(int32_t x, int32_t y, const std::string& text) { Record("TextOut", {{x, y}}, text); }

int32_t TRecordingCanvas::TextWidth(const std::string& text)
{
    return static_cast<int32_t>(text.size()) * std::abs(FontDescription().Height) * 2 / 3;
}

int32_t TRecordingCanvas::TextHeight(const std::string&) { return std::abs(FontDescription().Height) + 3; }

void TRecordingCanvas::ClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Record("ClipRect", {{x1, y1}, {x2, y2}});
}

std::vector<TRecordedCall> TRecordingCanvas::Of(std::string_view op) const
{
    std::vector<TRecordedCall> calls;
    for (const TRecordedCall& call : Calls)
        if (call.Op == op)
            calls.push_back(call);
    return calls;
}

std::vector<TRecordedCall> TRecordingCanvas::LinesIn(TColor color) const
{
    std::vector<TRecordedCall> lines;
    for (const TRecordedCall& call : Calls)
        if (call.Op == "Line" && call.State.PenColor == color)
            lines.push_back(call);
    return lines;
}

std::vector<std::string> TRecordingCanvas::Texts() const
{
    std::vector<std::string> texts;
    for (const TRecordedCall& call : Calls)
        if (call.Op == "TextOut")
            texts.push_back(call.Text);
    return texts;
}

const TRecordedCall* TRecordingCanvas::TextCall(std::string_view text) const
{
    for (const TRecordedCall& call : Calls)
        if (call.Op == "TextOut" && call.Text == text)
            return &call;
    return nullptr;
}
