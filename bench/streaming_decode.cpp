// The mask of a picture decoded a row at a time against Qt's whole decode (QImage then
// MaskOfForeground), for bilevel PNGs of 16, 268 and 1,074 megapixels, RGB PNGs of 16
// and 268 megapixels, a palette BMP of 268 megapixels, colour JPEGs of 268 megapixels
// (baseline) and 67 (progressive) and a GIF of 256 megapixels; and against the least
// any reader of the file does: inflating the PNG's image data alone, one read of the
// BMP, libjpeg's or giflib's decoding alone. Each path runs in a child process of its
// own, whose peak memory the kernel reports. Prints times, peak memories and ratios.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

// Carpets tiled over a square, black on white, one bit a pixel.
std::vector<unsigned char> CarpetRow(int side, int y)
{
    std::vector<unsigned char> row((static_cast<std::size_t>(side) + 7) / 8, 0xFF);
    for (int x = 0; x < side; ++x)
        if (InCarpet(x % kTile, y % kTile))
            row[static_cast<std::size_t>(x) / 8] &= static_cast<unsigned char>(~(0x80u >> (x % 8)));
    return row;
}

// The carpet in colour: black on a gradient, three bytes a pixel.
std::vector<unsigned char> ColourCarpetRow(int side, int y)
{
    std::vector<unsigned char> row(static_cast<std::size_t>(side) * 3, 0);
    for (int x = 0; x < side; ++x)
        if (!InCarpet(x % kTile, y % kTile)) {
            row[std::size_t(x) * 3] = static_cast<unsigned char>(x);
            row[std::size_t(x) * 3 + 1] = static_cast<unsigned char>(y);
            row[std::size_t(x) * 3 + 2] = 200;
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
        std::vector<unsigned char> row = colour ? ColourCarpetRow(side, y) : CarpetRow(side, y);
        spng_encode_row(context, row.data(), row.size());
    }
    spng_ctx_free(context);
    std::fclose(file);
}

// Grey levels 0 to 255 in a palette; the carpet black, the rest a level of its own.
void WritePaletteBmp(const std::string& path, int side)
{
    std::ofstream file(path, std::ios::binary);
    const uint32_t offset = 14 + 40 + 256 * 4;
    const auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.put(char(value >> (8 * i) & 0xFF));
    };
    file.write("BM", 2);
    put(offset + uint32_t(side) * uint32_t(side), 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(uint32_t(side), 4);
    put(uint32_t(side), 4);
    put(1, 2);
    put(8, 2);
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    for (uint32_t level = 0; level < 256; ++level)
        put(level * 0x010101u, 4);
    std::vector<char> row(static_cast<std::size_t>(side));
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            row[std::size_t(x)] = InCarpet(x % kTile, y % kTile) ? 0 : char(1 + (x + y) % 255);
        file.write(row.data(), std::streamsize(row.size()));
    }
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
        std::vector<unsigned char> row = ColourCarpetRow(side, y);
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

void PrintRow(const char* picture, const char* path, const TCost& cost, const TCost& baseline)
{
    if (!cost.Done) {
        std::printf("%-22s %-16s %9s %10s %9s\n", picture, path, "refused", "-", "-");
        return;
    }
    std::printf("%-22s %-16s %9.2f %10.0f %8.2fx\n", picture, path, cost.Seconds, cost.PeakMiB,
                cost.Seconds / baseline.Seconds);
}

}  // namespace

int main()
{
    QTemporaryDir folder;
    std::printf("%-22s %-16s %9s %10s %9s\n", "picture", "path", "seconds", "peak MiB", "/ least");
    for (const auto& [side, colour] : {std::pair{4096, false}, std::pair{16384, false}, std::pair{32768, false},
                                       std::pair{4096, true}, std::pair{16384, true}}) {
        const std::string path = (folder.path() + "/picture.png").toStdString();
        WritePng(path, side, colour);
        const std::string name = (colour ? "RGB PNG " : "bilevel PNG ") + std::to_string(side) + "\u00b2";
        const TCost inflate = InChild([&] { InflateImageData(path, side, colour ? 24 : 1); });
        PrintRow(name.c_str(), "inflate alone", inflate, inflate);
        PrintRow(name.c_str(), "streamed", InChild([&] { StreamedMaskOf(path); }), inflate);
        PrintRow(name.c_str(), "Qt", InChild([&] { QtMask(path); }), inflate);
        std::remove(path.c_str());
    }
    const std::string bmp = (folder.path() + "/palette.bmp").toStdString();
    WritePaletteBmp(bmp, 16384);
    const TCost read = InChild([&] { ReadOnce(bmp); });
    PrintRow("palette BMP 16384\u00b2", "one read", read, read);
    PrintRow("palette BMP 16384\u00b2", "streamed", InChild([&] { StreamedMaskOf(bmp); }), read);
    PrintRow("palette BMP 16384\u00b2", "Qt", InChild([&] { QtMask(bmp); }), read);
    std::remove(bmp.c_str());
    for (const auto& [side, progressive] : {std::pair{16384, false}, std::pair{8192, true}}) {
        const std::string jpeg = (folder.path() + "/picture.jpg").toStdString();
        WriteJpeg(jpeg, side, progressive);
        const std::string name = (progressive ? "progressive JPEG " : "JPEG ") + std::to_string(side) + "\u00b2";
        const TCost decode = InChild([&] { DecodeJpeg(jpeg); });
        PrintRow(name.c_str(), "libjpeg alone", decode, decode);
        PrintRow(name.c_str(), "streamed", InChild([&] { StreamedMaskOf(jpeg); }), decode);
        PrintRow(name.c_str(), "Qt", InChild([&] { QtMask(jpeg); }), decode);
        std::remove(jpeg.c_str());
    }
    const std::string gif = (folder.path() + "/picture.gif").toStdString();
    WriteGif(gif, 16000); // Qt refuses a GIF of 16384² pixels or more
    const TCost decode = InChild([&] { DecodeGif(gif); });
    PrintRow("GIF 16000\u00b2", "giflib alone", decode, decode);
    PrintRow("GIF 16000\u00b2", "streamed", InChild([&] { StreamedMaskOf(gif); }), decode);
    PrintRow("GIF 16000\u00b2", "Qt", InChild([&] { QtMask(gif); }), decode);
    return 0;
}
