#include "tests/app/picture/streamed_pictures.h"

#include <QFile>
#include <QImage>

#include <algorithm>
#include <vector>

#include "app/picture/foreground_mask.h"
#include "app/picture/picture_file.h"
#include "app/picture/streamed_mask.h"
#include "graph/core/error.h"

std::string StreamedPictures::Write(const std::string& name, const QByteArray& bytes)
{
    const QString path = FFolder.filePath(QString::fromStdString(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return QFile::encodeName(path).toStdString();
}

void StreamedPictures::ExpectQtsMask(const std::string& path, const std::string& what)
{
    // As the whole picture's path reads it: pixels a run-length BMP skips are cleared.
    QImage image;
    try {
        image = LoadBitmap(QString::fromStdString(path));
    } catch (const TVandrelError& error) {
        FAIL() << what << ": " << error.what();
    }
    const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(path);
    ASSERT_TRUE(picture) << what;
    ASSERT_EQ(QSize(picture->Width(), picture->Height()), image.size()) << what;
    // Every pixel comes once, in Qt's colour: what a reduced preview is drawn from.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    std::vector<int> visits(std::size_t(argb.width()) * std::size_t(argb.height()));
    picture->ForEachRun([&](int y, int firstX, int step, std::span<const TArgb> pixels) {
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const int x = firstX + int(i) * step;
            ++visits[std::size_t(y) * std::size_t(argb.width()) + std::size_t(x)];
            const QRgb expected = argb.pixel(x, y);
            if (qAlpha(expected) != 0 || pixels[i] >> 24 != 0) { // clear is clear, whatever its colour
                ASSERT_EQ(pixels[i], expected) << what << ", pixel " << x << ", " << y;
            }
        }
    });
    ASSERT_TRUE(std::ranges::all_of(visits, [](int count) { return count == 1; })) << what;
    const QRgb some = argb.pixel(image.width() / 2, image.height() / 3);
    for (const TForegroundRule& rule :
         {TForegroundRule::Colour(some & 0xFFFFFF), TForegroundRule::Colour(0x000000),
          TForegroundRule::Colour(some & 0xFFFFFF, 40), TForegroundRule::Luminance(100),
          TForegroundRule::Otsu(TLuminanceSide::Light)}) {
        const TForegroundMask expected = MaskOfForeground(image, rule);
        const TForegroundMask streamed = picture->Mask(rule);
        ASSERT_EQ(streamed.Rule, expected.Rule) << what << ", " << rule.Text();
        for (int y = 0; y < image.height(); ++y)
            ASSERT_TRUE(std::ranges::equal(streamed.Mask.Row(y), expected.Mask.Row(y)))
                << what << ", " << rule.Text() << ", row " << y;
    }
}

void StreamedPictures::ExpectEveryCutRefusedOrWhole(const std::string& name, const QByteArray& bytes)
{
    const std::unique_ptr<TStreamedPicture> whole = OpenStreamedPicture(Write(name, bytes));
    const TForegroundMask expected = whole->Mask(TForegroundRule::Luminance(120));
    int refused = 0;
    for (int length = 0; length < bytes.size(); ++length) {
        const std::string cut = Write("cut-" + name, bytes.left(length));
        try {
            const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(cut);
            if (!picture) { // no picture of its kind left: Qt decides
                ++refused;
                continue;
            }
            const TForegroundMask mask = picture->Mask(TForegroundRule::Luminance(120));
            for (int y = 0; y < whole->Height(); ++y)
                ASSERT_TRUE(std::ranges::equal(mask.Mask.Row(y), expected.Mask.Row(y))) << name << " cut to " << length;
        } catch (const TVandrelError& error) {
            ASSERT_TRUE(std::string(error.what()).starts_with("The picture is damaged or incomplete: cut-" + name))
                << error.what();
            ++refused;
        }
    }
    EXPECT_GT(refused, bytes.size() * 9 / 10) << name;
}
