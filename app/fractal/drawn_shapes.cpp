#include "app/fractal/drawn_shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct TPoint {
    double X;
    double Y;
};

// Sets every pixel whose centre lies within `radius` of the segment from a to b.
void DrawSegment(TPixelMask& mask, TPoint a, TPoint b, double radius)
{
    const int left = std::max(0, static_cast<int>(std::floor(std::min(a.X, b.X) - radius)));
    const int right = std::min(mask.Width() - 1, static_cast<int>(std::ceil(std::max(a.X, b.X) + radius)));
    const int top = std::max(0, static_cast<int>(std::floor(std::min(a.Y, b.Y) - radius)));
    const int bottom = std::min(mask.Height() - 1, static_cast<int>(std::ceil(std::max(a.Y, b.Y) + radius)));
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double lengthSquared = dx * dx + dy * dy;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const double px = x + 0.5 - a.X, py = y + 0.5 - a.Y;
            const double along =
                lengthSquared > 0 ? std::clamp((px * dx + py * dy) / lengthSquared, 0.0, 1.0) : 0.0;
            const double ex = px - along * dx, ey = py - along * dy;
            if (ex * ex + ey * ey <= radius * radius)
                mask.Set(x, y);
        }
}

// The corners of Koch's curve from a to b after `levels` refinements, b left out.
void KochCorners(TPoint a, TPoint b, int levels, std::vector<TPoint>& corners)
{
    if (levels == 0) {
        corners.push_back(a);
        return;
    }
    const double dx = (b.X - a.X) / 3, dy = (b.Y - a.Y) / 3;
    const TPoint first{a.X + dx, a.Y + dy}, second{a.X + 2 * dx, a.Y + 2 * dy};
    // The peak: the middle third turned by 60 degrees, upwards on screen.
    const double cosine = 0.5, sine = std::sqrt(3.0) / 2;
    const TPoint peak{first.X + dx * cosine + dy * sine, first.Y - dx * sine + dy * cosine};
    KochCorners(a, first, levels - 1, corners);
    KochCorners(first, peak, levels - 1, corners);
    KochCorners(peak, second, levels - 1, corners);
    KochCorners(second, b, levels - 1, corners);
}

}  // namespace

TPixelMask FilledSquare(int side)
{
    TPixelMask mask(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            mask.Set(x, y);
    return mask;
}

TPixelMask StraightLine(int length, int line)
{
    TPixelMask mask(length, line);
    for (int y = 0; y < line; ++y)
        for (int x = 0; x < length; ++x)
            mask.Set(x, y);
    return mask;
}

TPixelMask CircleOutline(int diameter, int line)
{
    TPixelMask mask(diameter, diameter);
    const double centre = diameter / 2.0, radius = (diameter - line) / 2.0, half = line / 2.0;
    for (int y = 0; y < diameter; ++y)
        for (int x = 0; x < diameter; ++x)
            if (std::abs(std::hypot(x + 0.5 - centre, y + 0.5 - centre) - radius) <= half)
                mask.Set(x, y);
    return mask;
}

TPixelMask KochCurve(int width, int line)
{
    int levels = 0;
    for (double segment = width; segment > 1; segment /= 3)
        ++levels;
    const double half = line / 2.0, height = width * std::sqrt(3.0) / 6;
    TPixelMask mask(width + line, static_cast<int>(std::ceil(height + line)));
    const TPoint start{half, half + height}, end{half + width, half + height};
    std::vector<TPoint> corners;
    KochCorners(start, end, levels, corners);
    corners.push_back(end);
    for (std::size_t i = 1; i < corners.size(); ++i)
        DrawSegment(mask, corners[i - 1], corners[i], half);
    return mask;
}
