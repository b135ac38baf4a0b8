#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Rows of colour indices packed 1, 2, 4 or 8 bits to a byte, the leftmost pixel in the
// highest bits, as PNG, BMP and TIFF store them.

// The index of pixel `j` of a byte that packs pixels of `bits` bits, leftmost highest.
inline unsigned IndexIn(unsigned byte, int j, int bits)
{
    return byte >> (8 - bits * (j + 1)) & ((1u << bits) - 1);
}

// The index of pixel `x` of a row packed so.
inline unsigned PackedIndex(std::span<const uint8_t> packed, std::size_t x, int bits)
{
    const auto perByte = static_cast<std::size_t>(8 / bits);
    return IndexIn(packed[x / perByte], static_cast<int>(x % perByte), bits);
}
