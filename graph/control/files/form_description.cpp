#include "graph/control/files/form_description.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "graph/control/zemplot.h"
#include "graph/core/error.h"
#include "graph/control/files/graph_stream.h"
#include "graph/stream/memory_stream.h"
#include "graph/stream/component_entry.h"

namespace {

using TGraphProperty = TPublishedProperty<TZemplot>;

constexpr std::string_view kClassName = "TZemplot";

constexpr std::array<const char*, 7> kAlignNames = {
    "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"};
constexpr std::array<const char*, 4> kBevelCutNames = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};

struct TStyleName {
    TFontStyle Style;
    std::string_view Name;
};
constexpr std::array<TStyleName, 4> kFontStyleNames = {{
    {fsBold, "fsBold"}, {fsItalic, "fsItalic"}, {fsUnderline, "fsUnderline"}, {fsStrikeOut, "fsStrikeOut"}}};

[[noreturn]] void InvalidValue()
{
    throw TVandrelError("Invalid property value");
}

int IntOf(const TPublishedValue& value)
{
    return static_cast<int>(std::get<int64_t>(value));
}

TGraphProperty Geometry(std::string name, int (QWidget::*get)() const, void (*set)(TZemplot&, int))
{
    return {std::move(name), TPublishedKind::Integer, std::nullopt, {},
            [get](const TZemplot& graph) { return TPublishedValue{int64_t{(graph.*get)()}}; },
            [set](TZemplot& graph, const TPublishedValue& value) { set(graph, IntOf(value)); }};
}

// The graph paints into a backing image of its size, 4 bytes a pixel: a stored side
// of 30000 would cost 3.5 GB. A side above this is brought down to it rather than
// refused, so that a graph stored at a larger size still loads with its settings,
// series and marks; it is wider than any screen of today.
constexpr int kLargestSide = 8192;

int StoredSide(int value)
{
    return std::min(value, kLargestSide);
}

// The published properties of a settings object as the graph's, under dotted
// names. `access` gives the object of a graph, const or not.
template <typename TObject, typename TAccess>
void AddObject(std::vector<TGraphProperty>& properties, const std::string& prefix, TAccess access)
{
    for (const TPublishedProperty<TObject>& property : TObject::Published()) {
        // The lists are static, so the property may be held by reference.
        properties.push_back({prefix + "." + property.Name, property.Kind, property.Default, property.EnumNames,
                              [&property, access](const TZemplot& graph) { return property.Get(access(graph)); },
                              [&property, access](TZemplot& graph, const TPublishedValue& value) {
                                  property.Set(access(graph), value);
                              }});
    }
}

