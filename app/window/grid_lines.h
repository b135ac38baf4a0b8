#pragma once

#include <QImage>

// Draws a grid on `image`, a 32-bit picture (RGB32 or ARGB32_Premultiplied): a line
// one pixel wide across the whole picture at every multiple of `spacing` in x and in
// y, in not-xor with `colour` (each pixel's red, green and blue become the complement
// of their exclusive-or with the colour's; its alpha stays), as a painter draws
// hairlines in that raster operation. A pixel where two lines cross is drawn twice and comes back. Nothing is
// drawn when `spacing` is 0 or less. Straight on the pixels, since a painter draws
// such lines a pixel at a time: about a second on a picture of 5000 by 5000.
// On a reduced preview, whose every pixel stands for `scale` by `scale` pixels of the
// picture, the lines are those of the picture: a pixel is on a line when one of the
// picture's pixels it stands for is.
void DrawNotXorGrid(QImage& image, int spacing, QRgb colour, int scale = 1);
