#pragma once

#include <pybind11/numpy.h>

#include "python/strided_pixels.h"

// What an array passed to the module holds.
enum class TArrayKind { Mask, Pixels };

// The bytes of a numpy array of H × W bool or uint8 cells (a mask), or, when pixels
// are allowed, H × W × 3 or 4 uint8 (RGB or RGBA), read in place whatever its
// strides. Raises TypeError for another dtype and ValueError for another shape or an
// empty array; `function` names the caller in the message. The array must outlive
// the view.
TStridedBytes ArrayView(const pybind11::array& array, TArrayKind allowed, const char* function);

// Whether the view holds pixels rather than mask cells.
inline bool HoldsPixels(const TStridedBytes& view) { return view.Channels > 1; }