// Every published property in the order it is written, except Plotting: that one
// is applied only when the whole entry has been read.
const std::vector<TGraphProperty>& GraphProperties()
{
    using T = TZemplot;
    static const std::vector<TGraphProperty> properties = [] {
        std::vector<TGraphProperty> list = {
            Geometry("Left", &QWidget::x, [](T& graph, int value) { graph.move(value, graph.y()); }),
            Geometry("Top", &QWidget::y, [](T& graph, int value) { graph.move(graph.x(), value); }),
            Geometry("Width", &QWidget::width,
                     [](T& graph, int value) { graph.resize(StoredSide(value), graph.height()); }),
            Geometry("Height", &QWidget::height,
                     [](T& graph, int value) { graph.resize(graph.width(), StoredSide(value)); }),
            Publish("DragAllowed", &T::DragAllowed, &T::SetDragAllowed, true),
        };
        AddObject<TAxis>(list, "XAxis", [](auto& graph) -> auto& { return graph.XAxis(); });
        AddObject<TAxis>(list, "YAxis", [](auto& graph) -> auto& { return graph.YAxis(); });
        AddObject<TAxis>(list, "YAxis_Second", [](auto& graph) -> auto& { return graph.YAxis_Second(); });
        AddObject<TDimensions>(list, "Dimensions", [](auto& graph) -> auto& { return graph.Dimensions(); });
        AddObject<TAppearance>(list, "Appearance", [](auto& graph) -> auto& { return graph.Appearance(); });
        AddObject<TLegend>(list, "Legend", [](auto& graph) -> auto& { return graph.Legend(); });
        list.push_back(Publish("Align", &T::Align, &T::SetAlign, int64_t{alNone}, kAlignNames));
        list.push_back(Publish("BevelInner", &T::BevelInner, &T::SetBevelInner, int64_t{bvNone}, kBevelCutNames));
        list.push_back(Publish("BevelOuter", &T::BevelOuter, &T::SetBevelOuter, int64_t{bvNone}, kBevelCutNames));
        list.push_back(Publish("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, int64_t{1}));
        list.push_back(
            Publish("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, int64_t{bsSingle}, kBorderStyleNames));
        list.push_back(Publish("BorderWidth", &T::BorderWidth, &T::SetBorderWidth, int64_t{0}));
        return list;
    }();
    return properties;
}

const TGraphProperty* FindProperty(std::string_view name)
{
    static const std::map<std::string, const TGraphProperty*, std::less<>> byName = [] {
        std::map<std::string, const TGraphProperty*, std::less<>> map;
        for (const TGraphProperty& property : GraphProperties())
            map.emplace(property.Name, &property);
        return map;
    }();
    const auto found = byName.find(name);
    return found == byName.end() ? nullptr : found->second;
}

// Writing.

void WriteFont(TValueWriter& writer, const std::string& name, const TFontAttributes& font)
{
    writer.WriteShortString(name + ".Name");
    writer.WriteString(font.Name);
    writer.WriteShortString(name + ".Height");
    writer.WriteInteger(font.Height);
    writer.WriteShortString(name + ".Color");
    writer.WriteInteger(static_cast<int32_t>(font.Color));
    std::vector<std::string_view> members;
    for (const TStyleName& style : kFontStyleNames)
        if ((font.Style & style.Style) != 0)
            members.push_back(style.Name);
    writer.WriteShortString(name + ".Style");
    writer.WriteSet(members);
}

void WriteValue(TValueWriter& writer, const TGraphProperty& property, const TPublishedValue& value)
{
    switch (property.Kind) {
    case TPublishedKind::Boolean:
        writer.WriteBoolean(std::get<bool>(value));
        break;
    case TPublishedKind::Integer:
        // Colours above 0x7FFFFFFF go as negative numbers and come back the same.
        writer.WriteInteger(static_cast<int32_t>(std::get<int64_t>(value)));
        break;
    case TPublishedKind::Float:
        writer.WriteFloat(std::get<double>(value));
        break;
    case TPublishedKind::String:
        writer.WriteString(std::get<std::string>(value));
        break;
    case TPublishedKind::Enumeration: {
        const int64_t ordinal = std::get<int64_t>(value);
        if (ordinal < 0 || static_cast<std::size_t>(ordinal) >= property.EnumNames.size())
            InvalidValue();
        writer.WriteIdent(property.EnumNames[static_cast<std::size_t>(ordinal)]);
        break;
    }
    case TPublishedKind::Font:
        break; // written as records of their own
    }
}

void WriteProperty(TValueWriter& writer, const TGraphProperty& property, const TZemplot& graph)
{
    const TPublishedValue value = property.Get(graph);
    if (property.Default && *property.Default == value)
        return;
    if (property.Kind == TPublishedKind::Font) {
        WriteFont(writer, property.Name, std::get<TFontAttributes>(value));
        return;
    }
    writer.WriteShortString(property.Name);
    WriteValue(writer, property, value);
}

// The two defined properties that hold the series and the marks blocks. Each is
// there only while its count says there is something to hold.
struct TBlockProperty {
    const char* Name;
    const char* EmptyMessage;
    uint16_t (TZemplot::*Count)() const;
    void (TZemplot::*WriteBlock)(TMemoryStream&);
    void (TZemplot::*ReadBlock)(TMemoryStream&);
};

const TBlockProperty kSeriesInfo{"SeriesInfo", "internal filing error: TZemplot", &TZemplot::SeriesCount,
                                 &TZemplot::WriteSeriesBlock, &TZemplot::ReadSeriesBlock};
const TBlockProperty kMarksInfo{"MarksInfo", "internal filing error2: TZemplot", &TZemplot::MarkCount,
                                &TZemplot::WriteMarksBlock, &TZemplot::ReadMarksBlock};

void CheckBlockHasContent(const TZemplot& graph, const TBlockProperty& property)
{
    if ((graph.*property.Count)() == 0)
        throw TVandrelError(property.EmptyMessage);
}

void WriteBlockProperty(TValueWriter& writer, TZemplot& graph, const TBlockProperty& property)
{
    CheckBlockHasContent(graph, property);
    TMemoryStream block;
    (graph.*property.WriteBlock)(block);
    writer.WriteShortString(property.Name);
    writer.WriteBinary(block.Bytes());
}

// Reading.

bool ReadBooleanValue(TValueReader& reader)
{
    // The reader's own ReadBoolean takes any byte as false; a form needs one of the two.
    const TValueType type = reader.NextValue();
    if (type != vaTrue && type != vaFalse)
        InvalidValue();
    return reader.ReadBoolean();
}

TPublishedValue ReadValue(TValueReader& reader, const TGraphProperty& property)
{
    switch (property.Kind) {
    case TPublishedKind::Boolean:
        return ReadBooleanValue(reader);
    case TPublishedKind::Integer:
        return int64_t{reader.ReadInteger()};
    case TPublishedKind::Float:
        return reader.ReadFloat();
    case TPublishedKind::String:
        return reader.ReadString();
    case TPublishedKind::Enumeration: {
        const std::string name = reader.ReadIdent();
        for (std::size_t ordinal = 0; ordinal < property.EnumNames.size(); ++ordinal)
            if (name == property.EnumNames[ordinal])
                return static_cast<int64_t>(ordinal);
        InvalidValue();
    }
    case TPublishedKind::Font:
        break;
    }
    InvalidValue();
}

TFontStyles ReadStyles(TValueReader& reader)
{
    TFontStyles styles = 0;
    for (const std::string& member : reader.ReadSet()) {
        const TStyleName* found = nullptr;
        for (const TStyleName& style : kFontStyleNames)
            if (member == style.Name)
                found = &style;
        if (found == nullptr)
            InvalidValue();
        styles |= found->Style;
    }
    return styles;
}

// A record "<font>.<attribute>": changes that one attribute of the font. False when
// the name is no font attribute.
bool ReadFontAttribute(TValueReader& reader, TZemplot& graph, std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const TGraphProperty* font = FindProperty(name.substr(0, dot));
    if (font == nullptr || font->Kind != TPublishedKind::Font)
        return false;
    const std::string_view attribute = name.substr(dot + 1);
    TFontAttributes value = std::get<TFontAttributes>(font->Get(graph));
    if (attribute == "Name")
        value.Name = reader.ReadString();
    else if (attribute == "Height")
        value.Height = reader.ReadInteger();
    else if (attribute == "Color")
        value.Color = static_cast<TColor>(reader.ReadInteger());
    else if (attribute == "Style")
        value.Style = ReadStyles(reader);
    else
        return false;
    font->Set(graph, value);
    return true;
}

void ReadBlockProperty(TValueReader& reader, TZemplot& graph, const TBlockProperty& property)
{
    CheckBlockHasContent(graph, property);
    TMemoryStream block(reader.ReadBinary());
    (graph.*property.ReadBlock)(block);
}

// The records up to the 0 byte; the Plotting record is kept in `plotting`.
void ReadRecords(TValueReader& reader, TZemplot& graph, std::optional<bool>& plotting)
{
    while (!reader.EndOfList()) {
        const std::string name = reader.ReadShortString();
        if (name == "Plotting") {
            plotting = ReadBooleanValue(reader);
        } else if (name == "SeriesCount") {
            graph.SetSeriesCount(ReadCountValue(reader));
        } else if (name == "MarkCount") {
            graph.SetMarkCount(ReadCountValue(reader));
        } else if (name == kSeriesInfo.Name) {
            ReadBlockProperty(reader, graph, kSeriesInfo);
        } else if (name == kMarksInfo.Name) {
            ReadBlockProperty(reader, graph, kMarksInfo);
        } else if (const TGraphProperty* property = FindProperty(name);
                   property != nullptr && property->Kind != TPublishedKind::Font) {
            property->Set(graph, ReadValue(reader, *property));
        } else if (!ReadFontAttribute(reader, graph, name)) {
            throw TVandrelError("Property " + name + " does not exist");
        }
    }
}

}  // namespace

void WriteGraphEntry(TValueWriter& writer, TZemplot& graph)
{
    WriteEntryHead(writer, kClassName, graph);
    for (const TGraphProperty& property : GraphProperties())
        WriteProperty(writer, property, graph);
    writer.WriteShortString("Plotting");
    writer.WriteBoolean(graph.Plotting());

    writer.WriteShortString("SeriesCount");
    WriteCountValue(writer, graph.CountSeries());
    writer.WriteShortString("MarkCount");
    WriteCountValue(writer, graph.CountMarks());
    if (graph.SeriesCount() != 0)
        WriteBlockProperty(writer, graph, kSeriesInfo);
    if (graph.MarkCount() != 0)
        WriteBlockProperty(writer, graph, kMarksInfo);
    writer.WriteListEnd();
}

void ReadGraphEntry(TValueReader& reader, TZemplot& graph)
{
    ReadEntryHead(reader, kClassName, graph);

    // Setters repaint while plotting; one paint at the end is enough.
    const bool before = graph.Plotting();
    std::optional<bool> stored;
    graph.SetPlotting(false);
    try {
        ReadRecords(reader, graph, stored);
    } catch (...) {
        // The read's error is the one to report, not one of painting what was read.
        try {
            graph.SetPlotting(stored.value_or(before));
        } catch (...) {
        }
        throw;
    }
    graph.SetPlotting(stored.value_or(before));
}
