#pragma once

#include <cstdio>
#include <string>

// The file of --output: written under a temporary name beside it and renamed to its
// own name only when complete, so that a run killed or failing half-way leaves no half
// file, and an earlier file of that name stays whole until then.
class TOutputFile {
public:
    // Creates the temporary file; raises an error naming `path` when it cannot.
    explicit TOutputFile(const std::string& path);
    ~TOutputFile(); // removes the temporary file unless committed
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    FILE* Stream() const { return FStream; }
    // Puts the written file in place under its own name; false, with `error` set and
    // nothing left behind, when it could not be completed.
    bool Commit(std::string& error);

private:
    std::string FPath;
    std::string FTemporary;
    FILE* FStream = nullptr;
};
