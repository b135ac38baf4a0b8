#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "graph/control/graph_types.h"

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t; // a set of TFontStyle bits

// What a font is: the attributes one font object copies from another.
struct TFontAttributes {
    std::string Name = "Arial";
    int32_t Height = -9; // negative: the character height in pixels, without leading
    TColor Color = clBlack;
    TFontStyles Style = 0;
    bool operator==(const TFontAttributes&) const = default;
};

// The size in points, on a screen of 96 pixels per inch, of a font of this height.
int32_t FontPointSize(int32_t height);

// A font object owned by a settings object. Every change of an attribute calls the
// change callback, through which the owner repaints.
class TFont {
public:
    explicit TFont(TFontAttributes attributes = {});
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const TFontAttributes& Attributes() const { return FAttributes; }
    // Copies every attribute without a change notice: the settings object whose
    // font setter calls it decides whether to repaint.
    void Assign(const TFontAttributes& attributes);

    const std::string& Name() const { return FAttributes.Name; }
    void SetName(const std::string& value);
    int32_t Height() const { return FAttributes.Height; }
    void SetHeight(int32_t value);
    // The size in points on a screen of 96 pixels per inch, the form the font is
    // stored in.
    int32_t Size() const;
    void SetSize(int32_t points);
    TColor Color() const { return FAttributes.Color; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FAttributes.Style; }
    void SetStyle(TFontStyles value);

    void SetOnChange(std::function<void()> callback) { FOnChange = std::move(callback); }

private:
    void Change(const TFontAttributes& attributes);
    template <typename T>
    void ChangeAttribute(T TFontAttributes::*attribute, const T& value);

    TFontAttributes FAttributes;
    std::function<void()> FOnChange;
};
