#include "app/engine/box_size_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "graph/core/error.h"

namespace {

TEST(GeometricBoxSizes, RoundEachPowerOfTheRatioAndDropRepeats)
{
    EXPECT_EQ(GeometricBoxSizes(1, 256, 2), (std::vector<int>{1, 2, 4, 8, 16, 32, 64, 128, 256}));
    EXPECT_EQ(GeometricBoxSizes(3, 243, 3), (std::vector<int>{3, 9, 27, 81, 243}));
    EXPECT_EQ(GeometricBoxSizes(3, 242, 3), (std::vector<int>{3, 9, 27, 81}));
    // 1.5^k: 1, 1.5, 2.25, 3.375, 5.06, 7.59, 11.4, 17.1, 25.6, 38.4, 57.7, 86.498, 129.7
    EXPECT_EQ(GeometricBoxSizes(1, 100, 1.5L), (std::vector<int>{1, 2, 3, 5, 8, 11, 17, 26, 38, 58, 86}));
    EXPECT_EQ(GeometricBoxSizes(7, 6, 2), std::vector<int>{});
}

TEST(GeometricBoxSizes, EqualTheSetOfEveryRoundedPowerWhileNotAboveTheMaximum)
{
    for (const long double ratio : {1.0001L, 1.01L, 1.1L, 1.2345L, 2.5L, 3.0L, 10.0L}) {
        for (const int minimum : {1, 2, 7}) {
            std::set<int> expected;
            for (long double exact = minimum; std::llround(exact) <= 5000; exact *= ratio)
                expected.insert(static_cast<int>(std::llround(exact)));
            const std::vector<int> sizes = GeometricBoxSizes(minimum, 5000, ratio);
            EXPECT_EQ(sizes, std::vector<int>(expected.begin(), expected.end())) << ratio << " " << minimum;
        }
    }
}

TEST(GeometricBoxSizes, RefuseARatioNotAboveOneAndASizeBelowOne)
{
    EXPECT_THROW(GeometricBoxSizes(1, 100, 1), TVandrelError);
    EXPECT_THROW(GeometricBoxSizes(1, 100, 0.5L), TVandrelError);
    EXPECT_THROW(GeometricBoxSizes(1, 100, std::numeric_limits<long double>::quiet_NaN()), TVandrelError);
    EXPECT_THROW(GeometricBoxSizes(0, 100, 2), TVandrelError);
    EXPECT_EQ(GeometricBoxSizes(5, 100, std::numeric_limits<long double>::infinity()), std::vector<int>{5});
}

TEST(BoxSizeList, IsSortedWithEachSizeOnce)
{
    EXPECT_EQ(ParseBoxSizeList("1,3,9,27,81,243"), (std::vector<int>{1, 3, 9, 27, 81, 243}));
    EXPECT_EQ(ParseBoxSizeList(" 27, 3 ,3,\t1"), (std::vector<int>{1, 3, 27}));
    EXPECT_EQ(ParseBoxSizeList("65535"), std::vector<int>{65535});
}

TEST(BoxSizeList, RefusesAnythingButWholeSizesFrom1To65535)
{
    for (const char* text : {"", " ", "1,,3", "1,3,", ",1", "0", "65536", "1.5", "3a", "a", "-3", "+3", "1;3",
                             "99999999999999999999"})
        EXPECT_THROW(ParseBoxSizeList(text), TVandrelError) << text;
    try {
        ParseBoxSizeList("1, 2x");
        FAIL();
    } catch (const TVandrelError& error) {
        EXPECT_STREQ(error.what(),
                     "Not a box size: \" 2x\" (box sizes are whole numbers from 1 to 65535, separated by commas)");
    }
}

TEST(DecadesSpanned, IsLog10OfLargestOverSmallest)
{
    EXPECT_NEAR(DecadesSpanned(std::vector<int>{1, 3, 9, 27, 81, 243}), std::log10(243.0), 1e-15);
    EXPECT_NEAR(DecadesSpanned(std::vector<int>{100, 10}), 1.0, 1e-15);
    EXPECT_EQ(DecadesSpanned(std::vector<int>{}), 0.0L);
}

}  // namespace
