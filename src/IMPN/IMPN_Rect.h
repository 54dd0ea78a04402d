#pragma once
// A rectangle of full-resolution pixels as the tree keeps it: top, left, width, height, with
// width = right - left and height = bottom - top of the values read from a preview file.

#include <cstdint>

struct IMPN_Rect
{
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    // From the edges as preview files store them. The differences wrap like the 32-bit
    // arithmetic of the files' own producers rather than overflowing.
    static IMPN_Rect FromEdges(std::int32_t top, std::int32_t left, std::int32_t bottom,
                               std::int32_t right)
    {
        IMPN_Rect r;
        r.top = top;
        r.left = left;
        r.width = static_cast<std::int32_t>(static_cast<std::uint32_t>(right) -
                                            static_cast<std::uint32_t>(left));
        r.height = static_cast<std::int32_t>(static_cast<std::uint32_t>(bottom) -
                                             static_cast<std::uint32_t>(top));
        return r;
    }

    friend bool operator==(const IMPN_Rect&, const IMPN_Rect&) = default;
};
