// PNG, BMP, JPEG and GIF decoded a row at a time give the mask of the picture Qt
// decodes whole, bit for bit, and refuse what is cut short.
#include "app/picture/streamed_mask.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <malloc.h>

#include <gif_lib.h>
#include <jpeglib.h>
#include <spng.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/picture/foreground_mask.h"
#include "app/picture/picture_file.h"
#include "app/picture/picture_preview.h"
#include "graph/core/error.h"
#include "tests/app/picture/streamed_pictures.h"

namespace {

struct TPngKind {
    uint8_t ColourType;
    uint8_t BitDepth;
    bool Transparency; // a tRNS chunk
    bool Interlaced;
    uint8_t SignificantBits = 0; // of every channel, in an sBIT chunk
    uint32_t Gamma = 0;          // in a gAMA chunk, times 100000
};

int Channels(uint8_t colourType)
{
    return colourType == SPNG_COLOR_TYPE_TRUECOLOR ? 3 : colourType == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ? 2
           : colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA                                          ? 4
                                                                                                   : 1;
}

// Samples drawn mostly from a few values, so that colours repeat and rules find them.
std::vector<unsigned char> RandomSamples(std::size_t count, std::mt19937& random)
{
    std::vector<unsigned char> bytes(count);
    for (unsigned char& byte : bytes)
        byte = random() % 3 ? static_cast<unsigned char>(random() % 4 * 0x55) : static_cast<unsigned char>(random());
    return bytes;
}

// `samples`: the rows as stored, else random ones.
QByteArray Png(const TPngKind& kind, uint32_t width, uint32_t height, std::mt19937& random,
               const std::vector<unsigned char>* samples = nullptr)
{
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{width, height, kind.BitDepth, kind.ColourType, 0, 0, uint8_t(kind.Interlaced)};
    spng_set_ihdr(context, &header);
    if (kind.ColourType == SPNG_COLOR_TYPE_INDEXED) {
        spng_plte palette{};
        palette.n_entries = 1u << kind.BitDepth;
        for (uint32_t i = 0; i < palette.n_entries; ++i)
            palette.entries[i] = {uint8_t(random() % 3 * 0x7F), uint8_t(random()), uint8_t(i * 37), 0};
        spng_set_plte(context, &palette);
    }
    if (kind.SignificantBits != 0) {
        const uint8_t bits = kind.SignificantBits;
        spng_sbit significant{bits, bits, bits, bits, bits};
        spng_set_sbit(context, &significant);
    }
    if (kind.Gamma != 0)
        spng_set_gama_int(context, kind.Gamma);
    if (kind.Transparency) {
        spng_trns transparency{};
        transparency.gray = uint16_t(0x55 & ((1u << kind.BitDepth) - 1));
        transparency.red = transparency.green = transparency.blue = 0x55;
        transparency.n_type3_entries = 3;
        transparency.type3_alpha[0] = 0;
        transparency.type3_alpha[1] = 128;
        transparency.type3_alpha[2] = 255;
        spng_set_trns(context, &transparency);
    }
    const std::size_t rowBytes = (std::size_t{width} * Channels(kind.ColourType) * kind.BitDepth + 7) / 8;
    const std::vector<unsigned char> pixels = samples ? *samples : RandomSamples(rowBytes * height, random);
    EXPECT_EQ(spng_encode_image(context, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE), 0);
    std::size_t size = 0;
    int error = 0;
    void* encoded = spng_get_png_buffer(context, &size, &error);
    QByteArray bytes(static_cast<const char*>(encoded), qsizetype(size));
    std::free(encoded);
    spng_ctx_free(context);
    return bytes;
}

void Put(QByteArray& bytes, int at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
}

// Run-length codes of `bits` (8 or 4) for a `width` by `height` picture: runs, pixels
// as they are, moves, rows ended early, and sometimes the picture.
QByteArray RunLengthCodes(int bits, int width, int height, std::mt19937& random)
{
    QByteArray codes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width && random() % 16 != 0;) {
            const int left = width - x;
            if (random() % 2) {
                const int count = 1 + int(random() % unsigned(std::min(left, 12)));
                codes += char(count);
                codes += char(random());
                x += count;
            } else if (left >= 3) {
                const int count = 3 + int(random() % unsigned(std::min(left - 2, 10)));
                const int bytes = bits == 4 ? (count + 1) / 2 : count;
                codes += '\0';
                codes += char(count);
                for (int i = 0; i < bytes + bytes % 2; ++i)
                    codes += char(random());
                x += count;
            }
            if (random() % 8 == 0 && y + 1 < height && x < width) { // right and one row up
                const int right = int(random() % unsigned(width - x));
                codes += QByteArray("\0\2", 2) + char(right) + '\1';
                x += right;
                ++y;
            }
        }
        codes += QByteArray("\0\0", 2);
        if (random() % 16 == 0)
            break;
    }
    return codes + QByteArray("\0\1", 2);
}

