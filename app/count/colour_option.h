#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A colour as people write it: "#RRGGBB" or "RRGGBB" (red first, hexadecimal) or a
// colour name that Qt knows ("black", "darkgreen"). Gives 0xRRGGBB, or nothing when
// the text names no opaque colour.
std::optional<uint32_t> ParseColour(std::string_view text);
