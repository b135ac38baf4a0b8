#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>

#include "app/picture/streamed_picture.h"

// How many pixels of a picture of `size` each pixel of its preview stands for along a
// side: the least number that leaves the preview at most `mostPixels` pixels.
int PreviewScale(QSize size, uint64_t mostPixels);

// A picture too large to hold whole, reduced to be shown: the top-left pixel of every
// `scale` by `scale` block, decoded a row at a time, so that every colour shown is one
// of the picture's. RGB32, or ARGB32_Premultiplied when some pixel is not opaque.
// Raises as the decoding does.
QImage PreviewOf(TStreamedPicture& picture, int scale);
