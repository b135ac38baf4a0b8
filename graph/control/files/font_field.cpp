#include "graph/control/files/font_field.h"

TFontRecord FontRecordOf(const TFontAttributes& font)
{
    return {
        .Name = font.Name,
        .Size = FontPointSize(font.Height),
        .Color = static_cast<int32_t>(font.Color),
        .Bold = (font.Style & fsBold) != 0,
        .Italic = (font.Style & fsItalic) != 0,
        .Underline = (font.Style & fsUnderline) != 0,
        .StrikeOut = (font.Style & fsStrikeOut) != 0,
    };
}

TFontAttributes FontAttributesOf(const TFontRecord& record)
{
    TFont font;
    font.SetName(record.Name);
    font.SetSize(record.Size);
    font.SetColor(static_cast<TColor>(record.Color));
    TFontStyles style = 0;
    if (record.Bold)
        style |= fsBold;
    if (record.Italic)
        style |= fsItalic;
    if (record.Underline)
        style |= fsUnderline;
    if (record.StrikeOut)
        style |= fsStrikeOut;
    font.SetStyle(style);
    return font.Attributes();
}
