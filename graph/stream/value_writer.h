#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "graph/stream/memory_stream.h"

// The type bytes of stored values.
enum TValueType : uint8_t {
    vaNull = 0,     // the end of a list (of properties, of set members)
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,   // 1-byte length, then the text
    vaIdent = 7,    // an enumeration's name: 1-byte length, then the text
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,  // 4-byte length, then the bytes
    vaSet = 11,     // names of the members (1-byte length, text each), then an empty name
    vaLString = 12, // 4-byte length, then the text
};

// Writes typed values into a buffer and hands the buffer to the stream when it is
// flushed or the writer is destroyed; nothing else may write to the stream while a
// writer on it lives. Multi-byte numbers are little-endian.
class TValueWriter {
public:
    explicit TValueWriter(TMemoryStream& stream, std::size_t bufferSize = 4096);
    virtual ~TValueWriter();
    TValueWriter(const TValueWriter&) = delete;
    TValueWriter& operator=(const TValueWriter&) = delete;

    // The smallest of types 2, 3 and 4 that holds the value.
    void WriteInteger(int32_t value);
    // Type 5, the value widened exactly.
    void WriteFloat(double value);
    // Type 6 below 256 bytes, type 12 from there on.
    void WriteString(std::string_view text);
    void WriteBoolean(bool value);
    void WriteBinary(std::span<const uint8_t> bytes);
    void WriteIdent(std::string_view name);
    void WriteSet(std::span<const std::string_view> members);
    // A name without a type byte: 1-byte length, then at most 255 bytes of text (a
    // longer name raises "illegal call in savetofile").
    void WriteShortString(std::string_view text);
    // A single byte 0, which ends a list.
    void WriteListEnd();
    // Bytes as they are, for what has no type byte (the 32-bit extension length).
    void WriteRaw(const void* bytes, std::size_t count);

    void Flush();

private:
    void FlushIfFull();

    TMemoryStream& FStream;
    std::size_t FBufferSize;
    std::vector<uint8_t> FBuffer;
};
