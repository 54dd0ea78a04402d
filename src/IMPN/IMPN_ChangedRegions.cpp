#include "IMPN/IMPN_ChangedRegions.h"

#include <algorithm>
#include <tuple>

void IMPN_ChangedCells::Reset(std::uint32_t pictureWidth, std::uint32_t pictureHeight,
                              std::uint32_t size)
{
    cellSize = std::max<std::uint32_t>(size, 1);
    width = pictureWidth;
    height = pictureHeight;
    across = static_cast<std::uint32_t>((std::uint64_t(width) + cellSize - 1) / cellSize);
    down = static_cast<std::uint32_t>((std::uint64_t(height) + cellSize - 1) / cellSize);
    cells.assign(std::size_t(across) * down, 0);
}

bool IMPN_ChangedCells::Any() const
{
    return std::any_of(cells.begin(), cells.end(), [](std::uint8_t c) { return c != 0; });
}

void IMPN_ChangedCells::Merge(const IMPN_ChangedCells& other)
{
    if (other.cells.size() != cells.size())
        return;
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] |= other.cells[i];
}

void IMPN_ChangedCells::MarkPixels(std::uint32_t left, std::uint32_t top, std::uint32_t right,
                                   std::uint32_t bottom)
{
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    if (left >= right || top >= bottom)
        return;
    for (std::uint32_t r = top / cellSize; r <= (bottom - 1) / cellSize; ++r)
        for (std::uint32_t c = left / cellSize; c <= (right - 1) / cellSize; ++c)
            cells[std::size_t(r) * across + c] = 1;
}

/* A flood fill over the cells with a stack of its own, so that a region of a million cells (a
   whole replaced plate) needs no deep recursion; every changed cell is visited once. */
std::vector<IMPN_Rect> IMPN_ChangedRegions::Find(const IMPN_ChangedCells& map)
{
    std::vector<IMPN_Rect> regions;
    if (map.cells.size() != std::size_t(map.across) * map.down)
        return regions;
    std::vector<std::uint8_t> seen(map.cells.size(), 0);
    std::vector<std::uint32_t> stack;
    const std::int64_t across = map.across, down = map.down;
    for (std::size_t start = 0; start < map.cells.size(); ++start)
    {
        if (map.cells[start] == 0 || seen[start])
            continue;
        std::int64_t minC = across, maxC = -1, minR = down, maxR = -1;
        seen[start] = 1;
        stack.push_back(static_cast<std::uint32_t>(start));
        while (!stack.empty())
        {
            const std::uint32_t cell = stack.back();
            stack.pop_back();
            const std::int64_t r = cell / map.across, c = cell % map.across;
            minC = std::min(minC, c);
            maxC = std::max(maxC, c);
            minR = std::min(minR, r);
            maxR = std::max(maxR, r);
            for (std::int64_t nr = std::max<std::int64_t>(r - 1, 0);
                 nr <= std::min<std::int64_t>(r + 1, down - 1); ++nr)
                for (std::int64_t nc = std::max<std::int64_t>(c - 1, 0);
                     nc <= std::min<std::int64_t>(c + 1, across - 1); ++nc)
                {
                    const std::size_t next = std::size_t(nr * across + nc);
                    if (map.cells[next] != 0 && !seen[next])
                    {
                        seen[next] = 1;
                        stack.push_back(static_cast<std::uint32_t>(next));
                    }
                }
        }
        const std::int64_t size = map.cellSize;
        const std::int64_t left = minC * size, top = minR * size;
        const std::int64_t right = std::min<std::int64_t>((maxC + 1) * size, map.width);
        const std::int64_t bottom = std::min<std::int64_t>((maxR + 1) * size, map.height);
        IMPN_Rect box;
        box.top = static_cast<std::int32_t>(top);
        box.left = static_cast<std::int32_t>(left);
        box.width = static_cast<std::int32_t>(right - left);
        box.height = static_cast<std::int32_t>(bottom - top);
        regions.push_back(box);
    }
    std::sort(regions.begin(), regions.end(),
              [](const IMPN_Rect& a, const IMPN_Rect& b)
              {
                  return std::tie(a.top, a.left, a.height, a.width) <
                         std::tie(b.top, b.left, b.height, b.width);
              });
    return regions;
}
