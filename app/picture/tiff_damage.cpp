// Whether a TIFF's first picture lies whole inside the file, read with libtiff.
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

#include <tiffio.h>

#include "app/picture/picture_damage.h"

namespace {

// libtiff's messages go to the reason instead of the terminal; the first one says most.
int KeepFirstMessage(TIFF*, void* userData, const char*, const char* format, va_list arguments)
{
    auto* reason = static_cast<std::string*>(userData);
    if (reason->empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        *reason = text;
    }
    return 1; // handled
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

struct TTiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

struct TOptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// Where the coded pieces (strips or tiles) of the picture are and how long they are.
bool PieceTable(TIFF* tiff, bool tiled, uint64_t*& offsets, uint64_t*& counts)
{
    return TIFFGetField(tiff, tiled ? TIFFTAG_TILEOFFSETS : TIFFTAG_STRIPOFFSETS, &offsets) == 1 &&
           TIFFGetField(tiff, tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS, &counts) == 1 &&
           offsets != nullptr && counts != nullptr;
}

}  // namespace

std::optional<std::string> TiffDamage(const TRegularFile& file)
{
    const int descriptor = OwnDescriptorAtStart(file);
    if (descriptor < 0)
        return std::nullopt; // Qt's own reading will say what is wrong
    std::string reason;
    const std::unique_ptr<TIFFOpenOptions, TOptionsFree> options(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), KeepFirstMessage, &reason);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), IgnoreWarning, nullptr);
    // "m": read with pread, not by mapping a file that may be shorter than it says.
    // libtiff closes the descriptor with the file.
    const std::unique_ptr<TIFF, TTiffCloser> tiff(TIFFFdOpenExt(descriptor, file.Name().c_str(), "rm", options.get()));
    if (!tiff) {
        ::close(descriptor);
        return reason.empty() ? "its header cannot be read" : reason;
    }
    const bool tiled = TIFFIsTiled(tiff.get()) != 0;
    const uint32_t pieces = tiled ? TIFFNumberOfTiles(tiff.get()) : TIFFNumberOfStrips(tiff.get());
    uint64_t* offsets = nullptr;
    uint64_t* counts = nullptr;
    if (pieces == 0 || !PieceTable(tiff.get(), tiled, offsets, counts))
        return reason.empty() ? "it says nowhere where its pixels are" : reason;

    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_COMPRESSION, &compression);
    uint32_t height = 0;
    uint32_t rowsPerStrip = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    // Pictures with one plane per colour have a strip series for each plane.
    const uint64_t stripsPerPlane = rowsPerStrip == 0 ? 1 : (uint64_t{height} + rowsPerStrip - 1) / rowsPerStrip;
    for (uint32_t piece = 0; piece < pieces; ++piece) {
        if (offsets[piece] > file.Size() || counts[piece] > file.Size() - offsets[piece])
            return "its pixel data ends before piece " + std::to_string(piece + 1) + " of " + std::to_string(pieces);
        if (compression != COMPRESSION_NONE)
            continue;
        // Uncompressed, a piece holds all its pixels; the last strip may have fewer rows.
        const uint64_t strip = stripsPerPlane == 0 ? 0 : piece % stripsPerPlane;
        const uint64_t rows = strip + 1 < stripsPerPlane ? rowsPerStrip : height - strip * rowsPerStrip;
        const auto needed = static_cast<uint64_t>(
            tiled ? TIFFTileSize64(tiff.get()) : TIFFVStripSize64(tiff.get(), static_cast<uint32_t>(rows)));
        if (counts[piece] < needed)
            return "its pixel data is shorter than its header says";
    }
    return std::nullopt;
}
