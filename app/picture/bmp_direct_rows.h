#pragma once

#include <memory>

#include "app/picture/bmp_header.h"
#include "app/picture/regular_file.h"
#include "app/picture/streamed_picture.h"

// The rows of a BMP of 16, 24 or 32 bits a pixel, uncompressed or in bit fields, with
// its channels scaled to 8 bits as Qt scales them; nothing for masks Qt refuses (one of
// all 32 bits). Raises "The picture is damaged or incomplete: ..." when its masks are
// cut short.
std::unique_ptr<TStreamedPicture> BmpDirectRows(TRegularFile file, const TBmpHeader& header);
