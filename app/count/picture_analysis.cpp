#include "app/count/picture_analysis.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <new>
#include <thread>

#include "app/engine/box_size_series.h"
#include "app/engine/offset_counts_of_sizes.h"
#include "app/measure/shape_mask.h"
#include "app/picture/bitmap_reader.h"
#include "app/picture/picture_file.h"
#include "app/picture/regular_file.h"
#include "app/picture/streamed_mask.h"
#include "graph/core/error.h"

namespace {

std::string Sha256OfFile(const std::string& path)
{
    QFile file(QFile::decodeName(path.c_str()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        throw TVandrelError("The picture cannot be read again for its SHA-256: " + file.errorString().toStdString());
    return hash.result().toHex().toStdString();
}

TPictureAnalysis AnalyseMask(const TShapeMask& shapeMask, QSize size, const std::string& path,
                             const TShapeChoice& shape, std::span<const int> sizes, const TCountMethod& method)
{
    TPictureAnalysis analysis;
    const auto& [mask, rule] = shapeMask;
    analysis.Foreground = rule;
    analysis.MeasuredArea = static_cast<uint64_t>(mask.Width()) * static_cast<uint64_t>(mask.Height());
    if (shape.Objects) {
        analysis.Objects = MeasureObjects(mask, shape.MinPixels, sizes, method);
        analysis.MinPixels = shape.MinPixels;
        analysis.ShapePixels = mask.SetCount();
    } else {
        static_cast<TShapeMeasurement&>(analysis) =
            MeasureShape(mask, sizes, method, shape.Region ? TMeasuredArea::Region : TMeasuredArea::Picture);
    }
    analysis.File = path;
    analysis.Width = size.width();
    analysis.Height = size.height();
    analysis.Grid = method.Grid;
    analysis.Sizes = method.Sizes;
    analysis.Decades = DecadesSpanned(sizes);
    analysis.Outline = shape.Outline;
    analysis.Region = shape.Region;
    if (method.Details)
        analysis.Sha256 = Sha256OfFile(path);
    return analysis;
}

// What counting takes beside the picture's mask: the outline and the region are masks
// of their own, and boxes laid at every offset need their counters.
uint64_t CountingMemoryNeed(QSize size, const TShapeChoice& shape, std::span<const int> sizes, const TCountMethod& method)
{
    uint64_t need = 0;
    if (shape.Outline || shape.Region)
        need += (static_cast<uint64_t>(size.width()) + 63) / 64 * 8 * static_cast<uint64_t>(size.height());
    if (method.Grid != TGridMode::TopLeft && !sizes.empty())
        need += OffsetCountingMemory(size.width(), size.height(), std::ranges::max(sizes));
    return need;
}

}  // namespace

TPictureAnalysis AnalysePicture(const std::string& path, const TShapeChoice& shape, std::span<const int> sizes,
                                const TCountMethod& method, TMemoryBudget& budget)
{
    if (PictureKindOf(QFile::decodeName(path.c_str())) != TPictureKind::Bitmap) {
        const TRegularFile file(path); // a missing file is a missing file
        throw TVandrelError(kNotABitmap);
    }
    // PNG, BMP, TIFF, JPEG and GIF are decoded a row at a time into the mask, whatever
    // their size; the other kinds (and variants those readers leave out) whole, by Qt.
    if (const std::unique_ptr<TStreamedPicture> picture = OpenStreamedPicture(path)) {
        const QSize size(picture->Width(), picture->Height());
        const uint64_t need = StreamedMemoryNeed(*picture) + CountingMemoryNeed(size, shape, sizes, method);
        RefuseOverBudget(size, need, budget);
        const TMemoryBudget::TReservation reserved = budget.Reserve(need);
        return AnalyseMask(ShapeMaskOf(picture->Mask(shape.Foreground), shape), size, path, shape, sizes, method);
    }
    TBitmapReader reader(path);
    const uint64_t need = PictureMemoryNeed(reader.Size()) + CountingMemoryNeed(reader.Size(), shape, sizes, method);
    RefuseOverBudget(reader.Size(), need, budget);
    // Held until the counting is done: the picture, its mask and the counters.
    const TMemoryBudget::TReservation reserved = budget.Reserve(need);
    const QImage image = reader.Read(budget.Bytes());
    return AnalyseMask(ShapeMaskOf(image, shape), image.size(), path, shape, sizes, method);
}

void AnalysePicturesInOrder(std::span<const std::string> paths, const TShapeChoice& shape, std::span<const int> sizes,
                            const TCountMethod& method, int jobs, TMemoryBudget& budget,
                            const std::function<bool(std::size_t, TPictureOutcome&&)>& deliver)
{
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> stopped = false;
    std::mutex delivery;
    std::map<std::size_t, TPictureOutcome> waiting; // done, behind one still being analysed
    std::size_t nextToDeliver = 0;
    const auto work = [&] {
        for (std::size_t i = next++; i < paths.size() && !stopped; i = next++) {
            TPictureOutcome outcome;
            try {
                outcome.Analysis = AnalysePicture(paths[i], shape, sizes, method, budget);
            } catch (const std::bad_alloc&) {
                outcome.Error = "not enough memory for this picture";
            } catch (const std::exception& error) {
                outcome.Error = error.what();
            }
            const std::scoped_lock lock(delivery);
            waiting.emplace(i, std::move(outcome));
            // Whoever finishes the picture the others wait for writes out the run it ends.
            for (auto first = waiting.begin(); !stopped && first != waiting.end() && first->first == nextToDeliver;
                 first = waiting.begin()) {
                stopped = !deliver(nextToDeliver++, std::move(first->second));
                waiting.erase(first);
            }
        }
    };
    const std::size_t helpers = std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), paths.size());
    std::vector<std::jthread> threads;
    for (std::size_t t = 1; t < helpers; ++t)
        threads.emplace_back(work);
    work();
}
