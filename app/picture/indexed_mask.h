#pragma once

#include "app/engine/foreground_rule.h"
#include "app/picture/streamed_picture.h"
#include "app/picture/foreground_mask.h"

// The mask of the `width` × `height` picture of `rows` by `rule`, which judges each
// colour once; the pixels are then marked by their indices, a byte of them at a time.
// An Otsu rule counts the pixels of each index first.
TForegroundMask IndexedMask(TIndexedRows& rows, int width, int height, const TForegroundRule& rule);

// Hands the pixels of `rows`, a `width` pixels wide picture, to `visit` as whole rows of
// their colours, for a picture read by its indices that is asked for its pixels.
void ForEachIndexedRun(TIndexedRows& rows, int width, const TArgbRuns::TVisit& visit);
