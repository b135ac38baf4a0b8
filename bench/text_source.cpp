// A text source is read line by line: memory must not grow with the length of the
// file. Reads files of 10^5 and 10^6 lines through the text supplier, each in a
// child process of its own, and prints each child's peak memory and their ratio
// (about 1 is right; 10 would mean the file is held whole). Then times 10^5 rows
// with a column of ISO dates against 10^5 rows of numbers (about 1 is right; tens
// would mean every date tries every pattern of the locale before ISO 8601).

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "graph/data/suppliers/txt_supplier.h"

namespace {

std::filesystem::path WriteLines(const std::filesystem::path& folder, int lines, bool dates)
{
    const std::filesystem::path path = folder / ("lines_" + std::to_string(lines) + (dates ? "_dates" : "") + ".txt");
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < lines; ++i) {
        if (dates)
            out << 2000 + i % 100 << "-0" << 1 + i % 9 << "-1" << i % 10 << '\t' << i << '\n';
        else
            out << i << '\t' << 2 * i << '\n';
    }
    return path;
}

// Reads every row's first two columns; the number of values that converted.
long ReadAll(const std::filesystem::path& path, uint8_t firstFormat)
{
    TTxtSupplier supplier(false, 10, "\t", "'\"");
    if (!supplier.OpenFile(path.string()))
        return -1;
    long values = 0;
    for (bool end = supplier.Eof(); !end; end = supplier.Next()) {
        double value = 0;
        values += supplier.GetValue(0, value, firstFormat) ? 1 : 0;
        values += supplier.GetValue(1, value, 0) ? 1 : 0;
    }
    return values;
}

// Peak resident memory in KiB of a child that reads the file.
long PeakKibReading(const std::filesystem::path& path)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(ReadAll(path, 0) > 0 ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

double SecondsReading(const std::filesystem::path& path, uint8_t firstFormat)
{
    const auto start = std::chrono::steady_clock::now();
    ReadAll(path, firstFormat);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vandrel_bench_text_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    const long small = PeakKibReading(WriteLines(folder, 100'000, false));
    const long large = PeakKibReading(WriteLines(folder, 1'000'000, false));
    std::printf("peak memory reading:   10^5 lines %ld KiB   10^6 lines %ld KiB\n", small, large);
    std::printf("ratio 10^6 / 10^5: %.2f\n", static_cast<double>(large) / static_cast<double>(small));

    const double numbers = SecondsReading(WriteLines(folder, 100'000, false), 0);
    const double dates = SecondsReading(WriteLines(folder, 100'000, true), 1);
    std::printf("10^5 rows:   numbers %.3f s   ISO dates %.3f s   ratio %.1f\n", numbers, dates, dates / numbers);

    std::filesystem::remove_all(folder);
    return 0;
}
