// vandrel-count: the box-counting analysis of the window, for any number of pictures,
// from the command line and without a display.

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

// True when everything written to standard output reached it. A full disk or a closed
// pipe must not pass for results delivered.
bool OutputDelivered()
{
    errno = 0;
    std::cout.flush();
    const bool flushed = std::fflush(stdout) == 0;
    if (std::cout && flushed && !std::ferror(stdout))
        return true;
    const int error = errno;
    std::cerr << kProgram << ": the results could not be written"
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    return false;
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
        return OutputDelivered() ? 0 : 1;
    }
    const std::vector<int> sizes = BoxSizes(options.Minimum, options.Maximum, options.Step);
    if (sizes.empty()) {
        std::cerr << kProgram << ": the minimum box size (" << options.Minimum << ") is above the maximum ("
                  << options.Maximum << "): there is no box size to count\n";
        return 2;
    }

    TMemoryBudget budget(options.MemoryLimit != 0 ? options.MemoryLimit : DefaultMemoryBudget());
    const std::vector<TPictureOutcome> outcomes =
        AnalysePictures(options.Pictures, options.Rgb, sizes, options.Jobs, budget);
    PrintResults(options, outcomes);
    if (!OutputDelivered())
        return 1;
    for (const TPictureOutcome& outcome : outcomes)
        if (!outcome.Analysis)
            return 1;
    return 0;
}
