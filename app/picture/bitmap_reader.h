#pragma once

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>

#include <cstdint>
#include <string>

#include "app/picture/memory_budget.h"
#include "app/picture/regular_file.h"

// Reads a bitmap (BMP, PNG, JPEG, GIF, TIFF) in two steps, so that what its header
// claims can be weighed before anything large is allocated: the header on opening,
// the pixels on Read, which refuses a picture that is cut short or corrupt.
class TBitmapReader {
public:
    // `path` is in the system's own bytes. Raises "The picture cannot be read: ..."
    // when the file is missing, no regular file, or of no kind Qt reads.
    explicit TBitmapReader(const std::string& path);

    QSize Size() const { return FSize; }
    std::string Name() const { return FFile.Name(); }

    // Decodes the pixels. Raises "The picture is damaged or incomplete: <name> (<why>)"
    // when the data ends before the header says or the decoder finds it corrupt.
    // `memoryBytes` bounds what a decoder may allocate on the way.
    QImage Read(uint64_t memoryBytes);

private:
    TRegularFile FFile;
    QFile FDevice;
    QImageReader FReader;
    QSize FSize;
};

// What reading and counting a picture of `size` takes at most: its pixels at 32 bits,
// the one-bit mask and the counter's half mask.
uint64_t PictureMemoryNeed(QSize size);

// Raises "The picture is W × H pixels and needs <memory>, more than the <budget>
// allowed" when a picture of `size` needs more than the whole budget: `need` bytes,
// or PictureMemoryNeed(size) when not given.
void RefuseOverBudget(QSize size, uint64_t need, const TMemoryBudget& budget);
void RefuseOverBudget(QSize size, const TMemoryBudget& budget);

// The budget of the window, and of anything else that reads one picture at a time:
// half of the physical memory.
TMemoryBudget& ProcessMemoryBudget();
