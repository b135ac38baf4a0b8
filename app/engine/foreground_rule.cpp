#include "app/engine/foreground_rule.h"

#include <cstdio>

#include "app/engine/colour_tolerance.h"
#include "graph/core/error.h"

namespace {

void RequireByte(int value, const char* what)
{
    if (value < 0 || value > 255)
        throw TVandrelError(std::string("The ") + what + " must lie between 0 and 255");
}

}  // namespace

TForegroundRule TForegroundRule::Colour(uint32_t rgb, int tolerance)
{
    RequireByte(tolerance, "colour tolerance");
    TForegroundRule rule;
    rule.FRgb = rgb & 0x00FFFFFFu;
    rule.FTolerance = tolerance;
    return rule;
}

TForegroundRule TForegroundRule::Luminance(int level, TLuminanceSide side)
{
    RequireByte(level, "luminance level");
    TForegroundRule rule;
    rule.FByColour = false;
    rule.FLevel = level;
    rule.FSide = side;
    return rule;
}

TForegroundRule TForegroundRule::Otsu(TLuminanceSide side)
{
    TForegroundRule rule;
    rule.FByColour = false;
    rule.FLevel = -1;
    rule.FSide = side;
    rule.FByOtsu = true;
    return rule;
}

TForegroundRule TForegroundRule::WithOtsuLevel(int level) const
{
    TForegroundRule rule = Luminance(level, FSide);
    rule.FByOtsu = true;
    return rule;
}

std::string TForegroundRule::Text() const
{
    if (FByColour)
        return "colour " + ColourText(FRgb) + (FTolerance > 0 ? " within " + std::to_string(FTolerance) : "");
    const std::string side = FSide == TLuminanceSide::Dark ? "luminance at most " : "luminance above ";
    if (LevelPending())
        return side + "Otsu's level";
    return side + std::to_string(FLevel) + (FByOtsu ? " (Otsu)" : "");
}

void MarkForeground(std::span<const TArgb> argbRow, const TForegroundRule& rule, std::span<uint64_t> maskRow,
                    TAlpha alpha)
{
    if (rule.ByColour()) {
        // The exact colour keeps its own kernel, the quickest of all.
        if (rule.Tolerance() == 0)
            MarkColour(argbRow, rule.Rgb(), maskRow, alpha);
        else
            MarkColourWithin(argbRow, rule.Rgb(), rule.Tolerance(), maskRow, alpha);
        return;
    }
    if (rule.LevelPending())
        throw TVandrelError("The luminance level of Otsu's method is not chosen yet");
    MarkLuminance(argbRow, rule.Level(), rule.Side(), maskRow, alpha);
}

std::string ColourText(uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0x00FFFFFFu));
    return text;
}
