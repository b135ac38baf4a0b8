#pragma once

#include <memory>

#include "app/picture/streamed_picture.h"
#include "app/picture/regular_file.h"

// The rows of a BMP of any size, in every layout Qt reads (1, 4 and 8 bits with a
// palette, 8 and 4 coded in runs, 16 bits 5-5-5, 24 and 32 bits, bit fields of 16 and
// 32 bits, bottom up or top down, after any of the info headers); nothing for other
// BMPs (an embedded JPEG, say), which Qt then refuses or reads. Raises "The picture is
// damaged or incomplete: ..." when the file holds less than its header says.
std::unique_ptr<TStreamedPicture> BmpRows(TRegularFile file);
