#include "app/engine/otsu_threshold.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/error_message.h"

namespace {

// Otsu's level from its other face: the split with the least variance within the two
// classes, in floating point; the first of equal ones (to rounding) wins, moved to the
// middle of the empty levels after it.
int BruteForceOtsu(const TLuminanceHistogram& histogram)
{
    int best = -1;
    long double least = 0;
    for (int split = 0; split < 255; ++split) {
        long double within = 0;
        bool bothClasses = true;
        for (const auto& [from, to] : {std::pair{0, split}, std::pair{split + 1, 255}}) {
            long double count = 0, sum = 0;
            for (int level = from; level <= to; ++level) {
                count += histogram[level];
                sum += static_cast<long double>(histogram[level]) * level;
            }
            bothClasses &= count > 0;
            for (int level = from; level <= to && count > 0; ++level)
                within += histogram[level] * (level - sum / count) * (level - sum / count);
        }
        if (bothClasses && (best < 0 || within < least * (1 - 1e-12L))) {
            best = split;
            least = within;
        }
    }
    int next = best + 1;
    while (best >= 0 && next < 256 && histogram[next] == 0)
        ++next;
    return best < 0 || next == 256 ? best : (best + next - 1) / 2;
}

}  // namespace

// Random histograms, sparse and dense, a third of them mirrored around 127.5 so that
// the splits N and 254 - N tie and the lower must win.
TEST(OtsuThreshold, AgreesWithTheLeastVarianceWithinTheClasses)
{
    std::mt19937 random(23);
    for (int trial = 0; trial < 400; ++trial) {
        TLuminanceHistogram histogram{};
        for (int i = 2 + static_cast<int>(random() % 40); i > 0; --i)
            histogram[random() % 256] += random() % (trial % 3 == 0 ? 5 : 100000);
        for (std::size_t level = 0; level < 128 && trial % 3 == 1; ++level)
            histogram[255 - level] = histogram[level];
        if (BruteForceOtsu(histogram) >= 0) {
            ASSERT_EQ(OtsuThreshold(histogram), BruteForceOtsu(histogram)) << "trial " << trial;
        }
    }
}

TEST(OtsuThreshold, SplitsTwoGreysHalfwayAndNamesOneGreyItself)
{
    TLuminanceHistogram histogram{};
    histogram[40] = 900;
    histogram[200] = 100;
    EXPECT_EQ(OtsuThreshold(histogram), 119);
    histogram = {};
    histogram[77] = 5;
    EXPECT_EQ(OtsuThreshold(histogram), 77);
    EXPECT_EQ(OtsuThreshold(TLuminanceHistogram{}), 0);
    histogram[200] = uint64_t{1} << 40;
    EXPECT_EQ(MessageOf([&] { OtsuThreshold(histogram); }), "Too many pixels for Otsu's method");
}
