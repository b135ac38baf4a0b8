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
    FAttributes = attributes;
}

template <typename T>
void TFont::ChangeAttribute(T TFontAttributes::*attribute, const T& value)
{
    TFontAttributes changed = FAttributes;
    changed.*attribute = value;
    Change(changed);
}

void TFont::SetName(const std::string& value) { ChangeAttribute(&TFontAttributes::Name, value); }
void TFont::SetHeight(int32_t value) { ChangeAttribute(&TFontAttributes::Height, value); }
void TFont::SetColor(TColor value) { ChangeAttribute(&TFontAttributes::Color, value); }
void TFont::SetStyle(TFontStyles value) { ChangeAttribute(&TFontAttributes::Style, value); }

int32_t FontPointSize(int32_t height)
{
    return -ScaledRounded(height, 72, kPixelsPerInch);
}

int32_t TFont::Size() const
{
    return FontPointSize(FAttributes.Height);
}

void TFont::SetSize(int32_t points)
{
    SetHeight(-ScaledRounded(points, kPixelsPerInch, 72));
}
