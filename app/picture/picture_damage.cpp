#include "app/picture/picture_damage.h"

#include <unistd.h>

#include <cerrno>

#include "graph/core/error.h"

void ThrowDamaged(const std::string& name, const std::string& why)
{
    throw TVandrelError("The picture is damaged or incomplete: " + name + " (" + why + ")");
}

std::size_t ReadFileInto(const TRegularFile& file, uint64_t offset, std::span<uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(file.Descriptor(), bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::string ReadFileBytes(const TRegularFile& file, uint64_t offset, std::size_t length)
{
    std::string bytes(length, '\0');
    bytes.resize(ReadFileInto(file, offset, std::span(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size())));
    return bytes;
}

int OwnDescriptorAtStart(const TRegularFile& file)
{
    const int descriptor = ::dup(file.Descriptor());
    if (descriptor >= 0 && ::lseek(descriptor, 0, SEEK_SET) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

std::optional<std::string> PictureDamage(const TRegularFile& file, uint64_t memoryBytes)
{
    const std::string head = ReadFileBytes(file, 0, 4);
    if (head.starts_with("BM"))
        return BmpDamage(file);
    if (head.starts_with("\xFF\xD8"))
        return JpegDamage(file, memoryBytes);
    if (head.starts_with("GIF8"))
        return GifDamage(file);
    if (head == std::string("II*\0", 4) || head == std::string("MM\0*", 4) || head == std::string("II+\0", 4) ||
        head == std::string("MM\0+", 4))
        return TiffDamage(file);
    return std::nullopt;
}
