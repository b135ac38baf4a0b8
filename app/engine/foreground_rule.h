#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/engine/luminance.h"
#include "app/engine/pixel_mask.h"

// Which opaque pixels of a picture form the shape: those near one colour, or those on
// one side of a luminance level. Transparent pixels never do.
class TForegroundRule {
public:
    // Pixels whose red, green and blue each differ from those of `rgb` (0xRRGGBB) by at
    // most `tolerance` (0 to 255); 0 is the exact colour.
    static TForegroundRule Colour(uint32_t rgb, int tolerance = 0);
    // Pixels whose luminance is at most `level` (0 to 255) when dark, above it when light,
    // so the two sides of one level split the opaque pixels.
    static TForegroundRule Luminance(int level, TLuminanceSide side = TLuminanceSide::Dark);
    // As Luminance, with the level that Otsu's method picks from the picture.
    static TForegroundRule Otsu(TLuminanceSide side = TLuminanceSide::Dark);

    bool ByColour() const { return FByColour; }
    uint32_t Rgb() const { return FRgb; }
    int Tolerance() const { return FTolerance; }
    TLuminanceSide Side() const { return FSide; }
    int Level() const { return FLevel; }
    bool ByOtsu() const { return FByOtsu; }
    // True for an Otsu rule whose level is not picked yet.
    bool LevelPending() const { return FByOtsu && FLevel < 0; }
    // This Otsu rule with the level picked.
    TForegroundRule WithOtsuLevel(int level) const;

    // For reports: "colour #000000", "colour #000000 within 12", "luminance at most 97
    // (Otsu)", "luminance above 128".
    std::string Text() const;

    bool operator==(const TForegroundRule&) const = default;

private:
    TForegroundRule() = default;

    bool FByColour = true;
    uint32_t FRgb = 0;
    int FTolerance = 0;
    TLuminanceSide FSide = TLuminanceSide::Dark;
    int FLevel = 0; // -1 while an Otsu level is pending
    bool FByOtsu = false;
};

// Sets the bit of every pixel of `argbRow` that `rule` takes for the shape (see
// MarkColour for `alpha`). An Otsu rule must have its level first.
void MarkForeground(std::span<const TArgb> argbRow, const TForegroundRule& rule, std::span<uint64_t> maskRow,
                    TAlpha alpha = TAlpha::Stored);

// "#rrggbb" for 0xRRGGBB.
std::string ColourText(uint32_t rgb);
