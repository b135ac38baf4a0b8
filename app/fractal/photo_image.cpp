#include "app/fractal/photo_image.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr int kShapeGrey = 50;
constexpr int kGroundGrey = 205;

// How many of the pixel's 3 × 3 neighbours (itself included) inside the mask are set,
// and how many lie inside it.
std::pair<int, int> NeighbourhoodCounts(const TPixelMask& mask, int x, int y)
{
    int set = 0, inside = 0;
    for (int ny = std::max(0, y - 1); ny <= std::min(mask.Height() - 1, y + 1); ++ny)
        for (int nx = std::max(0, x - 1); nx <= std::min(mask.Width() - 1, x + 1); ++nx) {
            set += mask.Test(nx, ny);
            ++inside;
        }
    return {set, inside};
}

}  // namespace

QImage PhotoImage(const TPixelMask& mask, double noise)
{
    QImage image(mask.Width(), mask.Height(), QImage::Format_Grayscale8);
    if (image.isNull())
        return image;
    std::mt19937 random(20261209);
    std::normal_distribution<double> grain(0.0, std::max(noise, 0.0));
    for (int y = 0; y < mask.Height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < mask.Width(); ++x) {
            const auto [set, inside] = NeighbourhoodCounts(mask, x, y);
            const double grey = kGroundGrey + (kShapeGrey - kGroundGrey) * static_cast<double>(set) / inside;
            row[x] = static_cast<uchar>(std::clamp(std::lround(grey + (noise > 0.0 ? grain(random) : 0.0)), 0L, 255L));
        }
    }
    return image;
}
