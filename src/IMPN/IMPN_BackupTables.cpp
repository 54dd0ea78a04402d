#include "IMPN/IMPN_BackupTables.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
long double CentreX(const IMPN_Rect& r)
{
    return static_cast<long double>(r.left) + static_cast<long double>(r.width) / 2.0L;
}

long double CentreY(const IMPN_Rect& r)
{
    return static_cast<long double>(r.top) + static_cast<long double>(r.height) / 2.0L;
}
} // namespace

void IMPN_BackupTables::Clear()
{
    m_PlateDx.fill(0);
    m_PressSheetDx.fill(0);
    m_PageDx.fill(0);
    m_PlateDy.fill(0);
    m_PressSheetDy.fill(0);
    m_PageDy.fill(0);
}

void IMPN_BackupTables::Compute(int flipAxis, std::int32_t imageWidth, std::int32_t imageLength,
                                const IMPN_Rect& frontPressSheet, const IMPN_Rect& backPressSheet,
                                const std::vector<IMPN_PageEntry>& frontPages)
{
    Clear();
    // The plates are aligned by the images themselves: their tables stay zero.
    long double dx = 0, dy = 0;
    Offsets(flipAxis, imageWidth, imageLength, frontPressSheet, backPressSheet, dx, dy);
    FillTables(dx, dy, m_PressSheetDx, m_PressSheetDy);

    if (frontPages.empty())
        return;
    const IMPN_Rect pages = PageBounds(frontPages);
    Offsets(flipAxis, imageWidth, imageLength, pages, pages, dx, dy);
    FillTables(dx, dy, m_PageDx, m_PageDy);
}

std::int32_t IMPN_BackupTables::Dx(int mode, int level) const
{
    if (level < 0 || level >= LevelCount)
        return 0;
    switch (mode)
    {
    case ModePlates:
        return m_PlateDx[level];
    case ModePressSheets:
        return m_PressSheetDx[level];
    case ModePages:
        return m_PageDx[level];
    default:
        return 0;
    }
}

std::int32_t IMPN_BackupTables::Dy(int mode, int level) const
{
    if (level < 0 || level >= LevelCount)
        return 0;
    switch (mode)
    {
    case ModePlates:
        return m_PlateDy[level];
    case ModePressSheets:
        return m_PressSheetDy[level];
    case ModePages:
        return m_PageDy[level];
    default:
        return 0;
    }
}

int IMPN_BackupTables::FlipAxis(int workStyle, int orientation)
{
    if (workStyle == 0)
        return AxisNone;
    int sum = (workStyle >= 1 && workStyle <= 4) ? workStyle : 0;
    switch (orientation)
    {
    case 1: // Down
        sum += 2;
        break;
    case 2: // Left
        sum += 1;
        break;
    case 3: // Right
        sum += 3;
        break;
    default: // Up and unknown codes
        break;
    }
    return (sum % 2 != 0) ? AxisLeftRight : AxisTopBottom;
}

void IMPN_BackupTables::Offsets(int flipAxis, std::int32_t imageWidth, std::int32_t imageLength,
                                const IMPN_Rect& front, const IMPN_Rect& back, long double& dx,
                                long double& dy)
{
    switch (flipAxis)
    {
    case AxisLeftRight:
        dx = static_cast<long double>(imageWidth) - CentreX(back) - CentreX(front);
        dy = CentreY(front) - CentreY(back);
        break;
    case AxisTopBottom:
        dx = CentreX(front) - CentreX(back);
        dy = static_cast<long double>(imageLength) - CentreY(back) - CentreY(front);
        break;
    default:
        // Nothing is laid underneath a sheet without a flip axis.
        dx = 0;
        dy = 0;
        break;
    }
}

std::int32_t IMPN_BackupTables::Round(long double value)
{
    if (std::isnan(value))
        return 0;
    constexpr long double lo = std::numeric_limits<std::int32_t>::min();
    constexpr long double hi = std::numeric_limits<std::int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    const long double below = std::floor(value);
    const long double fraction = value - below;
    long double result = below;
    if (fraction > 0.5L)
        result = below + 1;
    else if (fraction == 0.5L && std::fmod(below, 2.0L) != 0)
        result = below + 1;
    return static_cast<std::int32_t>(std::clamp(result, lo, hi));
}

IMPN_Rect IMPN_BackupTables::PageBounds(const std::vector<IMPN_PageEntry>& pages)
{
    if (pages.empty())
        return {};
    // Work in 64 bits: right and bottom edges of a file's rectangles may lie beyond 2^31.
    std::int64_t top = pages.front().position.top;
    std::int64_t left = pages.front().position.left;
    std::int64_t bottom = top + pages.front().position.height;
    std::int64_t right = left + pages.front().position.width;
    for (const IMPN_PageEntry& page : pages)
    {
        const IMPN_Rect& r = page.position;
        top = std::min<std::int64_t>(top, r.top);
        left = std::min<std::int64_t>(left, r.left);
        bottom = std::max<std::int64_t>(bottom, std::int64_t{r.top} + r.height);
        right = std::max<std::int64_t>(right, std::int64_t{r.left} + r.width);
    }
    IMPN_Rect bounds;
    bounds.top = static_cast<std::int32_t>(top);
    bounds.left = static_cast<std::int32_t>(left);
    bounds.width = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(right - left, 0, std::numeric_limits<std::int32_t>::max()));
    bounds.height = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(bottom - top, 0, std::numeric_limits<std::int32_t>::max()));
    return bounds;
}

long double IMPN_BackupTables::ZoomFactor(int level)
{
    return std::ldexp(8.0L, -level);
}

void IMPN_BackupTables::FillTables(long double dx, long double dy, Table& dxTable, Table& dyTable)
{
    for (int i = 0; i < LevelCount; ++i)
    {
        const long double z = ZoomFactor(i);
        dxTable[i] = Round(dx * z);
        dyTable[i] = Round(dy * z);
    }
}
