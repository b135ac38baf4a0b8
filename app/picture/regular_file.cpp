#include "app/picture/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "graph/core/error.h"

namespace {

[[noreturn]] void CannotRead(const std::string& reason)
{
    throw TVandrelError("The picture cannot be read: " + reason);
}

}  // namespace

TRegularFile::TRegularFile(const std::string& path)
    : FPath(path)
{
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a
    // writer; the file type is then checked on what was opened, not on the name.
    FDescriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (FDescriptor < 0) {
        const int error = errno;
        CannotRead(error == ENOENT || error == ENOTDIR ? std::string("File not found") : std::strerror(error));
    }
    struct stat status {};
    if (::fstat(FDescriptor, &status) != 0) {
        const int error = errno;
        ::close(FDescriptor);
        CannotRead(std::strerror(error));
    }
    if (!S_ISREG(status.st_mode)) {
        const std::string name = Name();
        ::close(FDescriptor);
        CannotRead(name + (S_ISDIR(status.st_mode) ? " is a folder" : " is not a regular file"));
    }
    FSize = static_cast<uint64_t>(status.st_size);
}

TRegularFile::~TRegularFile()
{
    if (FDescriptor >= 0)
        ::close(FDescriptor);
}

TRegularFile::TRegularFile(TRegularFile&& other) noexcept
    : FPath(std::move(other.FPath)), FDescriptor(other.FDescriptor), FSize(other.FSize)
{
    other.FDescriptor = -1;
}

std::string TRegularFile::Name() const
{
    std::string trimmed = FPath;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::string::size_type slash = trimmed.rfind('/');
    return slash == std::string::npos || trimmed.size() == 1 ? trimmed : trimmed.substr(slash + 1);
}
