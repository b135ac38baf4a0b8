#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// A growable byte buffer with a position: the stream every graph stream, clipboard
// record and form description is written to and read from.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) {}

    // Copies up to `count` bytes from the position on and moves past them; returns how
    // many there were (fewer at the end of the stream).
    std::size_t Read(void* buffer, std::size_t count);
    // Writes at the position, overwriting and growing as needed; a position beyond the
    // end fills the gap with zero bytes first.
    void Write(const void* buffer, std::size_t count);

    int64_t Position() const { return FPosition; }
    // Any position from 0 on; a position before 0 is taken as 0.
    void Seek(int64_t position);
    int64_t Size() const { return static_cast<int64_t>(FBytes.size()); }
    std::span<const uint8_t> Bytes() const { return FBytes; }

private:
    std::vector<uint8_t> FBytes;
    int64_t FPosition = 0;
};
