#include "app/count/count_options.h"

#include <cctype>
#include <charconv>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "app/command_line/command_line.h"
#include "app/count/colour_option.h"
#include "app/engine/box_sizes.h"
#include "app/engine/box_size_series.h"
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
    if (text == "summary")
        return TOutputFormat::Summary;
    if (text == "jsonl")
        return TOutputFormat::JsonLines;
    Refuse("--format: '" + text + "' is not one of table, csv, json, summary, jsonl");
}

TGridMode GridMode(const std::string& text)
{
    if (text == "topleft")
        return TGridMode::TopLeft;
    if (text == "min")
        return TGridMode::Min;
    if (text == "all")
        return TGridMode::All;
    Refuse("--grid: '" + text + "' is not one of topleft, min, all");
}

void ReadSizes(const std::string& text, TCountOptions& options)
{
    if (text == "linear") {
        options.Method.Sizes = TSizeSeries::Linear;
        return;
    }
    if (text == "geometric") {
        options.Method.Sizes = TSizeSeries::Geometric;
        return;
    }
    try {
        options.SizeList = ParseBoxSizeList(text);
    } catch (const TVandrelError&) {
        Refuse("--sizes: '" + text +
               "' is not linear, geometric or a list of whole numbers from 1 to 65535 such as 1,3,9,27");
    }
    options.Method.Sizes = TSizeSeries::List;
}

long double Ratio(const std::string& text)
{
    long double value = 0.0L;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    // Ratios near 1 would ask for more sizes than a picture has pixels across.
    if (text.empty() || error != std::errc() || stop != end || !(value >= 1.01L) || !(value <= 1000.0L))
        Refuse("--ratio: '" + text + "' is not a number from 1.01 to 1000");
    return value;
}

TMaskRect Region(const std::string& text)
{
    std::vector<int> numbers;
    for (std::size_t from = 0; from <= text.size() && numbers.size() <= 4;) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        int value = -1;
        const char* end = text.data() + comma;
        const auto [stop, error] = std::from_chars(text.data() + from, end, value);
        numbers.push_back(comma == from || error != std::errc() || stop != end ? -1 : value);
        from = comma + 1;
    }
    if (numbers.size() != 4 || std::ranges::any_of(numbers, [](int n) { return n < 0; }) || numbers[2] < 1 ||
        numbers[3] < 1)
        Refuse("--region: '" + text + "' is not X,Y,W,H: four whole numbers, the width and height at least 1");
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

// What the options that choose the shape's pixels said, until all are read.
struct TForegroundOptions {
    std::optional<uint32_t> Rgb;
    std::optional<int> Tolerance;
    bool Threshold = false;
    int Level = -1; // with a threshold: -1 for Otsu's
    std::optional<TLuminanceSide> Side;
    bool MinPixelsGiven = false;
};

void ReadThreshold(const std::string& text, TForegroundOptions& given)
{
    given.Threshold = true;
    given.Level = -1;
    if (text == "otsu")
        return;
    int level = -1;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, level);
    if (text.empty() || error != std::errc() || stop != end || level < 0 || level > 255)
        Refuse("--threshold: '" + text + "' is not otsu or a luminance from 0 to 255");
    given.Level = level;
}

TForegroundRule ForegroundRule(const TForegroundOptions& given)
{
    if (given.Threshold && (given.Rgb || given.Tolerance))
        Refuse("--threshold chooses the shape by its luminance; give it without --colour and --tolerance");
    if (!given.Threshold) {
        if (given.Side)
            Refuse(std::string(*given.Side == TLuminanceSide::Dark ? "--dark" : "--light") + " goes with --threshold");
        return TForegroundRule::Colour(given.Rgb.value_or(0x000000), given.Tolerance.value_or(0));
    }
    const TLuminanceSide side = given.Side.value_or(TLuminanceSide::Dark);
    return given.Level >= 0 ? TForegroundRule::Luminance(given.Level, side) : TForegroundRule::Otsu(side);
}

void ReadFit(const std::string& text, TCountMethod& method)
{
    if (text == "all") {
        method.Fit = TFitChoice::All;
        return;
    }
    if (text == "auto") {
        method.Fit = TFitChoice::Auto;
        return;
    }
    const std::size_t colon = text.find(':');
    const auto bound = [&](const std::string& part) {
        int value = 0;
        const char* end = part.data() + part.size();
        const auto [stop, error] = std::from_chars(part.data(), end, value);
        if (part.empty() || error != std::errc() || stop != end || value < 1 || value > kLargestBoxSize)
            Refuse("--fit: '" + text + "' is not all, auto or a range of box sizes D1:D2 from 1 to 65535");
        return value;
    };
    if (colon == std::string::npos)
        bound("");
    method.FitFrom = bound(text.substr(0, colon));
    method.FitTo = bound(text.substr(colon + 1));
    if (method.FitFrom > method.FitTo)
        Refuse("--fit: the range '" + text + "' starts above its end");
    method.Fit = TFitChoice::Range;
}

}  // namespace

