#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, no file of the process can grow beyond `bytes`: a write past the
// limit fails with EFBIG (SIGXFSZ is ignored), as on a full disk. Files already
// larger stay as they are until written to. Puts the limit and the signal back.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FOldLimit);
        rlimit limit = FOldLimit;
        limit.rlim_cur = bytes;
        FActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOldLimit);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

    // False when the limit could not be set, and writes are not limited.
    bool Active() const { return FActive; }

private:
    void (*FOldHandler)(int) = SIG_DFL;
    rlimit FOldLimit{};
    bool FActive = false;
};
