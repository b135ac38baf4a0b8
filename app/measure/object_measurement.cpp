#include "app/measure/object_measurement.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "app/engine/mask_objects.h"

TObjectsMeasurement MeasureObjects(const TPixelMask& mask, uint64_t minPixels, std::span<const int> sizes,
                                   const TCountMethod& method)
{
    const TMaskObjects found = FindObjects(mask, minPixels);
    TCountMethod detailed = method;
    detailed.Details = true;

    TObjectsMeasurement measured;
    measured.LeftOut = found.LeftOut();
    measured.Objects.resize(found.Objects().size());
    std::atomic<std::size_t> next{0};
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), found.Objects().size());
    std::vector<std::exception_ptr> failures(threads);
    const auto measure = [&](std::size_t worker) {
        try {
            for (std::size_t i = next++; i < found.Objects().size(); i = next++) {
                static_cast<TShapeMeasurement&>(measured.Objects[i]) =
                    MeasureShape(found.MaskOfObject(i), sizes, detailed, TMeasuredArea::Piece);
                measured.Objects[i].Box = found.Objects()[i].Box;
            }
        } catch (...) {
            failures[worker] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t worker = 1; worker < threads; ++worker)
            helpers.emplace_back(measure, worker);
        if (threads > 0)
            measure(0);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    return measured;
}
