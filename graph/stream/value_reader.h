#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graph/stream/memory_stream.h"
#include "graph/stream/value_writer.h"

// Reads typed values, reading ahead from the stream into a buffer. Destroying the
// reader moves the stream back by what it read ahead and did not use, so the stream
// stands just after the last value taken. Failures raise TVandrelError:
// "Stream read error" at the end of the stream inside a value, "Invalid property
// value" for a type byte the read does not accept.
class TValueReader {
public:
    explicit TValueReader(TMemoryStream& stream, std::size_t bufferSize = 4096);
    virtual ~TValueReader();
    TValueReader(const TValueReader&) = delete;
    TValueReader& operator=(const TValueReader&) = delete;

    // The type byte of the next value, without taking it.
    TValueType NextValue();
    // Types 2, 3 and 4, sign-extended.
    int32_t ReadInteger();
    // Type 5, or an integer of type 2, 3 or 4 converted.
    double ReadFloat();
    // Types 6 and 12.
    std::string ReadString();
    // Takes one type byte: 9 is true, any other byte false, with nothing more read.
    bool ReadBoolean();
    std::vector<uint8_t> ReadBinary();
    std::string ReadIdent();
    std::vector<std::string> ReadSet();
    // A name without a type byte.
    std::string ReadShortString();
    // True, and the byte taken, when the next byte ends a list (0).
    bool EndOfList();
    // Takes any one value, whatever its type, by its type byte; an unknown type byte
    // raises "Invalid property value".
    void SkipNextValue();
    // Exactly `count` bytes, or "Stream read error".
    void ReadRaw(void* bytes, std::size_t count);

private:
    uint8_t PeekByte();
    uint8_t ReadByte();
    void Fill();
    // Bytes left: read ahead and not used, plus those in the stream after its position.
    std::size_t Available() const;
    std::string ReadText(std::size_t length);

    TMemoryStream& FStream;
    std::size_t FBufferSize;
    std::vector<uint8_t> FBuffer;
    std::size_t FBufferPosition = 0;
};