struct TBmpKind {
    int Bits;
    uint32_t InfoSize; // 40, 64, 108, 124 are read in full; any other size as 12 is
    uint32_t Compression;
    std::vector<uint32_t> Masks; // red, green, blue, alpha: with bit fields, or in a header of 108 or 124
    bool TopDown;
    uint32_t ColoursUsed = 0;
    bool StatedOffsetZero = false; // the file header says the pixels start at 0
};

bool FullInfo(uint32_t infoSize)
{
    return infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124;
}

QByteArray Bmp(const TBmpKind& kind, int width, int height, std::mt19937& random)
{
    const bool full = FullInfo(kind.InfoSize);
    const int colours = kind.Bits > 8 ? 0 : kind.ColoursUsed ? int(kind.ColoursUsed) : 1 << kind.Bits;
    const int entry = kind.InfoSize == 12 ? 3 : 4;
    const int fieldBytes = kind.InfoSize < 108 && kind.Compression == 3 ? 12 : 0;
    const int offset = 14 + int(kind.InfoSize) + fieldBytes + colours * entry;
    const int rowBytes = (width * kind.Bits + 31) / 32 * 4;
    QByteArray bytes(offset, '\0');
    bytes.replace(0, 2, "BM");
    Put(bytes, 2, uint32_t(offset + rowBytes * height), 4);
    Put(bytes, 10, kind.StatedOffsetZero ? 0 : uint32_t(offset), 4);
    Put(bytes, 14, kind.InfoSize, 4);
    if (!full) {
        Put(bytes, 18, uint32_t(width), 2);
        Put(bytes, 20, uint32_t(kind.TopDown ? -height : height), 2);
        Put(bytes, 22, 1, 2);
        Put(bytes, 24, uint32_t(kind.Bits), 2);
    } else {
        Put(bytes, 18, uint32_t(width), 4);
        Put(bytes, 22, uint32_t(kind.TopDown ? -height : height), 4);
        Put(bytes, 26, 1, 2);
        Put(bytes, 28, uint32_t(kind.Bits), 2);
        Put(bytes, 30, kind.Compression, 4);
        Put(bytes, 46, kind.ColoursUsed, 4);
        for (std::size_t i = 0; i < kind.Masks.size(); ++i)
            Put(bytes, 54 + int(i) * 4, kind.Masks[i], 4);
    }
    const int paletteAt = 14 + int(kind.InfoSize) + fieldBytes;
    for (int i = 0; i < colours; ++i)
        Put(bytes, paletteAt + i * entry, uint32_t(random() % 3 * 0x7F7F7F ^ (random() & 0x0F0F0F)), entry);
    if (kind.Compression == 1 || kind.Compression == 2)
        return bytes + RunLengthCodes(kind.Bits, width, height, random);
    const std::vector<unsigned char> pixels = RandomSamples(std::size_t(rowBytes) * height, random);
    return bytes + QByteArray(reinterpret_cast<const char*>(pixels.data()), qsizetype(pixels.size()));
}

struct TJpegKind {
    J_COLOR_SPACE Input; // of the samples handed to libjpeg
    J_COLOR_SPACE Coded;
    int Sampling; // of the first component: 11, 21 (4:2:2), 22 (4:2:0) or 41
    bool Progressive;
    int RestartRows;
    bool Orientation; // an Exif orientation tag, which the pixels ignore
};

