// TIFFs decoded a band of rows at a time give the mask of the picture Qt decodes whole,
// bit for bit, and refuse what is cut short or claims more than it holds.
#include <gtest/gtest.h>

#include <QFile>

#include <tiffio.h>

#include <random>
#include <string>
#include <vector>

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

constexpr uint16_t kGrey = PHOTOMETRIC_MINISBLACK;
constexpr uint16_t kWhite = PHOTOMETRIC_MINISWHITE;
constexpr uint16_t kPalette = PHOTOMETRIC_PALETTE;
constexpr uint16_t kRgb = PHOTOMETRIC_RGB;

const TTiffKind kTiffKinds[] = {
    {.Photometric = kGrey, .Bits = 1},
    {.Photometric = kWhite, .Bits = 1, .Compression = COMPRESSION_CCITTFAX4},
    {.Photometric = kWhite, .Bits = 1, .Compression = COMPRESSION_CCITTFAX3, .LowBitFirst = true},
    {.Photometric = kGrey, .Bits = 1, .Compression = COMPRESSION_PACKBITS, .Tiled = true, .Motorola = true},
    {.Photometric = kGrey, .Bits = 2, .Compression = COMPRESSION_LZW},
    {.Photometric = kWhite, .Bits = 4, .Compression = COMPRESSION_ADOBE_DEFLATE, .Tiled = true},
    {.Photometric = kGrey, .Bits = 8, .Tiled = true, .Big = true},
    {.Photometric = kWhite, .Bits = 8, .Compression = COMPRESSION_PACKBITS},
    {.Photometric = kGrey, .Bits = 16, .Compression = COMPRESSION_ADOBE_DEFLATE, .Motorola = true, .Predictor = 2},
    {.Photometric = kWhite, .Bits = 16, .Compression = COMPRESSION_LZW},
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

}  // namespace
