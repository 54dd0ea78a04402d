#include "WMCT/WMCT_HeaderItem.h"

#include <algorithm>

WMCT_HeaderItem::WMCT_HeaderItem(std::wstring title_, std::int32_t columnId_, std::int32_t width_,
                                 std::int32_t minimumWidth_, std::int32_t maximumWidth_)
    : title(std::move(title_)), columnId(columnId_), width(width_), maximumWidth(maximumWidth_),
      minimumWidth(minimumWidth_)
{
}

std::int32_t WMCT_HeaderItem::Clamp(std::int32_t value) const
{
    return std::max(std::min(value, maximumWidth), minimumWidth);
}
