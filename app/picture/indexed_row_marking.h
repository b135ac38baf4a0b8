#pragma once

#include <array>
#include <cstdint>
#include <span>

// Marks the pixels of rows of packed indices (1, 2, 4 or 8 bits, the leftmost pixel in
// the highest bits) whose colour a rule takes, judged once for each index beforehand:
// a byte of indices is looked up whole, and 8-bit indices go 32 at a time by AVX2 where
// the processor has it (VANDREL_NO_AVX2 turns that off, as for the row kernels).
class TIndexedRowMarker {
public:
    // `taken`: a bit for each index, index i at bit i % 64 of word i / 64.
    TIndexedRowMarker(int bits, const std::array<uint64_t, 4>& taken);

    // Sets the bits of `maskRow` of the first `width` pixels of `packed` that are taken.
    void Mark(std::span<const uint8_t> packed, int width, std::span<uint64_t> maskRow) const;

private:
    bool Takes(unsigned index) const { return (FTaken[index / 64] >> (index % 64) & 1u) != 0; }

    int FBits;
    std::array<uint64_t, 4> FTaken;
    // The mask bits of every byte's pixels, the leftmost lowest as the mask holds them.
    std::array<uint8_t, 256> FByteBits{};
    // For 8-bit indices by their low four bits: bit h of the first is index 16h + low
    // (h < 8), of the second index 16(h + 8) + low.
    std::array<uint8_t, 16> FLowerHalf{};
    std::array<uint8_t, 16> FUpperHalf{};
};
