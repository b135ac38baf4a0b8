#pragma once

#include <QSize>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/engine/foreground_rule.h"
#include "app/picture/argb_row_source.h"
#include "app/picture/foreground_mask.h"

// The picture at `path` as rows decoded one at a time, for the kinds read that way (PNG
// and BMP), whatever their size; nothing for any other file, which Qt then reads. Raises
// "The picture cannot be read: ..." for a missing or irregular file, and "The picture
// is damaged or incomplete: ..." for a header that cannot be read.
std::unique_ptr<TArgbRowSource> OpenStreamedPicture(const std::string& path);

// The mask of the pixels of `picture` that `rule` takes, equal to MaskOfForeground of
// the picture as Qt reads it, built while decoding, so that only the mask and a row are
// held. An Otsu rule decodes the picture twice: the luminances first, then the mask.
TForegroundMask StreamedMask(TArgbRowSource& picture, const TForegroundRule& rule);

// What a BMP's rows or run-length codes are read by at a time, at least.
inline constexpr std::size_t kStreamedBandBytes = std::size_t{1} << 16;

// What building and counting the mask of a picture of `size` takes at most: the mask,
// the counter's half mask and the rows being decoded.
uint64_t StreamedMemoryNeed(QSize size);
