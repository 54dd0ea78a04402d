#pragma once
// One column of a tree control: its title, alignment, the id under which every row keeps the
// column's cell, its width with the limits the user may drag it to, whether its cells hide while
// their row is expanded, and the insets of cell content. The control and its header share a
// column through a counted reference.

#include <cstdint>
#include <string>

class WMCT_HeaderItem
{
public:
    enum Alignment : std::int32_t
    {
        Left = 0,
        Centre = 1,
        Right = 2,
    };

    WMCT_HeaderItem(std::wstring title, std::int32_t columnId, std::int32_t width,
                    std::int32_t minimumWidth, std::int32_t maximumWidth);

    // A width within the column's limits; a maximum below the minimum gives way to the minimum.
    std::int32_t Clamp(std::int32_t width) const;

    std::wstring title;
    std::int32_t alignment = Left;
    std::int32_t columnId = 0;
    std::int32_t width = 0;
    std::int32_t maximumWidth = 0;
    std::int32_t minimumWidth = 0;
    bool hideWhenExpanded = false;
    // Kept for the host; the control does not interpret them.
    bool userFlag = false;
    std::int32_t userValue = 0;
    std::int32_t leftInset = 0;
    std::int32_t rightInset = 0;
};
