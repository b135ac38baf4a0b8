// TIFFs decoded a band of rows at a time give the mask of the picture Qt decodes whole,
// bit for bit, and refuse what is cut short or claims more than it holds.
#include <gtest/gtest.h>

#include <QFile>

#include <tiffio.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/picture/foreground_mask.h"
#include "app/picture/picture_file.h"
#include "app/picture/streamed_mask.h"
#include "graph/core/error.h"
#include "tests/app/picture/streamed_pictures.h"

namespace {

struct TTiffKind {
    uint16_t Photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t Bits = 8;
    uint16_t Samples = 1;
    int Extra = -1; // the kind of the fourth sample, when declared
    uint16_t Compression = COMPRESSION_NONE;
    bool Separate = false;
    bool Tiled = false;
    bool Big = false;       // BigTIFF
    bool Motorola = false;  // big-endian
    uint16_t Orientation = 0;
    uint16_t Predictor = 0;
    bool LowBitFirst = false;
    bool SmallMap = false; // a colour map of values below 256
    uint16_t SampleFormat = SAMPLEFORMAT_UINT;
    uint32_t RowsPerStrip = 5;

    std::string Text() const
    {
        return "TIFF photometric " + std::to_string(Photometric) + ", " + std::to_string(Samples) + " × " +
               std::to_string(Bits) + " bits, extra " + std::to_string(Extra) + ", compression " +
               std::to_string(Compression) + (Separate ? ", planes" : "") + (Tiled ? ", tiled" : "") +
               (Big ? ", BigTIFF" : "") + (Motorola ? ", big-endian" : "") + ", orientation " + std::to_string(Orientation);
    }
};

// Samples drawn mostly from a few values, so that colours repeat and rules find them.
std::vector<uint8_t> RandomBytes(std::size_t count, std::mt19937& random)
{
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes)
        byte = random() % 3 ? uint8_t(random() % 4 * 0x55) : uint8_t(random());
    return bytes;
}

// A TIFF of `kind` written by libtiff, its directory and piece tables ahead of the
// pixels, so that a cut file keeps its header.
QByteArray Tiff(const TTiffKind& kind, uint32_t width, uint32_t height, std::mt19937& random, const QString& path)
{
    const std::string mode = std::string("w") + (kind.Big ? "8" : "") + (kind.Motorola ? "b" : "l");
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), mode.c_str());
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, kind.Bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, kind.Samples);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, kind.SampleFormat);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, kind.Photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, kind.Separate ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, kind.Compression);
    if (kind.Predictor)
        TIFFSetField(tiff, TIFFTAG_PREDICTOR, kind.Predictor);
    if (kind.Orientation)
        TIFFSetField(tiff, TIFFTAG_ORIENTATION, kind.Orientation);
    if (kind.LowBitFirst)
        TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
    if (kind.Extra >= 0) {
        const auto extra = uint16_t(kind.Extra);
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (kind.Photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> map(3u << kind.Bits);
        for (uint16_t& entry : map)
            entry = uint16_t(kind.SmallMap ? random() % 256 : random() % 3 * 0x7FFF ^ (random() & 0x0F0F));
        const std::size_t count = std::size_t{1} << kind.Bits;
        TIFFSetField(tiff, TIFFTAG_COLORMAP, map.data(), map.data() + count, map.data() + 2 * count);
    }
    if (kind.Tiled) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, 16);
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, kind.RowsPerStrip);
    }
    TIFFDeferStrileArrayWriting(tiff);
    TIFFWriteCheck(tiff, kind.Tiled, "Tiff");
    TIFFWriteDirectory(tiff);
    TIFFSetDirectory(tiff, 0);
    const uint32_t pieces = kind.Tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
    const auto pieceBytes = std::size_t(kind.Tiled ? TIFFTileSize(tiff) : TIFFStripSize(tiff));
    for (uint32_t piece = 0; piece < pieces; ++piece) {
        std::vector<uint8_t> bytes = RandomBytes(pieceBytes, random);
        if (kind.Tiled)
            EXPECT_GT(TIFFWriteEncodedTile(tiff, piece, bytes.data(), tmsize_t(bytes.size())), 0);
        else
            EXPECT_GT(TIFFWriteEncodedStrip(tiff, piece, bytes.data(), tmsize_t(bytes.size())), 0);
    }
    TIFFForceStrileArrayWriting(tiff);
    TIFFClose(tiff);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Qt's plugin lets libtiff print its complaints about the files made broken here.
