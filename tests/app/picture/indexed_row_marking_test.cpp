// Rows of packed indices marked a byte, a word or 32 indices at a time give the bits
// that judging each pixel by its index gives.
#include "app/picture/indexed_row_marking.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(IndexedRowMarker, MarksWhatEachPixelsIndexSaysForAnyTakenSetWidthAndDepth)
{
    std::mt19937_64 random(3);
    for (const int bits : {1, 2, 4, 8})
        for (int trial = 0; trial < 200; ++trial) {
            // Sets from empty to full, and sparse or dense between.
            std::array<uint64_t, 4> taken{};
            const int density = trial % 5;
            for (uint64_t& word : taken)
                word = density == 0 ? 0 : density == 4 ? ~uint64_t{0} : density == 1 ? random() & random() & random() : random();
            const int width = 1 + int(random() % 300);
            std::vector<uint8_t> packed((std::size_t(width) * std::size_t(bits) + 7) / 8 + 3);
            for (uint8_t& byte : packed)
                byte = uint8_t(random());
            std::vector<uint64_t> row((std::size_t(width) + 63) / 64 + 1, 0);
            TIndexedRowMarker(bits, taken).Mark(packed, width, row);
            for (int x = 0; x < int(row.size()) * 64; ++x) { // nothing past the width
                const unsigned byte = x < width ? packed[std::size_t(x * bits / 8)] : 0;
                const unsigned index = byte >> (8 - bits - x * bits % 8) & ((1u << bits) - 1);
                const bool expected = x < width && (taken[index / 64] >> (index % 64) & 1u);
                ASSERT_EQ(bool(row[std::size_t(x / 64)] >> (x % 64) & 1u), expected)
                    << bits << " bits, width " << width << ", pixel " << x;
            }
        }
}

}  // namespace
