#pragma once

#include <cstddef>
#include <cstdint>

#include "app/engine/foreground_rule.h"
#include "app/engine/pixel_mask.h"
#include "app/picture/foreground_mask.h"

// Bytes laid out as a numpy array lays them: rows, columns and channels each a stride
// apart, in any order and direction (a view such as a[::-2, ::3] included).
struct TStridedBytes {
    const uint8_t* First = nullptr; // row 0, column 0, channel 0
    int Width = 0;
    int Height = 0;
    int Channels = 1; // 1 for a mask, 3 for RGB, 4 for RGBA
    std::ptrdiff_t RowStride = 0; // bytes
    std::ptrdiff_t ColumnStride = 0;
    std::ptrdiff_t ChannelStride = 0;

    const uint8_t* At(int x, int y) const { return First + y * RowStride + x * ColumnStride; }
};

// The mask of one-channel cells that hold 0 or 1 (numpy's bool, or uint8). Raises
// TVandrelError naming the first cell that holds anything else, so that a grey
// picture passed for a mask is refused rather than counted.
TPixelMask MaskOfCells(const TStridedBytes& cells);

// The mask of the RGB or RGBA pixels that `rule` takes, Otsu's level filled in. RGB
// pixels are opaque; RGBA ones are opaque only at alpha 255, as in pictures read from
// files. Only one row of pixels is held at a time beside the mask.
TForegroundMask MaskOfPixels(const TStridedBytes& pixels, const TForegroundRule& rule);
