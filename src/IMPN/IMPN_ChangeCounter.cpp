#include "IMPN/IMPN_ChangeCounter.h"

namespace
{
std::uint32_t g_Counter = 0;
}

std::uint32_t IMPN_ChangeCounter::Next()
{
    return ++g_Counter;
}

std::uint32_t IMPN_ChangeCounter::Current()
{
    return g_Counter;
}
