#pragma once

#include <array>
#include <cstdint>

// A colour as a 32-bit value with red in the low byte: 0x0000FF is red, 0xFF0000 blue.
using TColor = uint32_t;

inline constexpr int RedOf(TColor color) { return static_cast<int>(color & 0xFF); }
inline constexpr int GreenOf(TColor color) { return static_cast<int>((color >> 8) & 0xFF); }
inline constexpr int BlueOf(TColor color) { return static_cast<int>((color >> 16) & 0xFF); }

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clSilver = 0xC0C0C0;

// Pen styles, stored by ordinal.
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
inline constexpr std::array<const char*, 7> kPenStyleNames = {
    "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