QByteArray Jpeg(const TJpegKind& kind, int width, int height, std::mt19937& random)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.in_color_space = kind.Input;
    info.input_components = kind.Input == JCS_GRAYSCALE ? 1 : kind.Input == JCS_CMYK ? 4 : 3;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, kind.Coded);
    info.comp_info[0].h_samp_factor = kind.Sampling / 10;
    info.comp_info[0].v_samp_factor = kind.Sampling % 10;
    if (kind.Progressive)
        jpeg_simple_progression(&info);
    info.restart_in_rows = kind.RestartRows;
    jpeg_start_compress(&info, TRUE);
    if (kind.Orientation) {
        const unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                                      0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif, sizeof exif);
    }
    const std::vector<unsigned char> samples =
        RandomSamples(std::size_t(width) * std::size_t(height) * std::size_t(info.input_components), random);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<unsigned char*>(samples.data()) +
                    std::size_t(info.next_scanline) * std::size_t(width) * std::size_t(info.input_components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

// Where the frame header of `jpeg` holds its height (width two bytes on).
int JpegHeightAt(const QByteArray& jpeg)
{
    for (int at = 2; at + 1 < jpeg.size(); ++at)
        if (uchar(jpeg[at]) == 0xFF && (uchar(jpeg[at + 1]) == 0xC0 || uchar(jpeg[at + 1]) == 0xC2))
            return at + 5;
    return -1;
}

struct TGifKind {
    int GlobalBits; // 0: no global table
    int LocalBits;  // 0: no local table
    int Transparent; // -1: none
    bool Interlaced;
    QRect Image; // on the screen
    QSize Screen;
    int Background;
};

int WriteGifBytes(GifFileType* gif, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

ColorMapObject* GifTable(int bits, std::mt19937& random)
{
    ColorMapObject* table = GifMakeMapObject(1 << bits, nullptr);
    for (int i = 0; i < table->ColorCount; ++i)
        table->Colors[i] = {GifByteType(random() % 3 * 0x7F), GifByteType(random() | 1), GifByteType(i * 37)};
    return table;
}

QByteArray Gif(const TGifKind& kind, std::mt19937& random)
{
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteGifBytes, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = kind.GlobalBits ? GifTable(kind.GlobalBits, random) : nullptr;
    ColorMapObject* local = kind.LocalBits ? GifTable(kind.LocalBits, random) : nullptr;
    EGifPutScreenDesc(gif, kind.Screen.width(), kind.Screen.height(), 8, kind.Background, global);
    if (kind.Transparent >= 0) {
        const GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, kind.Transparent};
        GifByteType extension[4];
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(EGifGCBToExtension(&control, extension)), extension);
    }
    const QRect& image = kind.Image;
    EGifPutImageDesc(gif, image.left(), image.top(), image.width(), image.height(), kind.Interlaced, local);
    const int colours = 1 << (kind.LocalBits ? kind.LocalBits : kind.GlobalBits);
    std::vector<GifPixelType> line(std::size_t(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        for (GifPixelType& pixel : line)
            pixel = GifPixelType(random() % 3 ? random() % std::min(colours, 4) : random() % colours);
        EGifPutLine(gif, line.data(), image.width());
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(global);
    GifFreeMapObject(local);
    return bytes;
}

const TPngKind kPngKinds[] = {
    {SPNG_COLOR_TYPE_GRAYSCALE, 1, false, false},  {SPNG_COLOR_TYPE_GRAYSCALE, 2, true, false},
    {SPNG_COLOR_TYPE_GRAYSCALE, 8, true, false},   {SPNG_COLOR_TYPE_INDEXED, 8, false, true},
    {SPNG_COLOR_TYPE_GRAYSCALE, 4, true, false},   {SPNG_COLOR_TYPE_GRAYSCALE, 8, false, false},
    {SPNG_COLOR_TYPE_GRAYSCALE, 8, true, true},    {SPNG_COLOR_TYPE_GRAYSCALE, 16, false, false},
    {SPNG_COLOR_TYPE_INDEXED, 1, false, false},    {SPNG_COLOR_TYPE_INDEXED, 2, true, false},
    {SPNG_COLOR_TYPE_INDEXED, 4, false, true},     {SPNG_COLOR_TYPE_INDEXED, 8, true, false},
    {SPNG_COLOR_TYPE_TRUECOLOR, 8, false, false},  {SPNG_COLOR_TYPE_TRUECOLOR, 8, true, false},
    {SPNG_COLOR_TYPE_TRUECOLOR, 16, false, true},  {SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 8, false, false},
    {SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 16, false, false}, {SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, false, true},
    {SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 16, false, false}, {SPNG_COLOR_TYPE_GRAYSCALE, 1, false, true},
    // Significant bits and gamma are what the picture's maker says; Qt's pixels keep the stored samples.
    {SPNG_COLOR_TYPE_TRUECOLOR, 16, false, false, 12},   {SPNG_COLOR_TYPE_GRAYSCALE, 16, false, false, 10},
    {SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 16, false, true, 9}, {SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 16, false, false, 13},
    {SPNG_COLOR_TYPE_TRUECOLOR, 16, false, false, 0, 45455}, {SPNG_COLOR_TYPE_GRAYSCALE, 16, true, true, 0, 100000},
    {SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 16, false, false, 11, 220000}, {SPNG_COLOR_TYPE_TRUECOLOR, 8, false, false, 5, 45455},
    {SPNG_COLOR_TYPE_INDEXED, 4, true, false, 6, 45455},  {SPNG_COLOR_TYPE_GRAYSCALE, 4, false, false, 3, 70000},
    {SPNG_COLOR_TYPE_GRAYSCALE, 16, true, false, 12, 45455},
};

const TBmpKind kBmpKinds[] = {
    {1, 40, 0, {}, false},  {4, 40, 0, {}, false},  {8, 40, 0, {}, true},   {1, 12, 0, {}, false},
    {8, 12, 0, {}, false},  {16, 40, 0, {}, false}, {24, 40, 0, {}, false}, {24, 40, 0, {}, true},
    {32, 40, 0, {}, false}, {16, 40, 3, {0xF800, 0x07E0, 0x001F}, false},
    {32, 40, 3, {0x00FF0000, 0x0000FF00, 0x000000FF}, true},
    {32, 108, 3, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, false},
    {32, 124, 3, {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, true},
    {16, 124, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, false}, {32, 108, 0, {}, false},
    {8, 40, 1, {}, false},  {4, 40, 2, {}, false},  {8, 40, 1, {}, false},  {4, 40, 2, {}, false},
    // Palettes after headers of versions 4 and 5, and of OS/2 2.x.
    {1, 108, 0, {}, false}, {4, 124, 0, {}, true}, {8, 124, 0, {}, false}, {8, 108, 1, {}, false},
    {4, 124, 2, {}, true},  {8, 64, 0, {}, false},  {24, 64, 0, {}, false}, {32, 64, 3, {0xFF, 0xFF00, 0xFF0000}, false},
    // Palettes shorter or longer than the bits can index.
    {1, 40, 0, {}, false, 1}, {1, 40, 0, {}, false, 16}, {4, 40, 0, {}, false, 5}, {8, 40, 0, {}, true, 200},
    {4, 40, 0, {}, false, 40}, {8, 40, 1, {}, false, 3}, {16, 40, 0, {}, false, 7},
    // Headers of other sizes, read as those of 12 bytes with 4-byte palette entries.
    {8, 16, 0, {}, false},  {4, 52, 0, {}, true}, {24, 56, 0, {}, false}, {1, 12, 0, {}, true},
    // Alpha masks of headers of versions 4 and 5 without bit fields.
    {32, 108, 0, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, false},
    {32, 124, 0, {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, true},
    {24, 124, 0, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, false},
    {16, 108, 0, {0x0F00, 0x00F0, 0x000F, 0xF000}, false}, {32, 124, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF}, false},
    // Odd masks: overlapping, not contiguous, of one bit, missing.
    {32, 40, 3, {0x00FFFF00, 0x0000FFFF, 0x000000FF}, false}, {16, 40, 3, {0x5555, 0x2AAA, 0x8000}, false},
    {16, 108, 3, {0x0001, 0x0000, 0xFFFE, 0x0000}, false},    {32, 124, 3, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}, true},
    // The file header says the pixels start inside the headers.
    {8, 40, 0, {}, false, 0, true}, {32, 40, 3, {0xFF0000, 0xFF00, 0xFF}, false, 0, true}, {24, 12, 0, {}, false, 0, true},
};

TEST_F(StreamedPictures, EveryPngAndBmpVariantGivesQtsMaskBitForBit)
{
    std::mt19937 random(7);
    for (const TPngKind& kind : kPngKinds)
        for (const auto& [width, height] : {std::pair{70u, 23u}, std::pair{5u, 9u}}) {
            const std::string what = "PNG of type " + std::to_string(kind.ColourType) + ", " + std::to_string(kind.BitDepth) +
                                     " bits" + (kind.Transparency ? ", tRNS" : "") + (kind.Interlaced ? ", interlaced" : "") +
                                     ", sBIT " + std::to_string(kind.SignificantBits) + ", gAMA " +
                                     std::to_string(kind.Gamma) + ", " + std::to_string(width) + " wide";
            ExpectQtsMask(Write("variant.png", Png(kind, width, height, random)), what);
        }
    for (const TBmpKind& kind : kBmpKinds)
        for (const auto& [width, height] : {std::pair{70, 23}, std::pair{5, 9}}) {
            const std::string what = "BMP of " + std::to_string(kind.Bits) + " bits, header " + std::to_string(kind.InfoSize) +
                                     ", compression " + std::to_string(kind.Compression) + (kind.TopDown ? ", top down" : "") +
                                     ", " + std::to_string(kind.ColoursUsed) + " colours used" +
                                     (kind.StatedOffsetZero ? ", offset 0" : "") + ", " + std::to_string(width) + " wide";
            ExpectQtsMask(Write("variant.bmp", Bmp(kind, width, height, random)), what);
        }
    for (const char* sample : {"carpet.png", "square.png", "pixel.bmp"})
        ExpectQtsMask(std::string(VANDREL_SAMPLES) + "/" + sample, sample);
}

TEST_F(StreamedPictures, A16BitRgbPngWithATransparentColourKeepsItsStoredSamples)
{
    // Qt 6.4 garbles these (it reads each pixel's six bytes as if they were eight, so
    // its rows drift), so the oracle is Qt's decode of the same samples without the tRNS
    // chunk, the tRNS colour clear.
    std::mt19937 random(13);
    const uint32_t width = 37, height = 11;
    std::vector<unsigned char> samples = RandomSamples(std::size_t{width} * height * 6, random);
    const uint16_t key[3] = {0x55, 0x55, 0x55}; // the tRNS colour; libspng takes samples in the machine's order
    for (std::size_t pixel = 0; pixel < samples.size() / 6; pixel += 3)
        std::memcpy(&samples[pixel * 6], key, sizeof key);
    const QImage plain = LoadBitmap(QString::fromStdString(
                                        Write("plain.png", Png({SPNG_COLOR_TYPE_TRUECOLOR, 16, false, false}, width, height, random, &samples))))
                             .convertToFormat(QImage::Format_ARGB32);
    const std::unique_ptr<TStreamedPicture> keyed =
        OpenStreamedPicture(Write("keyed.png", Png({SPNG_COLOR_TYPE_TRUECOLOR, 16, true, false}, width, height, random, &samples)));
    int clear = 0;
    keyed->ForEachRun([&](int y, int firstX, int step, std::span<const TArgb> pixels) {
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const int x = firstX + int(i) * step;
            const bool key = (std::size_t(y) * width + std::size_t(x)) % 3 == 0;
            clear += key;
            ASSERT_EQ(pixels[i], key ? plain.pixel(x, y) & 0xFFFFFF : plain.pixel(x, y)) << x << ", " << y;
        }
    });
    EXPECT_EQ(clear, int(width * height + 2) / 3);
    const TPixelMask black = keyed->Mask(TForegroundRule::Colour(0x000000)).Mask;
    EXPECT_FALSE(black.Test(0, 0)) << "a clear pixel is no shape";
}

// A PNG chunk: length, type, data and checksum.
QByteArray Chunk(const char* type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    for (int i = 0; i < 4; ++i)
        chunk[i] = char(data.size() >> (24 - 8 * i));
    chunk += QByteArray(type, 4) + data;
    const uLong checksum = crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()) + 4, uInt(chunk.size() - 4));
    for (int i = 0; i < 4; ++i)
        chunk += char(checksum >> (24 - 8 * i));
    return chunk;
}

