// Measuring each object of a picture apart against measuring the picture as one
// shape, in the same run, as vandrel-count --objects and vandrel-count measure them,
// on a picture 4096 pixels square holding a 100 x 100 lattice of small shapes
// (squares, rings, discs, diagonal lines and pairs of squares meeting only at a
// corner, 8 to 31 pixels across): 10 000 objects. Sizes 1, 2, 4, ..., 256, every size
// fitted, with the uncertainty of each fit, over all grid offsets (the minimum count)
// and on the top-left grid. Prints both times and their ratio: of the measurement of
// the mask alone, and of the whole analysis of the picture saved as a PNG (reading
// it and building the mask included); and the time of finding the objects.
#include <cstdio>
#include <QDir>
#include <QTemporaryDir>

#include <vector>

#include "app/measure/object_measurement.h"
#include "app/count/picture_analysis.h"
#include "app/measure/shape_measurement.h"
#include "app/engine/box_size_series.h"
#include "app/engine/mask_objects.h"
#include "app/engine/pixel_mask.h"
#include "app/fractal/mask_image.h"
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

volatile long double gSink; // keeps the work from being optimised away

}  // namespace

int main()
{
    const TPixelMask mask = Lattice();
    const std::vector<int> sizes = GeometricBoxSizes(1, 256, 2.0L);
    const double finding = BestSeconds(3, [&] { gSink = static_cast<long double>(FindObjects(mask, 1).LeftOut()); });
    std::printf("%zu objects found in %.1f ms\n", FindObjects(mask, 1).Objects().size(), finding * 1e3);

    const QTemporaryDir folder;
    const std::string path = QDir(folder.path()).filePath("lattice.png").toStdString();
    if (!MaskImage(mask).save(QString::fromStdString(path)))
        return 1;
    TMemoryBudget budget(DefaultMemoryBudget());
    TShapeChoice whole, apart;
    apart.Objects = true;
    apart.MinPixels = 1;

    std::printf("%-8s %12s %15s %7s %20s %20s %7s\n", "grid", "counting ms", "per object ms", "ratio",
                "whole picture run ms", "per object run ms", "ratio");
    for (const TGridMode grid : {TGridMode::Min, TGridMode::TopLeft}) {
        TCountMethod method;
        method.Grid = grid;
        method.Details = true;
        const double counting = BestSeconds(3, [&] { gSink = MeasureShape(mask, sizes, method).Fit->Slope; });
        const double objects =
            BestSeconds(3, [&] { gSink = MeasureObjects(mask, 1, sizes, method).Objects.back().Fit->Slope; });
        const double run = BestSeconds(3, [&] { gSink = AnalysePicture(path, whole, sizes, method, budget).Stats.Slope; });
        const double runApart = BestSeconds(
            3, [&] { gSink = AnalysePicture(path, apart, sizes, method, budget).Objects->Objects.size(); });
        std::printf("%-8s %12.1f %15.1f %6.1fx %20.1f %20.1f %6.1fx\n", GridModeName(grid), counting * 1e3,
                    objects * 1e3, objects / counting, run * 1e3, runApart * 1e3, runApart / run);
    }
    return 0;
}