void QuietLibtiff()
{
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
}

constexpr uint16_t kGrey = PHOTOMETRIC_MINISBLACK;
constexpr uint16_t kWhite = PHOTOMETRIC_MINISWHITE;
constexpr uint16_t kPalette = PHOTOMETRIC_PALETTE;
constexpr uint16_t kRgb = PHOTOMETRIC_RGB;

const TTiffKind kTiffKinds[] = {
    {.Photometric = kGrey, .Bits = 1},
    {.Photometric = kGrey, .Bits = 1, .LowBitFirst = true},
    {.Photometric = kWhite, .Bits = 1, .Compression = COMPRESSION_CCITTFAX4},
    {.Photometric = kWhite, .Bits = 1, .Compression = COMPRESSION_CCITTFAX3, .LowBitFirst = true},
    {.Photometric = kGrey, .Bits = 1, .Compression = COMPRESSION_PACKBITS, .Tiled = true, .Motorola = true},
    {.Photometric = kGrey, .Bits = 2, .Compression = COMPRESSION_LZW},
    {.Photometric = kWhite, .Bits = 4, .Compression = COMPRESSION_ADOBE_DEFLATE, .Tiled = true},
    {.Photometric = kGrey, .Bits = 8, .Tiled = true, .Big = true},
    {.Photometric = kWhite, .Bits = 8, .Compression = COMPRESSION_PACKBITS},
    {.Photometric = kGrey, .Bits = 16, .Compression = COMPRESSION_ADOBE_DEFLATE, .Motorola = true, .Predictor = 2},
    {.Photometric = kWhite, .Bits = 16, .Compression = COMPRESSION_LZW},
    {.Photometric = kGrey, .Bits = 16},
    {.Photometric = kPalette, .Bits = 1, .SmallMap = true},
    {.Photometric = kPalette, .Bits = 2, .Compression = COMPRESSION_LZW},
    {.Photometric = kPalette, .Bits = 4, .Compression = COMPRESSION_ADOBE_DEFLATE, .Tiled = true, .SmallMap = true},
    {.Photometric = kPalette, .Bits = 8, .Big = true, .Motorola = true},
    {.Photometric = kRgb, .Samples = 3},
    {.Photometric = kRgb, .Samples = 3, .Compression = COMPRESSION_LZW, .Tiled = true, .Predictor = 2},
    {.Photometric = kRgb, .Samples = 3, .Compression = COMPRESSION_ADOBE_DEFLATE, .Separate = true},
    {.Photometric = kRgb, .Samples = 4, .Extra = EXTRASAMPLE_UNASSALPHA, .Separate = true},
    {.Photometric = kRgb, .Samples = 4, .Extra = EXTRASAMPLE_ASSOCALPHA},
    {.Photometric = kRgb, .Samples = 4, .Extra = EXTRASAMPLE_UNASSALPHA, .Motorola = true},
    {.Photometric = kRgb, .Samples = 4, .Extra = EXTRASAMPLE_UNSPECIFIED, .Compression = COMPRESSION_PACKBITS},
    {.Photometric = kRgb, .Samples = 4},
    {.Photometric = kRgb, .Bits = 16, .Samples = 3, .Big = true, .Motorola = true},
    {.Photometric = kRgb, .Bits = 16, .Samples = 4, .Extra = EXTRASAMPLE_ASSOCALPHA, .Compression = COMPRESSION_ADOBE_DEFLATE, .Tiled = true},
    {.Photometric = kRgb, .Bits = 16, .Samples = 4, .Extra = EXTRASAMPLE_UNASSALPHA, .Compression = COMPRESSION_LZW},
    {.Photometric = kRgb, .Bits = 16, .Samples = 4, .Extra = EXTRASAMPLE_UNSPECIFIED},
    {.Photometric = kRgb, .Samples = 3, .Orientation = ORIENTATION_BOTRIGHT},
    {.Photometric = kGrey, .Bits = 8, .Orientation = ORIENTATION_RIGHTTOP},
    {.Photometric = kGrey, .Bits = 8, .RowsPerStrip = 1000}, // one strip, which libtiff reads in pieces
};

