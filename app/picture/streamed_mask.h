#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/engine/foreground_rule.h"
#include "app/picture/foreground_mask.h"
#include "app/picture/streamed_picture.h"

// The picture at `path` decoded a row at a time, for the kinds read that way (PNG, BMP,
// TIFF, JPEG and GIF), whatever their size; nothing for any other file, which Qt then reads. Raises
// "The picture cannot be read: ..." for a missing or irregular file, and "The picture
// is damaged or incomplete: ..." for a header that cannot be read or claims more than
// the file can hold.
std::unique_ptr<TStreamedPicture> OpenStreamedPicture(const std::string& path);

// The mask of the `width` × `height` picture of `runs` by `rule`, pixel by pixel; an
// Otsu rule reads the luminances first, in a pass of their own.
TForegroundMask RunsMask(TArgbRuns& runs, int width, int height, const TForegroundRule& rule);
// `rule`, with Otsu's level picked from the luminances of `runs` if it is pending.
TForegroundRule ResolvedRule(TArgbRuns& runs, const TForegroundRule& rule);

// What a BMP's rows or run-length codes are read by at a time, at least.
inline constexpr std::size_t kStreamedBandBytes = std::size_t{1} << 16;

// What building and counting the mask of `picture` takes at most: the mask, the
// counter's half mask, the rows being decoded and what its decoder holds besides.
uint64_t StreamedMemoryNeed(const TStreamedPicture& picture);
