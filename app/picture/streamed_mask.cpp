#include "app/picture/streamed_mask.h"

#include <vector>

#include "app/engine/luminance.h"
#include "app/engine/otsu_threshold.h"
#include "app/picture/bmp_rows.h"
#include "app/picture/gif_rows.h"
#include "app/picture/jpeg_rows.h"
#include "app/picture/picture_damage.h"
#include "app/picture/png_rows.h"
#include "app/picture/tiff_rows.h"

std::unique_ptr<TStreamedPicture> OpenStreamedPicture(const std::string& path)
{
    TRegularFile file(path);
    const std::string head = ReadFileBytes(file, 0, 8);
    if (head == std::string("\x89PNG\r\n\x1a\n", 8))
        return PngRows(std::move(file));
    if (head.starts_with("BM"))
        return BmpRows(std::move(file));
    if (head.starts_with(std::string("II*\0", 4)) || head.starts_with(std::string("MM\0*", 4)) ||
        head.starts_with(std::string("II+\0", 4)) || head.starts_with(std::string("MM\0+", 4)))
        return TiffRows(std::move(file));
    if (head.starts_with("\xFF\xD8\xFF"))
        return JpegRows(std::move(file));
    if (head.starts_with("GIF87a") || head.starts_with("GIF89a"))
        return GifRows(std::move(file));
    return nullptr;
}

TForegroundRule ResolvedRule(TArgbRuns& runs, const TForegroundRule& rule)
{
    if (!rule.LevelPending())
        return rule;
    TLuminanceHistogram histogram{};
    runs.ForEachRun([&](int, int, int, std::span<const TArgb> pixels) { AddLuminances(pixels, histogram); });
    return rule.WithOtsuLevel(OtsuThreshold(histogram));
}

TForegroundMask RunsMask(TArgbRuns& runs, int width, int height, const TForegroundRule& rule)
{
    TForegroundMask result{TPixelMask(width, height), ResolvedRule(runs, rule)};
    std::vector<uint64_t> runBits;
    runs.ForEachRun([&](int y, int firstX, int step, std::span<const TArgb> pixels) {
        if (step == 1 && firstX == 0) {
            MarkForeground(pixels, result.Rule, result.Mask.Row(y));
            return;
        }
        // A pass of an interlaced picture: judged together, then spread to their columns.
        runBits.assign((pixels.size() + 63) / 64, 0);
        MarkForeground(pixels, result.Rule, runBits);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (runBits[i / 64] >> (i % 64) & 1u)
                result.Mask.Set(firstX + static_cast<int>(i) * step, y);
    });
    return result;
}

uint64_t StreamedMemoryNeed(const TStreamedPicture& picture)
{
    const auto width = static_cast<uint64_t>(std::max(picture.Width(), 0));
    const auto height = static_cast<uint64_t>(std::max(picture.Height(), 0));
    const uint64_t maskBytes = (width + 63) / 64 * 8 * height;
    // The rows being decoded: libspng's two at 16 bits a channel, ours and their 32-bit
    // copy; a band of BMP rows or codes read at a time; what the decoder holds beside.
    return maskBytes + maskBytes / 2 + width * 32 + kStreamedBandBytes + picture.DecoderBytes();
}
