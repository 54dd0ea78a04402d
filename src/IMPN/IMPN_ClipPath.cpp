#include "IMPN/IMPN_ClipPath.h"

#include <algorithm>

IMPN_ClipPath IMPN_ClipPath::FromPoints(std::vector<IMPN_Point> points)
{
    IMPN_ClipPath path;
    path.points = std::move(points);
    if (path.points.empty())
        return path;
    std::int32_t minX = path.points.front().x, maxX = minX;
    std::int32_t minY = path.points.front().y, maxY = minY;
    for (const IMPN_Point& p : path.points)
    {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    path.bounds = IMPN_Rect::FromEdges(minY, minX, maxY, maxX);
    return path;
}
