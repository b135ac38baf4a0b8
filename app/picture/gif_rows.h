#pragma once

#include <memory>

#include "app/picture/regular_file.h"
#include "app/picture/streamed_picture.h"

// The first image of the GIF `file` through giflib, a line at a time, on its logical
// screen as Qt shows it: the screen around the image in the background colour (clear
// when the image has a transparent colour), local or global colour table, interlaced
// or not, 1 to 8 bits. Nothing for the few GIFs whose pixels Qt places or colours
// otherwise (an image reaching past the screen, an interlaced one under 5 rows, a
// background Qt takes from a colour table not yet read), nor for a GIF with no image,
// which Qt then reads. Raises "The picture is damaged or incomplete: <name> (<why>)"
// when the data is corrupt or cut short, or the image (or a screen larger than Qt makes)
// claims more pixels than the file can hold.
std::unique_ptr<TStreamedPicture> GifRows(TRegularFile file);
