#pragma once

#include <memory>

#include "app/picture/regular_file.h"
#include "app/picture/streamed_picture.h"

// The rows of the first picture of the TIFF (or BigTIFF) `file` through libtiff, in
// strips or tiles, uncompressed or coded by LZW, deflate, PackBits or fax coding:
// bilevel, grey and palette pictures of 1, 2, 4 and 8 bits (grey of 16 too), RGB of 8
// or 16 bits a sample with or without alpha. Nothing for other TIFFs (JPEG coded, YCbCr,
// CMYK, floating point, ...), which Qt then reads. Raises "The picture is damaged or
// incomplete: ..." when a strip or tile lies outside the file or is too short for the
// rows the header claims.
std::unique_ptr<TStreamedPicture> TiffRows(TRegularFile file);
