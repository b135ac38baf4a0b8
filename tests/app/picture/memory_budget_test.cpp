#include "app/picture/memory_budget.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(MemoryBudget, ReservationsThatTogetherExceedTheBudgetTakeTurns)
{
    TMemoryBudget budget(100);
    std::mutex lock;
    long held = 0;
    long most = 0;
    // Eight workers wanting 40 each: at most two at a time fit in 100.
    std::vector<std::jthread> workers;
    for (int i = 0; i < 8; ++i)
        workers.emplace_back([&] {
            for (int round = 0; round < 200; ++round) {
                const TMemoryBudget::TReservation reserved = budget.Reserve(40);
                {
                    const std::lock_guard guard(lock);
                    held += 40;
                    most = std::max(most, held);
                }
                std::this_thread::yield();
                const std::lock_guard guard(lock);
                held -= 40;
            }
        });
    workers.clear(); // joins
    EXPECT_LE(most, 80);
}

}  // namespace
