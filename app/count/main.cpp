// vandrel-count: the box-counting analysis of the window, for any number of pictures,
// from the command line and without a display.

#include <QCoreApplication>
#include <QImageReader>

#include <iostream>
#include <string>
#include <vector>

#include "app/count/count_options.h"
#include "app/count/count_report.h"
#include "app/count/picture_analysis.h"
#include "app/engine/box_sizes.h"
#include "graph/core/error.h"

namespace {

constexpr const char* kProgram = "vandrel-count";

// Qt refuses to decode pictures above 256 MB by default; allow large ones, short of
// what a forged header could make the machine try to allocate.
constexpr int kLargestPictureMegabytes = 8192;

void PrintResults(const TCountOptions& options, const std::vector<TPictureOutcome>& outcomes)
{
    std::vector<TPictureAnalysis> analysed;
    bool first = true;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const TPictureOutcome& outcome = outcomes[i];
        if (!outcome.Analysis) {
            std::cout.flush();
            std::cerr << kProgram << ": " << options.Pictures[i] << ": " << outcome.Error << '\n';
            continue;
        }
        if (options.Format == TOutputFormat::Json) {
            analysed.push_back(*outcome.Analysis);
            continue;
        }
        const std::vector<TTableRow> rows = ResultTableRows(*outcome.Analysis);
        std::cout << (first ? "" : "\n") << (options.Format == TOutputFormat::Csv ? CsvText(rows) : TableText(rows));
        first = false;
    }
    if (options.Format != TOutputFormat::Json)
        return;
    if (options.Pictures.size() == 1 && analysed.size() == 1)
        std::cout << JsonText(analysed.front()) << '\n';
    else if (options.Pictures.size() > 1)
        std::cout << JsonArrayText(analysed) << '\n';
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    QCoreApplication application(argc, argv); // finds Qt's picture format plugins

    TCountOptions options;
    try {
        options = ParseCountOptions(arguments);
    } catch (const TVandrelError& error) {
        std::cerr << kProgram << ": " << error.what() << "\nTry '" << kProgram << " --help' for more information.\n";
        return 2;
    }
    if (options.Help) {
        std::cout << CountUsage();
        return 0;
    }
    const std::vector<int> sizes = BoxSizes(options.Minimum, options.Maximum, options.Step);
    if (sizes.empty()) {
        std::cerr << kProgram << ": the minimum box size (" << options.Minimum << ") is above the maximum ("
                  << options.Maximum << "): there is no box size to count\n";
        return 2;
    }

    QImageReader::setAllocationLimit(kLargestPictureMegabytes);
    const std::vector<TPictureOutcome> outcomes = AnalysePictures(options.Pictures, options.Rgb, sizes, options.Jobs);
    PrintResults(options, outcomes);
    for (const TPictureOutcome& outcome : outcomes)
        if (!outcome.Analysis)
            return 1;
    return 0;
}
