#include "graph/control/zemplot.h"
#include "graph/stream/section_layout.h"
#include "graph/control/files/section_layouts.h"

namespace {

const TSectionLayout<TZemplotMark>& MarkLayout()
{
    using T = TZemplotMark;
    // The mark's fields are plain; a field the section lacks stays 0.
    const auto integer = [](int32_t number, const char* key, auto T::*field) -> TSectionField<T> {
        using TValue = std::remove_cvref_t<decltype(T{}.*field)>;
        return {number, [=](TxyWriter& writer, const T& mark) { writer.WriteTaggedInteger(number, key, static_cast<int32_t>(mark.*field)); },
                [=](TxyReader& reader, T& mark) { mark.*field = static_cast<TValue>(reader.ReadAsInteger()); }};
    };
    const auto real = [](int32_t number, const char* key, double T::*field) -> TSectionField<T> {
        return {number, [=](TxyWriter& writer, const T& mark) { writer.WriteTaggedFloat(number, key, mark.*field); },
                [=](TxyReader& reader, T& mark) { mark.*field = reader.ReadAsFloat(); }};
    };
    static const TSectionLayout<T> layout{
        .Name = "Mark",
        .HeaderKey = "Section:",
        .Fields = {
            integer(1, "ID ", &T::ID),
            real(2, "X1Value", &T::X1Value),
            real(3, "Y1Value", &T::Y1Value),
            real(4, "X2Value", &T::X2Value),
            real(5, "Y2Value", &T::Y2Value),
            integer(6, "Color", &T::Color),
            {7, [](TxyWriter& writer, const T& mark) { writer.WriteTaggedString(7, "Caption", mark.Caption); },
             [](TxyReader& reader, T& mark) { mark.Caption = reader.ReadAsString(); }},
            integer(8, "TypeOfMark", &T::TypeOfMark),
            {9, [](TxyWriter& writer, const T& mark) { writer.WriteTaggedBoolean(9, "WhenDrawn", mark.WhenDrawn); },
             [](TxyReader& reader, T& mark) { mark.WhenDrawn = reader.ReadAsBoolean(); }},
        }};
    return layout;
}

}  // namespace

void WriteMarkSection(TxyWriter& writer, const TZemplotMark& mark)
{
    MarkLayout().Write(writer, mark);
}

TZemplotMark ReadMarkSection(TxyReader& reader)
{
    TZemplotMark mark;
    MarkLayout().Read(reader, mark);
    return mark;
}
