#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

// The memory that pictures being read and counted may take together. Pictures counted
// at the same time share it: one that would go over waits for the others to finish.
class TMemoryBudget {
public:
    explicit TMemoryBudget(uint64_t bytes);
    TMemoryBudget(const TMemoryBudget&) = delete;
    TMemoryBudget& operator=(const TMemoryBudget&) = delete;

    uint64_t Bytes() const { return FBytes; }

    // Holds part of the budget until it is destroyed.
    class TReservation {
    public:
        TReservation(TMemoryBudget& budget, uint64_t bytes) : FBudget(&budget), FBytes(bytes) {}
        ~TReservation();
        TReservation(TReservation&& other) noexcept : FBudget(other.FBudget), FBytes(other.FBytes) { other.FBudget = nullptr; }
        TReservation& operator=(TReservation&&) = delete;
        TReservation(const TReservation&) = delete;
        TReservation& operator=(const TReservation&) = delete;

    private:
        TMemoryBudget* FBudget;
        uint64_t FBytes;
    };

    // Waits until `bytes` are free and takes them. A request larger than the whole
    // budget could never be met: the caller refuses it first (RefuseOverBudget).
    TReservation Reserve(uint64_t bytes);

private:
    void Release(uint64_t bytes);

    const uint64_t FBytes;
    uint64_t FTaken = 0;
    std::mutex FLock;
    std::condition_variable FFreed;
};

// Half of the machine's physical memory: the default budget.
uint64_t DefaultMemoryBudget();

// "1.5 GiB", "640 MiB", "12 KiB": a size for people, in powers of 1024.
std::string MemoryText(uint64_t bytes);
