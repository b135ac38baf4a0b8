#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Cutting a line of text into columns, either separated fields or columns of fixed
// width. Lines, separators and markers are bytes.

struct TTextField {
    std::string Text;
    bool Missing = false; // the line has fewer fields
};

// Separated fields are numbered from 0. A field that opens with a marker is quoted:
// it runs to the same marker, separators inside it are plain text, any marker written
// twice stands for one, and text between the closing marker and the next separator
// is dropped. An empty line has no fields at all.
TTextField SeparatedField(std::string_view line, std::size_t index, std::string_view separators,
                          std::string_view markers);

// The fields of a line from the first, at most `limit` of them.
std::vector<std::string> SeparatedFields(std::string_view line, std::string_view separators,
                                         std::string_view markers, std::size_t limit);

inline constexpr std::size_t kMaxSeparatedColumns = 1000;

// The fields of a line until the first missing one, at most kMaxSeparatedColumns.
std::size_t SeparatedColumnCount(std::string_view line, std::string_view separators,
                                 std::string_view markers);

// Column `index` is the `width` bytes from index * width on, fewer at the end of the
// line, empty past it. A width of 0 is taken as 1.
std::string FixedWidthColumn(std::string_view line, std::size_t index, std::size_t width);

// An empty line still counts one (empty) column.
std::size_t FixedWidthColumnCount(std::string_view line, std::size_t width);