TCountOptions ParseCountOptions(std::span<const std::string> arguments)
{
    static constexpr std::string_view kFlags[] = {"--version", "--details", "--self-test", "--dark",
                                                  "--light",   "--outline", "--objects", "--recursive"};
    static constexpr std::string_view kOptions[] = {
        "--min",  "--max",   "--step", "--colour",    "--color",     "--format",  "--jobs",   "--memory-limit",
        "--grid", "--sizes", "--ratio", "--fit", "--tolerance", "--threshold", "--region", "--min-pixels",
        "--files-from", "--output", "--skip-done"};
    static constexpr std::string_view kShapeOptions[] = {"--tolerance", "--threshold", "--dark",   "--light",
                                                         "--outline",   "--region",    "--objects", "--min-pixels"};
    TCountOptions options;
    TForegroundOptions foreground;
    for (const auto& [kind, name, value] : SplitCommandLine(arguments, kFlags, kOptions)) {
        if (kind == TCommandArgument::TKind::Operand) {
            options.Pictures.push_back(value);
            continue;
        }
        if (kind == TCommandArgument::TKind::Flag) {
            options.Help = options.Help || name == "--help";
            options.Version = options.Version || name == "--version";
            options.SelfTest = options.SelfTest || name == "--self-test";
            options.Method.Details = options.Method.Details || name == "--details";
            options.Shape.Outline = options.Shape.Outline || name == "--outline";
            options.Shape.Objects = options.Shape.Objects || name == "--objects";
            options.Recursive = options.Recursive || name == "--recursive";
            if (name == "--dark" || name == "--light") {
                const TLuminanceSide side = name == "--dark" ? TLuminanceSide::Dark : TLuminanceSide::Light;
                if (foreground.Side && *foreground.Side != side)
                    Refuse("--dark and --light contradict each other; give one");
                foreground.Side = side;
            }
            options.Method.Details = options.Method.Details || std::ranges::find(kShapeOptions, name) != std::end(kShapeOptions);
            continue;
        }
        if (name == "--grid" || name == "--sizes" || name == "--ratio" || name == "--fit" ||
            std::ranges::find(kShapeOptions, name) != std::end(kShapeOptions))
            options.Method.Details = true;

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
        else if (name == "--grid")
            options.Method.Grid = GridMode(value);
        else if (name == "--sizes")
            ReadSizes(value, options);
        else if (name == "--ratio")
            options.Ratio = Ratio(value);
        else if (name == "--fit")
            ReadFit(value, options.Method);
        else if (name == "--format")
            options.Format = Format(value);
        else if (name == "--files-from")
            options.FilesFrom.push_back(value);
        else if (name == "--output") {
            if (value.empty() || value.ends_with('/'))
                Refuse("--output: '" + value + "' is not a file name");
            options.Output = value;
        }
        else if (name == "--skip-done")
            options.SkipDone.push_back(value);
        else if (name == "--tolerance")
            foreground.Tolerance = WholeNumber(name, value, 0, 255);
        else if (name == "--threshold")
            ReadThreshold(value, foreground);
        else if (name == "--region")
            options.Shape.Region = Region(value);
        else if (name == "--min-pixels") {
            options.Shape.MinPixels = static_cast<uint64_t>(WholeNumber(name, value, 1, INT32_MAX));
            foreground.MinPixelsGiven = true;
        } else if (const std::optional<uint32_t> rgb = ParseColour(value))
            foreground.Rgb = *rgb;
        else
            Refuse(name + ": '" + value + "' is not a colour (give #RRGGBB, RRGGBB or a colour name)");
    }
    options.Shape.Foreground = ForegroundRule(foreground);
    if (foreground.MinPixelsGiven && !options.Shape.Objects)
        Refuse("--min-pixels goes with --objects");
    if (options.Format == TOutputFormat::Summary) {
        if (options.Shape.Objects)
            Refuse("--format summary has one row a picture; --objects measures its pieces apart (use csv or jsonl)");
        options.Method.Details = true; // its rows are the fit's figures
    }
    const bool picturesNamed = !options.Pictures.empty() || !options.FilesFrom.empty();
    if (options.SelfTest && picturesNamed)
        Refuse("--self-test measures pictures of its own; give no picture with it");
    if (!picturesNamed && !options.Help && !options.Version && !options.SelfTest)
        Refuse("no picture given");
    return options;
}

std::vector<int> CountedBoxSizes(const TCountOptions& options)
{
    switch (options.Method.Sizes) {
    case TSizeSeries::Geometric:
        return options.Minimum <= options.Maximum
                   ? GeometricBoxSizes(options.Minimum, options.Maximum, options.Ratio)
                   : std::vector<int>();
    case TSizeSeries::List:
        return options.SizeList;
    case TSizeSeries::Linear:
        break;
    }
    return BoxSizes(options.Minimum, options.Maximum, options.Step);
}

