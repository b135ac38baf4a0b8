#pragma once

#include <QByteArray>
#include <QSaveFile>

// Writes every byte to `file` (not yet open) and only then puts it in place; false on
// any failure, the old file then untouched. Unbuffered, each short write tried again:
// Qt 6.4's commit misses an error of the flush it makes itself and would put a cut
// file in place, and a write that stops at a full disk tells its cause only when
// tried again.
bool WriteWhole(QSaveFile& file, const QByteArray& bytes);
