#include "app/engine/fit_warnings.h"
#include "app/engine/scaling_fit.h"
#include "app/engine/scaling_range.h"
#include "app/engine/student_t.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graph/core/error.h"

namespace {

std::vector<TBoxCount> Counts(std::vector<std::pair<int, uint64_t>> pairs)
{
    std::vector<TBoxCount> counts;
    for (const auto& [size, boxes] : pairs)
        counts.push_back({size, boxes});
    return counts;
}

TEST(StudentT95, MatchesTheTables)
{
    const std::pair<int, double> table[] = {{1, 12.7062047}, {2, 4.3026527},  {3, 3.1824463},
                                            {5, 2.5705818},  {10, 2.2281389}, {30, 2.0422725},
                                            {120, 1.9799304}, {200, 1.9718962}, {1000, 1.9623391},
                                            {1000000, 1.9599660}};
    for (const auto& [freedom, t] : table)
        EXPECT_NEAR(StudentT95(freedom), t, 2e-5) << freedom;
    // t falls with every degree of freedom, also where the expansion takes over from
    // the incomplete beta, and stays above the normal quantile.
    for (int freedom = 2; freedom <= 400; ++freedom) {
        EXPECT_LT(StudentT95(freedom), StudentT95(freedom - 1)) << freedom;
        EXPECT_GT(StudentT95(freedom), 1.959964) << freedom;
    }
    EXPECT_THROW(StudentT95(0), TVandrelError);
}

TEST(ScalingFit, StandardErrorAndIntervalOfASmallSetByHand)
{
    // x = log10 d = 0, 1, 2, 3 and y = log10 N = 4, 3, 1, 0; means 1.5 and 2.
    // Sxx = 2.25 + 0.25 + 0.25 + 2.25 = 5, Syy = 4 + 1 + 1 + 4 = 10,
    // Sxy = -3 - 0.5 - 0.5 - 3 = -7: slope -7/5 = -1.4, intercept 2 + 1.4 * 1.5 = 4.1,
    // r = -7 / sqrt(50) = -0.9899495, r² = 0.98. Residual squares 10 - 1.4 * 7 = 0.2,
    // s² = 0.2 / 2 = 0.1, se = sqrt(0.1 / 5) = 0.1414214. t(2 df) = 4.3026527, so
    // D = 1.4 ± 0.6084899: [0.7915101, 2.0084899].
    const auto counts = Counts({{1, 10000}, {10, 1000}, {100, 10}, {1000, 1}});
    const TScalingFit fit = FitScaling(counts);
    EXPECT_EQ(fit.From, 1);
    EXPECT_EQ(fit.To, 1000);
    EXPECT_EQ(fit.Count, 4);
    EXPECT_NEAR(fit.Slope, -1.4, 1e-15);
    EXPECT_NEAR(fit.Intercept, 4.1, 1e-15);
    ASSERT_TRUE(fit.HasCorrelation);
    EXPECT_NEAR(fit.R, -0.98994949, 1e-8);
    EXPECT_NEAR(fit.R2, 0.98, 1e-15);
    ASSERT_TRUE(fit.HasUncertainty);
    EXPECT_NEAR(fit.SlopeStandardError, 0.14142136, 1e-8);
    EXPECT_NEAR(fit.DimensionLow, 0.7915101, 1e-5);
    EXPECT_NEAR(fit.DimensionHigh, 2.0084899, 1e-5);
    ASSERT_EQ(fit.LocalSlopes.size(), 3u);
    EXPECT_NEAR(fit.LocalSlopes[0], -1, 1e-15);
    EXPECT_NEAR(fit.LocalSlopes[1], -2, 1e-15);
    EXPECT_NEAR(fit.LocalSlopes[2], -1, 1e-15);
}

TEST(ScalingFit, AnExactPowerLawHasNoUncertaintyAndTooFewSizesHaveNone)
{
    // The carpet's ideal counts: 8^k boxes of side 3^(5-k).
    const auto carpet = Counts({{1, 32768}, {3, 4096}, {9, 512}, {27, 64}, {81, 8}, {243, 1}});
    const TScalingFit fit = FitScaling(carpet);
    EXPECT_NEAR(-fit.Slope, std::log(8.0) / std::log(3.0), 1e-15);
    EXPECT_NEAR(fit.R, -1, 1e-15);
    EXPECT_NEAR(fit.SlopeStandardError, 0, 1e-9);
    EXPECT_NEAR(fit.DimensionHigh - fit.DimensionLow, 0, 1e-8);
    for (const long double local : fit.LocalSlopes)
        EXPECT_NEAR(local, fit.Slope, 1e-15);

    // The range includes both its ends.
    const TScalingFit two = FitScaling(CountsBetween(carpet, 3, 9));
    EXPECT_EQ(two.Count, 2);
    EXPECT_FALSE(two.HasCorrelation);
    EXPECT_FALSE(two.HasUncertainty);
    const TScalingFit flat = FitScaling(Counts({{1, 5}, {2, 5}, {4, 5}}));
    EXPECT_FALSE(flat.HasCorrelation);
    EXPECT_TRUE(flat.HasUncertainty);
    EXPECT_THROW(FitScaling(CountsBetween(carpet, 2, 8)), TVandrelError);
    EXPECT_THROW(FitScaling(Counts({{1, 5}, {2, 0}})), TVandrelError);
}

TEST(StraightestScalingRange, ChoosesTheStraightPartOfABentSeries)
{
    // log N falls straight at slope -1.6 from d = 2 to 128; at d = 1 the count
    // saturates and above 128 it flattens to slope -0.5, as near a pixel and near
    // the picture's size.
    std::vector<TBoxCount> counts;
    for (int d = 1; d <= 2048; d *= 2) {
        double boxes = 4e6 * std::pow(d, -1.6);
        if (d == 1)
            boxes = 2e6;
        if (d > 128)
            boxes = 4e6 * std::pow(128, -1.6) * std::pow(d / 128.0, -0.5);
        counts.push_back({d, static_cast<uint64_t>(std::llround(boxes))});
    }
    const auto range = StraightestScalingRange(counts);
    ASSERT_EQ(range.size(), 7u);
    EXPECT_EQ(range.front().BoxSize, 2);
    EXPECT_EQ(range.back().BoxSize, 128);
    EXPECT_NEAR(FitScaling(range).Slope, -1.6, 1e-3);
}

TEST(StraightestScalingRange, KeepsAStraightSeriesWholeAndNeverFewerThanFive)
{
    const auto carpet = Counts({{1, 32768}, {3, 4096}, {9, 512}, {27, 64}, {81, 8}, {243, 1}});
    EXPECT_EQ(StraightestScalingRange(carpet).size(), carpet.size());
    const auto three = Counts({{1, 100}, {2, 7}, {4, 50}});
    EXPECT_EQ(StraightestScalingRange(three).size(), 3u);
    // Nothing straight at all: the five neighbours closest to a line.
    std::vector<TBoxCount> zigzag;
    for (int d = 1; d <= 12; ++d)
        zigzag.push_back({d, d % 2 == 0 ? 1000u : 100u});
    EXPECT_EQ(StraightestScalingRange(zigzag).size(), 5u);
    // 100 / d, rounded down: the last count, 2 for 2.5, lies 7 % off the fitted line
    // but within one box of it.
    const auto small = Counts({{1, 100}, {2, 50}, {4, 25}, {8, 12}, {16, 6}, {40, 2}});
    EXPECT_EQ(StraightestScalingRange(small).size(), 6u);
}

TEST(FitWarnings, NameEachReasonToDistrustAFit)
{
    const auto counts = Counts({{10, 50}, {20, 20}, {30, 10}});
    const std::vector<int> sizes = {10, 20, 30};
    const auto warnings = FitWarnings(sizes, FitScaling(counts), {20, 40, 500});
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0], "The fitted box sizes span 0.48 decades, less than one: the slope is poorly determined");
    EXPECT_EQ(warnings[1], "Only 3 box sizes are fitted; at least 5 are needed to judge a straight line");
    EXPECT_EQ(warnings[2], "The shape covers more than half of the picture (500 of 800 pixels): the counts may "
                           "measure the picture rather than the shape");
    EXPECT_EQ(warnings[3], "Box sizes larger than the picture (20 x 40) were counted (largest 30): such boxes no "
                           "longer resolve the shape");
    EXPECT_EQ(FitWarnings(std::vector<int>{0, 10}, FitScaling(counts), {100, 100, 1}).back(),
              "Box sizes below 1 pixel were asked for (smallest 0)");

    const auto carpet = Counts({{1, 32768}, {3, 4096}, {9, 512}, {27, 64}, {81, 8}, {243, 1}});
    const std::vector<int> carpetSizes = {1, 3, 9, 27, 81, 243};
    EXPECT_TRUE(FitWarnings(carpetSizes, FitScaling(carpet), {300, 300, 32768}).empty());
}

}  // namespace
