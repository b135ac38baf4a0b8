#pragma once

#include <memory>

#include "app/picture/regular_file.h"
#include "app/picture/streamed_picture.h"

// The rows of the JPEG `file` through libjpeg, a few scanlines at a time, with the
// settings Qt decodes with, so that every pixel is Qt's: grey, YCbCr or RGB, CMYK or
// YCCK; baseline or progressive, any sampling, restart markers. Nothing for what Qt
// decodes otherwise or this reader cannot bound (arithmetic coding, colour spaces Qt
// leaves unconverted), which Qt then reads. Raises "The picture is damaged or
// incomplete: <name> (<libjpeg's message>)" for a header that cannot be read or claims
// more blocks than the file can hold, and, while decoding, where libjpeg finds the data
// corrupt or cut short.
std::unique_ptr<TStreamedPicture> JpegRows(TRegularFile file);
