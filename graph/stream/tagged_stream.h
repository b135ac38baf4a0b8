#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "graph/stream/stream_number_text.h"
#include "graph/stream/value_reader.h"
#include "graph/stream/value_writer.h"

// How tagged values are written: compact (the value itself after its tag) or named
// (the field's key name in the tag and every value as text). Compact from the start
// of the process; readers take either, value by value.
bool CompactValues();
void SetCompactValues(bool value);

// The decimal separator of numbers written or read as text (named style, text
// points). "." unless the program passes the user's.
const std::string& StreamDecimalSeparator();
void SetStreamDecimalSeparator(std::string separator);

// A font as a section stores it.
struct TFontRecord {
    std::string Name;
    int32_t Size = 0;  // points
    int32_t Color = 0; // 0x00BBGGRR
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const TFontRecord&) const = default;
};

// Writes sections of tagged values: a tag (the field number as two characters, a
// leading blank for one digit, then the type letter B, I, D, S or F; in the named
// style the key name first), then the value.
class TxyWriter : public TValueWriter {
public:
    using TValueWriter::TValueWriter;

    // Field numbers run from 0 to 99; a longer number raises "illegal call in savetofile".
    void WriteTaggedString(int32_t number, std::string_view key, std::string_view text);
    void WriteTaggedInteger(int32_t number, std::string_view key, int32_t value);
    void WriteTaggedFloat(int32_t number, std::string_view key, double value);
    void WriteTaggedBoolean(int32_t number, std::string_view key, bool value);
    void WriteTaggedFont(int32_t number, std::string_view key, const TFontRecord& font);
    void WriteEndOfSection();
    // The points block that follows a data series section: the count and the entries
    // per point (2), the encoding, then one call of WritePointPair per point.
    void WritePointsHeader(int32_t count);
    void WritePointPair(double x, double y);

private:
    void WriteTag(int32_t number, std::string_view key, char letter);
};

// Reads sections of tagged values: ReadTag, then exactly one value operation (or
// SkipValue), until ReadTag returns 0, the end of the section.
class TxyReader : public TValueReader {
public:
    using TValueReader::TValueReader;

    int32_t ReadTag();
    std::string ReadAsString();
    int32_t ReadAsInteger();
    double ReadAsFloat();
    bool ReadAsBoolean();
    void ReadFont(TFontRecord& font);
    void SkipValue();
    // Returns the number of pairs that follow; 0 or less means none.
    int32_t ReadPointsHeader();
    void ReadPointPair(double& x, double& y);

private:
    // Raises "reading error 2" unless a tag is waiting for its value.
    void CheckTagPending() const;

    char FTypeLetter = '\0';
    bool FTagExpected = true;
    bool FPointsAsFloats = false;
    int32_t FEntriesPerPoint = 2;
};
