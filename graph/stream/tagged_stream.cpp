#include "graph/stream/tagged_stream.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "graph/core/error.h"
#include "graph/stream/stream_number_text.h"

namespace {

bool GCompactValues = true;

std::string& DecimalSeparator()
{
    static std::string separator = ".";
    return separator;
}

[[noreturn]] void RaiseConversionError()
{
    throw TVandrelError("conversion error");
}

}  // namespace

bool CompactValues()
{
    return GCompactValues;
}

void SetCompactValues(bool value)
{
    GCompactValues = value;
}

const std::string& StreamDecimalSeparator()
{
    return DecimalSeparator();
}

void SetStreamDecimalSeparator(std::string separator)
{
    DecimalSeparator() = std::move(separator);
}

// --- TxyWriter

void TxyWriter::WriteTag(int32_t number, std::string_view key, char letter)
{
    std::string numberText = std::to_string(number);
    if (numberText.size() > 2)
        throw TVandrelError("illegal call in savetofile");
    if (numberText.size() == 1)
        numberText.insert(0, 1, ' ');
    std::string tag = CompactValues() ? std::string() : std::string(key);
    tag += numberText;
    tag += letter;
    WriteString(tag);
}

void TxyWriter::WriteTaggedString(int32_t number, std::string_view key, std::string_view text)
{
    WriteTag(number, key, 'S');
    WriteString(text);
}

void TxyWriter::WriteTaggedInteger(int32_t number, std::string_view key, int32_t value)
{
    if (CompactValues()) {
        WriteTag(number, key, 'I');
        WriteInteger(value);
    } else {
        WriteTaggedString(number, key, std::to_string(value));
    }
}

void TxyWriter::WriteTaggedFloat(int32_t number, std::string_view key, double value)
{
    if (CompactValues()) {
        WriteTag(number, key, 'D');
        WriteFloat(value);
    } else {
        WriteTaggedString(number, key, TextOfFloat(value, StreamDecimalSeparator()));
    }
}

void TxyWriter::WriteTaggedBoolean(int32_t number, std::string_view key, bool value)
{
    if (CompactValues()) {
        WriteTag(number, key, 'B');
        WriteBoolean(value);
    } else {
        WriteTaggedString(number, key, value ? "true" : "false");
    }
}

void TxyWriter::WriteTaggedFont(int32_t number, std::string_view key, const TFontRecord& font)
{
    WriteTag(number, key, 'F');
    WriteString(font.Name);
    WriteInteger(font.Size);
    WriteInteger(font.Color);
    WriteBoolean(font.Bold);
    WriteBoolean(font.Italic);
    WriteBoolean(font.Underline);
    WriteBoolean(font.StrikeOut);
}

void TxyWriter::WriteEndOfSection()
{
    WriteTaggedBoolean(0, "EndOfSection", false);
}

// The keys show only in the named style, where the count is text like any integer.
void TxyWriter::WritePointsHeader(int32_t count)
{
    WriteTaggedInteger(1, "NumberOfPoints", count);
    WriteTaggedInteger(2, "EntriesPerPoint", 2);
    WriteString(CompactValues() ? "D" : "S");
}

void TxyWriter::WritePointPair(double x, double y)
{
    if (CompactValues()) {
        WriteFloat(x);
        WriteFloat(y);
    } else {
        WriteString(TextOfFloat(x, StreamDecimalSeparator()));
        WriteString(TextOfFloat(y, StreamDecimalSeparator()));
    }
}

// --- TxyReader

void TxyReader::CheckTagPending() const
{
    if (FTagExpected)
        throw TVandrelError("reading error 2");
}

int32_t TxyReader::ReadTag()
{
    if (!FTagExpected)
        throw TVandrelError("reading error 1");
    const std::string tag = ReadString();
    if (tag.size() < 3)
        RaiseNotInteger(tag);
    // Only the last three characters count; whatever stands before them is the key.
    const std::string_view numberText = std::string_view(tag).substr(tag.size() - 3, 2);
    int32_t number = 0;
    try {
        number = IntegerOfText(numberText[0] == ' ' ? numberText.substr(1) : numberText);
    } catch (const TVandrelError&) {
        RaiseNotInteger(numberText);
    }
    FTypeLetter = tag.back();
    FTagExpected = false;
    if (number == 0)
        SkipValue();
    return number;
}

