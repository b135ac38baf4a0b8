#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "app/engine/foreground_rule.h"
#include "app/engine/pixel_mask.h"
#include "app/picture/foreground_mask.h"

// The rows of a picture with the pixels converted to 0xAARRGGBB as Qt converts them to
// ARGB32, so that a rule judges them alike.
class TArgbRuns {
public:
    virtual ~TArgbRuns() = default;

    // Decodes the picture from its start and hands every pixel to `visit` once, in
    // runs: the pixels of row `y` at columns `firstX`, `firstX + step`, ... (an
    // interlaced picture's passes hold every few pixels of a row). Rows may come in
    // any order. Raises as TStreamedPicture::Mask does.
    using TVisit = std::function<void(int y, int firstX, int step, std::span<const TArgb> pixels)>;
    virtual void ForEachRun(const TVisit& visit) = 0;
};

// A picture decoded a row at a time, never whole. Its pixels as runs (ForEachRun) serve
// what needs their colours, a reduced preview say.
class TStreamedPicture : public TArgbRuns {
public:
    virtual ~TStreamedPicture() = default;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // What the decoder holds beyond the mask, a few rows of 32-bit pixels and a band of
    // kStreamedBandBytes: a coded TIFF strip that is read whole, a row of tiles;
    // libjpeg's rows of every component, and the coefficients of a progressive JPEG,
    // which it keeps for the whole picture.
    uint64_t DecoderBytes() const { return FDecoderBytes; }

    // The mask of the pixels that `rule` takes, equal to MaskOfForeground of the
    // picture as Qt reads it, built while decoding: only the mask and a few rows are
    // held. An Otsu rule decodes the picture twice. Raises "The picture is damaged or
    // incomplete: <name> (<why>)" when the data ends early or is corrupt.
    virtual TForegroundMask Mask(const TForegroundRule& rule) = 0;

protected:
    TStreamedPicture(int width, int height, uint64_t decoderBytes = 0)
        : FWidth(width), FHeight(height), FDecoderBytes(decoderBytes)
    {
    }

private:
    int FWidth;
    int FHeight;
    uint64_t FDecoderBytes;
};

// The rows of a picture of at most 256 colours as the indices of their pixels' colours,
// packed Bits() (1, 2, 4 or 8) to a byte, the leftmost pixel in the highest bits, as PNG
// and BMP store them: a rule is then judged once a colour, not once a pixel.
class TIndexedRows {
public:
    virtual ~TIndexedRows() = default;

    // One colour for every index the bits can hold, converted as Qt converts them.
    virtual const std::vector<TArgb>& Colours() const = 0;
    virtual int Bits() const = 0;
    // Decodes the picture from its start and hands every row to `visit`, in any order.
    // Raises as TStreamedPicture::Mask does.
    virtual void ForEachRow(const std::function<void(int y, std::span<const uint8_t> packed)>& visit) = 0;
};
