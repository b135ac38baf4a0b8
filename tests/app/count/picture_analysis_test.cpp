// A picture of a gigapixel, over what Qt decodes, counted as a whole from its file.
#include "app/count/picture_analysis.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <spng.h>

#include <cstdio>
#include <vector>

#include "app/fractal/self_similar_shapes.h"

namespace {

constexpr int kSide = 32768;
constexpr int kCarpetSide = 19683; // 3^9
constexpr int kMargin = 6561;      // 3^8: boxes up to that size are laid along the carpet's edges

// A bilevel PNG of kSide², black on the carpet, written a row at a time.
bool WriteCarpetPng(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_png_file(context, file);
    spng_set_option(context, SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_ihdr header{kSide, kSide, 1, SPNG_COLOR_TYPE_GRAYSCALE, 0, 0, 0};
    spng_set_ihdr(context, &header);
    int error = spng_encode_image(context, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    std::vector<unsigned char> row(kSide / 8);
    for (int y = 0; y < kSide && error == 0; ++y) {
        std::fill(row.begin(), row.end(), 0xFF);
        if (y >= kMargin && y < kMargin + kCarpetSide)
            for (int x = 0; x < kCarpetSide; ++x)
                if (InCarpet(x, y - kMargin)) // black
                    row[(kMargin + x) / 8] &= static_cast<unsigned char>(~(0x80u >> ((kMargin + x) % 8)));
        error = spng_encode_row(context, row.data(), row.size());
    }
    spng_ctx_free(context);
    return std::fclose(file) == 0 && error == SPNG_EOI;
}

TEST(PictureAnalysis, ACarpetOfAGigapixelIsCountedFromItsPngWithTheKnownCounts)
{
    QTemporaryDir folder;
    const std::string path = (folder.path() + "/carpet.png").toStdString();
    ASSERT_TRUE(WriteCarpetPng(path));
    std::vector<int> sizes;
    for (int size = 1; size <= kMargin; size *= 3)
        sizes.push_back(size);
    TMemoryBudget budget(uint64_t{1} << 30);
    const TPictureAnalysis analysis = AnalysePicture(path, TShapeChoice{}, sizes, TCountMethod{}, budget);
    EXPECT_EQ(analysis.Width, kSide);
    EXPECT_EQ(analysis.Height, kSide);
    ASSERT_EQ(analysis.Counts.size(), sizes.size());
    uint64_t boxes = uint64_t{1} << 27; // 8^9 pixels at size 1
    for (const TBoxCount& count : analysis.Counts) {
        EXPECT_EQ(count.Boxes, boxes) << "size " << count.BoxSize;
        boxes /= 8;
    }
}

}  // namespace
