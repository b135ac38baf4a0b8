#include "app/picture/foreground_mask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "app/engine/otsu_threshold.h"
#include "app/picture/colour_mask.h"

namespace {

constexpr QRgb kTarget = 0xFF2050A0;

// 67 x 150, so that rows cross a word of the mask and converted formats a band of rows:
// the target, colours near it and random ones, a fifth of them not opaque.
QImage RandomPicture()
{
    QImage image(67, 150, QImage::Format_ARGB32);
    std::mt19937 random(31);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = random() % 3 == 0   ? kTarget & 0xFFFFFF
                             : random() % 2 == 0 ? (kTarget + (random() % 0x1F1F1F)) & 0xFFFFFF
                                                 : random() & 0xFFFFFF;
            image.setPixel(x, y, (random() % 5 == 0 ? random() % 256 : 255) << 24 | rgb);
        }
    return image;
}

// Whether `rule` takes `pixel`, as Qt reads it with QImage::pixel.
bool Takes(const TForegroundRule& rule, QRgb pixel)
{
    if (qAlpha(pixel) != 255)
        return false;
    if (!rule.ByColour())
        return (Luminance(pixel) <= rule.Level()) == (rule.Side() == TLuminanceSide::Dark);
    const QRgb target = rule.Rgb();
    const int largest = std::max({std::abs(qRed(pixel) - qRed(target)), std::abs(qGreen(pixel) - qGreen(target)),
                                  std::abs(qBlue(pixel) - qBlue(target))});
    return largest <= rule.Tolerance();
}

}  // namespace

TEST(ForegroundMask, EveryRuleTakesThePixelsQtReadsInEveryFormat)
{
    const QImage original = RandomPicture();
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888,
          QImage::Format_RGBA8888, QImage::Format_Indexed8, QImage::Format_Grayscale8, QImage::Format_Grayscale16,
          QImage::Format_RGBA64, QImage::Format_RGBA64_Premultiplied, QImage::Format_RGBX64, QImage::Format_BGR30,
          QImage::Format_RGB16, QImage::Format_Mono}) {
        const QImage image = original.convertToFormat(format);
        TLuminanceHistogram histogram{};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                histogram[static_cast<std::size_t>(Luminance(image.pixel(x, y)))] += qAlpha(image.pixel(x, y)) == 255;
        const QRgb present = image.pixel(5, 7) & 0xFFFFFF;
        for (const TForegroundRule& rule :
             {TForegroundRule::Colour(present), TForegroundRule::Colour(kTarget), TForegroundRule::Colour(kTarget, 9),
              TForegroundRule::Luminance(100), TForegroundRule::Luminance(100, TLuminanceSide::Light),
              TForegroundRule::Otsu(TLuminanceSide::Light)}) {
            const TForegroundMask result = MaskOfForeground(image, rule);
            if (rule.ByOtsu())
                ASSERT_EQ(result.Rule, rule.WithOtsuLevel(OtsuThreshold(histogram))) << "format " << format;
            else
                ASSERT_EQ(result.Rule, rule);
            if (rule.ByColour() && rule.Tolerance() == 0) {
                const TPixelMask exact = MaskOfColour(image, rule.Rgb());
                for (int y = 0; y < image.height(); ++y)
                    ASSERT_TRUE(std::ranges::equal(result.Mask.Row(y), exact.Row(y)));
            }
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    ASSERT_EQ(result.Mask.Test(x, y), Takes(result.Rule, image.pixel(x, y)))
                        << "format " << format << ", " << rule.Text() << " at " << x << ", " << y;
        }
    }
}
