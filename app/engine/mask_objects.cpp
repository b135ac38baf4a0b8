#include "app/engine/mask_objects.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "graph/core/error.h"

namespace {

// A run's index or its piece's label. Both stay below kNone, which stands for no run
// or no piece.
using TLabel = uint32_t;
constexpr TLabel kNone = std::numeric_limits<TLabel>::max();

std::size_t CountRunsOfMask(const TPixelMask& mask)
{
    std::size_t runs = 0;
    for (int y = 0; y < mask.Height(); ++y)
        runs += CountRuns(mask.Row(y));
    if (runs >= kNone)
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

// The pieces of at least `minPixels` pixels in reading order. Labels follow the first
// pixel of each piece in reading order, so a stable sort by the box's top and left
// settles ties by that pixel.
std::vector<TLabel> KeptInOrder(const std::vector<TMaskObject>& measured, uint64_t minPixels)
{
    std::vector<TLabel> kept;
    for (TLabel piece = 0; piece < measured.size(); ++piece)
        if (measured[piece].Pixels >= minPixels)
            kept.push_back(piece);
    std::stable_sort(kept.begin(), kept.end(), [&](TLabel a, TLabel b) {
        const TMaskRect &boxA = measured[a].Box, &boxB = measured[b].Box;
        return std::pair(boxA.Y, boxA.X) < std::pair(boxB.Y, boxB.X);
    });
    return kept;
}

// Keeps the runs of the pieces kept, in reading order, each labelled with its piece's
// place among them (`rank` of its label).
void DropRunsLeftOut(std::vector<TMaskRun>& runs, std::vector<TLabel>& labels, const std::vector<TLabel>& rank)
{
    std::size_t kept = 0;
    for (std::size_t run = 0; run < runs.size(); ++run)
        if (const TLabel r = rank[labels[run]]; r != kNone) {
            runs[kept] = runs[run];
            labels[kept++] = r;
        }
    if (kept < runs.size()) {
        runs.resize(kept);
        runs.shrink_to_fit();
        labels.resize(kept);
        labels.shrink_to_fit();
    }
}

// Turns each run's label into the link to the next run of its piece (kNone after the
// last) and returns every piece's first run. A link is written only into a run
// already passed, whose label has been read.
std::vector<TLabel> LinkRunsOfPieces(std::vector<TLabel>& labels, std::size_t pieces)
{
    std::vector<TLabel> first(pieces, kNone), last(pieces, kNone);
    for (std::size_t run = 0; run < labels.size(); ++run) {
        const TLabel piece = labels[run];
        if (last[piece] == kNone)
            first[piece] = static_cast<TLabel>(run);
        else
            labels[last[piece]] = static_cast<TLabel>(run);
        last[piece] = static_cast<TLabel>(run);
    }
    for (const TLabel run : last)
        labels[run] = kNone;
    return first;
}

}  // namespace

TPixelMask TMaskObjects::MaskOfObject(std::size_t index) const
{
    if (index >= FObjects.size())
        throw TVandrelError("There is no object " + std::to_string(index + 1) + " among the " +
                            std::to_string(FObjects.size()) + " objects found");
    const TMaskRect& box = FObjects[index].Box;
    TPixelMask mask(box.Width, box.Height);
    for (TLabel run = FFirstRun[index]; run != kNone; run = FNextRun[run])
        MarkRun(mask.Row(FRuns[run].Y - box.Y), FRuns[run].XBegin - box.X, FRuns[run].XEnd - box.X);
    return mask;
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
    const std::vector<TLabel> kept = KeptInOrder(measured, minPixels);

    TMaskObjects found;
    found.FLeftOut = pieces - kept.size();
    std::vector<TLabel> rank(pieces, kNone);
    found.FObjects.reserve(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        rank[kept[i]] = static_cast<TLabel>(i);
        found.FObjects.push_back(measured[kept[i]]);
    }
    measured = {};
    DropRunsLeftOut(runs, parent, rank);
    rank = {};
    found.FFirstRun = LinkRunsOfPieces(parent, kept.size());
    found.FRuns = std::move(runs);
    found.FNextRun = std::move(parent);
    return found;
}