std::string TxyReader::ReadAsString()
{
    CheckTagPending();
    std::string text;
    switch (FTypeLetter) {
    case 'B':
        text = ReadBoolean() ? "true" : "false";
        break;
    case 'D':
        text = TextOfFloat(ReadFloat(), StreamDecimalSeparator());
        break;
    case 'I':
        text = std::to_string(ReadInteger());
        break;
    case 'S':
        text = ReadString();
        break;
    default:
        RaiseConversionError();
    }
    FTagExpected = true;
    return text;
}

int32_t TxyReader::ReadAsInteger()
{
    CheckTagPending();
    int32_t value = 0;
    switch (FTypeLetter) {
    case 'B':
        value = ReadBoolean() ? 1 : 0;
        break;
    case 'D': {
        const double truncated = std::trunc(ReadFloat());
        // NaN fails both comparisons.
        if (!(truncated >= std::numeric_limits<int32_t>::min() &&
              truncated <= std::numeric_limits<int32_t>::max()))
            RaiseConversionError();
        value = static_cast<int32_t>(truncated);
        break;
    }
    case 'I':
        value = ReadInteger();
        break;
    case 'S':
        value = IntegerOfText(ReadString());
        break;
    default:
        RaiseConversionError();
    }
    FTagExpected = true;
    return value;
}

double TxyReader::ReadAsFloat()
{
    CheckTagPending();
    double value = 0;
    switch (FTypeLetter) {
    case 'B':
        value = ReadBoolean() ? 1.0 : 0.0;
        break;
    case 'D':
        value = ReadFloat();
        break;
    case 'I':
        value = ReadInteger();
        break;
    case 'S':
        value = FloatOfText(ReadString(), StreamDecimalSeparator());
        break;
    default:
        RaiseConversionError();
    }
    FTagExpected = true;
    return value;
}

bool TxyReader::ReadAsBoolean()
{
    CheckTagPending();
    bool value = false;
    switch (FTypeLetter) {
    case 'B':
        value = ReadBoolean();
        break;
    case 'D':
        ReadFloat();
        break;
    case 'I':
        value = ReadInteger() == 1;
        break;
    case 'S':
        value = ReadString() == "true";
        break;
    default:
        RaiseConversionError();
    }
    FTagExpected = true;
    return value;
}

void TxyReader::ReadFont(TFontRecord& font)
{
    if (FTypeLetter != 'F')
        RaiseConversionError();
    font.Name = ReadString();
    font.Size = ReadInteger();
    font.Color = ReadInteger();
    font.Bold = ReadBoolean();
    font.Italic = ReadBoolean();
    font.Underline = ReadBoolean();
    font.StrikeOut = ReadBoolean();
    FTagExpected = true;
}

void TxyReader::SkipValue()
{
    CheckTagPending();
    switch (FTypeLetter) {
    case 'B':
        ReadBoolean();
        break;
    case 'D':
        ReadFloat();
        break;
    case 'I':
        ReadInteger();
        break;
    case 'S':
        ReadString();
        break;
    case 'F': {
        TFontRecord ignored;
        ReadFont(ignored);
        break;
    }
    default:
        RaiseConversionError();
    }
    FTagExpected = true;
}

int32_t TxyReader::ReadPointsHeader()
{
    if (ReadTag() != 1)
        throw TVandrelError("Stream read Error");
    const int32_t count = ReadAsInteger();
    if (ReadTag() != 2)
        throw TVandrelError("Stream Read Error");
    FEntriesPerPoint = ReadAsInteger();
    FPointsAsFloats = ReadString() == "D";
    return count;
}

void TxyReader::ReadPointPair(double& x, double& y)
{
    const auto readEntry = [this] {
        return FPointsAsFloats ? ReadFloat() : FloatOfText(ReadString(), StreamDecimalSeparator());
    };
    x = readEntry();
    y = readEntry();
    // The entries beyond x and y are strings, whatever the pairs' encoding, and nothing
    // uses them. A number there under "D" is taken too, as earlier readers took it.
    for (int32_t i = 2; i < FEntriesPerPoint; ++i) {
        const TValueType next = NextValue();
        if (FPointsAsFloats && next != vaString && next != vaLString)
            ReadFloat();
        else
            ReadString();
    }
}
