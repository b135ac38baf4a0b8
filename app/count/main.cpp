// vandrel-count: the box-counting analysis of the window, for any number of pictures,
// from the command line and without a display.

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/count/count_options.h"
#include "app/count/count_report.h"
#include "app/count/picture_analysis.h"
#include "app/count/self_test.h"
#include "app/engine/scaling_fit.h"
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
        for (const std::string& warning : WarningLines(*outcome.Analysis)) {
            std::cout.flush();
            std::cerr << kProgram << ": " << options.Pictures[i] << ": warning: " << warning << '\n';
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

// The sizes the line would be fitted to, before any picture is read; only the
// automatic range depends on the counts, and it takes from these.
std::size_t FittableSizes(const TCountMethod& method, const std::vector<int>& sizes)
{
    if (method.Fit != TFitChoice::Range)
        return sizes.size();
    std::vector<TBoxCount> counts;
    for (const int d : sizes)
        counts.push_back({d, 1});
    return CountsBetween(counts, method.FitFrom, method.FitTo).size();
}

// Exit status 0 when every reference shape measured within its tolerance.
int SelfTest(TMemoryBudget& budget)
{
    std::vector<TSelfTestResult> results;
    try {
        results = RunSelfTest(budget);
    } catch (const std::exception& error) {
        std::cerr << kProgram << ": --self-test: " << error.what() << '\n';
        return 1;
    }
    std::cout << SelfTestText(results);
    const bool passed = std::ranges::all_of(results, [](const TSelfTestResult& result) { return result.Passed; });
    return OutputDelivered() && passed ? 0 : 1;
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
    if (options.Version) {
        std::cout << kProgram << " " VANDREL_VERSION "\n";
        return OutputDelivered() ? 0 : 1;
    }
    TMemoryBudget budget(options.MemoryLimit != 0 ? options.MemoryLimit : DefaultMemoryBudget());
    if (options.SelfTest)
        return SelfTest(budget);
    const std::vector<int> sizes = CountedBoxSizes(options);
    if (sizes.empty()) {
        std::cerr << kProgram << ": the minimum box size (" << options.Minimum << ") is above the maximum ("
                  << options.Maximum << "): there is no box size to count\n";
        return 2;
    }
    if (const std::size_t fittable = FittableSizes(options.Method, sizes); options.Method.Details && fittable < 2) {
        if (options.Method.Fit == TFitChoice::Range)
            std::cerr << kProgram << ": --fit: the range " << options.Method.FitFrom << ":" << options.Method.FitTo
                      << " holds " << fittable << " of the box sizes counted; a line needs at least two\n";
        else
            std::cerr << kProgram << ": only one box size is counted; a line needs at least two\n";
        return 2;
    }

    const std::vector<TPictureOutcome> outcomes =
        AnalysePictures(options.Pictures, options.Shape, sizes, options.Method, options.Jobs, budget);
    PrintResults(options, outcomes);
    if (!OutputDelivered())
        return 1;
    for (const TPictureOutcome& outcome : outcomes)
        if (!outcome.Analysis)
            return 1;
    return 0;
}