TEST_F(StreamedPictures, APngWithLargeOrManyAncillaryChunksStreamsAsQtShowsIt)
{
    std::mt19937 random(17);
    const QByteArray text = Chunk("tEXt", "Comment" + QByteArray(1, '\0') + QByteArray(3 << 20, 'x'));
    QByteArray inflated(40 << 20, 'z');
    QByteArray deflated(int(compressBound(uLong(inflated.size()))), '\0');
    uLongf deflatedSize = uLongf(deflated.size());
    compress(reinterpret_cast<Bytef*>(deflated.data()), &deflatedSize, reinterpret_cast<const Bytef*>(inflated.constData()),
             uLong(inflated.size()));
    const QByteArray compressedText = Chunk("zTXt", "Comment" + QByteArray(2, '\0') + deflated.left(int(deflatedSize)));
    QByteArray manyTexts;
    for (int i = 0; i < 1500; ++i)
        manyTexts += Chunk("tEXt", "Title" + QByteArray(1, '\0') + QByteArray::number(i));
    QByteArray badChecksum = Chunk("gAMA", QByteArray("\0\0\xB1\x8F", 4));
    badChecksum[badChecksum.size() - 1] = char(badChecksum.back() ^ 1);
    const QByteArray afterHeader[] = {text, compressedText, manyTexts, Chunk("prVt", QByteArray(3 << 20, 'p')), badChecksum};
    for (const TPngKind& kind : {TPngKind{SPNG_COLOR_TYPE_INDEXED, 4, true, false}, TPngKind{SPNG_COLOR_TYPE_TRUECOLOR, 8, false, true}})
        for (const QByteArray& chunks : afterHeader) {
            QByteArray png = Png(kind, 40, 17, random);
            png.insert(33, chunks);                      // after the header
            png.insert(png.size() - 12, text);           // and before the end
            ExpectQtsMask(Write("chunks.png", png), "PNG of type " + std::to_string(kind.ColourType) + " with " +
                                                       chunks.mid(4, 4).toStdString() + " chunks");
        }
}

