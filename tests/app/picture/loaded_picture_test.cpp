#include "app/picture/loaded_picture.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>

#include <functional>

#include "graph/core/error.h"
#include "tests/app/picture/metafile_samples.h"
#include "tests/support/error_message.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;

bool CannotBeRead(const std::string& message)
{
    return message.rfind("The picture cannot be read: ", 0) == 0;
}

class LoadedPictureTest : public testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = FFolder.filePath(name);
        WriteFile(path, bytes);
        return path;
    }

    QString Save(const QString& name, const QImage& image)
    {
        const QString path = FFolder.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir FFolder;
};

// Draws the picture at `topLeft` on white and checks its shape's colour inside the
// shape and white around it, two pixels off every edge (antialiased edges aside).
void ExpectShapeDrawnAt(const TLoadedPicture& picture, QPoint topLeft, QRect shape, QRgb colour)
{
    QImage canvas(picture.Size() + QSize(20, 20), QImage::Format_RGB32);
    canvas.fill(kWhite);
    {
        QPainter painter(&canvas);
        picture.Draw(painter, topLeft);
    }
    const QRect placed = shape.translated(topLeft);
    const QRect inside = placed.adjusted(2, 2, -2, -2);
    const QRect outside = placed.adjusted(-2, -2, 2, 2);
    for (const QPoint point : {inside.topLeft(), inside.topRight(), inside.bottomLeft(), inside.bottomRight(),
                               inside.center()})
        EXPECT_EQ(canvas.pixel(point), colour) << point.x() << ", " << point.y();
    for (const QPoint point : {outside.topLeft(), outside.topRight(), outside.bottomLeft(), outside.bottomRight(),
                               QPoint(0, 0), QPoint(canvas.width() - 1, canvas.height() - 1)})
        EXPECT_EQ(canvas.pixel(point), kWhite) << point.x() << ", " << point.y();
}

TEST_F(LoadedPictureTest, NoPictureHasNoSizeNoPixelsAndDrawsNothing)
{
    const TLoadedPicture picture;
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(picture.Size().isEmpty());
    EXPECT_FALSE(picture.HasBitmap());
    EXPECT_EQ(MessageOf([&] { picture.Bitmap(); }), kNotABitmap);
    QImage canvas(8, 8, QImage::Format_RGB32);
    canvas.fill(kWhite);
    QPainter painter(&canvas);
    picture.Draw(painter, QPoint(0, 0));
    painter.end();
    EXPECT_EQ(canvas.pixel(4, 4), kWhite);
}

TEST_F(LoadedPictureTest, EachKindLoadsWithItsSizeAndOnlyBitmapsHavePixels)
{
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(kRed);
    const TLoadedPicture bitmap = TLoadedPicture::FromFile(Save("shape.PNG", image));
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Kind(), TPictureKind::Bitmap);
    EXPECT_TRUE(bitmap.HasBitmap());
    EXPECT_EQ(bitmap.Size(), QSize(7, 5));
    EXPECT_EQ(bitmap.Bitmap().pixel(3, 2), kRed);

    const struct {
        const char* name;
        QByteArray bytes;
        TPictureKind kind;
        QSize size;
    } shown[] = {
        {"shape.ico", TinyIcon(), TPictureKind::Icon, kTinyIconSize},
        {"shape.emf", TinyEnhancedMetafile(), TPictureKind::EnhancedMetafile, kTinyEnhancedMetafileSize},
        {"shape.WMF", TinyMetafile(), TPictureKind::Metafile, kTinyMetafileSize},
    };
    for (const auto& sample : shown) {
        SCOPED_TRACE(sample.name);
        TLoadedPicture picture = TLoadedPicture::FromFile(Write(sample.name, sample.bytes));
        EXPECT_FALSE(picture.Empty());
        EXPECT_EQ(picture.Kind(), sample.kind);
        EXPECT_FALSE(picture.HasBitmap());
        EXPECT_EQ(picture.Size(), sample.size);
        EXPECT_EQ(MessageOf([&] { picture.Bitmap(); }), kNotABitmap);
        EXPECT_EQ(MessageOf([&] { std::as_const(picture).Bitmap(); }), kNotABitmap);
    }
}

TEST_F(LoadedPictureTest, PicturesDrawTheirShapeWhereItIs)
{
    const QPoint topLeft(5, 7);
    const TLoadedPicture icon = TLoadedPicture::FromFile(Write("shape.ico", TinyIcon()));
    ExpectShapeDrawnAt(icon, topLeft, QRect(QPoint(0, 0), kTinyIconSize), kTinyIconColour);

    const TLoadedPicture enhanced = TLoadedPicture::FromFile(Write("shape.emf", TinyEnhancedMetafile()));
    {
        SCOPED_TRACE("enhanced metafile");
        ExpectShapeDrawnAt(enhanced, topLeft, kTinyEnhancedMetafileShape, kTinyEnhancedMetafileColour);
    }

    // A copy keeps the drawing after the picture it came from is gone.
    TLoadedPicture copy;
    {
        const TLoadedPicture metafile = TLoadedPicture::FromFile(Write("shape.wmf", TinyMetafile()));
        copy = metafile;
    }
    SCOPED_TRACE("metafile");
    ExpectShapeDrawnAt(copy, topLeft, kTinyMetafileShape, kTinyMetafileColour);
}

