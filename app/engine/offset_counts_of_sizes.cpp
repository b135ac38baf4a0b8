#include "app/engine/offset_counts_of_sizes.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <exception>
#include <iterator>
#include <thread>

#include "graph/core/error.h"

namespace {

// Below this many pixels times sizes, one thread finishes before a second would
// have started paying off.
constexpr double kThreadedWorkLimit = 4e6;

std::size_t CountingThreads(const TPixelMask& mask, std::size_t sizes)
{
    const double work = static_cast<double>(mask.Width()) * mask.Height() * static_cast<double>(sizes);
    return work < kThreadedWorkLimit ? 1 : std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), sizes);
}

// The rows and columns from the first to the last that hold a set bit, less one
// each: the set bits' extent. The mask holds at least one set bit.
long long ExtentBeyondOne(const TPixelMask& mask)
{
    int top = -1, bottom = -1, left = mask.Width(), right = -1;
    for (int y = 0; y < mask.Height(); ++y) {
        const std::span<const uint64_t> row = mask.Row(y);
        for (std::size_t w = 0; w < row.size(); ++w) {
            if (row[w] == 0)
                continue;
            top = top < 0 ? y : top;
            bottom = y;
            left = std::min(left, static_cast<int>(w * 64) + std::countr_zero(row[w]));
            right = std::max(right, static_cast<int>(w * 64) + 63 - std::countl_zero(row[w]));
        }
    }
    return static_cast<long long>(bottom - top) + (right - left);
}

// A box at least as large as the picture both ways: a grid line crosses the picture at
// most once each way, at offsets 1 to W - 1 across and 1 to H - 1 down; every other
// offset leaves it whole that way. So the counts of a size d beyond the picture's
// larger side L follow from those of L: the least count is the one box at (0, 0), the
// largest is L's, and the total over the offsets grows, from L to d, by (d - L) times
// the totals over the offsets that cut only one way, W + H plus the set bits' extent,
// and by the offsets that cut neither way, each with one box.
TOffsetCounts CountsBeyondPicture(const TOffsetCounts& atSide, int side, int width, int height, long long extent,
                                  int boxSize)
{
    const auto whole = [&](long long d) { return (d - width) * (d - height); };
    const long long sideTotal = std::llround(atSide.Mean * side * side);
    const long long total =
        sideTotal + (boxSize - side) * (width + height + extent) + whole(boxSize) - whole(side);
    return {1, 1, atSide.Max, static_cast<double>(total) / (static_cast<double>(boxSize) * boxSize)};
}

// Counts every size given, the work shared among the cores when it pays.
std::vector<TOffsetCounts> CountEach(const TPixelMask& mask, const std::vector<int>& boxSizes,
                                     TCountProgress* progress)
{
    std::vector<TOffsetCounts> counts(boxSizes.size());
    const std::size_t threads = CountingThreads(mask, boxSizes.size());

    // Each counter grows its boxes from the size before, so the sizes go out
    // smallest first.
    std::vector<std::size_t> order(boxSizes.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return boxSizes[a] < boxSizes[b]; });

    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::vector<std::exception_ptr> failures(threads);
    const auto countSizes = [&](std::size_t worker) {
        try {
            TOffsetCounter counter(mask);
            for (std::size_t i = next++; i < order.size() && !StopAsked(progress); i = next++) {
                counts[order[i]] = counter.Count(boxSizes[order[i]]);
                ReportSizeDone(progress, ++done, order.size());
            }
        } catch (...) {
            failures[worker] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t worker = 1; worker < threads; ++worker)
            helpers.emplace_back(countSizes, worker);
        countSizes(0);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    ThrowIfStopAsked(progress);
    return counts;
}

}  // namespace

std::vector<TOffsetCounts> CountOverOffsets(const TPixelMask& mask, const std::vector<int>& boxSizes,
                                            TCountProgress* progress)
{
    for (const int boxSize : boxSizes)
        if (boxSize < 1)
            throw TVandrelError("A box size must be at least 1");
    const int side = std::max(mask.Width(), mask.Height());
    if (mask.Empty() || std::ranges::none_of(boxSizes, [&](int d) { return d > side; }))
        return CountEach(mask, boxSizes, progress);

    std::vector<int> within;
    std::ranges::copy_if(boxSizes, std::back_inserter(within), [&](int d) { return d <= side; });
    within.push_back(side);
    const std::vector<TOffsetCounts> counted = CountEach(mask, within, progress);
    const long long extent = ExtentBeyondOne(mask);
    std::vector<TOffsetCounts> counts;
    auto next = counted.begin();
    for (const int boxSize : boxSizes)
        counts.push_back(boxSize <= side
                             ? *next++
                             : CountsBeyondPicture(counted.back(), side, mask.Width(), mask.Height(), extent, boxSize));
    return counts;
}

uint64_t OffsetCountingMemory(int width, int height, int largestBoxSize)
{
    const auto d = static_cast<uint64_t>(std::clamp(largestBoxSize, 1, std::max({width, height, 1})));
    // The rows of box bits, widened half again when they grow, and a row for each sum plane.
    const uint64_t rowWords = (static_cast<uint64_t>(width) + d + 63) / 64 * 3 / 2 + 1;
    const uint64_t counterBytes = (static_cast<uint64_t>(height) + d + 64) * rowWords * 8;
    return counterBytes * std::max(1u, std::thread::hardware_concurrency());
}