const TJpegKind kJpegKinds[] = {
    {JCS_GRAYSCALE, JCS_GRAYSCALE, 11, false, 0, false}, {JCS_GRAYSCALE, JCS_GRAYSCALE, 11, true, 0, true},
    {JCS_RGB, JCS_YCbCr, 11, false, 0, false},          {JCS_RGB, JCS_YCbCr, 21, false, 1, false},
    {JCS_RGB, JCS_YCbCr, 22, false, 0, true},           {JCS_RGB, JCS_YCbCr, 22, true, 2, false},
    {JCS_RGB, JCS_YCbCr, 41, false, 0, false},          {JCS_RGB, JCS_YCbCr, 12, true, 0, false},
    {JCS_RGB, JCS_RGB, 11, false, 0, false},            {JCS_CMYK, JCS_CMYK, 11, false, 0, false},
    {JCS_CMYK, JCS_YCCK, 22, true, 1, false},
};

const TGifKind kGifKinds[] = {
    {8, 0, -1, false, {0, 0, 70, 23}, {70, 23}, 0},      {1, 0, -1, true, {0, 0, 70, 23}, {70, 23}, 0},
    {2, 4, 3, false, {5, 2, 40, 11}, {70, 23}, 1},       {2, 0, -1, false, {5, 2, 40, 11}, {70, 23}, 3},
    {5, 0, 7, true, {1, 3, 66, 13}, {70, 23}, 2},        {0, 3, -1, false, {9, 0, 33, 20}, {70, 23}, 0},
    {0, 8, 200, true, {0, 0, 70, 23}, {70, 23}, 0},      {4, 8, -1, false, {0, 0, 70, 23}, {70, 23}, 9},
    {3, 0, -1, false, {3, 0, 10, 9}, {2010, 9}, 5},      {7, 0, 200, false, {2, 1, 5, 9}, {7, 10}, 0},
    {6, 0, -1, true, {0, 0, 70, 6}, {70, 6}, 0},         {2, 1, -1, true, {4, 1, 9, 5}, {20, 7}, 3},
};

