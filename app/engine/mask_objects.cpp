#include "app/engine/mask_objects.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <string>
#include <utility>

#include "graph/core/error.h"

namespace {

// A run's index or its piece's label. Both stay below kLeftOut, which marks the pieces
// that have too few pixels.
using TLabel = uint32_t;
constexpr TLabel kLeftOut = std::numeric_limits<TLabel>::max();

std::size_t CountRunsOfMask(const TPixelMask& mask)
{
    std::size_t runs = 0;
    for (int y = 0; y < mask.Height(); ++y)
        runs += CountRuns(mask.Row(y));
    if (runs >= kLeftOut)
        throw TVandrelError("The picture has too many separate stretches of shape pixels (" + std::to_string(runs) +
                            ") to find its objects");
    return runs;
}

TLabel Root(std::vector<TLabel>& parent, TLabel run)
{
    while (parent[run] != run) {
        parent[run] = parent[parent[run]];
        run = parent[run];
    }
    return run;
}

// The first run of a piece in reading order becomes its root, so every run's parent
// lies at or before it.
void Join(std::vector<TLabel>& parent, TLabel a, TLabel b)
{
    a = Root(parent, a);
    b = Root(parent, b);
    if (a < b)
        parent[b] = a;
    else if (b < a)
        parent[a] = b;
}

// Joins every run of one row with the runs of the row above that it touches, sides or
// corners: [a, b) and [c, d) touch when a <= d and c <= b.
void JoinRows(const std::vector<TMaskRun>& runs, std::vector<TLabel>& parent, std::size_t above, std::size_t aboveEnd,
              std::size_t below, std::size_t belowEnd)
{
    while (above < aboveEnd && below < belowEnd) {
        const TMaskRun& up = runs[above];
        const TMaskRun& down = runs[below];
        if (up.XEnd < down.XBegin) {
            ++above;
        } else if (down.XEnd < up.XBegin) {
            ++below;
        } else {
            Join(parent, static_cast<TLabel>(above), static_cast<TLabel>(below));
            // The run ending first touches nothing further along the other row.
            if (up.XEnd < down.XEnd)
                ++above;
            else
                ++below;
        }
    }
}

// Turns each run's parent into its piece's label, pieces numbered in the order of
// their first runs. A run's parent lies before it and has its label already.
TLabel LabelRuns(std::vector<TLabel>& parent)
{
    TLabel pieces = 0;
    for (std::size_t run = 0; run < parent.size(); ++run)
        parent[run] = parent[run] == run ? pieces++ : parent[parent[run]];
    return pieces;
}

std::vector<TMaskObject> MeasurePieces(const std::vector<TMaskRun>& runs, const std::vector<TLabel>& labels,
                                       TLabel pieces)
{
    std::vector<TMaskObject> measured(pieces);
    for (std::size_t run = 0; run < runs.size(); ++run) {
        const TMaskRun& r = runs[run];
        TMaskObject& piece = measured[labels[run]];
        TMaskRect& box = piece.Box;
        if (piece.Pixels == 0) {
            box = {r.XBegin, r.Y, r.XEnd - r.XBegin, 1};
        } else {
            const int right = std::max(box.X + box.Width, r.XEnd);
            box.X = std::min(box.X, r.XBegin);
            box.Width = right - box.X;
            box.Height = r.Y - box.Y + 1;
        }
        piece.Pixels += static_cast<uint64_t>(r.XEnd - r.XBegin);
    }
    return measured;
}

// Moves every run to `destination[run]`, following the cycles of the permutation.
void MoveRuns(std::vector<TMaskRun>& runs, std::vector<TLabel>& destination)
{
    for (std::size_t run = 0; run < runs.size(); ++run)
        while (destination[run] != run) {
            const TLabel to = destination[run];
            std::swap(runs[run], runs[to]);
            std::swap(destination[run], destination[to]);
        }
}

}  // namespace

std::span<const TMaskRun> TMaskObjects::RunsOf(std::size_t index) const
{
    if (index >= FObjects.size())
        throw TVandrelError("There is no object " + std::to_string(index + 1) + " among the " +
                            std::to_string(FObjects.size()) + " objects found");
    return std::span<const TMaskRun>(FRuns).subspan(FRunStarts[index], FRunStarts[index + 1] - FRunStarts[index]);
}

TMaskObjects FindObjects(const TPixelMask& mask, uint64_t minPixels)
{
    // Counted first, so that neither list grows by doubling past what it needs.
    const std::size_t runCount = CountRunsOfMask(mask);
    std::vector<TMaskRun> runs;
    runs.reserve(runCount);
    std::vector<TLabel> parent(runCount);
    std::size_t above = 0;
    for (int y = 0; y < mask.Height(); ++y) {
        const std::size_t below = runs.size();
        AppendRuns(mask.Row(y), y, runs);
        for (std::size_t run = below; run < runs.size(); ++run)
            parent[run] = static_cast<TLabel>(run);
        JoinRows(runs, parent, above, below, below, runs.size());
        above = below;
    }
    const TLabel pieces = LabelRuns(parent);
    std::vector<TMaskObject> measured = MeasurePieces(runs, parent, pieces);

    // Labels follow the first pixel of each piece in reading order, so a stable sort
    // by the box's top and left settles ties by that pixel.
    std::vector<TLabel> kept;
    for (TLabel piece = 0; piece < pieces; ++piece)
        if (measured[piece].Pixels >= minPixels)
            kept.push_back(piece);
    std::stable_sort(kept.begin(), kept.end(), [&](TLabel a, TLabel b) {
        const TMaskRect &boxA = measured[a].Box, &boxB = measured[b].Box;
        return std::pair(boxA.Y, boxA.X) < std::pair(boxB.Y, boxB.X);
    });

    TMaskObjects found;
    found.FLeftOut = pieces - kept.size();
    std::vector<TLabel> rank(pieces, kLeftOut);
    found.FObjects.reserve(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        rank[kept[i]] = static_cast<TLabel>(i);
        found.FObjects.push_back(measured[kept[i]]);
    }
    measured = {};
    kept = {};

    // Each kept piece's runs in one stretch, in reading order within it; the runs of
    // pieces left out go to the end and are dropped.
    found.FRunStarts.assign(found.FObjects.size() + 1, 0);
    for (std::size_t run = 0; run < runs.size(); ++run)
        if (const TLabel r = rank[parent[run]]; r != kLeftOut)
            ++found.FRunStarts[r + 1];
    std::partial_sum(found.FRunStarts.begin(), found.FRunStarts.end(), found.FRunStarts.begin());
    std::vector<std::size_t> next(found.FRunStarts.begin(), found.FRunStarts.end() - 1);
    std::size_t nextLeftOut = found.FRunStarts.back();
    for (std::size_t run = 0; run < runs.size(); ++run) {
        const TLabel r = rank[parent[run]];
        parent[run] = static_cast<TLabel>(r == kLeftOut ? nextLeftOut++ : next[r]++);
    }
    MoveRuns(runs, parent);
    parent = {};
    runs.resize(found.FRunStarts.back());
    runs.shrink_to_fit();
    found.FRuns = std::move(runs);
    return found;
}

TPixelMask MaskOfObject(const TMaskObjects& objects, std::size_t index)
{
    const std::span<const TMaskRun> runs = objects.RunsOf(index);
    const TMaskRect& box = objects.Objects()[index].Box;
    TPixelMask mask(box.Width, box.Height);
    for (const TMaskRun& run : runs)
        MarkRun(mask.Row(run.Y - box.Y), run.XBegin - box.X, run.XEnd - box.X);
    return mask;
}
