#pragma once

#include <cstdint>
#include <string>

#include "graph/control/graph_types.h"

// Kinds of mark, by TypeOfMark.
inline constexpr uint8_t kMarkVerticalLine = 0;   // at X1Value
inline constexpr uint8_t kMarkHorizontalLine = 1; // at Y1Value
inline constexpr uint8_t kMarkBox = 2;            // centred on (X1Value, Y1Value), half-side X2Value pixels
inline constexpr uint8_t kMarkLine = 3;           // from (X1Value, Y1Value) to (X2Value, Y2Value)

// A line, box or caption drawn over the graph at data coordinates. A graph keeps
// its marks ordered by ID, one mark per ID.
struct TZemplotMark {
    int32_t ID = 0;
    double X1Value = 0.0;
    double Y1Value = 0.0;
    double X2Value = 0.0;
    double Y2Value = 0.0;
    TColor Color = 0;
    std::string Caption;
    uint8_t TypeOfMark = kMarkVerticalLine;
    bool WhenDrawn = false; // false: before the series; true: over them
    bool operator==(const TZemplotMark&) const = default;
};
