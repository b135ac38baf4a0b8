#pragma once

#include <memory>

#include "app/picture/streamed_picture.h"
#include "app/picture/regular_file.h"

// The rows of the PNG `file` through libspng, every bit depth, colour type and
// interlacing. Raises "The picture is damaged or incomplete: ..."
// when its header cannot be read.
std::unique_ptr<TStreamedPicture> PngRows(TRegularFile file);
