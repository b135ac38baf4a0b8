#pragma once

#include "graph/control/font.h"
#include "graph/stream/section_layout.h"

// A font as a section stores it: face name, size in points, colour and the four
// styles.
TFontRecord FontRecordOf(const TFontAttributes& font);
// The font a record describes; a size in points becomes the height a screen of
// 96 pixels per inch gives it.
TFontAttributes FontAttributesOf(const TFontRecord& record);

namespace section_fields {

// A font field: written from the object's font, read into a font of its own and
// handed to the setter, which copies it.
template <typename TObject>
TSectionField<TObject> Font(int32_t number, const char* key, const TFont& (TObject::*get)() const,
                            void (TObject::*set)(const TFontAttributes&))
{
    return {number,
            [=](TxyWriter& writer, const TObject& object) {
                writer.WriteTaggedFont(number, key, FontRecordOf((object.*get)().Attributes()));
            },
            [=](TxyReader& reader, TObject& object) {
                TFontRecord record;
                reader.ReadFont(record);
                (object.*set)(FontAttributesOf(record));
            }};
}

}  // namespace section_fields
