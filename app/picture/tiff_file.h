#pragma once

#include <tiffio.h>

#include <cstdint>
#include <span>
#include <string>

#include "app/picture/regular_file.h"

// A TIFF opened by libtiff at its first directory, with libtiff's messages kept for the
// reason of a failure instead of going to the terminal. The file is read with pread, never
// mapped, so a file shorter than its header says is read no further than its end.
class TTiffFile {
public:
    explicit TTiffFile(const TRegularFile& file);
    ~TTiffFile();
    TTiffFile(const TTiffFile&) = delete;
    TTiffFile& operator=(const TTiffFile&) = delete;

    // Nothing when libtiff could not read the header or the first directory.
    TIFF* Get() const { return FTiff; }
    // libtiff's first error, or what is given when it said nothing.
    std::string Error(const std::string& otherwise) const { return FError.empty() ? otherwise : FError; }

private:
    std::string FError;
    TIFF* FTiff = nullptr;
};

// Where the coded pieces (strips or tiles) of the picture of `tiff` start and how many
// bytes they take; false when it says nowhere.
bool TiffPieces(TIFF* tiff, std::span<const uint64_t>& offsets, std::span<const uint64_t>& counts);