TEST_F(StreamedPictures, EveryTiffVariantGivesQtsMaskBitForBit)
{
    QuietLibtiff();
    std::mt19937 random(13);
    const QString path = FFolder.filePath("variant.tif");
    for (const TTiffKind& kind : kTiffKinds)
        for (const auto& [width, height] : {std::pair{70u, 43u}, std::pair{300u, 37u}}) {
            Tiff(kind, width, height, random, path);
            ExpectQtsMask(QFile::encodeName(path).toStdString(), kind.Text() + ", " + std::to_string(width) + " wide");
        }
}

TEST_F(StreamedPictures, TiffsLeftToQtAreNotStreamed)
{
    QuietLibtiff();
    std::mt19937 random(17);
    const QString path = FFolder.filePath("other.tif");
    for (const TTiffKind& kind : {TTiffKind{.Bits = 32, .SampleFormat = SAMPLEFORMAT_IEEEFP},
                                  TTiffKind{.Photometric = kRgb, .Bits = 16, .Samples = 3, .Separate = true},
                                  TTiffKind{.Photometric = kRgb, .Samples = 3, .Separate = true, .Tiled = true},
                                  TTiffKind{.Photometric = PHOTOMETRIC_SEPARATED, .Samples = 4},
                                  TTiffKind{.Bits = 8, .SampleFormat = SAMPLEFORMAT_INT}}) {
        Tiff(kind, 40, 20, random, path);
        EXPECT_FALSE(OpenStreamedPicture(QFile::encodeName(path).toStdString())) << kind.Text();
    }
}

// Sets the value of `tag` in the first directory of a little-endian classic TIFF.
void SetTag(QByteArray& tiff, uint16_t tag, uint32_t value)
{
    const auto number = [&](qsizetype at, int bytes) {
        uint32_t result = 0;
        for (int i = bytes - 1; i >= 0; --i)
            result = result << 8 | uint8_t(tiff[at + i]);
        return result;
    };
    const auto directory = qsizetype(number(4, 4));
    for (uint32_t entry = 0; entry < number(directory, 2); ++entry) {
        const qsizetype at = directory + 2 + qsizetype(entry) * 12;
        if (number(at, 2) != tag)
            continue;
        const int bytes = number(at + 2, 2) == TIFF_SHORT ? 2 : 4;
        for (int i = 0; i < bytes; ++i)
            tiff[at + 8 + i] = char(value >> (8 * i) & 0xFF);
        return;
    }
    ADD_FAILURE() << "no tag " << tag;
}

TEST_F(StreamedPictures, EveryCutTiffIsRefusedOrGivesTheWholeMask)
{
    QuietLibtiff();
    std::mt19937 random(19);
    const std::pair<std::string, TTiffKind> kinds[] = {
        {"lzw.tif", {.Bits = 8, .Compression = COMPRESSION_LZW}},
        {"fax.tif", {.Photometric = kWhite, .Bits = 1, .Compression = COMPRESSION_CCITTFAX4}},
        {"tiles.tif", {.Photometric = kRgb, .Bits = 16, .Samples = 4, .Extra = EXTRASAMPLE_ASSOCALPHA,
                       .Compression = COMPRESSION_ADOBE_DEFLATE, .Tiled = true}},
        {"planes.tif", {.Photometric = kRgb, .Samples = 3, .Compression = COMPRESSION_PACKBITS, .Separate = true}},
        {"palette.tif", {.Photometric = kPalette, .Bits = 4, .Big = true}},
    };
    for (const auto& [name, kind] : kinds) {
        const QByteArray bytes = Tiff(kind, 37, 23, random, FFolder.filePath("whole.tif"));
        ExpectEveryCutRefusedOrWhole(name, bytes);
    }
}

