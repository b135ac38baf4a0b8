// Pictures that are cut short, corrupt, lying about their size, or no picture files
// at all: never counted as whole, refused at once.
#include "app/picture/colour_mask.h"
#include "app/picture/picture_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gif_lib.h>

#include "tests/support/error_message.h"

namespace {

constexpr const char* kDamaged = "The picture is damaged or incomplete: ";
constexpr const char* kCannotRead = "The picture cannot be read: ";

// 23 by 17: rows that need padding, and enough colours to notice a wrong pixel.
QImage Pattern()
{
    QImage image(23, 17, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x * 7 + y * 3) % 5 == 0 ? 0xFF000000 : 0xFF000000 | (x * 11u) << 16 | (y * 13u) << 8 | 0x40);
    return image;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

int AppendToBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// Qt writes no GIF; giflib does.
QByteArray Gif(const QImage& picture)
{
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToBytes, &error);
    ColorMapObject* palette = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < indexed.colorCount() ? indexed.color(i) : 0;
        palette->Colors[i] = {GifByteType(qRed(colour)), GifByteType(qGreen(colour)), GifByteType(qBlue(colour))};
    }
    EGifPutScreenDesc(gif, indexed.width(), indexed.height(), 8, 0, palette);
    EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr);
    for (int y = 0; y < indexed.height(); ++y)
        EGifPutLine(gif, const_cast<GifPixelType*>(indexed.constScanLine(y)), indexed.width());
    EGifCloseFile(gif, &error);
    GifFreeMapObject(palette);
    return bytes;
}

void Put(QByteArray& bytes, int at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
}

// A BMP with 8-bit run-length codes, 4 by 2: a run of colour 1 (white), then one of
// colour 0 (black).
QByteArray RunLengthBmp(int width = 4, int height = 2,
                        const QByteArray& runs = QByteArray("\x04\x01\x00\x00\x04\x00\x00\x01", 8))
{
    QByteArray bytes(14 + 40 + 8, '\0');
    bytes.replace(0, 2, "BM");
    Put(bytes, 2, uint32_t(bytes.size() + runs.size()), 4);
    Put(bytes, 10, 14 + 40 + 8, 4);
    Put(bytes, 14, 40, 4);
    Put(bytes, 18, uint32_t(width), 4);
    Put(bytes, 22, uint32_t(height), 4);
    Put(bytes, 26, 1, 2);
    Put(bytes, 28, 8, 2);
    Put(bytes, 30, 1, 4); // run-length coded, 8 bits
    Put(bytes, 46, 2, 4); // two colours: black and white
    Put(bytes, 58, 0xFFFFFF, 4);
    return bytes + runs;
}

// A grey TIFF with its directory first: one strip of `stored` bytes that claims
// `claimed` bytes of a `width` by `height` picture.
QByteArray Tiff(int width, int height, int stored, int claimed)
{
    struct TEntry {
        uint16_t Tag;
        uint16_t Type;
        uint32_t Value;
    };
    const TEntry entries[] = {{256, 4, uint32_t(width)}, {257, 4, uint32_t(height)}, {258, 3, 8}, {259, 3, 1},
                              {262, 3, 1}, {273, 4, 0}, {277, 3, 1}, {278, 4, uint32_t(height)},
                              {279, 4, uint32_t(claimed)}};
    const int count = int(std::size(entries));
    const int dataOffset = 8 + 2 + count * 12 + 4;
    QByteArray bytes(dataOffset, '\0');
    bytes.replace(0, 4, QByteArray("II*\0", 4));
    Put(bytes, 4, 8, 4);
    Put(bytes, 8, count, 2);
    for (int i = 0; i < count; ++i) {
        Put(bytes, 10 + i * 12, entries[i].Tag, 2);
        Put(bytes, 12 + i * 12, entries[i].Type, 2);
        Put(bytes, 14 + i * 12, 1, 4);
        Put(bytes, 18 + i * 12, entries[i].Tag == 273 ? uint32_t(dataOffset) : entries[i].Value, 4);
    }
    QByteArray pixels(stored, '\0');
    for (int i = 0; i < stored; ++i)
        pixels[i] = char(i * 37);
    return bytes + pixels;
}

class DamagedPictures : public testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = FFolder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QImage Load(const QString& path) { return LoadBitmap(path).convertToFormat(QImage::Format_ARGB32); }

    QTemporaryDir FFolder;
};

