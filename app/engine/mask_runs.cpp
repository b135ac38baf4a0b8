#include "app/engine/mask_runs.h"

#include <bit>

std::size_t CountRuns(std::span<const uint64_t> row)
{
    std::size_t runs = 0;
    uint64_t carry = 0; // the last bit of the word before
    for (const uint64_t bits : row) {
        runs += static_cast<std::size_t>(std::popcount(bits & ~((bits << 1) | carry)));
        carry = bits >> 63;
    }
    return runs;
}

void AppendRuns(std::span<const uint64_t> row, int y, std::vector<TMaskRun>& runs)
{
    constexpr int kNone = -1;
    int openStart = kNone; // a run that reached the end of the word before
    for (std::size_t w = 0; w < row.size(); ++w) {
        uint64_t bits = row[w];
        const int base = static_cast<int>(w * 64);
        if (openStart != kNone) {
            const int ones = std::countr_one(bits);
            if (ones == 64)
                continue;
            runs.push_back({y, openStart, base + ones});
            openStart = kNone;
            bits &= ~uint64_t{0} << ones;
        }
        while (bits != 0) {
            const int start = std::countr_zero(bits);
            const int ones = std::countr_one(bits >> start);
            if (start + ones == 64) {
                openStart = base + start;
                break;
            }
            runs.push_back({y, base + start, base + start + ones});
            bits &= ~uint64_t{0} << (start + ones);
        }
    }
    // Bits past the picture are clear, so a run still open ends at the row's last word,
    // which is then the picture's right edge.
    if (openStart != kNone)
        runs.push_back({y, openStart, static_cast<int>(row.size() * 64)});
}

void MarkRun(std::span<uint64_t> row, int begin, int end)
{
    if (begin >= end)
        return;
    const auto first = static_cast<std::size_t>(begin) / 64, last = static_cast<std::size_t>(end - 1) / 64;
    const uint64_t fromBegin = ~uint64_t{0} << (static_cast<unsigned>(begin) % 64);
    const uint64_t toEnd = ~uint64_t{0} >> (63 - static_cast<unsigned>(end - 1) % 64);
    if (first == last) {
        row[first] |= fromBegin & toEnd;
        return;
    }
    row[first] |= fromBegin;
    for (std::size_t w = first + 1; w < last; ++w)
        row[w] = ~uint64_t{0};
    row[last] |= toEnd;
}
