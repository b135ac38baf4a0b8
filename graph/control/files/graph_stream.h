#pragma once

#include <cstdint>
#include <functional>

#include "graph/stream/value_reader.h"
#include "graph/stream/value_writer.h"

class TZemplot;

// Runs `work` with the graph's Plotting off, and puts Plotting back as it was on
// every way out, so that a load paints once, at its end.
void WithPlottingOff(TZemplot& graph, const std::function<void()>& work);

// The series and mark counts of a graph stream and a form description: two untagged
// values, "I" and the integer in the compact style, "S" and the decimal text in the
// named one.
void WriteCountValue(TValueWriter& writer, uint16_t count);
// Takes either style; a count outside 0 to 65535 raises "Stream read error".
uint16_t ReadCountValue(TValueReader& reader);
