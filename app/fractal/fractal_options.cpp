#include "app/fractal/fractal_options.h"

#include "app/command_line/command_line.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

#include "graph/core/error.h"

namespace {

// Large enough for 3^8 = 6561 and 2^13 = 8192, small enough that a picture stays
// within a few hundred megabytes.
constexpr int kLargestSize = 16384;
constexpr int kLargestMargin = 4096;
constexpr int kWidestLine = 256;
constexpr double kMostNoise = 100.0;

[[noreturn]] void Refuse(const std::string& message)
{
    throw TVandrelError(message);
}

std::optional<int> NumberIn(std::string_view text, int smallest, int largest)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < smallest || value > largest)
        return std::nullopt;
    return value;
}

int WholeNumber(const std::string& option, const std::string& text, int smallest, int largest)
{
    const std::optional<int> value = NumberIn(text, smallest, largest);
    if (!value)
        Refuse(option + ": '" + text + "' is not a whole number from " + std::to_string(smallest) + " to " +
               std::to_string(largest));
    return *value;
}

double Noise(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !(value >= 0.0) || !(value <= kMostNoise))
        Refuse("--noise: '" + text + "' is not a number of grey levels from 0 to 100");
    return value;
}

void ReadMargin(const std::string& text, TFractalOptions& options)
{
    const std::size_t comma = text.find(',');
    const std::optional<int> x =
        comma == std::string::npos ? std::nullopt : NumberIn(std::string_view(text).substr(0, comma), 0, kLargestMargin);
    const std::optional<int> y =
        comma == std::string::npos ? std::nullopt : NumberIn(std::string_view(text).substr(comma + 1), 0, kLargestMargin);
    if (!x || !y)
        Refuse("--margin: '" + text + "' is not two whole numbers X,Y from 0 to " + std::to_string(kLargestMargin));
    options.MarginX = *x;
    options.MarginY = *y;
}

std::string ShapeNames()
{
    std::string names;
    for (const TReferenceShape& shape : ReferenceShapes())
        names += (names.empty() ? "" : ", ") + std::string(shape.Name);
    return names;
}

bool PowerOf(int base, int value)
{
    if (value < base)
        return false;
    for (; value % base == 0; value /= base)
        ;
    return value == 1;
}

// The size and line width make sense for the shape chosen.
void CheckAgainstShape(const TFractalOptions& options, bool lineGiven)
{
    const TReferenceShape& shape = *options.Shape;
    const std::string title(shape.Title);
    if (shape.SizeBase != 0 && !PowerOf(shape.SizeBase, options.Size))
        Refuse("--size: the " + title + " is exact only on a side that is a power of " +
               std::to_string(shape.SizeBase) + (shape.SizeBase == 3 ? " (such as 243, 729 or 2187)" : " (such as 256, 512 or 1024)"));
    if (lineGiven && !shape.DrawnWithLines)
        Refuse("--line: the " + title + " is not drawn with lines");
    if (options.Line > options.Size)
        Refuse("--line: a line " + std::to_string(options.Line) + " pixels wide does not fit a " + title + " of size " +
               std::to_string(options.Size));
}

}  // namespace

TFractalOptions ParseFractalOptions(std::span<const std::string> arguments)
{
    TFractalOptions options;
    std::vector<std::string> operands;
    std::optional<int> size;
    bool lineGiven = false;
    static constexpr std::string_view kOptions[] = {"--size", "--margin", "--line", "--noise"};
    for (const auto& [kind, name, value] : SplitCommandLine(arguments, {}, kOptions)) {
        if (kind == TCommandArgument::TKind::Operand) {
            operands.push_back(value);
            continue;
        }
        if (kind == TCommandArgument::TKind::Flag) {
            options.Help = true;
            continue;
        }
        if (name == "--size")
            size = WholeNumber(name, value, 1, kLargestSize);
        else if (name == "--line") {
            options.Line = WholeNumber(name, value, 1, kWidestLine);
            lineGiven = true;
        } else if (name == "--noise")
            options.Noise = Noise(value);
        else
            ReadMargin(value, options);
    }
    if (options.Help)
        return options;
    if (operands.empty())
        Refuse("no shape given (one of " + ShapeNames() + ")");
    options.Shape = FindReferenceShape(operands[0]);
    if (!options.Shape)
        Refuse("'" + operands[0] + "' is not a shape (one of " + ShapeNames() + ")");
    if (operands.size() == 1)
        Refuse("no picture to write given");
    if (operands.size() > 2)
        Refuse("one picture only: '" + operands[2] + "' is one too many");
    options.Output = operands[1];
    options.Size = size.value_or(options.Shape->DefaultSize);
    CheckAgainstShape(options, lineGiven);
    return options;
}

std::string FractalUsage()
{
    std::string usage = R"(Usage: vandrel-fractal NAME [OPTION]... OUT.png
Draws a shape of known box-counting dimension in black on white and writes it as a
one-bit picture (its kind from the file name's extension, PNG or BMP say).

  --size N       the shape's width in pixels, 1 to 16384; a power of 3 for the
                 carpet, Cantor dust and Vicsek fractal, of 2 for the triangle
                 (default 729, 512 for the triangle)
  --margin X,Y   blank columns left and right of the shape, and rows above and
                 below it, 0 to 4096 each (default 0,0)
  --line W       width of the lines of the Koch curve, the straight line and the
                 circle, 1 to 256 pixels (default 1)
  --noise S      write an 8-bit grey picture as a photograph might show the
                 shape instead: dark grey (50) on light grey (205), edges
                 softened over 3 x 3 pixels, Gaussian noise of S grey levels
                 (0 to 100) added; the same picture every time
  -h, --help     show this help and stop

  NAME     shape                 D
)";
    for (const TReferenceShape& shape : ReferenceShapes()) {
        std::string row = "  " + std::string(shape.Name);
        row.resize(11, ' ');
        row += shape.Title;
        row.resize(33, ' ');
        char dimension[16];
        std::snprintf(dimension, sizeof dimension, "%.4f\n", shape.ExactDimension);
        usage += row + dimension;
    }
    return usage;
}
