#include "app/picture/png_rows.h"

#include <spng.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/picture/indexed_mask.h"
#include "app/picture/png_chunk_filter.h"
#include "app/picture/streamed_mask.h"
#include "app/picture/picture_damage.h"

namespace {

constexpr uint64_t kDeflateMostRatio = 1032;

struct TPass {
    int FirstX;
    int StepX;
};
// Adam7: where each pass's pixels stand in their rows.
constexpr TPass kPasses[7] = {{0, 8}, {4, 8}, {0, 4}, {2, 4}, {0, 2}, {1, 2}, {0, 1}};

// Qt reads 16-bit samples into 16-bit pictures and takes them to 8 bits rounded.
constexpr uint32_t EightBits(uint16_t sample)
{
    return (sample + 128u) / 257u;
}

// What libspng may keep of the chunks it is handed (the header, palette and tRNS):
// bounds far above what a valid one needs.
constexpr std::size_t kChunkBytesLimit = std::size_t{1} << 16;
constexpr std::size_t kChunkCacheLimit = std::size_t{1} << 20;

class TContext {
public:
    explicit TContext(const TRegularFile& file) : FContext(spng_ctx_new(SPNG_CTX_IGNORE_ADLER32)), FChunks(file) {}
    ~TContext() { spng_ctx_free(FContext); }
    TContext(const TContext&) = delete;
    TContext& operator=(const TContext&) = delete;

    spng_ctx* Get() const { return FContext; }
    // Returns libspng's error, or 0.
    int Open()
    {
        if (!FContext)
            return SPNG_EMEM;
        // As libpng, which Qt reads with: an ancillary chunk whose checksum is wrong is
        // left out, a critical one is an error.
        if (const int error = spng_set_crc_action(FContext, SPNG_CRC_ERROR, SPNG_CRC_DISCARD))
            return error;
        if (const int error = spng_set_chunk_limits(FContext, kChunkBytesLimit, kChunkCacheLimit))
            return error;
        return spng_set_png_stream(FContext, &TContext::Read, &FChunks);
    }

private:
    static int Read(spng_ctx*, void* chunks, void* bytes, std::size_t length)
    {
        return static_cast<TPngChunkFilter*>(chunks)->Read(std::span(static_cast<uint8_t*>(bytes), length)) ? 0 : SPNG_IO_EOF;
    }

    spng_ctx* FContext;
    TPngChunkFilter FChunks;
};

class TPngRows : public TStreamedPicture, public TIndexedRows {
public:
    // `colours`: those of every sample of a grey or palette picture, when its rows are
    // handed as samples; empty for the rest.
    // `transparent`: the picture has a tRNS chunk.
    TPngRows(TRegularFile file, const spng_ihdr& header, std::vector<TArgb> colours, bool transparent)
        : TStreamedPicture(static_cast<int>(header.width), static_cast<int>(header.height)), FFile(std::move(file)),
          FWide(header.bit_depth == 16), FInterlaced(header.interlace_method != SPNG_INTERLACE_NONE),
          FPlainRgb(header.color_type == SPNG_COLOR_TYPE_TRUECOLOR && header.bit_depth == 8 && !transparent && !FInterlaced),
          FBits(header.bit_depth), FColours(std::move(colours))
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override
    {
        return FColours.empty() ? RunsMask(*this, Width(), Height(), rule) : IndexedMask(*this, Width(), Height(), rule);
    }
    const std::vector<TArgb>& Colours() const override { return FColours; }
    int Bits() const override { return FBits; }

    void ForEachRow(const std::function<void(int y, std::span<const uint8_t> packed)>& visit) override
    {
        std::vector<uint8_t> packed((static_cast<std::size_t>(Width()) * static_cast<std::size_t>(FBits) + 7) / 8);
        Decode(SPNG_FMT_PNG, 0, packed, [&](const spng_row_info& row) { visit(static_cast<int>(row.row_num), packed); });
    }

    void ForEachRun(const TVisit& visit) override
    {
        const auto width = static_cast<std::size_t>(Width());
        std::vector<TArgb> pixels(width);
        if (FPlainRgb) { // spared libspng's expansion to RGBA, a third of its time
            std::vector<uint8_t> stored(width * 3);
            Decode(SPNG_FMT_PNG, 0, stored, [&](const spng_row_info& row) {
                for (std::size_t x = 0; x < width; ++x)
                    pixels[x] = 0xFF000000u | uint32_t{stored[x * 3]} << 16 | uint32_t{stored[x * 3 + 1]} << 8 | stored[x * 3 + 2];
                visit(static_cast<int>(row.row_num), 0, 1, pixels);
            });
            return;
        }
        std::vector<uint8_t> decoded(width * (FWide ? 8 : 4));
        Decode(FWide ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8, SPNG_DECODE_TRNS, decoded, [&](const spng_row_info& row) {
            const TPass pass = FInterlaced ? kPasses[row.pass] : TPass{0, 1};
            std::size_t count = 0;
            for (auto x = static_cast<std::size_t>(pass.FirstX); x < width; x += static_cast<std::size_t>(pass.StepX))
                pixels[count++] = Pixel(decoded, x);
            visit(static_cast<int>(row.row_num), pass.FirstX, pass.StepX, std::span<const TArgb>(pixels.data(), count));
        });
    }

private:
    // Decodes the picture from its start, one row of `format` into `row` at a time, and
    // hands `onRow` where it belongs (its pass, in an interlaced picture).
    template <typename OnRow>
    void Decode(int format, int flags, std::span<uint8_t> row, OnRow&& onRow) const
    {
        TContext context(FFile);
        Check(context.Open());
        Check(spng_decode_image(context.Get(), nullptr, 0, format, flags | SPNG_DECODE_PROGRESSIVE));
        for (;;) {
            spng_row_info info{};
            if (const int error = spng_get_row_info(context.Get(), &info); error == SPNG_EOI)
                return;
            else
                Check(error);
            // The last row comes with the end of the image.
            const int error = spng_decode_row(context.Get(), row.data(), row.size());
            if (error != SPNG_EOI)
                Check(error);
            onRow(info);
            if (error == SPNG_EOI)
                return;
        }
    }

