#pragma once

#include <cstdint>
#include <string>

#include "graph/control/graph_types.h"

class TZemplot;

// The drawing of everything in a graph but its series, on the graph's drawing
// canvas. The canvas state each step leaves (pen, brush, font, background) carries
// over to the next.

// Margins and plot background, the three axes, the graph title.
void DrawFrame(TZemplot& graph);
void DrawXAxis(TZemplot& graph);
void DrawYAxis(TZemplot& graph, bool secondAxis);
// A small cross at the data origin.
void DrawCross(TZemplot& graph);
// The marks whose WhenDrawn is `pass`, in ID order.
void DrawMarks(TZemplot& graph, bool pass);
// The text in the caption font, turned by `angle` radians counter-clockwise and set
// `distance` pixels off (x, y) across its baseline.
void DrawRotatedText(TZemplot& graph, int32_t x, int32_t y, const std::string& text, TColor color, int32_t distance,
                     double angle);
void DrawLegend(TZemplot& graph);
