#include "IMPN/IMPN_ChangeCounter.h"

#include <atomic>

namespace
{
std::atomic<std::uint32_t> g_Counter{0};
}

std::uint32_t IMPN_ChangeCounter::Next()
{
    return g_Counter.fetch_add(1, std::memory_order_relaxed) + 1;
}

std::uint32_t IMPN_ChangeCounter::Current()
{
    return g_Counter.load(std::memory_order_relaxed);
}
