#include "FileFaults.h"

#include <atomic>

namespace lumo::faults
{

namespace
{

std::atomic<std::int64_t> budget{-1};

} // namespace

void setWriteBudget(std::int64_t bytes)
{
    budget.store(bytes < 0 ? -1 : bytes);
}

std::int64_t writeBudget()
{
    return budget.load();
}

bool allowWrite(std::size_t size)
{
    std::int64_t left = budget.load();
    while (left >= 0) {
        const std::int64_t want = static_cast<std::int64_t>(size);
        if (want > left) {
            budget.store(0);
            return false;
        }
        if (budget.compare_exchange_weak(left, left - want))
            return true;
    }
    return true;
}

} // namespace lumo::faults
