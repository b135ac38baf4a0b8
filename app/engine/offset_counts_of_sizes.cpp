#include "app/engine/offset_counts_of_sizes.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "graph/core/error.h"

namespace {

// Below this many pixels times sizes, one thread finishes before a second would
// have started paying off.
constexpr double kThreadedWorkLimit = 4e6;

}  // namespace

std::vector<TOffsetCounts> CountOverOffsets(const TPixelMask& mask, const std::vector<int>& boxSizes)
{
    for (const int boxSize : boxSizes)
        if (boxSize < 1)
            throw TVandrelError("A box size must be at least 1");
    std::vector<TOffsetCounts> counts(boxSizes.size());
    const double work = static_cast<double>(mask.Width()) * mask.Height() * static_cast<double>(boxSizes.size());
    const std::size_t threads = work < kThreadedWorkLimit
        ? 1
        : std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), boxSizes.size());

    // Each counter grows its boxes from the size before, so the sizes go out
    // smallest first.
    std::vector<std::size_t> order(boxSizes.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return boxSizes[a] < boxSizes[b]; });

    std::atomic<std::size_t> next{0};
    std::vector<std::exception_ptr> failures(threads);
    const auto countSizes = [&](std::size_t worker) {
        try {
            TOffsetCounter counter(mask);
            for (std::size_t i = next++; i < order.size(); i = next++)
                counts[order[i]] = counter.Count(boxSizes[order[i]]);
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
    return counts;
}
