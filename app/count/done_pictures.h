#pragma once

#include <cstdint>
#include <set>
#include <string>

// What an earlier JSON-lines output of vandrel-count holds.
struct TDonePictures {
    std::set<std::string> Files; // the "file" of every whole line, failed pictures too
    // Bytes up to the end of the last whole line. A run killed while writing leaves a
    // line cut short after it; that line is no picture done.
    uint64_t WholeLinesLength = 0;
    uint64_t Length = 0;
};

// Reads the output at `path` (in the system's own bytes). A missing file has no picture
// done, so that a first run and its resumptions are the same command; a file that
// exists but cannot be read raises an error that names it.
TDonePictures ReadDonePictures(const std::string& path);
