// The mask of a picture decoded a row at a time against Qt's whole decode (QImage then
// MaskOfForeground), for bilevel PNGs and palette BMPs of 16, 268 and 1,074 megapixels,
// RGB PNGs and BMPs of 16 and 268 megapixels, uncompressed bilevel and grey TIFFs of 268
// megapixels, colour JPEGs of 268 megapixels (baseline) and 67 (progressive) and a GIF
// of 256 megapixels; and against the least any reader of the file does: inflating the
// PNG's image data alone, one read of the BMP or TIFF, libjpeg's or giflib's decoding
// alone. Each path runs in a child process of its own, whose peak memory the kernel
// reports. Prints times, peak memories and ratios.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gif_lib.h>
#include <jpeglib.h>
#include <spng.h>
#include <tiffio.h>
#include <zlib.h>

#include "app/fractal/self_similar_shapes.h"
#include "app/picture/foreground_mask.h"
#include "app/picture/streamed_mask.h"

namespace {

constexpr int kTile = 6561; // the carpet of 3^8 pixels repeats
const TForegroundRule kBlack = TForegroundRule::Colour(0x000000);

volatile bool gSink; // keeps the work from being optimised away

struct TCost {
    double Seconds = 0.0;
    double PeakMiB = 0.0;
    bool Done = false;
};

// Runs `work` in a child process: its time, its peak resident memory, whether it succeeded.
TCost InChild(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
            std::_Exit(0);
        } catch (...) {
            std::_Exit(1);
        }
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), double(usage.ru_maxrss) / 1024.0,
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

// Which pixels of row `y` of a `side` pixels wide square of tiled carpets are in it.
std::vector<bool> CarpetPixels(int side, int y)
{
    std::vector<bool> tile(kTile);
    for (int x = 0; x < kTile; ++x)
        tile[std::size_t(x)] = InCarpet(x, y % kTile);
    std::vector<bool> row(static_cast<std::size_t>(side));
    for (int x = 0; x < side; ++x)
        row[std::size_t(x)] = tile[std::size_t(x % kTile)];
    return row;
}

// Carpets tiled over a square, black on white, one bit a pixel.
std::vector<unsigned char> CarpetRow(int side, int y)
{
    const std::vector<bool> carpet = CarpetPixels(side, y);
    std::vector<unsigned char> row((static_cast<std::size_t>(side) + 7) / 8, 0xFF);
    for (int x = 0; x < side; ++x)
        if (carpet[std::size_t(x)])
            row[static_cast<std::size_t>(x) / 8] &= static_cast<unsigned char>(~(0x80u >> (x % 8)));
    return row;
}

// The carpet in colour: black on a gradient, three bytes a pixel, in the order `red`
// (its offset: 0 for PNG's red first, 2 for BMP's blue first).
std::vector<unsigned char> ColourCarpetRow(int side, int y, int red)
{
    const std::vector<bool> carpet = CarpetPixels(side, y);
    std::vector<unsigned char> row(static_cast<std::size_t>(side) * 3, 0);
    for (int x = 0; x < side; ++x)
        if (!carpet[std::size_t(x)]) {
            row[std::size_t(x) * 3 + std::size_t(red)] = static_cast<unsigned char>(x);
            row[std::size_t(x) * 3 + 1] = static_cast<unsigned char>(y);
            row[std::size_t(x) * 3 + std::size_t(2 - red)] = 200;
        }
    return row;
}

// `colour`: 8-bit RGB, else bilevel.
void WritePng(const std::string& path, int side, bool colour)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_png_file(context, file);
    spng_ihdr header{uint32_t(side), uint32_t(side), uint8_t(colour ? 8 : 1),
                     uint8_t(colour ? SPNG_COLOR_TYPE_TRUECOLOR : SPNG_COLOR_TYPE_GRAYSCALE), 0, 0, 0};
    spng_set_ihdr(context, &header);
    spng_encode_image(context, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    for (int y = 0; y < side; ++y) {
        std::vector<unsigned char> row = colour ? ColourCarpetRow(side, y, 0) : CarpetRow(side, y);
        spng_encode_row(context, row.data(), row.size());
    }
    spng_ctx_free(context);
    std::fclose(file);
}

