#pragma once

#include <atomic>
#include <cstddef>
#include <functional>

#include "graph/core/error.h"

// Lets a caller on another thread follow a long counting and stop it. The counting
// looks at Stop before each box size and calls SizeDone after each, with the sizes
// done so far and of how many; several counting threads may call it at once.
struct TCountProgress {
    std::atomic<bool> Stop{false};
    std::function<void(std::size_t done, std::size_t of)> SizeDone;
};

// Raised by a counting whose Stop was set: its counts are incomplete and are dropped.
class TCountingStopped : public TVandrelError {
public:
    TCountingStopped() : TVandrelError("The counting was stopped") {}
};

inline bool StopAsked(const TCountProgress* progress)
{
    return progress && progress->Stop.load(std::memory_order_relaxed);
}

inline void ThrowIfStopAsked(const TCountProgress* progress)
{
    if (StopAsked(progress))
        throw TCountingStopped();
}

inline void ReportSizeDone(const TCountProgress* progress, std::size_t done, std::size_t of)
{
    if (progress && progress->SizeDone)
        progress->SizeDone(done, of);
}
