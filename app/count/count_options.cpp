#include "app/count/count_options.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <utility>
#include <optional>

#include "app/count/colour_option.h"
#include "graph/core/error.h"

namespace {

constexpr int kLargestBoxSize = 65535;
constexpr int kMostJobs = 256;

[[noreturn]] void Refuse(const std::string& message)
{
    throw TVandrelError(message);
}

int WholeNumber(const std::string& option, const std::string& text, int smallest, int largest)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < smallest || value > largest)
        Refuse(option + ": '" + text + "' is not a whole number from " + std::to_string(smallest) + " to " +
               std::to_string(largest));
    return static_cast<int>(value);
}

// Bytes, or a whole number with K, M, G or T (powers of 1024), "B" or "iB" allowed after.
uint64_t MemorySize(const std::string& option, const std::string& text)
{
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    std::string unit(stop, end);
    for (const std::string suffix : {"iB", "B"})
        if (unit.size() > suffix.size() && unit.ends_with(suffix))
            unit.resize(unit.size() - suffix.size());
    int shift = -1;
    if (unit.empty() || unit == "B")
        shift = 0;
    else if (unit.size() == 1)
        for (const auto& [letter, bits] : {std::pair{'K', 10}, {'M', 20}, {'G', 30}, {'T', 40}})
            if (std::toupper(static_cast<unsigned char>(unit[0])) == letter)
                shift = bits;
    if (text.empty() || error != std::errc() || stop == text.data() || shift < 0 || value == 0 ||
        value > (UINT64_MAX >> shift))
        Refuse(option + ": '" + text + "' is not an amount of memory (give bytes, or a number with K, M, G or T)");
    return value << shift;
}

TOutputFormat Format(const std::string& text)
{
    if (text == "table")
        return TOutputFormat::Table;
    if (text == "csv")
        return TOutputFormat::Csv;
    if (text == "json")
        return TOutputFormat::Json;
    Refuse("--format: '" + text + "' is not one of table, csv, json");
}

}  // namespace

TCountOptions ParseCountOptions(std::span<const std::string> arguments)
{
    TCountOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
            options.Pictures.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.Help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        std::optional<std::string> inlineValue;
        if (equals != std::string::npos)
            inlineValue = argument.substr(equals + 1);
        const bool known = name == "--min" || name == "--max" || name == "--step" || name == "--colour" ||
                           name == "--color" || name == "--format" || name == "--jobs" ||
                           name == "--memory-limit";
        if (!known)
            Refuse("unknown option '" + name + "'");
        if (!inlineValue && i + 1 == arguments.size())
            Refuse("option '" + name + "' needs a value");
        const std::string value = inlineValue ? *inlineValue : arguments[++i];

        if (name == "--min")
            options.Minimum = WholeNumber(name, value, 1, kLargestBoxSize);
        else if (name == "--max")
            options.Maximum = WholeNumber(name, value, 1, kLargestBoxSize);
        else if (name == "--step")
            options.Step = WholeNumber(name, value, 1, kLargestBoxSize);
        else if (name == "--jobs")
            options.Jobs = WholeNumber(name, value, 1, kMostJobs);
        else if (name == "--memory-limit")
            options.MemoryLimit = MemorySize(name, value);
        else if (name == "--format")
            options.Format = Format(value);
        else if (const std::optional<uint32_t> rgb = ParseColour(value))
            options.Rgb = *rgb;
        else
            Refuse(name + ": '" + value + "' is not a colour (give #RRGGBB, RRGGBB or a colour name)");
    }
    if (options.Pictures.empty() && !options.Help)
        Refuse("no picture given");
    return options;
}

std::string CountUsage()
{
    return R"(Usage: vandrel-count [OPTION]... PICTURE...
Measures the box-counting dimension of the shape in each PICTURE: for every box
size d it counts the d-by-d boxes, laid from the top-left corner, that hold an
opaque pixel of the colour, fits a least-squares line to log10 N(d) against
log10 d, and reports its slope, intercept and r, and D, the negated slope.

  --min N        smallest box size, 1 to 65535 (default 10)
  --max N        largest box size, 1 to 65535 (default 100)
  --step N       step from one box size to the next, 1 to 65535 (default 10)
  --colour C     colour of the shape: #RRGGBB, RRGGBB or a colour name
                 such as darkgreen (default black)
  --format F     table, csv or json (default table)
  --jobs N       analyse up to N pictures at the same time, 1 to 256 (default 1)
  --memory-limit M
                 memory that the pictures being analysed may take together:
                 bytes, or a number with K, M, G or T, such as 4G (default: half
                 of the physical memory). A picture that needs more is refused;
                 jobs wait for memory rather than go over it.
  -h, --help     show this help and stop

Pictures may be BMP, PNG, JPEG, GIF or TIFF; a picture that is cut short or
corrupt is refused, never counted. Numbers use '.' as the decimal separator.
Exit status: 0 when every picture was analysed and reported, 1 when any failed
(its error goes to standard error, the others are still reported) or the results
could not be written, 2 when the command line is wrong.
)";
}
