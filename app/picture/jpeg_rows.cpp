#include "app/picture/jpeg_rows.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/picture/indexed_mask.h"
#include "app/picture/jpeg_errors.h"
#include "app/picture/picture_damage.h"
#include "app/picture/streamed_mask.h"
#include "graph/core/error.h"

namespace {

// Scanlines asked of libjpeg at a time: more than any row group it hands at once.
constexpr JDIMENSION kBandRows = 8;

// Qt's decoding keeps 0xAARRGGBB in the machine's order: blue first on this one.
constexpr J_COLOR_SPACE kArgbSpace = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

enum class TJpegPixels { Grey, Colour, Cmyk };

// Runs `step`, a call into libjpeg; false when libjpeg stopped it with an error.
// Nothing with a destructor lives between the jump's start and its end here.
template <typename Step>
bool Completed(TStrictJpegErrors& errors, Step& step)
{
    if (setjmp(errors.Escape) != 0)
        return false;
    step();
    return true;
}

struct TFileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

// One pass of libjpeg over the file, from its start.
class TJpegDecoder {
public:
    explicit TJpegDecoder(const TRegularFile& file) : FName(file.Name())
    {
        const int descriptor = OwnDescriptorAtStart(file);
        FStream.reset(descriptor >= 0 ? ::fdopen(descriptor, "rb") : nullptr);
        if (!FStream) {
            const std::string reason = std::strerror(errno);
            if (descriptor >= 0)
                ::close(descriptor);
            throw TVandrelError("The picture cannot be read: " + FName + " (" + reason + ")");
        }
        UseStrictJpegErrors(FInfo, FErrors);
        try {
            Run([&] {
                jpeg_create_decompress(&FInfo);
                jpeg_stdio_src(&FInfo, FStream.get());
            });
        } catch (...) { // a libjpeg of another version, or no memory
            jpeg_destroy_decompress(&FInfo);
            throw;
        }
    }
    ~TJpegDecoder() { jpeg_destroy_decompress(&FInfo); }
    TJpegDecoder(const TJpegDecoder&) = delete;
    TJpegDecoder& operator=(const TJpegDecoder&) = delete;

    jpeg_decompress_struct& Info() { return FInfo; }

    // Runs `step`, calls into libjpeg; raises the damaged-picture error when libjpeg stops it.
    template <typename Step>
    void Run(Step&& step)
    {
        if (!Completed(FErrors, step))
            ThrowDamaged(FName, FErrors.Reason);
    }

private:
    std::string FName;
    std::unique_ptr<std::FILE, TFileCloser> FStream;
    jpeg_decompress_struct FInfo{};
    TStrictJpegErrors FErrors;
};

std::vector<TArgb> GreyLevels()
{
    std::vector<TArgb> levels(256);
    for (uint32_t level = 0; level < 256; ++level)
        levels[level] = 0xFF000000u | level * 0x010101u;
    return levels;
}

class TJpegRows : public TStreamedPicture, public TIndexedRows {
public:
    TJpegRows(TRegularFile file, int width, int height, TJpegPixels pixels, uint64_t decoderBytes)
        : TStreamedPicture(width, height, decoderBytes), FFile(std::move(file)), FPixels(pixels),
          FColours(pixels == TJpegPixels::Grey ? GreyLevels() : std::vector<TArgb>{})
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override
    {
        return FPixels == TJpegPixels::Grey ? IndexedMask(*this, Width(), Height(), rule)
                                            : RunsMask(*this, Width(), Height(), rule);
    }

    const std::vector<TArgb>& Colours() const override { return FColours; }
    int Bits() const override { return 8; }
    void ForEachRow(const std::function<void(int y, std::span<const uint8_t> packed)>& visit) override
    {
        const auto width = static_cast<std::size_t>(Width());
        Decode(JCS_GRAYSCALE, 1, [&](int y, const JSAMPLE* row) { visit(y, std::span(row, width)); });
    }

