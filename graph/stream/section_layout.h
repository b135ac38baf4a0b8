#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "graph/stream/tagged_stream.h"

// One stored field of an object: its number, key name and how it is written and
// read. Reading applies the value at once, through the object's setter.
template <typename TObject>
struct TSectionField {
    int32_t Number;
    std::function<void(TxyWriter& writer, const TObject& object)> Write;
    std::function<void(TxyReader& reader, TObject& object)> Read;
};

// The fields of one kind of section, in the ascending order they are written in.
template <typename TObject>
struct TSectionLayout {
    const char* Name = nullptr; // no header when null
    const char* HeaderKey = "";
    std::vector<TSectionField<TObject>> Fields;

    void Write(TxyWriter& writer, const TObject& object) const
    {
        if (Name != nullptr)
            writer.WriteTaggedString(99, HeaderKey, Name);
        for (const TSectionField<TObject>& field : Fields)
            field.Write(writer, object);
        writer.WriteEndOfSection();
    }

    // Reads up to the end of the section; fields it does not know, the header among
    // them, are skipped.
    void Read(TxyReader& reader, TObject& object) const
    {
        for (int32_t number = reader.ReadTag(); number != 0; number = reader.ReadTag()) {
            const TSectionField<TObject>* known = Find(number);
            if (known != nullptr)
                known->Read(reader, object);
            else
                reader.SkipValue();
        }
    }

private:
    const TSectionField<TObject>* Find(int32_t number) const
    {
        for (const TSectionField<TObject>& field : Fields)
            if (field.Number == number)
                return &field;
        return nullptr;
    }
};

// Fields from an object's getter and setter. A value read is cut to the width of
// the setter's parameter, as a narrower property keeps only its own bits.
namespace section_fields {

template <typename TObject, typename TGet, typename TArg>
TSectionField<TObject> Boolean(int32_t number, const char* key, TGet (TObject::*get)() const,
                               void (TObject::*set)(TArg))
{
    return {number, [=](TxyWriter& writer, const TObject& object) { writer.WriteTaggedBoolean(number, key, (object.*get)()); },
            [=](TxyReader& reader, TObject& object) { (object.*set)(reader.ReadAsBoolean()); }};
}

template <typename TObject, typename TGet, typename TArg>
TSectionField<TObject> Integer(int32_t number, const char* key, TGet (TObject::*get)() const,
                               void (TObject::*set)(TArg))
{
    using TValue = std::remove_cvref_t<TArg>;
    return {number,
            [=](TxyWriter& writer, const TObject& object) {
                writer.WriteTaggedInteger(number, key, static_cast<int32_t>((object.*get)()));
            },
            [=](TxyReader& reader, TObject& object) {
                if constexpr (std::is_enum_v<TValue>)
                    (object.*set)(static_cast<TValue>(static_cast<std::underlying_type_t<TValue>>(reader.ReadAsInteger())));
                else
                    (object.*set)(static_cast<TValue>(reader.ReadAsInteger()));
            }};
}

template <typename TObject, typename TGet, typename TArg>
TSectionField<TObject> Float(int32_t number, const char* key, TGet (TObject::*get)() const,
                             void (TObject::*set)(TArg))
{
    return {number, [=](TxyWriter& writer, const TObject& object) { writer.WriteTaggedFloat(number, key, (object.*get)()); },
            [=](TxyReader& reader, TObject& object) { (object.*set)(reader.ReadAsFloat()); }};
}

template <typename TObject, typename TGet, typename TArg>
TSectionField<TObject> String(int32_t number, const char* key, TGet (TObject::*get)() const,
                              void (TObject::*set)(TArg))
{
    return {number, [=](TxyWriter& writer, const TObject& object) { writer.WriteTaggedString(number, key, (object.*get)()); },
            [=](TxyReader& reader, TObject& object) { (object.*set)(reader.ReadAsString()); }};
}

}  // namespace section_fields
