#include "app/window/grid_lines.h"

#include <cstdint>
#include <vector>

namespace {

// The places of `count` pixels, each standing for `scale` of the picture, that hold a
// multiple of `spacing`.
std::vector<int> LinePlaces(int count, int spacing, int scale)
{
    std::vector<int> places;
    for (int64_t line = 0; line < int64_t{count} * scale; line += spacing)
        if (places.empty() || places.back() != line / scale)
            places.push_back(static_cast<int>(line / scale));
    return places;
}

}  // namespace

void DrawNotXorGrid(QImage& image, int spacing, QRgb colour, int scale)
{
    if (spacing <= 0 || scale <= 0)
        return;
    // An opaque colour leaves the alpha as it was: ~(0xFF ^ alpha) is alpha.
    const QRgb opaque = colour | 0xFF000000u;
    const auto notXor = [opaque](QRgb& pixel) { pixel = ~(opaque ^ pixel); };
    const int width = image.width();
    const std::vector<int> columns = LinePlaces(width, spacing, scale);
    const std::vector<int> rows = LinePlaces(image.height(), spacing, scale);
    auto nextRow = rows.begin();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (nextRow != rows.end() && *nextRow == y) {
            ++nextRow;
            for (int x = 0; x < width; ++x)
                notXor(line[x]);
        }
        for (const int x : columns)
            notXor(line[x]);
    }
}
