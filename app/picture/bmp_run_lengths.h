#pragma once

#include <memory>
#include <vector>

#include "app/picture/streamed_picture.h"
#include "app/picture/bmp_header.h"
#include "app/picture/regular_file.h"

// The rows of a BMP of 8 or 4 bits coded in runs (`header`'s compression) as the
// indices of `palette`'s colours. Pixels the codes
// skip are colour 0, as the picture Qt decodes into is cleared; a run past the end of
// its row is cut there. Raises "The picture is damaged or incomplete: NAME (its
// run-length data ends after N of M rows)" when the codes end before the picture.
std::unique_ptr<TStreamedPicture> BmpRunLengthRows(TRegularFile file, const TBmpHeader& header, std::vector<TArgb> palette);
