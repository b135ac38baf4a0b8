// Measuring each object of a picture apart against measuring the picture as one
// shape, in the same run, on a picture 4096 pixels square holding a 100 x 100 lattice
// of small shapes (squares, rings, discs, diagonal lines and pairs of squares meeting
// only at a corner, 8 to 31 pixels across): 10 000 objects. Sizes 1, 2, 4, ..., 256,
// then the fit. Over all grid offsets (the minimum count; a picture this large is
// counted on every core, an object on the calling thread) and on the top-left grid.
// Prints both times and their ratio; the per-object time also with the sizes cut at
// 32 (no object is wider, so every larger size counts 1 box), to show what the sizes
// far larger than an object cost; and the time of finding the objects and of the
// fits alone.

#include <cstdio>
#include <functional>
#include <span>
#include <vector>

#include "app/engine/box_counter.h"
#include "app/engine/box_size_series.h"
#include "app/engine/mask_objects.h"
#include "app/engine/offset_counts_of_sizes.h"
#include "app/engine/pixel_mask.h"
#include "app/engine/scaling_fit.h"
#include "bench/best_seconds.h"

namespace {

constexpr int kSide = 4096;
constexpr int kLattice = 100;
constexpr int kCell = 40;

void FillSquare(TPixelMask& mask, int left, int top, int side)
{
    for (int y = top; y < top + side; ++y)
        for (int x = left; x < left + side; ++x)
            mask.Set(x, y);
}

// One shape of `side` pixels across with its top-left corner at (left, top).
void DrawShape(TPixelMask& mask, int kind, int left, int top, int side)
{
    const int half = side / 2;
    switch (kind) {
    case 0:
        FillSquare(mask, left, top, side);
        break;
    case 1: // ring
        for (int i = 0; i < side; ++i) {
            mask.Set(left + i, top), mask.Set(left + i, top + side - 1);
            mask.Set(left, top + i), mask.Set(left + side - 1, top + i);
        }
        break;
    case 2: // disc
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if ((2 * x - side + 1) * (2 * x - side + 1) + (2 * y - side + 1) * (2 * y - side + 1) <= side * side)
                    mask.Set(left + x, top + y);
        break;
    case 3: // joined through diagonal neighbours only
        for (int i = 0; i < side; ++i)
            mask.Set(left + i, top + i);
        break;
    default: // two squares meeting at a corner: one object with eight neighbours, two with four
        FillSquare(mask, left, top, half);
        FillSquare(mask, left + half, top + half, side - half);
        break;
    }
}

TPixelMask Lattice()
{
    TPixelMask mask(kSide, kSide);
    for (int row = 0; row < kLattice; ++row)
        for (int column = 0; column < kLattice; ++column)
            DrawShape(mask, (row * 3 + column) % 5, 4 + column * kCell, 4 + row * kCell,
                      8 + (row * 7 + column * 13) % 24);
    return mask;
}

using TCounting = std::function<std::vector<TBoxCount>(const TPixelMask&, const std::vector<int>&)>;

std::vector<TBoxCount> MinimumOverOffsets(const TPixelMask& mask, const std::vector<int>& sizes)
{
    const std::vector<TOffsetCounts> counts = CountOverOffsets(mask, sizes);
    std::vector<TBoxCount> fitted;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        fitted.push_back({sizes[i], counts[i].Min});
    return fitted;
}

std::vector<TBoxCount> TopLeftGrid(const TPixelMask& mask, const std::vector<int>& sizes)
{
    TBoxCounter counter(mask);
    std::vector<TBoxCount> counts;
    for (const int d : sizes)
        counts.push_back({d, counter.Count(d)});
    return counts;
}

volatile long double gSink; // keeps the work from being optimised away

double WholeSeconds(const TPixelMask& mask, const std::vector<int>& sizes, const TCounting& counting)
{
    return BestSeconds(3, [&] { gSink = FitScaling(counting(mask, sizes)).Slope; });
}

double PerObjectSeconds(const TPixelMask& mask, const std::vector<int>& sizes, const TCounting& counting)
{
    return BestSeconds(3, [&] {
        const TMaskObjects found = FindObjects(mask, 1);
        long double total = 0.0L;
        for (std::size_t i = 0; i < found.Objects().size(); ++i)
            total += FitScaling(counting(found.MaskOfObject(i), sizes)).Slope;
        gSink = total;
    });
}

}  // namespace

int main()
{
    const TPixelMask mask = Lattice();
    const std::vector<int> sizes = GeometricBoxSizes(1, 256, 2.0L);
    const std::vector<int> upTo32 = GeometricBoxSizes(1, 32, 2.0L);
    const TMaskObjects found = FindObjects(mask, 1);
    const double finding = BestSeconds(3, [&] { gSink = static_cast<long double>(FindObjects(mask, 1).LeftOut()); });
    std::vector<std::vector<TBoxCount>> counts;
    for (std::size_t i = 0; i < found.Objects().size(); ++i)
        counts.push_back(TopLeftGrid(found.MaskOfObject(i), sizes));
    const double fitting = BestSeconds(3, [&] {
        for (const std::vector<TBoxCount>& objectCounts : counts)
            gSink = FitScaling(objectCounts).Slope;
    });
    std::printf("%zu objects found in %.1f ms; their fits alone take %.1f ms\n", found.Objects().size(),
                finding * 1e3, fitting * 1e3);
    struct TCase { const char* Name; TCounting Counting; };
    const TCase cases[] = {{"all offsets", MinimumOverOffsets}, {"topleft", TopLeftGrid}};
    std::printf("%-12s %10s %15s %7s %21s\n", "grid", "whole ms", "per object ms", "ratio", "per object d<=32 ms");
    for (const TCase& c : cases) {
        const double whole = WholeSeconds(mask, sizes, c.Counting);
        const double apart = PerObjectSeconds(mask, sizes, c.Counting);
        const double apartSmall = PerObjectSeconds(mask, upTo32, c.Counting);
        std::printf("%-12s %10.1f %15.1f %6.1fx %21.1f\n", c.Name, whole * 1e3, apart * 1e3, apart / whole,
                    apartSmall * 1e3);
    }
    return 0;
}
