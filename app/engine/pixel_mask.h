#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// One bit per pixel of a picture. Bit x of row y lives in word x / 64 of that row, at
// bit x % 64. Bits past the width stay clear, so whatever reaches past the right edge
// of the picture holds nothing.
class TPixelMask {
public:
    TPixelMask(int width, int height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    std::size_t WordsPerRow() const { return FWordsPerRow; }

    std::span<uint64_t> Row(int y) { return {FBits.data() + Offset(y), FWordsPerRow}; }
    std::span<const uint64_t> Row(int y) const { return {FBits.data() + Offset(y), FWordsPerRow}; }

    bool Test(int x, int y) const { return (Row(y)[Word(x)] >> Bit(x)) & 1u; }
    void Set(int x, int y) { Row(y)[Word(x)] |= uint64_t{1} << Bit(x); }
    // True when no bit is set.
    bool Empty() const;
    // The number of set bits.
    uint64_t SetCount() const;

private:
    std::size_t Offset(int y) const { return static_cast<std::size_t>(y) * FWordsPerRow; }
    static std::size_t Word(int x) { return static_cast<std::size_t>(x) / 64; }
    static unsigned Bit(int x) { return static_cast<unsigned>(x) % 64; }

    int FWidth;
    int FHeight;
    std::size_t FWordsPerRow;
    std::vector<uint64_t> FBits;
};

// A pixel as 0xAARRGGBB, the order of Qt's 32-bit ARGB images.
using TArgb = uint32_t;

// Whether the top byte of a pixel is its alpha, or unused (every pixel opaque, as in
// Qt's RGB32 pictures, whose decoders may leave that byte 0).
enum class TAlpha { Stored, Unused };

// Sets the bit of every pixel of `argbRow` that is opaque and whose red, green and
// blue are those of `rgb` (0xRRGGBB). A transparent pixel is no part of the shape,
// whatever colour it stores. `maskRow` must hold a bit for every pixel of the row.
void MarkColour(std::span<const TArgb> argbRow, uint32_t rgb, std::span<uint64_t> maskRow,
                TAlpha alpha = TAlpha::Stored);