TEST_F(DamagedPictures, EveryCutOfAPictureIsRefusedOrDecodesToTheWholePicture)
{
    const QImage pattern = Pattern();
    const struct {
        const char* Name;
        QByteArray Bytes;
    } whole[] = {
        {"rgb.bmp", Encoded(pattern, "BMP")},
        {"indexed.bmp", Encoded(pattern.convertToFormat(QImage::Format_Indexed8), "BMP")},
        {"mono.bmp", Encoded(pattern.convertToFormat(QImage::Format_Mono), "BMP")},
        {"runs.bmp", RunLengthBmp()},
        {"photo.jpg", Encoded(pattern, "JPEG")},
        {"progressive.jpg", [&] {
             QByteArray bytes;
             QBuffer buffer(&bytes);
             buffer.open(QIODevice::WriteOnly);
             QImageWriter writer(&buffer, "JPEG");
             writer.setProgressiveScanWrite(true);
             EXPECT_TRUE(writer.write(pattern));
             return bytes;
         }()},
        {"shape.png", Encoded(pattern, "PNG")},
        {"shape.gif", Gif(pattern)},
        {"shape.tif", Encoded(pattern, "TIFF")},
        {"grey.tif", Tiff(20, 10, 200, 200)},
    };
    for (const auto& [name, bytes] : whole) {
        const QImage expected = Load(Write(name, bytes));
        int refused = 0;
        // Lengths from an empty file to one byte short, some three hundred of them.
        const int stride = std::max<int>(1, int(bytes.size()) / 300);
        for (int length = 0; length < bytes.size(); length += stride) {
            const QString cut = Write(QStringLiteral("cut-") + name, bytes.left(length));
            try {
                ASSERT_EQ(Load(cut), expected) << name << " cut to " << length << " of " << bytes.size() << " bytes";
            } catch (const TVandrelError& error) {
                const std::string message = error.what();
                ASSERT_TRUE(message.starts_with(kDamaged + std::string("cut-") + name) || message.starts_with(kCannotRead))
                    << message;
                ++refused;
            }
        }
        // Cuts inside the pixel data are what the checks are for; most cuts are refused.
        EXPECT_GT(refused, bytes.size() / stride / 2) << name;
    }
}

TEST_F(DamagedPictures, AHeaderThatClaimsMoreThanTheFileHoldsIsRefusedBeforeDecoding)
{
    // 118 bytes that claim 1 by 268,435,456 pixels at 24 bits.
    QByteArray tall = Encoded(QImage(1, 16, QImage::Format_RGB32), "BMP").left(118);
    Put(tall, 22, 268435456, 4);
    EXPECT_EQ(MessageOf([&] { LoadBitmap(Write("tall.bmp", tall)); }),
              std::string(kDamaged) + "tall.bmp (its pixel data ends after 16 of 268435456 rows)");

    // A JPEG of 45000 by 45000 pixels in under a kilobyte: the start-of-frame marker
    // is rewritten, the coded data stays that of a tiny picture.
    QByteArray huge = Encoded(QImage(16, 16, QImage::Format_RGB32), "JPEG");
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    Put(huge, int(frame) + 5, 0xC8AF, 2); // 45000, stored high byte first
    Put(huge, int(frame) + 7, 0xC8AF, 2);
    EXPECT_TRUE(MessageOf([&] { LoadBitmap(Write("huge.jpg", huge)); }).starts_with(kDamaged + std::string("huge.jpg")));

    // An uncompressed TIFF's strip must hold all its rows, and lie inside the file.
    EXPECT_TRUE(MessageOf([&] { LoadBitmap(Write("short.tif", Tiff(20, 10, 100, 100))); })
                    .starts_with(kDamaged + std::string("short.tif")));
    EXPECT_EQ(MessageOf([&] { LoadBitmap(Write("cut.tif", Tiff(20, 10, 100, 200))); }),
              std::string(kDamaged) + "cut.tif (its pixel data ends before piece 1 of 1)");
}

TEST_F(DamagedPictures, EveryPixelOfAPictureWithoutAlphaIsOpaqueWhateverItsUnusedByteHolds)
{
    // Qt's GIF decoder leaves the unused top byte of RGB32 pixels 0.
    QImage image(70, 3, QImage::Format_RGB32);
    for (const uint32_t stored : {0x00000000u, 0x00FFFFFFu, 0x7F123456u}) {
        image.fill(stored); // the word as it is, not a colour
        const TPixelMask mask = MaskOfColour(image, stored & 0xFFFFFF);
        for (int x = 0; x < image.width(); ++x)
            ASSERT_TRUE(mask.Test(x, 2)) << std::hex << stored << " at " << x;
    }
}

TEST_F(DamagedPictures, PixelsThatARunLengthBmpSkipsAreTheFirstColourNotOldMemory)
{
    // A move of 5 right and 5 up, four white pixels, and the end of the picture.
    const QByteArray runs("\x00\x02\x05\x05\x04\x01\x00\x01", 8);
    for (int round = 0; round < 3; ++round) {
        const TPixelMask black = MaskOfColour(LoadBitmap(Write("skips.bmp", RunLengthBmp(64, 64, runs))), 0x000000);
        int blackPixels = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                blackPixels += black.Test(x, y);
        EXPECT_EQ(blackPixels, 64 * 64 - 4);
    }
}

TEST_F(DamagedPictures, OnlyRegularFilesAreOpenedAndTheRestAreNamed)
{
    ASSERT_TRUE(QDir(FFolder.path()).mkdir("folder.png"));
    EXPECT_EQ(MessageOf([&] { LoadBitmap(FFolder.filePath("folder.png")); }),
              std::string(kCannotRead) + "folder.png is a folder");

    // Opening a FIFO must not wait for a writer that never comes.
    const QByteArray fifo = QFile::encodeName(FFolder.filePath("pipe.bmp"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(MessageOf([&] { LoadBitmap(QFile::decodeName(fifo)); }),
              std::string(kCannotRead) + "pipe.bmp is not a regular file");

    ASSERT_TRUE(QFile::link("/dev/zero", FFolder.filePath("zero.bmp")));
    EXPECT_EQ(MessageOf([&] { LoadBitmap(FFolder.filePath("zero.bmp")); }),
              std::string(kCannotRead) + "zero.bmp is not a regular file");
    EXPECT_EQ(MessageOf([&] { LoadBitmap(FFolder.filePath("gone.bmp")); }), std::string(kCannotRead) + "File not found");
}

}  // namespace
