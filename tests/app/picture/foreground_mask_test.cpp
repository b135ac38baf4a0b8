#include "app/picture/foreground_mask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "app/engine/otsu_threshold.h"
#include "app/picture/colour_mask.h"

namespace {

constexpr QRgb kTarget = 0xFF2050A0;

// Whether `rule` takes `pixel`, as Qt reads it with QImage::pixel.
bool Takes(const TForegroundRule& rule, QRgb pixel)
{
    if (qAlpha(pixel) != 255)
        return false;
    if (!rule.ByColour())
        return (Luminance(pixel) <= rule.Level()) == (rule.Side() == TLuminanceSide::Dark);
    return std::max({std::abs(qRed(pixel) - qRed(rule.Rgb())), std::abs(qGreen(pixel) - qGreen(rule.Rgb())),
                     std::abs(qBlue(pixel) - qBlue(rule.Rgb()))}) <= rule.Tolerance();
}

}  // namespace

// 67 x 150 pixels, so that rows cross a word of the mask and converted formats a band
// of rows: the target, colours near it and random ones, a fifth of them not opaque.
TEST(ForegroundMask, EveryRuleTakesThePixelsQtReadsInEveryFormat)
{
    QImage original(67, 150, QImage::Format_ARGB32);
    std::mt19937 random(31);
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x) {
            const QRgb rgb = random() % 3 == 0 ? kTarget : random() % 2 ? kTarget + random() % 0x1F1F1F : random();
            original.setPixel(x, y, (random() % 5 == 0 ? random() % 256 : 255) << 24 | (rgb & 0xFFFFFF));
        }
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
        for (const TForegroundRule& rule :
             {TForegroundRule::Colour(image.pixel(5, 7)), TForegroundRule::Colour(kTarget),
              TForegroundRule::Colour(kTarget, 9), TForegroundRule::Luminance(100),
              TForegroundRule::Luminance(100, TLuminanceSide::Light), TForegroundRule::Otsu(TLuminanceSide::Light)}) {
            const TForegroundMask result = MaskOfForeground(image, rule);
            ASSERT_EQ(result.Rule, rule.ByOtsu() ? rule.WithOtsuLevel(OtsuThreshold(histogram)) : rule) << format;
            const TPixelMask exact = MaskOfColour(image, rule.Rgb());
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    ASSERT_EQ(result.Mask.Test(x, y), Takes(result.Rule, image.pixel(x, y)))
                        << "format " << format << ", " << rule.Text() << " at " << x << ", " << y;
                    ASSERT_TRUE(!rule.ByColour() || rule.Tolerance() > 0 || result.Mask.Test(x, y) == exact.Test(x, y));
                }
        }
    }
}
