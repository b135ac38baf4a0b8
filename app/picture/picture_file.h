#pragma once

#include <QImage>
#include <QString>

// The message for any pixel work on a picture that has no pixels of its own.
inline constexpr const char* kNotABitmap = "Can only modify an image if it contains a bitmap";

// What a picture file holds, decided by its extension as the open dialog offers them.
// Bitmaps are every raster kind Qt reads here: BMP, PNG, JPEG, GIF and TIFF.
enum class TPictureKind { Bitmap, Icon, EnhancedMetafile, Metafile };

// The kind of the file at `path`, whatever the case of its extension; raises
// "Unknown picture file extension (.xyz)" for any other extension.
TPictureKind PictureKindOf(const QString& path);

// The pixels of the bitmap at `path`. An icon or a metafile that can be read has no
// pixels: it raises "Can only modify an image if it contains a bitmap". A file that
// cannot be read, is damaged, or needs more memory than the process's budget raises
// an error that says why (see TBitmapReader).
QImage LoadBitmap(const QString& path);
