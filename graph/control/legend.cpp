#include "graph/control/legend.h"

#include "graph/control/graph_owner.h"

TLegend::TLegend(TGraphOwner& owner, const TFontAttributes& controlFont)
    : FOwner(owner), Ffont(controlFont)
{
    Ffont.SetOnChange([this] { FOwner.Repaint(); });
}

void TLegend::ResetDefaults(TColor backgroundColor, int32_t controlWidth)
{
    F = TFields{};
    F.color = backgroundColor;
    F.width = controlWidth - 20;
}

void TLegend::Setvisible(bool value) { ChangeAndRepaint(FOwner, F.visible, value); }
void TLegend::Setcolor(TColor value) { ChangeAndRepaint(FOwner, F.color, value); }
void TLegend::SetborderStyle(TBorderStyle value) { ChangeAndRepaint(FOwner, F.borderStyle, value); }
void TLegend::SetLayout(TLegendStyle value) { ChangeAndRepaint(FOwner, F.Layout, value); }
void TLegend::Settop(int32_t value) { ChangeAndRepaint(FOwner, F.top, value); }
void TLegend::Setleft(int32_t value) { ChangeAndRepaint(FOwner, F.left, value); }
void TLegend::Setwidth(int32_t value) { ChangeAndRepaint(FOwner, F.width, value); }
void TLegend::Setheight(int32_t value) { ChangeAndRepaint(FOwner, F.height, value); }
void TLegend::SetSymbolSpace(int32_t value) { ChangeAndRepaint(FOwner, F.SymbolSpace, value); }
void TLegend::SetXMargin(int32_t value) { ChangeAndRepaint(FOwner, F.XMargin, value); }
void TLegend::SetYMargin(int32_t value) { ChangeAndRepaint(FOwner, F.YMargin, value); }

void TLegend::Setfont(const TFontAttributes& value)
{
    Ffont.Assign(value);
}

const std::vector<TPublishedProperty<TLegend>>& TLegend::Published()
{
    using T = TLegend;
    static const std::vector<TPublishedProperty<T>> properties = {
        Publish("visible", &T::visible, &T::Setvisible, false),
        Publish("color", &T::color, &T::Setcolor, int64_t{0xFFFFFF}),
        Publish("borderStyle", &T::borderStyle, &T::SetborderStyle, int64_t{bsNone}, kBorderStyleNames),
        Publish("Layout", &T::Layout, &T::SetLayout, int64_t{lsAcross}, kLegendStyleNames),
        Publish("top", &T::top, &T::Settop, int64_t{10}),
        Publish("left", &T::left, &T::Setleft, int64_t{10}),
        Publish("width", &T::width, &T::Setwidth),
        Publish("height", &T::height, &T::Setheight, int64_t{20}),
        Publish("font", &T::font, &T::Setfont),
        Publish("SymbolSpace", &T::SymbolSpace, &T::SetSymbolSpace, int64_t{20}),
        Publish("XMargin", &T::XMargin, &T::SetXMargin, int64_t{10}),
        Publish("YMargin", &T::YMargin, &T::SetYMargin, int64_t{5}),
    };
    return properties;
}
