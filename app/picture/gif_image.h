#pragma once

#include <gif_lib.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "app/picture/regular_file.h"

// The first image of a GIF, the one that is shown and counted, read by giflib up to its
// pixel data, whose LZW codes giflib then hands one at a time and this class turns
// into pixels. A code no encoder writes (one past the table, or anything but a colour
// first after a clear) is damage: giflib's and Qt's decoders each make up different
// pixels for it, so neither is to be counted. So are pixels past the image's last,
// which Qt would draw below it.
class TGifFirstImage {
public:
    // Reads `file`, which must outlive this, up to the first image's pixels.
    explicit TGifFirstImage(const TRegularFile& file);
    ~TGifFirstImage();
    TGifFirstImage(const TGifFirstImage&) = delete;
    TGifFirstImage& operator=(const TGifFirstImage&) = delete;

    // Why the file cannot be read so far; empty when it can.
    const std::string& Damage() const { return FDamage; }
    // Whether there is an image: a GIF may end before any.
    bool Found() const { return FFound; }
    const GifFileType& Gif() const { return *FGif; }
    // The index the last graphics control extension before the image makes transparent;
    // -1 when none does.
    int Transparent() const { return FTransparent; }
    // Whether a graphics control extension is of a length other than 4, which Qt reads
    // otherwise.
    bool OddControl() const { return FOddControl; }

    // Fills `line` with the image's next pixels, in the order stored; false, with
    // Damage() saying why, when the codes are corrupt or end before the image does.
    bool ReadPixels(std::span<GifPixelType> line);

private:
    struct TSource {
        int Descriptor = -1;
        uint64_t Offset = 0;
        GifByteType LastByte = 0;
    };
    static int Read(GifFileType* gif, GifByteType* bytes, int length);
    bool Fail(const std::string& reason);
    bool FailWithGiflib();
    void ReadToImage();
    // Hands the string of `code` to the pixels pending; false when it is no code yet.
    bool Expand(int code);
    // Reads the image's data after its last pixel, to its end; false, with Damage()
    // saying why, when it holds more pixels or is cut short.
    bool ReadToEnd();

    TSource FSource;
    GifFileType* FGif = nullptr;
    std::string FDamage;
    bool FFound = false;
    int FTransparent = -1;
    bool FOddControl = false;

    // The LZW table, as the encoder built it.
    int FClear = 0;
    int FNext = 0;     // the code the next string gets
    int FPrevious = -1; // the last code read since a clear; -1 none
    uint64_t FPixelsLeft = 0;
    std::array<uint16_t, 4096> FPrefix{};
    std::array<GifPixelType, 4096> FSuffix{};
    std::array<GifPixelType, 4096> FFirst{};
    // A string's pixels not yet handed, the last first: a string is as long as the table at most.
    std::array<GifPixelType, 4097> FPending{};
    std::size_t FPendingCount = 0;
};
