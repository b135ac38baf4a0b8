#include "graph/data/suppliers/text_fields.h"

namespace {

bool IsOneOf(char c, std::string_view set)
{
    return set.find(c) != std::string_view::npos;
}

// Where the text from `pos` on reaches the next separator, or the end of the line.
std::size_t SeparatorFrom(std::string_view line, std::size_t pos, std::string_view separators)
{
    const std::size_t found = line.find_first_of(separators, pos);
    return found == std::string_view::npos ? line.size() : found;
}

// Reads the field that starts at `pos` into `text`; returns where the field ends:
// on the separator after it, or at the end of the line.
std::size_t ReadField(std::string_view line, std::size_t pos, std::string_view separators,
                      std::string_view markers, std::string& text)
{
    text.clear();
    const std::size_t n = line.size();
    if (pos >= n || IsOneOf(line[pos], separators))
        return pos;
    if (!IsOneOf(line[pos], markers)) {
        const std::size_t end = SeparatorFrom(line, pos, separators);
        text.assign(line.substr(pos, end - pos));
        return end;
    }

    const char opening = line[pos];
    bool lastTakenAlone = false;
    std::size_t p = pos + 1;
    while (p < n) {
        const char c = line[p];
        if (IsOneOf(c, markers)) {
            if (p + 1 < n && line[p + 1] == c) {
                text += c;
                p += 2;
                lastTakenAlone = false;
                continue;
            }
            if (c == opening)
                return SeparatorFrom(line, p + 1, separators);
        }
        text += c;
        ++p;
        lastTakenAlone = true;
    }
    // Not closed: the field runs to the end of the line, but a stray separator or
    // marker that ends the line is not part of the value.
    if (lastTakenAlone && (IsOneOf(line[n - 1], separators) || IsOneOf(line[n - 1], markers)))
        text.pop_back();
    return n;
}

}  // namespace

TTextField SeparatedField(std::string_view line, std::size_t index, std::string_view separators,
                          std::string_view markers)
{
    if (line.empty())
        return {"", true};
    const std::size_t n = line.size();
    std::string skipped;
    std::size_t p = 0, count = 0;
    while (count < index && p < n) {
        p = ReadField(line, p, separators, markers, skipped);
        if (p < n) { // on a separator
            ++count;
            ++p;
        }
    }
    if (count < index)
        return {"", true};
    TTextField field;
    ReadField(line, p, separators, markers, field.Text);
    return field;
}

std::vector<std::string> SeparatedFields(std::string_view line, std::string_view separators,
                                         std::string_view markers, std::size_t limit)
{
    std::vector<std::string> fields;
    if (line.empty())
        return fields;
    std::size_t p = 0;
    while (fields.size() < limit) {
        std::string text;
        p = ReadField(line, p, separators, markers, text);
        fields.push_back(std::move(text));
        if (p >= line.size())
            break;
        ++p; // over the separator
    }
    return fields;
}

std::size_t SeparatedColumnCount(std::string_view line, std::string_view separators,
                                 std::string_view markers)
{
    return SeparatedFields(line, separators, markers, kMaxSeparatedColumns).size();
}

std::string FixedWidthColumn(std::string_view line, std::size_t index, std::size_t width)
{
    if (width == 0)
        width = 1;
    const std::size_t start = index * width;
    if (start >= line.size())
        return {};
    return std::string(line.substr(start, width));
}

std::size_t FixedWidthColumnCount(std::string_view line, std::size_t width)
{
    if (width == 0)
        width = 1;
    return line.empty() ? 1 : (line.size() - 1) / width + 1;
}
