#pragma once
// A point of a source clip path, in full-resolution pixels.

#include <cstdint>

struct IMPN_Point
{
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const IMPN_Point&, const IMPN_Point&) = default;
};
