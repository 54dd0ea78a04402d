#pragma once
// Milliseconds from a monotonic clock, kept as an unsigned 32-bit count that wraps about every
// 49.7 days, so that differences of tick counts follow unsigned wrap-around arithmetic.

#include <cstdint>
#include <functional>

using WKRN_TickSource = std::function<std::uint32_t()>;

std::uint32_t WKRN_TickCount();