TEST_F(StreamedPictures, CorruptCodedTiffsAreRefusedOrDecodedAsQtDecodesThem)
{
    QuietLibtiff();
    std::mt19937 random(29);
    const TTiffKind kinds[] = {
        {.Bits = 8, .Compression = COMPRESSION_LZW},
        {.Photometric = kWhite, .Bits = 1, .Compression = COMPRESSION_CCITTFAX4},
        {.Photometric = kRgb, .Samples = 4, .Extra = EXTRASAMPLE_UNASSALPHA, .Compression = COMPRESSION_ADOBE_DEFLATE, .Tiled = true},
        {.Photometric = kPalette, .Bits = 8, .Compression = COMPRESSION_PACKBITS},
    };
    const TForegroundRule rule = TForegroundRule::Luminance(120);
    int refused = 0;
    for (const TTiffKind& kind : kinds) {
        const QByteArray whole = Tiff(kind, 45, 33, random, FFolder.filePath("whole.tif"));
        for (int trial = 0; trial < 60; ++trial) {
            QByteArray bytes = whole;
            // The pixels follow the header and the piece tables.
            for (int i = 0; i < 3; ++i)
                bytes[bytes.size() / 2 + qsizetype(random() % uint32_t(bytes.size() / 2))] = char(random());
            const std::string path = Write("corrupt.tif", bytes);
            try {
                const TPixelMask mask = OpenStreamedPicture(path)->Mask(rule).Mask;
                const TPixelMask expected = MaskOfForeground(LoadBitmap(QString::fromStdString(path)), rule).Mask;
                for (int y = 0; y < mask.Height(); ++y)
                    ASSERT_TRUE(std::ranges::equal(mask.Row(y), expected.Row(y))) << kind.Text() << ", trial " << trial;
            } catch (const TVandrelError& error) {
                ASSERT_TRUE(std::string(error.what()).starts_with("The picture is damaged or incomplete: corrupt.tif (")) << error.what();
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);
}

TEST_F(StreamedPictures, TiffHeadersThatClaimMoreThanTheDataAreRefusedBeforeAnyMask)
{
    QuietLibtiff();
    std::mt19937 random(23);
    const QString path = FFolder.filePath("made.tif");
    struct TLie {
        std::string What;
        TTiffKind Kind;
        uint16_t Tag;
        uint32_t Value;
    };
    const TLie lies[] = {
        {"a few rows more than its strips", {.Compression = COMPRESSION_ADOBE_DEFLATE}, TIFFTAG_IMAGELENGTH, 30},
        {"a million rows in one short coded strip", {.Compression = COMPRESSION_ADOBE_DEFLATE, .RowsPerStrip = 100},
         TIFFTAG_IMAGELENGTH, 1000000},
        {"a million rows of fax in one short strip", {.Photometric = kWhite, .Bits = 1, .Compression = COMPRESSION_CCITTFAX4, .RowsPerStrip = 100},
         TIFFTAG_IMAGELENGTH, 1000000},
        {"rows wider than its stored strips", {.RowsPerStrip = 100}, TIFFTAG_IMAGEWIDTH, 7000},
        {"its strip past the end", {.Compression = COMPRESSION_LZW, .RowsPerStrip = 100}, TIFFTAG_STRIPOFFSETS, 1u << 30},
        {"tiles of a million rows", {.Compression = COMPRESSION_LZW, .Tiled = true}, TIFFTAG_IMAGELENGTH, 1000000},
    };
    for (const TLie& lie : lies) {
        QByteArray tiff = Tiff(lie.Kind, 70, 23, random, path);
        SetTag(tiff, lie.Tag, lie.Value);
        try {
            OpenStreamedPicture(Write("lying.tif", tiff));
            ADD_FAILURE() << "a TIFF with " << lie.What << " was opened";
        } catch (const TVandrelError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with("The picture is damaged or incomplete: lying.tif (")) << lie.What;
        }
    }
}

}  // namespace