TEST_F(LoadedPictureTest, BitmapsAreKeptInFormatsARasterOperationCanDrawOn)
{
    QImage opaque(6, 4, QImage::Format_RGB888);
    opaque.fill(kWhite);
    opaque.setPixel(1, 1, kRed);
    QImage translucent(6, 4, QImage::Format_ARGB32);
    translucent.fill(kWhite);
    translucent.setPixel(1, 1, kRed);
    translucent.setPixel(5, 3, 0x802050A0);

    const struct {
        QString path;
        QImage::Format format;
    } bitmaps[] = {
        {Save("opaque.bmp", opaque), QImage::Format_RGB32},
        {Save("opaque.tif", opaque.convertToFormat(QImage::Format_Indexed8)), QImage::Format_RGB32},
        {Save("translucent.png", translucent), QImage::Format_ARGB32_Premultiplied},
    };
    for (const auto& sample : bitmaps) {
        SCOPED_TRACE(sample.path.toStdString());
        TLoadedPicture picture = TLoadedPicture::FromFile(sample.path);
        const TLoadedPicture before = picture;
        ASSERT_EQ(picture.Bitmap().format(), sample.format);
        EXPECT_EQ(picture.Bitmap().pixel(1, 1), kRed);
        EXPECT_EQ(qAlpha(picture.Bitmap().pixel(5, 3)), sample.format == QImage::Format_RGB32 ? 0xFF : 0x80);

        // The not-xor pen: red on white stays red, red on red turns white, and the
        // same line drawn twice leaves the pixels as they were.
        QPainter painter(&picture.Bitmap());
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.setPen(QColor(kRed));
        painter.drawLine(0, 1, 3, 1);
        painter.end();
        EXPECT_EQ(picture.Bitmap().pixel(0, 1), kRed);
        EXPECT_EQ(picture.Bitmap().pixel(1, 1), kWhite);
        EXPECT_EQ(before.Bitmap().pixel(1, 1), kRed) << "a copy keeps its own pixels";
        painter.begin(&picture.Bitmap());
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.setPen(QColor(kRed));
        painter.drawLine(0, 1, 3, 1);
        painter.end();
        EXPECT_EQ(picture.Bitmap(), before.Bitmap());
    }
}

TEST_F(LoadedPictureTest, UnreadablePicturesRaiseTheReason)
{
    for (const char* name : {"gone.bmp", "gone.ico", "gone.emf", "gone.wmf"}) {
        const std::string message = MessageOf([&] { TLoadedPicture::FromFile(FFolder.filePath(name)); });
        EXPECT_TRUE(CannotBeRead(message)) << name << ": " << message;
    }
    EXPECT_EQ(MessageOf([&] { TLoadedPicture::FromFile(Write("notes.txt", "text")); }),
              "Unknown picture file extension (.txt)");

    const QByteArray enhanced = TinyEnhancedMetafile();
    const QByteArray metafile = TinyMetafile();
    QByteArray lyingRecordSize = enhanced;
    lyingRecordSize[108 + 4] = char(0x7F); // the brush record claims more bytes than the file has
    const struct {
        const char* name;
        QByteArray bytes;
    } damaged[] = {
        {"empty.emf", {}},
        {"text.emf", "not a metafile at all, just some text"},
        {"cut.emf", enhanced.left(enhanced.size() - 20)},
        {"header.emf", enhanced.left(60)},
        {"lying.emf", lyingRecordSize},
        {"empty.wmf", {}},
        {"text.wmf", "not a metafile at all, just some text"},
        {"cut.wmf", metafile.left(metafile.size() - 6)},
        {"header.wmf", metafile.left(30)},
        {"empty.ico", {}},
        {"cut.ico", TinyIcon().left(30)},
        {"empty.png", {}},
    };
    for (const auto& sample : damaged) {
        const std::string message = MessageOf([&] { TLoadedPicture::FromFile(Write(sample.name, sample.bytes)); });
        EXPECT_TRUE(CannotBeRead(message)) << sample.name << ": " << message;
    }
    EXPECT_EQ(MessageOf([&] { TLoadedPicture::FromFile(FFolder.filePath("text.emf")); }),
              "The picture cannot be read: not an enhanced metafile");
    EXPECT_EQ(MessageOf([&] { TLoadedPicture::FromFile(FFolder.filePath("cut.emf")); }),
              "The picture cannot be read: the enhanced metafile is incomplete");
    EXPECT_EQ(MessageOf([&] { TLoadedPicture::FromFile(FFolder.filePath("lying.emf")); }),
              "The picture cannot be read: the enhanced metafile is damaged");
    EXPECT_EQ(MessageOf([&] { TLoadedPicture::FromFile(FFolder.filePath("gone.emf")); }),
              "The picture cannot be read: No such file or directory");
}

// The converters meet files from anywhere: every single damaged byte either still
// gives a picture or raises the error, and never takes the program down.
TEST_F(LoadedPictureTest, DamagedMetafileBytesNeverCrash)
{
    for (const auto& [name, original] :
         {std::pair{"damaged.emf", TinyEnhancedMetafile()}, std::pair{"damaged.wmf", TinyMetafile()}})
        for (qsizetype i = 0; i < original.size(); ++i)
            for (const char value : {char(0x00), char(0xFF), char(0x80)}) {
                QByteArray bytes = original;
                bytes[i] = value;
                const QString path = Write(name, bytes);
                const std::string message = MessageOf([&] { TLoadedPicture::FromFile(path); });
                EXPECT_TRUE(message == "no error" || CannotBeRead(message)) << name << " byte " << i << ": " << message;
            }
}

}  // namespace