std::string CountUsage()
{
    return R"(Usage: vandrel-count [OPTION]... PICTURE|FOLDER|-...
Measures the box-counting dimension of the shape in each PICTURE: for every box
size d it counts the d-by-d boxes, laid from the top-left corner, that hold an
opaque pixel of the colour, fits a least-squares line to log10 N(d) against
log10 d, and reports its slope, intercept and r, and D, the negated slope.

  --min N        smallest box size, 1 to 65535 (default 10)
  --max N        largest box size, 1 to 65535 (default 100)
  --step N       step from one box size to the next, 1 to 65535 (default 10)
  --colour C     colour of the shape: #RRGGBB, RRGGBB or a colour name
                 such as darkgreen (default black)
  --tolerance T  take the pixels whose red, green and blue each lie within T
                 (0 to 255) of the colour's (default 0: exactly the colour)
  --threshold N  take the pixels by their luminance (0.299 R + 0.587 G +
                 0.114 B, 0 to 255) instead of a colour: at most N with --dark
                 (the default), above N with --light; 'otsu' chooses N by
                 Otsu's method and reports it
  --dark, --light
                 which side of the threshold the shape lies on
  --outline      keep only the shape's pixels that touch a pixel outside it
                 (left, right, above or below) or the picture's edge, so that a
                 filled shape measures its boundary
  --region X,Y,W,H
                 count only inside that rectangle of the picture (its top-left
                 pixel at X,Y, W wide and H high); boxes are laid from its
                 corner. A rectangle not wholly inside the picture is refused
  --objects      measure each connected piece of the shape (pixels joined
                 through any of their eight neighbours) apart, inside its own
                 bounding box, with the same method: one result per piece
  --min-pixels K with --objects, leave out pieces of fewer than K pixels
                 (default 50) and report how many were left out
  --format F     table, csv or json (default table); summary, one CSV row
                 a picture: file, width, height, shape pixels, method, n, D,
                 its 95% interval, r2, warnings and error (implies --details;
                 not with --objects); jsonl, one JSON object a line written as
                 each picture finishes, {"file": ..., "error": ...} for one that
                 failed
  --recursive    a FOLDER stands for its pictures and those of its sub-folders
                 (without it, only those directly in it)
  --files-from LIST
                 also the pictures named in LIST, one a line ('-': standard
                 input); a PICTURE '-' reads names from standard input too
  --output FILE  write the results to FILE, under a temporary name beside it
                 renamed to FILE when complete: a run stopped or failing to
                 write leaves FILE as it was
  --skip-done FILE
                 pass over the pictures whose "file" an earlier jsonl output
                 holds (a last line cut short counts for nothing); a run
                 appending to that FILE on standard output, or given it as
                 --output, keeps its whole lines and adds the rest
  --jobs N       analyse up to N pictures at the same time, 1 to 256 (default 1)
  --memory-limit M
                 memory that the pictures being analysed may take together:
                 bytes, or a number with K, M, G or T, such as 4G (default: half
                 of the physical memory). A picture that needs more is refused;
                 jobs wait for memory rather than go over it.
  --grid G       how the boxes are laid: topleft, one grid from the top-left
                 corner (default); min, the least count over every placement
                 of the grid, exactly; all, that least count fitted and also
                 the top-left, largest and mean counts reported
  --sizes S      linear, from --min to --max by --step (default); geometric,
                 --min times the ratio, its square and so on up to --max,
                 rounded to whole pixels; or a list such as 1,3,9,27,81,243
  --ratio R      ratio of geometric sizes, 1.01 to 1000 (default 2)
  --fit F        sizes the line is fitted to: all (default); auto, the widest
                 run of sizes over which log N(d) is straight; or D1:D2, the
                 sizes from D1 to D2
  --details      report the method, the uncertainty of D, the local slopes,
                 warnings, the rule that chose the shape's pixels and the
                 picture's provenance; any option of the method or of the
                 shape's pixels implies it. Warnings also go to standard
                 error and never change the exit status
      --self-test
                 draw each shape of known dimension that vandrel-fractal draws,
                 measure it with --grid min --sizes geometric --fit auto (sizes
                 from 1 to the shape's size by its own scale factor) and print
                 measured D, exact D and the error; exit status 0 only when
                 every error is within its tolerance. Only --memory-limit
                 applies to it
  -h, --help     show this help and stop
      --version  show the version and stop

Pictures may be BMP, PNG, JPEG, GIF or TIFF; a FOLDER stands for those in it,
by name in byte order. A picture that is cut short or
corrupt is refused, never counted. Transparent pixels never belong to the
shape; pictures of 16 bits a channel are compared after Qt reduces them to 8. Numbers use '.' as the decimal separator.
Exit status: 0 when every picture was analysed and reported, 1 when any failed
(its error goes to standard error, the others are still reported) or the results
could not be written or a FOLDER, LIST or earlier output could not be read, 2 when
the command line is wrong.
)";
}
