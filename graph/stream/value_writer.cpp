#include "graph/stream/value_writer.h"

#include <type_traits>

#include "graph/core/error.h"
#include "graph/stream/extended_float.h"

namespace {

template <typename T>
void AppendLittleEndian(std::vector<uint8_t>& buffer, T value)
{
    using TUnsigned = std::make_unsigned_t<T>;
    const auto bits = static_cast<TUnsigned>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        buffer.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

void AppendText(std::vector<uint8_t>& buffer, std::string_view text)
{
    buffer.insert(buffer.end(), text.begin(), text.end());
}

// Checked before anything of the value is buffered, so a refused name leaves no trace.
void CheckShortString(std::string_view text)
{
    if (text.size() > 255)
        throw TVandrelError("illegal call in savetofile");
}

void AppendShortString(std::vector<uint8_t>& buffer, std::string_view text)
{
    buffer.push_back(static_cast<uint8_t>(text.size()));
    AppendText(buffer, text);
}

} // namespace

TValueWriter::TValueWriter(TMemoryStream& stream, std::size_t bufferSize)
    : FStream(stream), FBufferSize(bufferSize)
{
    FBuffer.reserve(bufferSize);
}

TValueWriter::~TValueWriter()
{
    Flush();
}

void TValueWriter::Flush()
{
    FStream.Write(FBuffer.data(), FBuffer.size());
    FBuffer.clear();
}

// Values go into the buffer whole and the buffer is emptied once it holds
// FBufferSize bytes or more, so any buffer size works, 0 included.
void TValueWriter::FlushIfFull()
{
    if (FBuffer.size() >= FBufferSize)
        Flush();
}

void TValueWriter::WriteInteger(int32_t value)
{
    if (value >= -128 && value <= 127) {
        FBuffer.push_back(vaInt8);
        AppendLittleEndian(FBuffer, static_cast<int8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        FBuffer.push_back(vaInt16);
        AppendLittleEndian(FBuffer, static_cast<int16_t>(value));
    } else {
        FBuffer.push_back(vaInt32);
        AppendLittleEndian(FBuffer, value);
    }
    FlushIfFull();
}

void TValueWriter::WriteFloat(double value)
{
    FBuffer.push_back(vaExtended);
    const TExtendedBytes bytes = ToExtended(value);
    FBuffer.insert(FBuffer.end(), bytes.begin(), bytes.end());
    FlushIfFull();
}

void TValueWriter::WriteString(std::string_view text)
{
    if (text.size() < 256) {
        FBuffer.push_back(vaString);
        FBuffer.push_back(static_cast<uint8_t>(text.size()));
    } else {
        FBuffer.push_back(vaLString);
        AppendLittleEndian(FBuffer, static_cast<uint32_t>(text.size()));
    }
    AppendText(FBuffer, text);
    FlushIfFull();
}

void TValueWriter::WriteBoolean(bool value)
{
    FBuffer.push_back(value ? vaTrue : vaFalse);
    FlushIfFull();
}

void TValueWriter::WriteBinary(std::span<const uint8_t> bytes)
{
    FBuffer.push_back(vaBinary);
    AppendLittleEndian(FBuffer, static_cast<uint32_t>(bytes.size()));
    FBuffer.insert(FBuffer.end(), bytes.begin(), bytes.end());
    FlushIfFull();
}

void TValueWriter::WriteIdent(std::string_view name)
{
    CheckShortString(name);
    FBuffer.push_back(vaIdent);
    AppendShortString(FBuffer, name);
    FlushIfFull();
}

void TValueWriter::WriteSet(std::span<const std::string_view> members)
{
    for (const std::string_view member : members)
        CheckShortString(member);
    FBuffer.push_back(vaSet);
    for (const std::string_view member : members)
        AppendShortString(FBuffer, member);
    AppendShortString(FBuffer, {});
    FlushIfFull();
}

void TValueWriter::WriteShortString(std::string_view text)
{
    CheckShortString(text);
    AppendShortString(FBuffer, text);
    FlushIfFull();
}

void TValueWriter::WriteListEnd()
{
    FBuffer.push_back(vaNull);
    FlushIfFull();
}

void TValueWriter::WriteRaw(const void* bytes, std::size_t count)
{
    const auto* first = static_cast<const uint8_t*>(bytes);
    FBuffer.insert(FBuffer.end(), first, first + count);
    FlushIfFull();
}