TEST_F(StreamedPictures, EveryJpegAndGifVariantGivesQtsMaskBitForBit)
{
    std::mt19937 random(13);
    for (const TJpegKind& kind : kJpegKinds)
        for (const auto& [width, height] : {std::pair{70, 23}, std::pair{5, 9}}) {
            const std::string what = "JPEG coded in " + std::to_string(kind.Coded) + ", sampling " +
                                     std::to_string(kind.Sampling) + (kind.Progressive ? ", progressive" : "") +
                                     ", restarts " + std::to_string(kind.RestartRows) + ", " + std::to_string(width) + " wide";
            ExpectQtsMask(Write("variant.jpg", Jpeg(kind, width, height, random)), what);
        }
    for (const TGifKind& kind : kGifKinds) {
        const std::string what = "GIF of " + std::to_string(kind.GlobalBits) + " and " + std::to_string(kind.LocalBits) +
                                 " bits, transparent " + std::to_string(kind.Transparent) +
                                 (kind.Interlaced ? ", interlaced" : "") + ", image at " + std::to_string(kind.Image.x()) +
                                 ", " + std::to_string(kind.Image.y()) + " on " + std::to_string(kind.Screen.width());
        ExpectQtsMask(Write("variant.gif", Gif(kind, random)), what);
    }
}

TEST_F(StreamedPictures, AProgressiveJpegsCoefficientsAreInItsMemoryNeed)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer keeps a heap of its own, which mallinfo2 does not see";
#endif
    // libjpeg keeps every coefficient of a picture of several scans: 2 bytes a sample.
    std::mt19937 random(3);
    for (const bool progressive : {false, true}) {
        const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(
            Write("big.jpg", Jpeg({JCS_RGB, JCS_YCbCr, 11, progressive, 0, false}, 1600, 1200, random)));
        const auto inUse = [] {
            const struct mallinfo2 now = mallinfo2();
            return now.uordblks + now.hblkhd;
        };
        const std::size_t before = inUse();
        std::size_t most = before;
        picture->ForEachRun([&](int, int, int, std::span<const TArgb>) { most = std::max(most, inUse()); });
        EXPECT_LE(most - before, StreamedMemoryNeed(*picture)) << progressive;
        if (progressive) {
            EXPECT_GT(most - before, std::size_t{1600} * 1200 * 3 * 2) << "the coefficients were not held";
        }
    }
}

