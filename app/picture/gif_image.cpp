#include "app/picture/gif_image.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/picture/picture_damage.h"

namespace {

constexpr int kMostCodes = 4096; // of 12 bits

}  // namespace

TGifFirstImage::TGifFirstImage(const TRegularFile& file) : FSource{file.Descriptor()}
{
    int error = 0;
    FGif = DGifOpen(&FSource, &TGifFirstImage::Read, &error);
    if (!FGif) {
        Fail(GifErrorText(error));
        return;
    }
    ReadToImage();
}

TGifFirstImage::~TGifFirstImage()
{
    if (FGif)
        DGifCloseFile(FGif, nullptr);
}

int TGifFirstImage::Read(GifFileType* gif, GifByteType* bytes, int length)
{
    auto* source = static_cast<TSource*>(gif->UserData);
    int done = 0;
    while (done < length) {
        const ssize_t got = ::pread(source->Descriptor, bytes + done, std::size_t(length - done),
                                    static_cast<off_t>(source->Offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<int>(got);
        source->Offset += static_cast<uint64_t>(got);
    }
    if (done > 0)
        source->LastByte = bytes[done - 1];
    return done;
}

bool TGifFirstImage::Fail(const std::string& reason)
{
    if (FDamage.empty())
        FDamage = reason;
    return false;
}

bool TGifFirstImage::FailWithGiflib()
{
    return Fail(GifErrorText(FGif->Error));
}

void TGifFirstImage::ReadToImage()
{
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(FGif, &record) == GIF_ERROR) {
            FailWithGiflib();
            return;
        }
        if (record == TERMINATE_RECORD_TYPE)
            return; // no image at all: the screen's own colour
        if (record == IMAGE_DESC_RECORD_TYPE)
            break;
        if (record != EXTENSION_RECORD_TYPE) {
            Fail("its blocks are out of order");
            return;
        }
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(FGif, &code, &block) == GIF_ERROR) {
            FailWithGiflib();
            return;
        }
        if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
            FOddControl = FOddControl || block[0] != 4;
            FTransparent = block[0] >= 4 && (block[1] & 1) != 0 ? block[4] : -1;
        }
        while (block != nullptr)
            if (DGifGetExtensionNext(FGif, &block) == GIF_ERROR) {
                FailWithGiflib();
                return;
            }
    }
    // giflib reads the LZW code size last of the image's header.
    if (DGifGetImageDesc(FGif) == GIF_ERROR) {
        FailWithGiflib();
        return;
    }
    const int codeSize = FSource.LastByte;
    if (codeSize < 1 || codeSize > 11) {
        Fail("its LZW code size is wrong");
        return;
    }
    if (FGif->Image.Width <= 0 || FGif->Image.Height <= 0) {
        Fail("its first image has no size");
        return;
    }
    FFound = true;
    FClear = 1 << codeSize;
    FNext = FClear + 2;
    FPixelsLeft = uint64_t(FGif->Image.Width) * uint64_t(FGif->Image.Height);
    for (int code = 0; code < FClear; ++code) {
        FSuffix[std::size_t(code)] = static_cast<GifPixelType>(code); // wider codes keep their low byte
        FFirst[std::size_t(code)] = static_cast<GifPixelType>(code);
    }
}

bool TGifFirstImage::Expand(int code)
{
    if (FPrevious < 0) {
        if (code >= FClear)
            return false;
        FPending[FPendingCount++] = FSuffix[std::size_t(code)];
        FPrevious = code;
        return true;
    }
    if (code > FNext || code >= kMostCodes)
        return false;
    // A code not yet in the table (the one about to be) is the previous string and its first pixel.
    const int known = code == FNext ? FPrevious : code;
    const GifPixelType first = FFirst[std::size_t(known)];
    if (code == FNext)
        FPending[FPendingCount++] = first;
    for (int at = known; ; at = FPrefix[std::size_t(at)]) {
        FPending[FPendingCount++] = FSuffix[std::size_t(at)];
        if (at < FClear)
            break;
    }
    if (FNext < kMostCodes) {
        FPrefix[std::size_t(FNext)] = static_cast<uint16_t>(FPrevious);
        FSuffix[std::size_t(FNext)] = first;
        FFirst[std::size_t(FNext)] = FFirst[std::size_t(FPrevious)];
        ++FNext;
    }
    FPrevious = code;
    return true;
}

bool TGifFirstImage::ReadPixels(std::span<GifPixelType> line)
{
    if (!FDamage.empty() || !FFound)
        return false;
    std::size_t done = 0;
    while (done < line.size()) {
        if (FPendingCount > 0) {
            const std::size_t count = std::min(FPendingCount, line.size() - done);
            for (std::size_t i = 0; i < count; ++i)
                line[done++] = FPending[--FPendingCount];
            continue;
        }
        int code = 0;
        if (DGifGetLZCodes(FGif, &code) == GIF_ERROR)
            return FailWithGiflib();
        if (code < 0)
            return Fail(GifErrorText(D_GIF_ERR_EOF_TOO_SOON));
        if (code == FClear) {
            FNext = FClear + 2;
            FPrevious = -1;
        } else if (!Expand(code)) {
            return Fail("its LZW codes are corrupt");
        }
    }
    FPixelsLeft -= line.size();
    return FPixelsLeft > 0 || ReadToEnd();
}

bool TGifFirstImage::ReadToEnd()
{
    // Qt would draw pixels past the image's last row.
    constexpr const char* kTooMany = "its image data holds more pixels than its header says";
    if (FPendingCount > 0)
        return Fail(kTooMany);
    for (;;) {
        int code = 0;
        if (DGifGetLZCodes(FGif, &code) == GIF_ERROR) {
            // An empty block before the end code: the data ends without it, as some
            // encoders write it.
            return FGif->Error == D_GIF_ERR_IMAGE_DEFECT || FailWithGiflib();
        }
        if (code < 0)
            return true;
        if (code != FClear)
            return Fail(kTooMany);
    }
}
