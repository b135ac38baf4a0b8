#include "app/picture/loaded_picture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <chrono>
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
    LoadedPictureTest() { FConverter.SetProgram(VANDREL_METAFILE); }

    TLoadedPicture Load(const QString& path) const { return TLoadedPicture::FromFile(path, FConverter); }

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
    TMetafileConverter FConverter;
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
    const TLoadedPicture bitmap = Load(Save("shape.PNG", image));
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
        TLoadedPicture picture = Load(Write(sample.name, sample.bytes));
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
    const TLoadedPicture icon = Load(Write("shape.ico", TinyIcon()));
    ExpectShapeDrawnAt(icon, topLeft, QRect(QPoint(0, 0), kTinyIconSize), kTinyIconColour);

    const TLoadedPicture enhanced = Load(Write("shape.emf", TinyEnhancedMetafile()));
    {
        SCOPED_TRACE("enhanced metafile");
        ExpectShapeDrawnAt(enhanced, topLeft, kTinyEnhancedMetafileShape, kTinyEnhancedMetafileColour);
    }

    // A copy keeps the drawing after the picture it came from is gone.
    TLoadedPicture copy;
    {
        const TLoadedPicture metafile = Load(Write("shape.wmf", TinyMetafile()));
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
        TLoadedPicture picture = Load(sample.path);
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
        const std::string message = MessageOf([&] { Load(FFolder.filePath(name)); });
        EXPECT_TRUE(CannotBeRead(message)) << name << ": " << message;
    }
    EXPECT_EQ(MessageOf([&] { Load(Write("notes.txt", "text")); }),
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
        const std::string message = MessageOf([&] { Load(Write(sample.name, sample.bytes)); });
        EXPECT_TRUE(CannotBeRead(message)) << sample.name << ": " << message;
    }
    EXPECT_EQ(MessageOf([&] { Load(FFolder.filePath("text.emf")); }),
              "The picture cannot be read: not an enhanced metafile");
    EXPECT_EQ(MessageOf([&] { Load(FFolder.filePath("cut.emf")); }),
              "The picture cannot be read: the enhanced metafile is incomplete");
    EXPECT_EQ(MessageOf([&] { Load(FFolder.filePath("lying.emf")); }),
              "The picture cannot be read: the enhanced metafile is damaged");
    // The same words as for a missing bitmap.
    EXPECT_EQ(MessageOf([&] { Load(FFolder.filePath("gone.emf")); }), "The picture cannot be read: File not found");
}

// The converter is a program of its own: whatever it does, the picture is one that
// cannot be read, with the reason, and no later than its time limit allows.
TEST_F(LoadedPictureTest, AConverterThatFailsGivesItsReasonPromptly)
{
    const QString metafile = Write("shape.wmf", TinyMetafile());
    const struct {
        const char* name;
        QByteArray script;
        const char* reason;
    } converters[] = {
        {"crashes", "#!/bin/sh\nkill -SEGV $$\n", "the metafile converter stopped (crashed)"},
        {"hangs", "#!/bin/sh\nexec sleep 60\n", "the metafile converter took longer than 0.3 s"},
        {"explains", "#!/bin/sh\necho 'some library noise' >&2\necho ' its reason ' >&2\nexit 1\n", "its reason"},
        {"says nothing", "#!/bin/sh\nexit 3\n", "the metafile converter stopped (exit status 3)"},
    };
    for (const auto& sample : converters) {
        SCOPED_TRACE(sample.name);
        const QString program = Write(sample.name, sample.script);
        QFile(program).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        TMetafileConverter converter;
        converter.SetProgram(program);
        converter.SetTimeLimit(std::chrono::milliseconds(300));
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(MessageOf([&] { TLoadedPicture::FromFile(metafile, converter); }),
                  std::string("The picture cannot be read: ") + sample.reason);
        EXPECT_LT(clock.elapsed(), 5000);
    }

    TMetafileConverter missing;
    missing.SetProgram(FFolder.filePath("nowhere"));
    const std::string message = MessageOf([&] { TLoadedPicture::FromFile(metafile, missing); });
    EXPECT_TRUE(message.starts_with("The picture cannot be read: the metafile converter " +
                                    FFolder.filePath("nowhere").toStdString() + " cannot be started"))
        << message;
    EXPECT_EQ(Load(metafile).Size(), kTinyMetafileSize) << "the real converter still works";
}

// Peak virtual memory of this process, from the kernel's own account.
qint64 PeakMappedBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    EXPECT_TRUE(status.open(QIODevice::ReadOnly));
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmPeak:"))
            return line.mid(7).trimmed().split(' ').first().toLongLong() * 1024;
    ADD_FAILURE() << "no VmPeak in /proc/self/status";
    return 0;
}

TEST_F(LoadedPictureTest, AMetafileAskingForGigabytesIsRefusedOutsideThisProcess)
{
    const QString path = Write("greedy.wmf", GreedyMetafile());
    const qint64 before = PeakMappedBytes();
    EXPECT_EQ(MessageOf([&] { Load(path); }), "The picture cannot be read: not enough memory for the metafile");
    EXPECT_LT(PeakMappedBytes() - before, qint64(256) << 20);
}

}  // namespace
