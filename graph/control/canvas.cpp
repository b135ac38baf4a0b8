#include "graph/control/canvas.h"

TFontDescription DescriptionOf(const TFontAttributes& font)
{
    TFontDescription description;
    description.Height = font.Height;
    description.Weight = (font.Style & fsBold) != 0 ? 700 : 400;
    description.Italic = (font.Style & fsItalic) != 0;
    description.Underline = (font.Style & fsUnderline) != 0;
    description.StrikeOut = (font.Style & fsStrikeOut) != 0;
    description.FaceName = font.Name;
    return description;
}

void TCanvas::SetBrushColor(TColor value)
{
    FState.BrushColor = value;
    FState.BrushStyle = bsSolid;
    FState.BackgroundColor = value;
}

void TCanvas::SetBrushStyle(TBrushStyle value)
{
    FState.BrushStyle = value;
    FState.BackgroundColor = FState.BrushColor;
}

TColor TCanvas::SetBackgroundColor(TColor value)
{
    const TColor previous = FState.BackgroundColor;
    FState.BackgroundColor = value;
    return previous;
}

void TCanvas::SetFont(const TFontAttributes& font)
{
    FState.Font = font;
    FState.SelectedFont = 0;
}

void TCanvas::SetFontColor(TColor value)
{
    FState.Font.Color = value;
    FState.SelectedFont = 0;
}

int32_t TCanvas::FontSize() const
{
    return FontPointSize(FState.Font.Height);
}

TFontDescription TCanvas::FontDescription() const
{
    const auto created = FCreatedFonts.find(FState.SelectedFont);
    return created != FCreatedFonts.end() ? created->second : DescriptionOf(FState.Font);
}

TFontHandle TCanvas::CreateFont(const TFontDescription& description)
{
    FCreatedFonts.emplace(++FLastFontHandle, description);
    return FLastFontHandle;
}

TFontHandle TCanvas::SelectFont(TFontHandle font)
{
    const TFontHandle previous = FState.SelectedFont;
    if (font == 0 || FCreatedFonts.contains(font))
        FState.SelectedFont = font;
    return previous;
}

void TCanvas::DeleteFont(TFontHandle font)
{
    // Like a device context, a canvas refuses to delete the font it has selected.
    if (font != FState.SelectedFont)
        FCreatedFonts.erase(font);
}

void TCanvas::LineTo(int32_t x, int32_t y)
{
    const TPoint from = FState.PenPosition;
    FState.PenPosition = {x, y};
    Line(from, {x, y});
}

TRotatedFont::TRotatedFont(TCanvas& canvas, int32_t tenthsOfDegree)
    : FCanvas(canvas)
{
    TFontDescription description = canvas.FontDescription();
    description.Escapement = tenthsOfDegree;
    description.Orientation = tenthsOfDegree;
    description.OutPrecision = kOutlinePrecision;
    FRotated = canvas.CreateFont(description);
    FKept = canvas.SelectFont(FRotated);
}

TRotatedFont::~TRotatedFont()
{
    FCanvas.SelectFont(FKept);
    FCanvas.DeleteFont(FRotated);
}
