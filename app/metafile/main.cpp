// vandrel-metafile: the SVG text of one metafile. The window runs it for every
// metafile it opens, so that a file from anywhere meets the metafile libraries in a
// short-lived process under limits, never in the window's own.
//
//   vandrel-metafile emf|wmf [FILE]
//
// Reads FILE, or standard input without one, and writes the SVG to standard output.
// A metafile it cannot convert gives exit status 1 with the reason as the last line
// on standard error; a wrong command line gives status 2.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>
#include <string>

#include "app/metafile/metafile_svg.h"
#include "graph/core/error.h"

namespace {

constexpr int kCannotConvert = 1;
constexpr int kWrongCommandLine = 2;

std::string AllOf(std::istream& in)
{
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw TVandrelError("the metafile cannot be read");
    return bytes;
}

std::string Bytes(int argc, char** argv)
{
    if (argc < 3)
        return AllOf(std::cin);
    std::ifstream file(argv[2], std::ios::binary);
    if (!file)
        throw TVandrelError(std::string("cannot open ") + argv[2]);
    return AllOf(file);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc > 1 ? argv[1] : "";
    if (argc > 3 || (kind != "emf" && kind != "wmf")) {
        std::cerr << "usage: vandrel-metafile emf|wmf [FILE]\n";
        return kWrongCommandLine;
    }
    try {
        std::ios::sync_with_stdio(false);
        const std::string bytes = Bytes(argc, argv);
        const std::string svg = kind == "emf" ? EnhancedMetafileSvg(bytes) : MetafileSvg(bytes);
        std::cout.write(svg.data(), std::streamsize(svg.size()));
        std::cout.flush();
        if (!std::cout)
            throw TVandrelError("the SVG cannot be written");
    } catch (const TVandrelError& error) {
        std::cerr << error.what() << '\n';
        return kCannotConvert;
    } catch (const std::bad_alloc&) {
        std::cerr << "not enough memory for the metafile\n";
        return kCannotConvert;
    }
    return 0;
}
