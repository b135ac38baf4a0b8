#include "graph/control/font.h"

#include <cmath>

namespace {

constexpr int32_t kPixelsPerInch = 96;

// a * b / c rounded to the nearest integer, halves away from zero.
int32_t ScaledRounded(int32_t a, int32_t b, int32_t c)
{
    return static_cast<int32_t>(std::lround(static_cast<double>(a) * b / c));
}

}  // namespace

TFont::TFont(TFontAttributes attributes)
    : FAttributes(std::move(attributes))
{
}

void TFont::Change(const TFontAttributes& attributes)
{
    if (attributes == FAttributes)
        return;
    FAttributes = attributes;
    if (FOnChange)
        FOnChange();
}

void TFont::Assign(const TFontAttributes& attributes)
{
    Change(attributes);
}

void TFont::SetName(const std::string& value)
{
    TFontAttributes changed = FAttributes;
    changed.Name = value;
    Change(changed);
}

void TFont::SetHeight(int32_t value)
{
    TFontAttributes changed = FAttributes;
    changed.Height = value;
    Change(changed);
}

int32_t TFont::Size() const
{
    return -ScaledRounded(FAttributes.Height, 72, kPixelsPerInch);
}

void TFont::SetSize(int32_t points)
{
    SetHeight(-ScaledRounded(points, kPixelsPerInch, 72));
}

void TFont::SetColor(TColor value)
{
    TFontAttributes changed = FAttributes;
    changed.Color = value;
    Change(changed);
}

void TFont::SetStyle(TFontStyles value)
{
    TFontAttributes changed = FAttributes;
    changed.Style = value;
    Change(changed);
}