TEST_F(StreamedPictures, EveryCutIsRefusedOrGivesTheWholeMask)
{
    std::mt19937 random(11);
    const std::pair<std::string, QByteArray> pictures[] = {
        {"grey.png", Png({SPNG_COLOR_TYPE_GRAYSCALE, 1, false, false}, 70, 23, random)},
        {"rgba.png", Png({SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 16, false, true}, 21, 13, random)},
        {"palette.bmp", Bmp({4, 40, 0, {}, false}, 33, 7, random)},
        {"runs.bmp", Bmp({8, 40, 1, {}, false}, 33, 7, random)},
        {"fields.bmp", Bmp({32, 124, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, true}, 9, 7, random)},
        {"colour.jpg", Jpeg({JCS_RGB, JCS_YCbCr, 22, false, 1, false}, 21, 13, random)},
        {"grey.jpg", Jpeg({JCS_GRAYSCALE, JCS_GRAYSCALE, 11, true, 0, false}, 21, 13, random)},
        {"cmyk.jpg", Jpeg({JCS_CMYK, JCS_YCCK, 21, true, 0, false}, 17, 9, random)},
        {"layered.gif", Gif({2, 4, 3, true, {5, 2, 40, 11}, {70, 23}, 1}, random)},
    };
    for (const auto& [name, bytes] : pictures) {
        ExpectEveryCutRefusedOrWhole(name, bytes);
    }

    // PNG headers that claim more rows than the data holds: a few more, and so many
    // more that no deflated data this short could hold them (refused before any mask).
    for (const uint32_t height : {30u, 1000000u}) {
        QByteArray png = Png({SPNG_COLOR_TYPE_GRAYSCALE, 8, false, false}, 70, 23, random);
        for (int i = 0; i < 4; ++i)
            png[20 + i] = char(height >> (24 - 8 * i));
        const uLong checksum = crc32(0, reinterpret_cast<const Bytef*>(png.constData()) + 12, 17);
        for (int i = 0; i < 4; ++i)
            png[29 + i] = char(checksum >> (24 - 8 * i));
        const std::string path = Write("tall.png", png);
        try {
            const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(path);
            ASSERT_EQ(picture->Height(), int(height));
            picture->Mask(TForegroundRule::Colour(0));
            FAIL() << "a PNG that lies about its height was counted";
        } catch (const TVandrelError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with("The picture is damaged or incomplete: tall.png (")) << error.what();
        }
    }

    // JPEG and GIF headers that claim fewer rows than the data holds, a few more, and
    // so many more pixels that no data this short could hold them (refused before any
    // mask); Qt's path refuses them all too.
    for (const auto& [width, height] : {std::pair{70, 7}, std::pair{70, 40}, std::pair{60000, 60000}}) {
        QByteArray jpeg = Jpeg({JCS_RGB, JCS_YCbCr, 22, false, 0, false}, 70, 23, random);
        const int at = JpegHeightAt(jpeg);
        jpeg[at] = char(height >> 8);
        jpeg[at + 1] = char(height & 0xFF);
        jpeg[at + 2] = char(width >> 8);
        jpeg[at + 3] = char(width & 0xFF);
        QByteArray gif = Gif({4, 0, -1, false, {0, 0, 70, 23}, {70, 23}, 0}, random);
        for (const int field : {6, 13 + 48 + 5}) // the screen's and the image's
            Put(gif, field, uint32_t(width) | uint32_t(height) << 16, 4);
        for (const auto& [name, bytes] : {std::pair{std::string("tall.jpg"), jpeg}, std::pair{std::string("tall.gif"), gif}}) {
            const std::string path = Write(name, bytes);
            EXPECT_THROW(LoadBitmap(QString::fromStdString(path)), TVandrelError) << name << " " << height;
            try {
                const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(path);
                ASSERT_TRUE(picture) << name;
                ASSERT_EQ(picture->Height(), height) << name;
                EXPECT_LT(height, 1000) << name << ": opened although the file cannot hold it";
                picture->Mask(TForegroundRule::Colour(0));
                FAIL() << "a " << name << " that lies about its height was counted";
            } catch (const TVandrelError& error) {
                EXPECT_TRUE(std::string(error.what()).starts_with("The picture is damaged or incomplete: " + name + " ("))
                    << error.what();
            }
        }
    }

    // A GIF's screen costs no data; one larger than Qt makes must be filled by the image.
    QByteArray vast = Gif({4, 0, -1, false, {0, 0, 70, 23}, {70, 23}, 0}, random);
    Put(vast, 6, 60000u | 60000u << 16, 4);
    try {
        OpenStreamedPicture(Write("vast.gif", vast));
        FAIL() << "a GIF whose screen is vast and empty was opened";
    } catch (const TVandrelError& error) {
        EXPECT_STREQ(error.what(),
                     "The picture is damaged or incomplete: vast.gif (its screen of 60000 \u00d7 60000 pixels is more than its image data can fill)");
    }

    // A header that claims far more rows than the file holds is refused before any mask is made.
    QByteArray tall = Bmp({24, 40, 0, {}, false}, 1, 16, random);
    Put(tall, 22, 268435456, 4);
    try {
        OpenStreamedPicture(Write("tall.bmp", tall));
        FAIL() << "a BMP that lies about its height was opened";
    } catch (const TVandrelError& error) {
        EXPECT_STREQ(error.what(), "The picture is damaged or incomplete: tall.bmp (its pixel data ends after 16 of 268435456 rows)");
    }
}