// `colour`: 24-bit, the PNG's colours; else grey levels 0 to 255 in a palette, the
// carpet black and the rest a level of its own.
void WriteBmp(const std::string& path, int side, bool colour)
{
    std::ofstream file(path, std::ios::binary);
    const uint32_t bits = colour ? 24 : 8;
    const uint32_t offset = 14 + 40 + (colour ? 0 : 256 * 4);
    const uint32_t rowBytes = (uint32_t(side) * bits + 31) / 32 * 4;
    const auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.put(char(value >> (8 * i) & 0xFF));
    };
    file.write("BM", 2);
    put(uint32_t(std::min<uint64_t>(offset + uint64_t{rowBytes} * uint32_t(side), UINT32_MAX)), 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(uint32_t(side), 4);
    put(uint32_t(side), 4);
    put(1, 2);
    put(bits, 2);
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    for (uint32_t level = 0; level < (colour ? 0u : 256u); ++level)
        put(level * 0x010101u, 4);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = 0; y < side; ++y) {
        if (colour) {
            const std::vector<unsigned char> pixels = ColourCarpetRow(side, y, 2);
            std::copy(pixels.begin(), pixels.end(), row.begin());
        } else {
            const std::vector<bool> carpet = CarpetPixels(side, y);
            for (int x = 0; x < side; ++x)
                row[std::size_t(x)] = carpet[std::size_t(x)] ? 0 : static_cast<unsigned char>(1 + (x + y) % 255);
        }
        file.write(reinterpret_cast<const char*>(row.data()), std::streamsize(row.size()));
    }
}

// Uncompressed in a single strip, as many writers store it; `grey`: 8-bit levels as the
// BMP's, else bilevel.
void WriteTiff(const std::string& path, int side, bool grey)
{
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, side);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, side);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, grey ? 8 : 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, side);
    std::vector<unsigned char> row(static_cast<std::size_t>(side));
    for (int y = 0; y < side; ++y) {
        if (grey)
            for (int x = 0; x < side; ++x)
                row[std::size_t(x)] = InCarpet(x % kTile, y % kTile) ? 0 : static_cast<unsigned char>(1 + (x + y) % 255);
        else
            row = CarpetRow(side, y);
        TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0);
    }
    TIFFClose(tiff);
}

// The colour carpet as a JPEG of quality 90, chroma halved both ways.
void WriteJpeg(const std::string& path, int side, bool progressive)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(side);
    info.image_height = JDIMENSION(side);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < side; ++y) {
        std::vector<unsigned char> row = ColourCarpetRow(side, y, 0);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// The carpet black on 255 grey levels, as an 8-bit GIF.
void WriteGif(const std::string& path, int side)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    ColorMapObject* greys = GifMakeMapObject(256, nullptr);
    for (int level = 0; level < 256; ++level)
        greys->Colors[level] = {GifByteType(level), GifByteType(level), GifByteType(level)};
    EGifPutScreenDesc(gif, side, side, 8, 0, greys);
    EGifPutImageDesc(gif, 0, 0, side, side, false, nullptr);
    std::vector<GifPixelType> line(static_cast<std::size_t>(side));
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            line[std::size_t(x)] = InCarpet(x % kTile, y % kTile) ? 0 : GifPixelType(1 + (x / 64 + y / 64) % 255);
        EGifPutLine(gif, line.data(), side);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(greys);
}

void QtMask(const std::string& path)
{
    QImageReader::setAllocationLimit(0);
    const QImage image(QString::fromStdString(path));
    if (image.isNull())
        throw std::runtime_error("Qt refuses the picture");
    gSink = MaskOfForeground(image, kBlack).Mask.Empty();
}

void StreamedMaskOf(const std::string& path)
{
    gSink = OpenStreamedPicture(path)->Mask(kBlack).Mask.Empty();
}

std::vector<unsigned char> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The PNG's image data, every IDAT chunk's, inflated in one call.
void InflateImageData(const std::string& path, int side, int bitsPerPixel)
{
    const std::vector<unsigned char> png = FileBytes(path);
    std::vector<unsigned char> deflated;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0)
            deflated.insert(deflated.end(), png.begin() + long(at + 8), png.begin() + long(at + 8 + length));
        at += 12 + length;
    }
    uLongf size = uLongf(side) * ((uLongf(side) * uLongf(bitsPerPixel) + 7) / 8 + 1);
    std::vector<unsigned char> raw(size);
    if (uncompress(raw.data(), &size, deflated.data(), deflated.size()) != Z_OK)
        throw std::runtime_error("inflate failed");
    gSink = raw[size / 2] != 0;
}

void ReadOnce(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<char> buffer(std::size_t{1} << 20);
    std::size_t total = 0;
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file))
        total += got;
    std::fclose(file);
    gSink = total != 0;
}

