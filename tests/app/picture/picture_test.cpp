#include "app/picture/colour_mask.h"
#include "app/picture/picture_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <random>

#include "graph/core/error.h"
#include "tests/support/error_message.h"

namespace {

constexpr QRgb kTarget = 0xFF2050A0;

// 150 rows, so converted formats cross the boundary between bands of rows.
QImage RandomPicture(bool withTransparency)
{
    QImage image(67, 150, QImage::Format_ARGB32);
    std::mt19937 random(5);
    const QRgb colours[] = {kTarget, 0xFFFFFFFF, 0xFF2050A1, 0xFF000000, 0x802050A0, 0x002050A0};
    const unsigned choices = withTransparency ? 6 : 4;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colours[random() % choices]);
    return image;
}

void ExpectMaskOfTarget(const QImage& original, const QImage& stored)
{
    const TPixelMask mask = MaskOfColour(stored, kTarget & 0xFFFFFF);
    ASSERT_EQ(mask.Width(), original.width());
    ASSERT_EQ(mask.Height(), original.height());
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x)
            ASSERT_EQ(mask.Test(x, y), original.pixel(x, y) == kTarget)
                << "format " << stored.format() << " at " << x << ", " << y;
}

TEST(ColourMask, EveryOpaquePixelFormatGivesTheSameMask)
{
    const QImage original = RandomPicture(false);
    QList<QRgb> palette = {kTarget, 0xFFFFFFFF, 0xFF2050A1, 0xFF000000};
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32,
                                        QImage::Format_RGBX64, QImage::Format_BGR30})
        ExpectMaskOfTarget(original, original.convertToFormat(format));
    ExpectMaskOfTarget(original, original.convertToFormat(QImage::Format_Indexed8, palette));
}

TEST(ColourMask, TransparentPixelsOfTheColourAreNoPartOfTheShape)
{
    const QImage original = RandomPicture(true);
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
                                        QImage::Format_RGBA8888, QImage::Format_RGBA64})
        ExpectMaskOfTarget(original, original.convertToFormat(format));
}

TEST(PictureFile, KindFollowsTheExtensionInAnyCase)
{
    EXPECT_EQ(PictureKindOf("/a/leaf.BMP"), TPictureKind::Bitmap);
    EXPECT_EQ(PictureKindOf("leaf.tiff"), TPictureKind::Bitmap);
    EXPECT_EQ(PictureKindOf("leaf.Ico"), TPictureKind::Icon);
    EXPECT_EQ(PictureKindOf("leaf.emf"), TPictureKind::EnhancedMetafile);
    EXPECT_EQ(PictureKindOf("leaf.wmf"), TPictureKind::Metafile);
    EXPECT_EQ(MessageOf([] { PictureKindOf("notes.TXT"); }), "Unknown picture file extension (.txt)");
    EXPECT_EQ(MessageOf([] { PictureKindOf("leaf"); }), "Unknown picture file extension (.)");
}

TEST(PictureFile, LoadsBitmapsAndRefusesPicturesWithoutPixels)
{
    QTemporaryDir folder;
    const QImage original = RandomPicture(false).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(original.save(folder.filePath("shape.png")));
    EXPECT_EQ(LoadBitmap(folder.filePath("shape.png")).convertToFormat(QImage::Format_RGB32), original);

    // The other raster kinds the open dialog lists, through Qt's plugins.
    ASSERT_TRUE(original.save(folder.filePath("shape.tif")));
    EXPECT_EQ(LoadBitmap(folder.filePath("shape.tif")).convertToFormat(QImage::Format_RGB32), original);
    ASSERT_TRUE(original.save(folder.filePath("shape.jpg")));
    EXPECT_EQ(LoadBitmap(folder.filePath("shape.jpg")).size(), original.size()); // lossy
    // Qt reads GIF but cannot write it: one black pixel, palette black and white.
    QFile gif(folder.filePath("dot.gif"));
    ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
    gif.write(QByteArray::fromHex("474946383961010001008000000000" "00ffffff" "21f90400000000002c00000000010001000002024401003b"));
    gif.close();
    EXPECT_TRUE(MaskOfColour(LoadBitmap(folder.filePath("dot.gif")), 0x000000).Test(0, 0));

    QFile icon(folder.filePath("shape.ico"));
    ASSERT_TRUE(icon.open(QIODevice::WriteOnly));
    icon.close();
    EXPECT_EQ(MessageOf([&] { LoadBitmap(folder.filePath("shape.ico")); }), kNotABitmap);

    EXPECT_EQ(MessageOf([&] { LoadBitmap(folder.filePath("gone.png")); }).rfind("The picture cannot be read: ", 0), 0u);
    EXPECT_EQ(MessageOf([&] { LoadBitmap(folder.filePath("gone.emf")); }).rfind("The picture cannot be read: ", 0), 0u);

    QFile garbage(folder.filePath("broken.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture");
    garbage.close();
    EXPECT_EQ(MessageOf([&] { LoadBitmap(folder.filePath("broken.bmp")); }).rfind("The picture cannot be read: ", 0), 0u);
}

}  // namespace