TEST_F(StreamedPictures, ACorruptJpegOrGifIsRefusedAsQtsPathRefusesItOrGivesQtsMask)
{
    std::mt19937 random(17);
    const std::pair<std::string, QByteArray> pictures[] = {
        {"colour.jpg", Jpeg({JCS_RGB, JCS_YCbCr, 22, false, 2, false}, 37, 21, random)},
        {"progressive.jpg", Jpeg({JCS_RGB, JCS_YCbCr, 21, true, 0, false}, 37, 21, random)},
        {"layered.gif", Gif({3, 0, 2, true, {5, 2, 30, 17}, {40, 21}, 1}, random)},
    };
    for (const auto& [name, bytes] : pictures)
        for (int trial = 0; trial < 150; ++trial) {
            QByteArray corrupt = bytes;
            const int at = int(random() % unsigned(bytes.size()));
            corrupt[at] = char(corrupt[at] ^ (1 << (random() % 8)));
            const std::string path = Write(name, corrupt);
            const std::string what = name + " with byte " + std::to_string(at) + " changed";
            bool qtRefuses = false;
            try {
                LoadBitmap(QString::fromStdString(path));
            } catch (const TVandrelError&) {
                qtRefuses = true;
            }
            if (!qtRefuses) {
                if (OpenStreamedPicture(path)) // else Qt reads it
                    ExpectQtsMask(path, what);
                continue;
            }
            try {
                if (const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(path)) {
                    picture->Mask(TForegroundRule::Luminance(100));
                    ADD_FAILURE() << what << ": counted, though Qt's path refuses it";
                }
            } catch (const TVandrelError& error) {
                EXPECT_TRUE(std::string(error.what()).starts_with("The picture is damaged or incomplete: " + name + " ("))
                    << error.what();
            }
        }
}

TEST_F(StreamedPictures, ABmpWiderThanQtReadsIsDecodedEveryPixelOnce)
{
    // Qt gives no size for a BMP 70000 pixels wide, so the whole-picture path refuses it.
    std::mt19937 random(5);
    QByteArray bytes = Bmp({1, 40, 0, {}, false}, 70000, 2, random);
    Put(bytes, 54, 0x000000, 4); // colour 0 black, colour 1 white
    Put(bytes, 58, 0xFFFFFF, 4);
    const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(Write("wide.bmp", bytes));
    const TPixelMask dark = picture->Mask(TForegroundRule::Luminance(100)).Mask;
    const TPixelMask light = picture->Mask(TForegroundRule::Luminance(100, TLuminanceSide::Light)).Mask;
    EXPECT_EQ(dark.Width(), 70000);
    EXPECT_EQ(dark.SetCount() + light.SetCount(), 70000u * 2);
    EXPECT_GT(dark.SetCount(), 0u);
    EXPECT_GT(light.SetCount(), 0u);
}

TEST_F(StreamedPictures, APreviewHoldsTheTopLeftPixelOfEveryBlock)
{
    std::mt19937 random(3);
    const std::pair<std::string, QByteArray> pictures[] = {
        {"interlaced.png", Png({SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, false, true}, 70, 23, random)},
        {"grey.png", Png({SPNG_COLOR_TYPE_GRAYSCALE, 2, false, false}, 31, 17, random)},
        {"palette.bmp", Bmp({4, 40, 0, {}, false}, 33, 7, random)},
        {"runs.bmp", Bmp({8, 40, 1, {}, true}, 40, 40, random)},
    };
    for (const auto& [name, bytes] : pictures)
        for (const int scale : {1, 2, 3, 8}) {
            const std::string path = Write(name, bytes);
            const QImage whole = LoadBitmap(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const QImage preview = PreviewOf(*OpenStreamedPicture(path), scale)
                                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_EQ(preview.size(), QSize((whole.width() + scale - 1) / scale, (whole.height() + scale - 1) / scale));
            for (int y = 0; y < preview.height(); ++y)
                for (int x = 0; x < preview.width(); ++x)
                    ASSERT_EQ(preview.pixel(x, y), whole.pixel(x * scale, y * scale)) << name << " 1:" << scale;
        }
    // The least scale that leaves at most so many pixels, for sides that divide and do not.
    for (const QSize size : {QSize(1, 1), QSize(243, 243), QSize(70000, 3), QSize(32768, 32768), QSize(12345, 678)})
        for (const uint64_t most : {1ull, 7381ull, 1ull << 20, 1ull << 25}) {
            const auto blocks = [&](int k) { return uint64_t((size.width() + k - 1) / k) * uint64_t((size.height() + k - 1) / k); };
            const int scale = PreviewScale(size, most);
            EXPECT_LE(blocks(scale), most);
            EXPECT_TRUE(scale == 1 || blocks(scale - 1) > most) << size.width() << " x " << size.height() << ", " << most;
        }
}

}  // namespace
