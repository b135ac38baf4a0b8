#include "graph/stream/memory_stream.h"

#include <algorithm>
#include <cstring>

std::size_t TMemoryStream::Read(void* buffer, std::size_t count)
{
    if (FPosition >= Size())
        return 0;
    const auto start = static_cast<std::size_t>(FPosition);
    const std::size_t taken = std::min(count, FBytes.size() - start);
    if (taken > 0)
        std::memcpy(buffer, FBytes.data() + start, taken);
    FPosition += static_cast<int64_t>(taken);
    return taken;
}

void TMemoryStream::Write(const void* buffer, std::size_t count)
{
    if (count == 0)
        return;
    const auto start = static_cast<std::size_t>(FPosition);
    // resize also zero-fills a gap left by seeking past the end.
    if (start + count > FBytes.size())
        FBytes.resize(start + count);
    std::memcpy(FBytes.data() + start, buffer, count);
    FPosition += static_cast<int64_t>(count);
}

void TMemoryStream::Seek(int64_t position)
{
    FPosition = std::max<int64_t>(position, 0);
}
