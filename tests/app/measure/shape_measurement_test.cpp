#include "app/measure/shape_measurement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <random>
#include <vector>

#include "app/engine/box_sizes.h"

namespace {

TPixelMask Noise(int side)
{
    std::mt19937 random(3);
    TPixelMask mask(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (random() % 4 == 0)
                mask.Set(x, y);
    return mask;
}

// Large enough that the counting over offsets shares the sizes among threads.
const TPixelMask& Shape()
{
    static const TPixelMask mask = Noise(700);
    return mask;
}

TEST(MeasureShapeProgress, ReportsEverySizeOnceAndCountsAsWithout)
{
    const std::vector<int> sizes = BoxSizes(1, 40, 3);
    for (const TGridMode grid : {TGridMode::TopLeft, TGridMode::All}) {
        const TCountMethod method{.Grid = grid, .Details = true};
        TCountProgress progress;
        std::mutex reports;
        std::vector<std::size_t> done;
        progress.SizeDone = [&](std::size_t sizesDone, std::size_t of) {
            const std::lock_guard lock(reports);
            EXPECT_EQ(of, sizes.size());
            done.push_back(sizesDone);
        };
        const TShapeMeasurement followed = MeasureShape(Shape(), sizes, method, TMeasuredArea::Picture, &progress);
        const TShapeMeasurement plain = MeasureShape(Shape(), sizes, method);
        std::ranges::sort(done);
        std::vector<std::size_t> expected(sizes.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = i + 1;
        EXPECT_EQ(done, expected) << GridModeName(grid);
        ASSERT_EQ(followed.Counts.size(), plain.Counts.size());
        for (std::size_t i = 0; i < plain.Counts.size(); ++i)
            EXPECT_EQ(followed.Counts[i].Boxes, plain.Counts[i].Boxes) << GridModeName(grid) << " " << i;
        EXPECT_EQ(followed.Fit->Slope, plain.Fit->Slope);
    }
}

TEST(MeasureShapeProgress, AStopEndsTheCountingBetweenSizes)
{
    const std::vector<int> sizes = BoxSizes(1, 60, 1);
    for (const TGridMode grid : {TGridMode::TopLeft, TGridMode::Min}) {
        TCountProgress progress;
        std::atomic<std::size_t> reported{0};
        progress.SizeDone = [&](std::size_t, std::size_t) {
            if (++reported == 3)
                progress.Stop = true;
        };
        EXPECT_THROW(MeasureShape(Shape(), sizes, {.Grid = grid}, TMeasuredArea::Picture, &progress), TCountingStopped)
            << GridModeName(grid);
        // Each counting thread finishes the size it holds, and no more.
        EXPECT_LE(reported, 3 + std::thread::hardware_concurrency()) << GridModeName(grid);
    }
}

}  // namespace
