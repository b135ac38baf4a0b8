#include "app/picture/tiff_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/picture/picture_damage.h"

namespace {

// The first error says most; later ones follow from it.
int KeepFirstError(TIFF*, void* userData, const char*, const char* format, va_list arguments)
{
    auto* error = static_cast<std::string*>(userData);
    if (error->empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        *error = text;
    }
    return 1; // handled
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

}  // namespace

TTiffFile::TTiffFile(const TRegularFile& file)
{
    const int descriptor = OwnDescriptorAtStart(file);
    if (descriptor < 0) {
        FError = std::strerror(errno);
        return;
    }
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepFirstError, &FError);
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
    // "m": read with pread, not by mapping. libtiff closes the descriptor with the file.
    FTiff = TIFFFdOpenExt(descriptor, file.Name().c_str(), "rm", options);
    TIFFOpenOptionsFree(options);
    if (!FTiff)
        ::close(descriptor);
}

TTiffFile::~TTiffFile()
{
    if (FTiff)
        TIFFClose(FTiff);
}

bool TiffPieces(TIFF* tiff, std::span<const uint64_t>& offsets, std::span<const uint64_t>& counts)
{
    const bool tiled = TIFFIsTiled(tiff) != 0;
    const uint32_t pieces = tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
    uint64_t* starts = nullptr;
    uint64_t* lengths = nullptr;
    if (pieces == 0 || TIFFGetField(tiff, tiled ? TIFFTAG_TILEOFFSETS : TIFFTAG_STRIPOFFSETS, &starts) != 1 ||
        TIFFGetField(tiff, tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS, &lengths) != 1 || !starts || !lengths)
        return false;
    offsets = {starts, pieces};
    counts = {lengths, pieces};
    return true;
}
