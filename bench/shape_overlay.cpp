// The overlay of the shape's pixels as the method dialog updates it at every change:
// the mask by the rule, its one-bit picture, and the drawing of a screenful of it over
// the picture, against one plain copy of the picture, in the same run, on a picture of
// random colours 4096 pixels square. Prints each time and its ratio to the copy's.

#include <cstdio>
#include <random>

#include <QImage>
#include <QPainter>

#include "app/picture/foreground_mask.h"
#include "app/window/shape_overlay.h"
#include "bench/best_seconds.h"

namespace {

constexpr int kSide = 4096;
constexpr int kRuns = 15;
constexpr QRgb kOverlayColour = qRgba(255, 0, 255, 150);

QImage RandomPicture()
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    std::mt19937 random(3);
    for (int y = 0; y < kSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x)
            line[x] = random() | 0xFF000000u;
    }
    return image;
}

volatile bool gSink; // keeps the work from being optimised away

}  // namespace

int main()
{
    const QImage picture = RandomPicture();
    const double copy = BestSeconds(kRuns, [&] { gSink = picture.copy().isNull(); });
    std::printf("%-44s %9s %7s\n", "step", "ms", "ratio");
    std::printf("%-44s %9.1f %6.2fx\n", "plain copy of the picture", copy * 1e3, 1.0);
    for (const TForegroundRule& rule : {TForegroundRule::Colour(0x404040), TForegroundRule::Colour(0x404040, 40),
                                        TForegroundRule::Otsu()}) {
        const double seconds = BestSeconds(kRuns, [&] {
            gSink = ShapeOverlay(MaskOfForeground(picture, rule).Mask, kOverlayColour).isNull();
        });
        const std::string step = "overlay of " + MaskOfForeground(picture, rule).Rule.Text();
        std::printf("%-44s %9.1f %6.2fx\n", step.c_str(), seconds * 1e3, seconds / copy);
    }
    // What the picture's view repaints: the part in view, not the whole overlay.
    const QImage overlay = ShapeOverlay(MaskOfForeground(picture, TForegroundRule::Otsu()).Mask, kOverlayColour);
    QImage view(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    const double paint = BestSeconds(kRuns, [&] {
        QPainter painter(&view);
        painter.drawImage(view.rect(), picture, view.rect());
        painter.drawImage(view.rect(), overlay, view.rect());
    });
    std::printf("%-44s %9.1f %6.2fx\n", "paint of a 1920 x 1080 view with the overlay", paint * 1e3, paint / copy);
    return 0;
}
