// vandrel-count: the box-counting analysis of the window, for any number of pictures,
// from the command line and without a display.

#include <QCoreApplication>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "app/count/count_options.h"
#include "app/count/done_pictures.h"
#include "app/count/output_file.h"
#include "app/count/picture_analysis.h"
#include "app/count/picture_list.h"
#include "app/count/result_printer.h"
#include "app/count/self_test.h"
#include "app/engine/scaling_fit.h"
#include "graph/core/error.h"

namespace {

constexpr const char* kProgram = "vandrel-count";

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

bool SameFile(const std::string& path, const struct stat& other)
{
    struct stat file {};
    return stat(path.c_str(), &file) == 0 && file.st_dev == other.st_dev && file.st_ino == other.st_ino;
}

// A run resumed into the very output it resumes, appended to on standard output, must
// not glue its first line to the line the stopped run cut short: that piece goes.
bool DropCutLineOfStandardOutput(const std::string& path, const TDonePictures& done)
{
    struct stat out {};
    if (done.WholeLinesLength == done.Length || fstat(STDOUT_FILENO, &out) != 0 || !S_ISREG(out.st_mode) ||
        (fcntl(STDOUT_FILENO, F_GETFL) & O_APPEND) == 0 || !SameFile(path, out))
        return true;
    if (ftruncate(STDOUT_FILENO, static_cast<off_t>(done.WholeLinesLength)) == 0)
        return true;
    std::cerr << kProgram << ": " << path << ": its last line, cut short, could not be removed: "
              << std::strerror(errno) << '\n';
    return false;
}

// --output naming an earlier output it resumes: the whole lines of that output come
// first, so that renaming the new file over it loses none.
bool CarryOver(const std::string& path, const TDonePictures& done, FILE* out)
{
    std::ifstream earlier(path, std::ios::binary);
    std::string text(done.WholeLinesLength, '\0');
    if (earlier.read(text.data(), static_cast<std::streamsize>(text.size())) &&
        std::fwrite(text.data(), 1, text.size(), out) == text.size())
        return true;
    std::cerr << kProgram << ": " << path << ": the earlier output could not be carried over\n";
    return false;
}

// The pictures listed less those done, then analysed and printed as they finish.
int CountPictures(const TCountOptions& options, const std::vector<int>& sizes, TMemoryBudget& budget)
{
    std::vector<std::string> paths;
    std::unique_ptr<TOutputFile> outputFile;
    std::set<std::string> done;
    std::error_code unknown; // a file not there is no other file
    try {
        // A file that cannot be written is told before a long list is read.
        if (!options.Output.empty())
            outputFile = std::make_unique<TOutputFile>(options.Output);
        paths = ListPictures({options.Pictures, options.FilesFrom, options.Recursive}, std::cin);
        for (const std::string& earlier : options.SkipDone) {
            TDonePictures read = ReadDonePictures(earlier);
            if (outputFile && std::filesystem::equivalent(options.Output, earlier, unknown)) {
                if (!CarryOver(earlier, read, outputFile->Stream()))
                    return 1;
            } else if (!outputFile && !DropCutLineOfStandardOutput(earlier, read)) {
                return 1;
            }
            done.merge(read.Files);
        }
    } catch (const TVandrelError& error) {
        std::cerr << kProgram << ": " << error.what() << '\n';
        return 1;
    }
    std::erase_if(paths, [&](const std::string& path) { return done.contains(path); });

    std::error_code notThere;
    const bool single = options.Pictures.size() == 1 && options.FilesFrom.empty() && options.Pictures.front() != "-" &&
                        !std::filesystem::is_directory(options.Pictures.front(), notThere);
    FILE* out = outputFile ? outputFile->Stream() : stdout;
    TResultPrinter printer(options.Format, out, single);
    bool written = true;
    bool failed = false;
    AnalysePicturesInOrder(paths, options.Shape, sizes, options.Method, options.Jobs, budget,
                           [&](std::size_t i, TPictureOutcome&& outcome) {
                               failed = failed || !outcome.Analysis;
                               written = printer.Print(paths[i], std::move(outcome));
                               return written;
                           });
    written = written && printer.Finish();
    if (outputFile) {
        std::string error;
        if (!written || !outputFile->Commit(error)) {
            std::cerr << kProgram << ": the results could not be written to "
                      << (error.empty() ? options.Output : error) << '\n';
            return 1;
        }
    } else if (!OutputDelivered()) {
        return 1;
    }
    return failed ? 1 : 0;
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

    return CountPictures(options, sizes, budget);
}
