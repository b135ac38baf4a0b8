#pragma once

#include <cstdint>
#include <string>

// A regular file opened for reading. Folders, devices, FIFOs and sockets are refused
// at once, before anything is read from them: a FIFO would block for ever and a device
// such as /dev/zero never ends. The path is the system's own bytes, so a name that is
// not valid UTF-8 still opens.
class TRegularFile {
public:
    // Raises "The picture cannot be read: <reason>", the reason naming the file when
    // it exists but is no regular file ("x.png is a folder", "x.png is not a regular
    // file").
    explicit TRegularFile(const std::string& path);
    ~TRegularFile();
    TRegularFile(TRegularFile&& other) noexcept;
    TRegularFile& operator=(TRegularFile&&) = delete;
    TRegularFile(const TRegularFile&) = delete;
    TRegularFile& operator=(const TRegularFile&) = delete;

    int Descriptor() const { return FDescriptor; }
    uint64_t Size() const { return FSize; }
    const std::string& Path() const { return FPath; }
    // The last part of the path, for messages.
    std::string Name() const;

private:
    std::string FPath;
    int FDescriptor = -1;
    uint64_t FSize = 0;
};
