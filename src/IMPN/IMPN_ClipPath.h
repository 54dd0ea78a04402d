#pragma once
// One source clip path of a page: its points in order and the rectangle that bounds them.

#include "IMPN/IMPN_Point.h"
#include "IMPN/IMPN_Rect.h"

#include <vector>

struct IMPN_ClipPath
{
    IMPN_Rect bounds;
    std::vector<IMPN_Point> points;

    // Bounds from the smallest and largest coordinates; an empty path bounds nothing.
    static IMPN_ClipPath FromPoints(std::vector<IMPN_Point> points);

    friend bool operator==(const IMPN_ClipPath&, const IMPN_ClipPath&) = default;
};