// libjpeg's decoding to RGB (Qt's settings) alone, a scanline at a time into one row.
void DecodeJpeg(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<unsigned char> row(std::size_t(info.output_width) * std::size_t(info.output_components));
    JSAMPROW rows[] = {row.data()};
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, rows, 1);
    gSink = row[0] != 0;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}

// giflib's decoding of the first image alone, a line at a time.
void DecodeGif(const std::string& path)
{
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    while (DGifGetRecordType(gif, &record) == GIF_OK && record != IMAGE_DESC_RECORD_TYPE) {
        int code = 0;
        GifByteType* block = nullptr;
        if (record != EXTENSION_RECORD_TYPE || DGifGetExtension(gif, &code, &block) == GIF_ERROR)
            throw std::runtime_error("no image");
        while (block != nullptr)
            DGifGetExtensionNext(gif, &block);
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        throw std::runtime_error("no image");
    std::vector<GifPixelType> line(static_cast<std::size_t>(gif->Image.Width));
    for (int y = 0; y < gif->Image.Height; ++y)
        if (DGifGetLine(gif, line.data(), gif->Image.Width) == GIF_ERROR)
            throw std::runtime_error("damaged");
    gSink = line[0] != 0;
    DGifCloseFile(gif, &error);
}

void PrintRow(const std::string& picture, const char* path, const TCost& cost, const TCost& baseline)
{
    if (!cost.Done) {
        std::printf("%-30s %-14s %9s %10s %9s\n", picture.c_str(), path, "refused", "-", "-");
        return;
    }
    std::printf("%-30s %-14s %9.2f %10.0f %8.2fx\n", picture.c_str(), path, cost.Seconds, cost.PeakMiB,
                cost.Seconds / baseline.Seconds);
    std::fflush(stdout);
}

std::string Name(const char* kind, int side)
{
    const auto megapixels = static_cast<long long>(std::llround(double(side) * side / 1e6));
    return std::string(kind) + " " + std::to_string(side) + "\u00b2 (" + std::to_string(megapixels) + " MP)";
}

// The three rows of one picture at `path`: the least any reader does, the streamed
// mask and Qt's; the picture's file is removed afterwards.
void Compare(const std::string& name, const std::string& path, const char* least, const std::function<void()>& leastWork)
{
    const TCost baseline = InChild(leastWork);
    PrintRow(name, least, baseline, baseline);
    PrintRow(name, "streamed", InChild([&] { StreamedMaskOf(path); }), baseline);
    PrintRow(name, "Qt", InChild([&] { QtMask(path); }), baseline);
    std::remove(path.c_str());
}

}  // namespace

int main()
{
    QTemporaryDir folder;
    const std::string png = (folder.path() + "/picture.png").toStdString();
    const std::string bmp = (folder.path() + "/picture.bmp").toStdString();
    const std::string tiff = (folder.path() + "/picture.tif").toStdString();
    const std::string jpeg = (folder.path() + "/picture.jpg").toStdString();
    const std::string gif = (folder.path() + "/picture.gif").toStdString();
    std::printf("%-30s %-14s %9s %10s %9s\n", "picture", "path", "seconds", "peak MiB", "/ least");
    for (const int side : {4096, 16384, 32768})
        for (const bool colour : {false, true}) {
            if (colour && side > 16384)
                continue; // 3 GiB of pixels, 4 for Qt's picture
            WritePng(png, side, colour);
            Compare(Name(colour ? "RGB PNG" : "bilevel PNG", side), png, "inflate alone",
                    [&] { InflateImageData(png, side, colour ? 24 : 1); });
            WriteBmp(bmp, side, colour);
            Compare(Name(colour ? "RGB BMP" : "palette BMP", side), bmp, "one read", [&] { ReadOnce(bmp); });
        }
    for (const bool grey : {false, true}) {
        WriteTiff(tiff, 16384, grey);
        Compare(Name(grey ? "grey TIFF" : "bilevel TIFF", 16384), tiff, "one read", [&] { ReadOnce(tiff); });
    }
    for (const auto& [side, progressive] : {std::pair{16384, false}, std::pair{8192, true}}) {
        WriteJpeg(jpeg, side, progressive);
        Compare(Name(progressive ? "progressive JPEG" : "JPEG", side), jpeg, "libjpeg alone", [&] { DecodeJpeg(jpeg); });
    }
    WriteGif(gif, 16000); // Qt refuses a GIF of 16384² pixels or more
    Compare(Name("GIF", 16000), gif, "giflib alone", [&] { DecodeGif(gif); });
    return 0;
}