    // Samples in the order R, G, B, A, of 16 bits in the machine's order or of 8.
    TArgb Pixel(const std::vector<uint8_t>& decoded, std::size_t x) const
    {
        if (FWide) {
            uint16_t sample[4];
            std::memcpy(sample, decoded.data() + x * 8, sizeof sample);
            return EightBits(sample[3]) << 24 | EightBits(sample[0]) << 16 | EightBits(sample[1]) << 8 | EightBits(sample[2]);
        }
        const uint8_t* byte = decoded.data() + x * 4;
        return uint32_t{byte[3]} << 24 | uint32_t{byte[0]} << 16 | uint32_t{byte[1]} << 8 | byte[2];
    }

    void Check(int error) const
    {
        if (error != 0)
            ThrowDamaged(FFile.Name(), spng_strerror(error));
    }

    TRegularFile FFile;
    bool FWide;
    bool FInterlaced;
    bool FPlainRgb; // 8-bit RGB, opaque, not interlaced: its rows are taken as stored
    int FBits;
    std::vector<TArgb> FColours;
};

// The colours Qt gives the samples of a grey or palette picture of at most 8 bits that
// is not interlaced (whose passes would need rows of their own); empty for any other.
std::vector<TArgb> SampleColours(spng_ctx* context, const spng_ihdr& header)
{
    const bool palette = header.color_type == SPNG_COLOR_TYPE_INDEXED;
    if (header.bit_depth > 8 || header.interlace_method != SPNG_INTERLACE_NONE ||
        !(palette || header.color_type == SPNG_COLOR_TYPE_GRAYSCALE))
        return {};
    const unsigned count = 1u << header.bit_depth;
    spng_trns transparency{};
    const bool transparent = spng_get_trns(context, &transparency) == 0;
    std::vector<TArgb> colours(count, 0xFF000000u); // indices past the palette: opaque black
    if (palette) {
        spng_plte entries{};
        if (spng_get_plte(context, &entries) != 0)
            return {};
        for (unsigned i = 0; i < std::min(count, entries.n_entries); ++i) {
            const uint32_t alpha = transparent && i < transparency.n_type3_entries ? transparency.type3_alpha[i] : 0xFFu;
            colours[i] = alpha << 24 | uint32_t{entries.entries[i].red} << 16 | uint32_t{entries.entries[i].green} << 8 |
                         entries.entries[i].blue;
        }
        return colours;
    }
    for (unsigned sample = 0; sample < count; ++sample) {
        const uint32_t grey = sample * 255 / (count - 1);
        const uint32_t alpha = transparent && transparency.gray == sample ? 0u : 0xFFu;
        colours[sample] = alpha << 24 | grey << 16 | grey << 8 | grey;
    }
    return colours;
}

}  // namespace

std::unique_ptr<TStreamedPicture> PngRows(TRegularFile file)
{
    TContext context(file);
    spng_ihdr header{};
    int error = context.Open();
    if (error == 0)
        error = spng_get_ihdr(context.Get(), &header);
    if (error != 0)
        ThrowDamaged(file.Name(), spng_strerror(error));
    // Deflate shrinks data at most 1032 times, so a file this short cannot hold the
    // pixels its header claims: refused before a mask is made for them.
    const int channels[] = {1, 0, 3, 1, 2, 0, 4};
    const uint64_t pixelBits = uint64_t{header.width} * header.height * header.bit_depth *
                               static_cast<uint64_t>(channels[std::min<int>(header.color_type, 6)]);
    if (pixelBits / 8 / kDeflateMostRatio > file.Size())
        ThrowDamaged(file.Name(), "its image data is too short for " +
                            std::to_string(header.width) + " \u00d7 " + std::to_string(header.height) + " pixels");
    std::vector<TArgb> colours = SampleColours(context.Get(), header);
    spng_trns transparency{};
    const bool transparent = spng_get_trns(context.Get(), &transparency) == 0;
    return std::make_unique<TPngRows>(std::move(file), header, std::move(colours), transparent);
}
