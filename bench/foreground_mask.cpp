// The masks of the foreground rules against the mask of one exact colour, in the same
// run, on a picture of random colours 4096 pixels square, stored as RGB32 and as
// ARGB32 (one pixel in eight not opaque). Prints each time and its ratio to the exact
// colour's.

#include <cstdio>
#include <random>

#include <QImage>

#include "app/picture/colour_mask.h"
#include "app/picture/foreground_mask.h"
#include "bench/best_seconds.h"

namespace {

constexpr int kSide = 4096;
constexpr int kRuns = 15;

QImage RandomPicture(QImage::Format format)
{
    QImage image(kSide, kSide, format);
    std::mt19937 random(3);
    for (int y = 0; y < kSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x) {
            const QRgb rgb = random() & 0xFFFFFFu;
            line[x] = format == QImage::Format_ARGB32 && random() % 8 == 0 ? rgb | 0x80000000u : rgb | 0xFF000000u;
        }
    }
    return image;
}

volatile bool gSink; // keeps the work from being optimised away

}  // namespace

int main()
{
    std::printf("%-7s %-34s %9s %7s\n", "format", "rule", "ms", "ratio");
    for (const auto& [name, format] : {std::pair{"RGB32", QImage::Format_RGB32}, std::pair{"ARGB32", QImage::Format_ARGB32}}) {
        const QImage image = RandomPicture(format);
        const double exact = BestSeconds(kRuns, [&] { gSink = MaskOfColour(image, 0x404040).Empty(); });
        std::printf("%-7s %-34s %9.1f %6.2fx\n", name, "colour #404040 (exact kernel)", exact * 1e3, 1.0);
        for (const TForegroundRule& rule : {TForegroundRule::Colour(0x404040, 40), TForegroundRule::Luminance(100),
                                            TForegroundRule::Luminance(100, TLuminanceSide::Light),
                                            TForegroundRule::Otsu()}) {
            TForegroundRule resolved = rule;
            const double seconds = BestSeconds(kRuns, [&] {
                const TForegroundMask result = MaskOfForeground(image, rule);
                gSink = result.Mask.Empty();
                resolved = result.Rule;
            });
            std::printf("%-7s %-34s %9.1f %6.2fx\n", name, resolved.Text().c_str(), seconds * 1e3, seconds / exact);
        }
    }
    return 0;
}
