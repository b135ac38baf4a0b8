#include "graph/data/suppliers/holder_description.h"

#include <array>
#include <string>
#include <string_view>

#include "graph/core/error.h"
#include "graph/data/suppliers/xy_holder.h"
#include "graph/stream/component_entry.h"

namespace {

constexpr std::string_view kClassName = "TxyHolder";

// The value writer knows no lists; the line list is the only one a holder has.
constexpr uint8_t kListType = 1;

constexpr std::array<std::string_view, 2> kPaddingPolicyNames = {"ppTotal", "ppExtra"};

[[noreturn]] void InvalidValue()
{
    throw TVandrelError("Invalid property value");
}

void WriteText(TValueWriter& writer, const QString& text)
{
    writer.WriteString(text.toStdString());
}

QString ReadText(TValueReader& reader)
{
    return QString::fromStdString(reader.ReadString());
}

void WritePolicy(TValueWriter& writer, TPaddingPolicy policy)
{
    if (policy >= kPaddingPolicyNames.size())
        InvalidValue();
    writer.WriteIdent(kPaddingPolicyNames[policy]);
}

TPaddingPolicy ReadPolicy(TValueReader& reader)
{
    const std::string name = reader.ReadIdent();
    for (std::size_t ordinal = 0; ordinal < kPaddingPolicyNames.size(); ++ordinal)
        if (name == kPaddingPolicyNames[ordinal])
            return static_cast<TPaddingPolicy>(ordinal);
    InvalidValue();
}

void WriteLines(TValueWriter& writer, const QStringList& lines)
{
    writer.WriteRaw(&kListType, 1);
    for (const QString& line : lines)
        WriteText(writer, line);
    writer.WriteListEnd();
}

QStringList ReadLines(TValueReader& reader)
{
    if (reader.NextValue() != kListType)
        InvalidValue();
    uint8_t type = 0;
    reader.ReadRaw(&type, 1);
    QStringList lines;
    while (!reader.EndOfList())
        lines.append(ReadText(reader));
    return lines;
}

struct THolderProperty {
    std::string_view Name;
    void (*Write)(TValueWriter& writer, const TxyHolder& holder);
    void (*Read)(TValueReader& reader, TxyHolder& holder);
};

// In the order they are written.
constexpr std::array<THolderProperty, 9> kProperties = {{
    {"Tag", [](TValueWriter& w, const TxyHolder& h) { w.WriteInteger(h.Tag()); },
     [](TValueReader& r, TxyHolder& h) { h.SetTag(r.ReadInteger()); }},
    {"Textseparators", [](TValueWriter& w, const TxyHolder& h) { WriteText(w, h.Textseparators()); },
     [](TValueReader& r, TxyHolder& h) { h.SetTextseparators(ReadText(r)); }},
    {"TextMarkers", [](TValueWriter& w, const TxyHolder& h) { WriteText(w, h.TextMarkers()); },
     [](TValueReader& r, TxyHolder& h) { h.SetTextMarkers(ReadText(r)); }},
    {"data.Strings", [](TValueWriter& w, const TxyHolder& h) { WriteLines(w, h.data()); },
     [](TValueReader& r, TxyHolder& h) { h.Setdata(ReadLines(r)); }},
    {"XPaddingPolicy", [](TValueWriter& w, const TxyHolder& h) { WritePolicy(w, h.XPaddingPolicy()); },
     [](TValueReader& r, TxyHolder& h) { h.SetXPaddingPolicy(ReadPolicy(r)); }},
    {"YPaddingPolicy", [](TValueWriter& w, const TxyHolder& h) { WritePolicy(w, h.YPaddingPolicy()); },
     [](TValueReader& r, TxyHolder& h) { h.SetYPaddingPolicy(ReadPolicy(r)); }},
    {"XPadCount", [](TValueWriter& w, const TxyHolder& h) { w.WriteInteger(h.XPadCount()); },
     [](TValueReader& r, TxyHolder& h) { h.SetXPadCount(r.ReadInteger()); }},
    {"YPadCount", [](TValueWriter& w, const TxyHolder& h) { w.WriteInteger(h.YPadCount()); },
     [](TValueReader& r, TxyHolder& h) { h.SetYPadCount(r.ReadInteger()); }},
    {"ID", [](TValueWriter& w, const TxyHolder& h) { WriteText(w, h.ID()); },
     [](TValueReader& r, TxyHolder& h) { h.SetID(ReadText(r)); }},
}};

}  // namespace

void WriteHolderEntry(TValueWriter& writer, const TxyHolder& holder)
{
    WriteEntryHead(writer, kClassName, holder);
    for (const THolderProperty& property : kProperties) {
        writer.WriteShortString(property.Name);
        property.Write(writer, holder);
    }
    writer.WriteListEnd();
}

void ReadHolderEntry(TValueReader& reader, TxyHolder& holder)
{
    ReadEntryHead(reader, kClassName, holder);
    while (!reader.EndOfList()) {
        const std::string name = reader.ReadShortString();
        const THolderProperty* found = nullptr;
        for (const THolderProperty& property : kProperties)
            if (name == property.Name)
                found = &property;
        if (found == nullptr)
            throw TVandrelError("Property " + name + " does not exist");
        found->Read(reader, holder);
    }
}
