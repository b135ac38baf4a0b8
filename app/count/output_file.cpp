#include "app/count/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graph/core/error.h"

namespace {

// The temporary file a stopping signal removes, as the signal's handler may read it.
char GTemporaryName[4096];
volatile std::sig_atomic_t GTemporaryNamed = 0;

void RemoveTemporaryAndStop(int signal)
{
    if (GTemporaryNamed != 0)
        unlink(GTemporaryName);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Until the file is in place, Ctrl-C, a closed terminal or a polite kill take the
// temporary file with them.
void RemoveOnStop(const std::string& temporary)
{
    if (temporary.size() >= sizeof GTemporaryName)
        return;
    std::memcpy(GTemporaryName, temporary.c_str(), temporary.size() + 1);
    GTemporaryNamed = 1;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, RemoveTemporaryAndStop);
}

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
    RemoveOnStop(FTemporary);
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
    GTemporaryNamed = 0;
}

bool TOutputFile::Commit(std::string& error)
{
    errno = 0;
    bool written = std::fflush(FStream) == 0 && !std::ferror(FStream) && fsync(fileno(FStream)) == 0;
    int cause = errno;
    written = std::fclose(FStream) == 0 && written;
    cause = cause != 0 ? cause : errno;
    FStream = nullptr;
    if (written && std::rename(FTemporary.c_str(), FPath.c_str()) == 0) {
        GTemporaryNamed = 0;
        return true;
    }
    cause = cause != 0 ? cause : errno;
    unlink(FTemporary.c_str());
    error = FPath + ": " + (cause != 0 ? std::strerror(cause) : "the file could not be written");
    return false;
}
