#pragma once

#include <istream>
#include <span>
#include <string>
#include <vector>

// Where the pictures of one run are named: operands of the command line ("-" for the
// names on standard input) and lists of names, one a line.
struct TPictureSources {
    std::vector<std::string> Operands;
    std::vector<std::string> Lists; // files; "-" is standard input
    bool Recursive = false;
};

// The pictures to analyse, in the order they were named. A folder stands for the
// pictures directly in it (with `Recursive`, in its sub-folders too) of the kinds
// Vandrel counts, sorted by name so that every run lists them alike. Any other name
// stays as given, so that a missing picture is reported as one. Empty lines of a list
// are passed over, and a line's ending carriage return is dropped. Raises an error
// naming the folder or list that cannot be read.
std::vector<std::string> ListPictures(const TPictureSources& sources, std::istream& standardInput);
