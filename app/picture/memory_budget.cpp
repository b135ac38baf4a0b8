#include "app/picture/memory_budget.h"

#include <unistd.h>

#include <array>
#include <cstdio>

TMemoryBudget::TMemoryBudget(uint64_t bytes)
    : FBytes(bytes)
{
}

TMemoryBudget::TReservation TMemoryBudget::Reserve(uint64_t bytes)
{
    std::unique_lock lock(FLock);
    // Alone, a request always goes ahead, so that nothing waits for ever.
    FFreed.wait(lock, [&] { return FTaken == 0 || FTaken + bytes <= FBytes; });
    FTaken += bytes;
    return TReservation(*this, bytes);
}

void TMemoryBudget::Release(uint64_t bytes)
{
    {
        const std::lock_guard lock(FLock);
        FTaken -= bytes;
    }
    FFreed.notify_all();
}

TMemoryBudget::TReservation::~TReservation()
{
    if (FBudget != nullptr)
        FBudget->Release(FBytes);
}

uint64_t DefaultMemoryBudget()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return uint64_t{1} << 30; // a machine that does not say: 1 GiB
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) / 2;
}

std::string MemoryText(uint64_t bytes)
{
    static constexpr std::array<const char*, 5> kUnits{"bytes", "KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes);
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < kUnits.size()) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    if (unit == 0)
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    else
        std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}
