#include "graph/core/integer_conventions.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(IntegerConventions, RoundedTakesHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(Rounded(2.5), 2);
    EXPECT_EQ(Rounded(3.5), 4);
    EXPECT_EQ(Rounded(-2.5), -2);
    EXPECT_EQ(Rounded(2.6), 3);
    EXPECT_EQ(Rounded(-2.6), -3);
}

TEST(IntegerConventions, HalvedAndTruncatedGoTowardZero)
{
    EXPECT_EQ(Halved(7), 3);
    EXPECT_EQ(Halved(-3), -1);
    EXPECT_EQ(Truncated(2.7), 2);
    EXPECT_EQ(Truncated(-2.7), -2);
}

TEST(IntegerConventions, WildValuesSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(Rounded(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(Truncated(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(Rounded(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
