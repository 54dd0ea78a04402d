#pragma once
// The process-wide change counter. Every change that makes cached pictures stale (a separation
// prepared, its colour, opacity or visibility changed) and every picture made (tile, palette,
// thumbnail) takes the next value; a cached picture is remade when its stamp is below the latest
// stamp of its surface's separations. Each model has one owning thread, but models on different
// threads (a job browser's scan, a job window's sheet) share the counter, so it is atomic.

#include <cstdint>

class IMPN_ChangeCounter
{
public:
    // Increments the counter and returns the new value.
    static std::uint32_t Next();

    // The latest value handed out (0 before the first).
    static std::uint32_t Current();
};
