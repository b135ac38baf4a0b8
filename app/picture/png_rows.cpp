#include "app/picture/png_rows.h"

#include <spng.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/picture/picture_damage.h"
#include "graph/core/error.h"

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

class TContext {
public:
    TContext() : FContext(spng_ctx_new(0)) {}
    ~TContext()
    {
        spng_ctx_free(FContext);
        if (FStream)
            std::fclose(FStream);
    }
    TContext(const TContext&) = delete;
    TContext& operator=(const TContext&) = delete;

    spng_ctx* Get() const { return FContext; }
    // Returns libspng's error, or 0.
    int Open(const TRegularFile& file)
    {
        const int descriptor = OwnDescriptorAtStart(file);
        FStream = descriptor >= 0 ? ::fdopen(descriptor, "rb") : nullptr;
        if (!FStream)
            return SPNG_EOF;
        return spng_set_png_file(FContext, FStream);
    }

private:
    spng_ctx* FContext;
    std::FILE* FStream = nullptr;
};

class TPngRows : public TArgbRowSource {
public:
    TPngRows(TRegularFile file, const spng_ihdr& header)
        : TArgbRowSource(static_cast<int>(header.width), static_cast<int>(header.height)), FFile(std::move(file)),
          FWide(header.bit_depth == 16), FInterlaced(header.interlace_method != SPNG_INTERLACE_NONE)
    {
    }

    void ForEachRun(const TVisit& visit) override
    {
        TContext context;
        Check(context.Open(FFile));
        const int format = FWide ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
        Check(spng_decode_image(context.Get(), nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE));
        const auto width = static_cast<std::size_t>(Width());
        std::vector<uint16_t> decoded(width * 4); // wide enough for either format
        std::vector<TArgb> pixels(width);
        const std::size_t rowBytes = width * (FWide ? 8 : 4);
        for (;;) {
            spng_row_info row{};
            if (const int error = spng_get_row_info(context.Get(), &row); error == SPNG_EOI)
                return;
            else
                Check(error);
            // The last row comes with the end of the image.
            const int error = spng_decode_row(context.Get(), decoded.data(), rowBytes);
            if (error != SPNG_EOI)
                Check(error);
            const TPass pass = FInterlaced ? kPasses[row.pass] : TPass{0, 1};
            std::size_t count = 0;
            for (std::size_t x = static_cast<std::size_t>(pass.FirstX); x < width; x += static_cast<std::size_t>(pass.StepX))
                pixels[count++] = Pixel(decoded, x);
            visit(static_cast<int>(row.row_num), pass.FirstX, pass.StepX, std::span<const TArgb>(pixels.data(), count));
            if (error == SPNG_EOI)
                return;
        }
    }

private:
    TArgb Pixel(const std::vector<uint16_t>& decoded, std::size_t x) const
    {
        if (FWide) {
            const uint16_t* sample = decoded.data() + x * 4;
            return EightBits(sample[3]) << 24 | EightBits(sample[0]) << 16 | EightBits(sample[1]) << 8 | EightBits(sample[2]);
        }
        const auto* byte = reinterpret_cast<const unsigned char*>(decoded.data()) + x * 4;
        return uint32_t{byte[3]} << 24 | uint32_t{byte[0]} << 16 | uint32_t{byte[1]} << 8 | byte[2];
    }

    void Check(int error) const
    {
        if (error != 0)
            throw TVandrelError("The picture is damaged or incomplete: " + FFile.Name() + " (" + spng_strerror(error) + ")");
    }

    TRegularFile FFile;
    bool FWide;
    bool FInterlaced;
};

}  // namespace

std::unique_ptr<TArgbRowSource> PngRows(TRegularFile file)
{
    TContext context;
    spng_ihdr header{};
    int error = context.Open(file);
    if (error == 0)
        error = spng_get_ihdr(context.Get(), &header);
    if (error != 0)
        throw TVandrelError("The picture is damaged or incomplete: " + file.Name() + " (" + spng_strerror(error) + ")");
    // Deflate shrinks data at most 1032 times, so a file this short cannot hold the
    // pixels its header claims: refused before a mask is made for them.
    const int channels[] = {1, 0, 3, 1, 2, 0, 4};
    const uint64_t pixelBits = uint64_t{header.width} * header.height * header.bit_depth *
                               static_cast<uint64_t>(channels[std::min<int>(header.color_type, 6)]);
    if (pixelBits / 8 / kDeflateMostRatio > file.Size())
        throw TVandrelError("The picture is damaged or incomplete: " + file.Name() + " (its image data is too short for " +
                            std::to_string(header.width) + " \u00d7 " + std::to_string(header.height) + " pixels)");
    return std::make_unique<TPngRows>(std::move(file), header);
}
