#pragma once

#include <cstdint>
#include <functional>
#include <variant>

class TCanvas;
class TSeries;
class TZemplot;

// Who raised a series event: the graph, or the series itself (a series being
// deleted, or one that cannot be drawn on a logarithmic axis).
using TSeriesEventSender = std::variant<TZemplot*, TSeries*>;
// `index` is the series' number.
using TSeriesEvent = std::function<void(TSeriesEventSender sender, int32_t index)>;
using TNotifyEvent = std::function<void(TZemplot& sender)>;
// Raised with the canvas just drawn on, so that a handler can draw over the graph.
using TPaintEvent = std::function<void(TZemplot& sender, TCanvas& canvas)>;
