#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/measure/count_method.h"
#include "app/measure/shape_choice.h"

enum class TOutputFormat { Table, Csv, Json, Summary, JsonLines };

// What a vandrel-count command line asks for. The defaults are the window's.
struct TCountOptions {
    int Minimum = 10;
    int Maximum = 100;
    int Step = 10;
    TOutputFormat Format = TOutputFormat::Table;
    int Jobs = 1;
    uint64_t MemoryLimit = 0; // bytes for all pictures at once; 0: half the physical memory
    TCountMethod Method;
    TShapeChoice Shape;
    long double Ratio = 2.0L; // of geometric sizes
    std::vector<int> SizeList; // sizes given as a list
    std::vector<std::string> Pictures; // pictures and folders; "-" for names on standard input
    std::vector<std::string> FilesFrom; // lists of names, one a line
    bool Recursive = false; // folders' sub-folders too
    std::string Output; // the file written instead of standard output; empty: none
    std::vector<std::string> SkipDone; // earlier JSON-lines outputs
    bool Help = false;
    bool Version = false;
    bool SelfTest = false;
};

// Reads the arguments after the program name. Options take their value as the next
// argument or after '='; "--" ends the options. Raises an error whose message names
// the option at fault, or says that no picture was given.
TCountOptions ParseCountOptions(std::span<const std::string> arguments);

// The box sizes to count: linear from the minimum to the maximum by the step,
// geometric from the minimum by the ratio up to the maximum, or the list given.
std::vector<int> CountedBoxSizes(const TCountOptions& options);

// The text of --help.
std::string CountUsage();
