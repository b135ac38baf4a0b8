#include "app/window/grid_lines.h"

#include <cstdint>

void DrawNotXorGrid(QImage& image, int spacing, QRgb colour)
{
    if (spacing <= 0)
        return;
    // An opaque colour leaves the alpha as it was: ~(0xFF ^ alpha) is alpha.
    const QRgb opaque = colour | 0xFF000000u;
    const auto notXor = [opaque](QRgb& pixel) { pixel = ~(opaque ^ pixel); };
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (y % spacing == 0) {
            for (int x = 0; x < width; ++x)
                notXor(line[x]);
        }
        for (int64_t x = 0; x < width; x += spacing)
            notXor(line[x]);
    }
}
