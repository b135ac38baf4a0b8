#include "graph/stream/value_reader.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

#include "graph/core/error.h"
#include "graph/stream/extended_float.h"

namespace {

[[noreturn]] void RaiseReadError()
{
    throw TVandrelError("Stream read error");
}

[[noreturn]] void RaiseInvalidValue()
{
    throw TVandrelError("Invalid property value");
}

template <typename T>
T ReadLittleEndian(TValueReader& reader)
{
    uint8_t bytes[sizeof(T)];
    reader.ReadRaw(bytes, sizeof bytes);
    std::make_unsigned_t<T> bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        bits = static_cast<std::make_unsigned_t<T>>((bits << 8) | bytes[i]);
    return static_cast<T>(bits);
}

} // namespace

TValueReader::TValueReader(TMemoryStream& stream, std::size_t bufferSize)
    : FStream(stream), FBufferSize(std::max<std::size_t>(bufferSize, 1))
{
}

TValueReader::~TValueReader()
{
    const auto unused = static_cast<int64_t>(FBuffer.size() - FBufferPosition);
    FStream.Seek(FStream.Position() - unused);
}

void TValueReader::Fill()
{
    FBuffer.resize(FBufferSize);
    FBuffer.resize(FStream.Read(FBuffer.data(), FBuffer.size()));
    FBufferPosition = 0;
}

uint8_t TValueReader::PeekByte()
{
    if (FBufferPosition == FBuffer.size())
        Fill();
    if (FBuffer.empty())
        RaiseReadError();
    return FBuffer[FBufferPosition];
}

uint8_t TValueReader::ReadByte()
{
    const uint8_t byte = PeekByte();
    ++FBufferPosition;
    return byte;
}

std::size_t TValueReader::Available() const
{
    const int64_t inStream = std::max<int64_t>(FStream.Size() - FStream.Position(), 0);
    return FBuffer.size() - FBufferPosition + static_cast<std::size_t>(inStream);
}

void TValueReader::ReadRaw(void* bytes, std::size_t count)
{
    auto* target = static_cast<uint8_t*>(bytes);
    while (count > 0) {
        if (FBufferPosition == FBuffer.size()) {
            Fill();
            if (FBuffer.empty())
                RaiseReadError();
        }
        const std::size_t taken = std::min(count, FBuffer.size() - FBufferPosition);
        std::memcpy(target, FBuffer.data() + FBufferPosition, taken);
        FBufferPosition += taken;
        target += taken;
        count -= taken;
    }
}

std::string TValueReader::ReadText(std::size_t length)
{
    // A damaged length must not make us allocate gigabytes before noticing the end.
    if (length > Available())
        RaiseReadError();
    std::string text(length, '\0');
    ReadRaw(text.data(), length);
    return text;
}

TValueType TValueReader::NextValue()
{
    return static_cast<TValueType>(PeekByte());
}

int32_t TValueReader::ReadInteger()
{
    switch (NextValue()) {
    case vaInt8:
        ReadByte();
        return ReadLittleEndian<int8_t>(*this);
    case vaInt16:
        ReadByte();
        return ReadLittleEndian<int16_t>(*this);
    case vaInt32:
        ReadByte();
        return ReadLittleEndian<int32_t>(*this);
    default:
        RaiseInvalidValue();
    }
}

double TValueReader::ReadFloat()
{
    if (NextValue() != vaExtended)
        return ReadInteger();
    ReadByte();
    TExtendedBytes bytes;
    ReadRaw(bytes.data(), bytes.size());
    return FromExtended(bytes);
}

std::string TValueReader::ReadString()
{
    switch (NextValue()) {
    case vaString:
        ReadByte();
        return ReadText(ReadByte());
    case vaLString:
        ReadByte();
        return ReadText(ReadLittleEndian<uint32_t>(*this));
    default:
        RaiseInvalidValue();
    }
}

bool TValueReader::ReadBoolean()
{
    return ReadByte() == vaTrue;
}

std::vector<uint8_t> TValueReader::ReadBinary()
{
    if (NextValue() != vaBinary)
        RaiseInvalidValue();
    ReadByte();
    const uint32_t length = ReadLittleEndian<uint32_t>(*this);
    if (length > Available())
        RaiseReadError();
    std::vector<uint8_t> bytes(length);
    ReadRaw(bytes.data(), bytes.size());
    return bytes;
}

std::string TValueReader::ReadIdent()
{
    if (NextValue() != vaIdent)
        RaiseInvalidValue();
    ReadByte();
    return ReadShortString();
}

std::vector<std::string> TValueReader::ReadSet()
{
    if (NextValue() != vaSet)
        RaiseInvalidValue();
    ReadByte();
    std::vector<std::string> members;
    for (std::string member = ReadShortString(); !member.empty(); member = ReadShortString())
        members.push_back(std::move(member));
    return members;
}

std::string TValueReader::ReadShortString()
{
    return ReadText(ReadByte());
}

bool TValueReader::EndOfList()
{
    if (PeekByte() != vaNull)
        return false;
    ReadByte();
    return true;
}

void TValueReader::SkipNextValue()
{
    switch (NextValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
        ReadByte();
        break;
    case vaInt8:
    case vaInt16:
    case vaInt32:
        ReadInteger();
        break;
    case vaExtended:
        ReadFloat();
        break;
    case vaString:
    case vaLString:
        ReadString();
        break;
    case vaIdent:
        ReadIdent();
        break;
    case vaBinary:
        ReadBinary();
        break;
    case vaSet:
        ReadSet();
        break;
    default:
        RaiseInvalidValue();
    }
}
