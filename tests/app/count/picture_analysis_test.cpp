// Pictures over what Qt decodes (a gigapixel, a BMP wider than Qt reads) counted as a
// whole from their files.
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

TEST(PictureAnalysis, ABmpWiderThanQtReadsIsCounted)
{
    // 70000 by 3 pixels, one bit each, black where x is a multiple of 7: Qt gives no
    // size for a BMP this wide, so the whole-picture path refuses it.
    constexpr int kWidth = 70000;
    constexpr int kRowBytes = (kWidth + 31) / 32 * 4;
    std::string bytes(14 + 40 + 8, '\0');
    const auto put = [&](std::size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + std::size_t(i)] = char(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(10, 14 + 40 + 8);
    put(14, 40);
    put(18, kWidth);
    put(22, 3);
    put(26, 1 | 1 << 16); // one plane, one bit
    put(58, 0xFFFFFF);    // colour 1 white, colour 0 black
    for (int y = 0; y < 3; ++y)
        for (int byte = 0; byte < kRowBytes; ++byte) {
            unsigned bits = 0xFF;
            for (int i = 0; i < 8; ++i)
                if ((byte * 8 + i) % 7 == 0 && byte * 8 + i < kWidth)
                    bits &= ~(0x80u >> i);
            bytes += char(bits);
        }
    QTemporaryDir folder;
    const std::string path = (folder.path() + "/wide.bmp").toStdString();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    TMemoryBudget budget(uint64_t{1} << 30);
    const std::vector<int> sizes{1, 7};
    const TPictureAnalysis analysis = AnalysePicture(path, TShapeChoice{}, sizes, TCountMethod{}, budget);
    EXPECT_EQ(analysis.Width, kWidth);
    ASSERT_EQ(analysis.Counts.size(), 2u);
    EXPECT_EQ(analysis.Counts[0].Boxes, 3u * 10000);
    EXPECT_EQ(analysis.Counts[1].Boxes, 10000u);
}

}  // namespace