    void ForEachRun(const TVisit& visit) override
    {
        const auto width = static_cast<std::size_t>(Width());
        if (FPixels == TJpegPixels::Grey) {
            ForEachIndexedRun(*this, Width(), visit);
        } else if (FPixels == TJpegPixels::Colour) {
            std::vector<TArgb> pixels(width);
            Decode(kArgbSpace, 4, [&](int y, const JSAMPLE* row) {
                std::memcpy(pixels.data(), row, width * sizeof(TArgb));
                visit(y, 0, 1, pixels);
            });
        } else {
            // As Qt takes CMYK to RGB: each of C, M, Y scaled by K, the samples as
            // Adobe stores them (inverted).
            std::vector<TArgb> pixels(width);
            Decode(JCS_CMYK, 4, [&](int y, const JSAMPLE* row) {
                for (std::size_t x = 0; x < width; ++x, row += 4) {
                    const uint32_t k = row[3];
                    pixels[x] = 0xFF000000u | k * row[0] / 255 << 16 | k * row[1] / 255 << 8 | k * row[2] / 255;
                }
                visit(y, 0, 1, pixels);
            });
        }
    }

private:
    // Decodes the picture into `space` (of `components` samples a pixel) a band of
    // scanlines at a time and hands each row to `onRow`; reads on to the end of the
    // image, so that data cut short or corrupt anywhere raises before the last row
    // counts.
    template <typename OnRow>
    void Decode(J_COLOR_SPACE space, int components, OnRow&& onRow)
    {
        TJpegDecoder decoder(FFile);
        jpeg_decompress_struct& info = decoder.Info();
        decoder.Run([&] {
            jpeg_read_header(&info, TRUE);
            info.out_color_space = space;
            jpeg_start_decompress(&info);
        });
        if (info.output_width != static_cast<JDIMENSION>(Width()) || info.output_height != static_cast<JDIMENSION>(Height()))
            ThrowDamaged(FFile.Name(), "it changed while read");
        const std::size_t rowBytes = static_cast<std::size_t>(Width()) * static_cast<std::size_t>(components);
        // Rows of 32-bit pixels start on a word.
        std::vector<TArgb> band((rowBytes * kBandRows + 3) / 4);
        std::vector<JSAMPROW> rows(kBandRows);
        for (JDIMENSION r = 0; r < kBandRows; ++r)
            rows[r] = reinterpret_cast<JSAMPLE*>(band.data()) + r * rowBytes;
        while (info.output_scanline < info.output_height) {
            const auto first = static_cast<int>(info.output_scanline);
            JDIMENSION got = 0;
            decoder.Run([&] { got = jpeg_read_scanlines(&info, rows.data(), kBandRows); });
            for (JDIMENSION r = 0; r < got; ++r)
                onRow(first + static_cast<int>(r), rows[r]);
        }
        decoder.Run([&] { jpeg_finish_decompress(&info); });
    }

    TRegularFile FFile;
    TJpegPixels FPixels;
    std::vector<TArgb> FColours;
};

// What libjpeg holds while it decodes, beside our band of rows: an iMCU row of every
// component with its neighbours for upsampling, and, for a picture of several scans
// (progressive, say), every coefficient of every block, two bytes each.
uint64_t DecoderBytesOf(jpeg_decompress_struct& info, bool severalScans)
{
    const uint64_t width = info.image_width;
    uint64_t bytes = width * (static_cast<uint64_t>(info.num_components) * 64 + 4 * kBandRows);
    if (severalScans)
        for (int c = 0; c < info.num_components; ++c) {
            const jpeg_component_info& component = info.comp_info[c];
            const auto roundUp = [](uint64_t blocks, int factor) { return (blocks + factor - 1) / factor * factor; };
            bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
                     roundUp(component.height_in_blocks, component.v_samp_factor) * DCTSIZE2 * sizeof(JCOEF);
        }
    return bytes;
}

}  // namespace

std::unique_ptr<TStreamedPicture> JpegRows(TRegularFile file)
{
    TJpegPixels pixels = TJpegPixels::Grey;
    bool severalScans = false;
    uint64_t fewestBlocks = 0;
    uint64_t decoderBytes = 0;
    int width = 0;
    int height = 0;
    {
        TJpegDecoder decoder(file);
        jpeg_decompress_struct& info = decoder.Info();
        decoder.Run([&] {
            jpeg_read_header(&info, TRUE);
            severalScans = jpeg_has_multiple_scans(&info) != 0;
        });
        // Arithmetic coding can pack a block of zeros into a sliver of a bit, so no size
        // of file bounds the picture it claims.
        if (info.arith_code)
            return nullptr;
        if (info.out_color_space == JCS_GRAYSCALE && info.num_components == 1)
            pixels = TJpegPixels::Grey;
        else if (info.out_color_space == JCS_RGB && info.num_components == 3)
            pixels = TJpegPixels::Colour;
        else if (info.out_color_space == JCS_CMYK && info.num_components == 4)
            pixels = TJpegPixels::Cmyk;
        else
            return nullptr;
        fewestBlocks = UINT64_MAX;
        for (int c = 0; c < info.num_components; ++c)
            fewestBlocks = std::min<uint64_t>(fewestBlocks, uint64_t{info.comp_info[c].width_in_blocks} *
                                                                info.comp_info[c].height_in_blocks);
        width = static_cast<int>(info.image_width);
        height = static_cast<int>(info.image_height);
        decoderBytes = DecoderBytesOf(info, severalScans);
    }
    // The first scan codes every block of a component at least, each in a Huffman code
    // of one bit at least: a file too short for that cannot hold the picture it claims,
    // and is refused before a mask is made for it.
    if (fewestBlocks > file.Size() * 8)
        ThrowDamaged(file.Name(), "its coded data is too short for " +
                            std::to_string(width) + " \u00d7 " + std::to_string(height) + " pixels");
    return std::make_unique<TJpegRows>(std::move(file), width, height, pixels, decoderBytes);
}
