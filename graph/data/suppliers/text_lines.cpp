#include "graph/data/suppliers/text_lines.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "graph/core/error.h"

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

}  // namespace

TFileLines::TFileLines(std::string path) : FPath(std::move(path)), FBlock(kBlockSize)
{
    Rewind();
}

void TFileLines::Rewind()
{
    FFile.close();
    FFile.clear();
    FFile.open(FPath, std::ios::binary);
    FPos = FEnd = 0;
    FAtStart = true;
    FAfterReturn = false;
}

bool TFileLines::Fill()
{
    FPos = FEnd = 0;
    if (!FFile.is_open() || FFile.eof())
        return false;
    FFile.read(FBlock.data(), static_cast<std::streamsize>(FBlock.size()));
    if (FFile.bad())
        throw TVandrelError("The text file could not be read to its end");
    FEnd = static_cast<std::size_t>(FFile.gcount());
    // The first block is a whole block unless the file is shorter, so the mark,
    // when there is one, lies in it.
    if (FAtStart && std::string_view(FBlock.data(), FEnd).starts_with("\xEF\xBB\xBF"))
        FPos = 3;
    FAtStart = false;
    return FPos < FEnd;
}

bool TFileLines::Read(std::string& line)
{
    line.clear();
    if (FPos == FEnd && !Fill())
        return false;
    if (FAfterReturn) {
        FAfterReturn = false;
        if (FBlock[FPos] == '\n' && ++FPos == FEnd && !Fill())
            return false;
    }
    for (;;) {
        const char* const begin = FBlock.data() + FPos;
        const char* const end = FBlock.data() + FEnd;
        const char* const stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        line.append(begin, stop);
        if (stop != end) {
            FAfterReturn = *stop == '\r';
            FPos = static_cast<std::size_t>(stop - FBlock.data()) + 1;
            return true;
        }
        if (!Fill())
            return true; // the last line has no end of its own
    }
}

std::size_t TFileLines::Count()
{
    if (!FCount) {
        TFileLines counting(FPath);
        std::string line;
        std::size_t count = 0;
        while (counting.Read(line))
            ++count;
        FCount = count;
    }
    return *FCount;
}

bool THolderLines::Read(std::string& line)
{
    if (FNext >= FLines.size())
        return false;
    // A holder's line becomes UTF-8 only when it is read, not the whole list at once.
    line = FLines[FNext++].toStdString();
    return true;
}
