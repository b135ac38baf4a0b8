#include "app/count/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graph/core/error.h"

namespace {

// The permissions a file the program creates plainly would have.
mode_t CreatedFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

TOutputFile::TOutputFile(const std::string& path) : FPath(path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // Hidden, and beside the file so that the rename stays within one file system.
    std::string pattern = folder + "." + name + ".partial-XXXXXX";
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    const int descriptor = name.empty() ? -1 : mkstemp(temporary.data());
    if (descriptor < 0)
        throw TVandrelError("--output: " + path + ": the file cannot be written: " +
                            std::strerror(name.empty() ? EISDIR : errno));
    FTemporary = temporary.data();
    fchmod(descriptor, CreatedFileMode());
    FStream = fdopen(descriptor, "w");
    if (FStream == nullptr) {
        close(descriptor);
        unlink(FTemporary.c_str());
        throw TVandrelError("--output: " + path + ": the file cannot be written: " + std::strerror(errno));
    }
}

TOutputFile::~TOutputFile()
{
    if (FStream != nullptr) {
        std::fclose(FStream);
        unlink(FTemporary.c_str());
    }
}

bool TOutputFile::Commit(std::string& error)
{
    errno = 0;
    bool written = std::fflush(FStream) == 0 && !std::ferror(FStream) && fsync(fileno(FStream)) == 0;
    int cause = errno;
    written = std::fclose(FStream) == 0 && written;
    cause = cause != 0 ? cause : errno;
    FStream = nullptr;
    if (written && std::rename(FTemporary.c_str(), FPath.c_str()) == 0)
        return true;
    cause = cause != 0 ? cause : errno;
    unlink(FTemporary.c_str());
    error = FPath + ": " + (cause != 0 ? std::strerror(cause) : "the file could not be written");
    return false;
}
