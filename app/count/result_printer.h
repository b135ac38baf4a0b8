#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "app/count/count_options.h"
#include "app/count/picture_analysis.h"

// Writes each picture's outcome as the format asks, as it comes; errors and warnings
// also go to standard error. `single` is a run that named one picture file, whose JSON
// is one object rather than an array.
class TResultPrinter {
public:
    TResultPrinter(TOutputFormat format, FILE* out, bool single);

    // False once anything could not be written.
    bool Print(const std::string& path, TPictureOutcome&& outcome);
    // Writes what waits for the last picture; false when anything could not be written.
    bool Finish();

private:
    bool Write(const std::string& text);

    TOutputFormat FFormat;
    FILE* FOut;
    bool FSingle;
    bool FFirst = true;
    std::vector<TPictureAnalysis> FJson; // the array is written whole at the end
};
