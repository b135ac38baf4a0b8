#include "app/engine/box_sizes.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(BoxSizes, RunFromTheMinimumByTheStepWhileNotAboveTheMaximum)
{
    EXPECT_EQ(BoxSizes(10, 100, 10), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(BoxSizes(1, 101, 10), (std::vector<int>{1, 11, 21, 31, 41, 51, 61, 71, 81, 91, 101}));
    EXPECT_EQ(BoxSizes(5, 5, 3), std::vector<int>{5});
    EXPECT_EQ(BoxSizes(2, 9, 4), (std::vector<int>{2, 6}));
}

TEST(BoxSizes, NoneWhenTheMinimumIsAboveTheMaximum)
{
    EXPECT_TRUE(BoxSizes(20, 10, 1).empty());
}

TEST(BoxSizes, AHugeStepDoesNotWrapAround)
{
    EXPECT_EQ(BoxSizes(10, INT_MAX, INT_MAX), std::vector<int>{10});
    EXPECT_THROW(BoxSizes(1, 10, 0), std::exception);
}

}  // namespace
