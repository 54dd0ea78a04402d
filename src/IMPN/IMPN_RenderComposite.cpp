#include "IMPN/IMPN_RenderComposite.h"

#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool IMPN_RenderComposite::Compose(IMPN_SurfaceRenderer& renderer, int level, std::uint32_t stamp,
                                   std::int32_t top, std::int32_t left, std::int32_t width,
                                   std::int32_t height, std::uint8_t* bgr, std::size_t stride,
                                   const Progress& progress, IMPN_WorkerPool* pool)
{
    if (level < 0 || level >= IMPN_RenderLevel::kLevelCount || width < 0 || height < 0)
        return false;
    for (std::int32_t y = 0; y < height; ++y)
        std::memset(bgr + std::size_t(y) * stride, 255, 3 * std::size_t(width));
    const IMPN_RenderLevel& l = renderer.GetLevel(level);
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t(left) + width, l.width);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t(top) + height, l.height);
    if (x0 >= x1 || y0 >= y1)
        return true;
    const std::int64_t firstRow = y0 / l.tileHeight, lastRow = (y1 - 1) / l.tileHeight;
    const std::int64_t firstCol = x0 / l.tileWidth, lastCol = (x1 - 1) / l.tileWidth;
    const std::size_t total = std::size_t((lastRow - firstRow + 1) * (lastCol - firstCol + 1));
    std::size_t done = 0;
    // Tiles are made a few per worker at a time, just before they are copied: enough to keep
    // every worker busy, few enough that the tiles made are still there when they are copied,
    // however wide the picture.
    const std::int64_t batch = pool != nullptr ? 4 * std::int64_t(pool->GetWorkerCount()) : 0;
    for (std::int64_t row = firstRow; row <= lastRow; ++row)
    {
        for (std::int64_t col = firstCol; col <= lastCol; ++col)
        {
            if (pool != nullptr && (col - firstCol) % batch == 0)
            {
                std::vector<IMPN_SurfaceRenderer::Position> positions;
                for (std::int64_t c = col; c <= std::min(lastCol, col + batch - 1); ++c)
                    positions.push_back(
                        {std::int32_t(row * l.tileHeight), std::int32_t(c * l.tileWidth)});
                renderer.MakeTiles(positions, level, stamp, pool);
            }
            const IMPN_RenderTile* tile = renderer.GetTile(
                std::int32_t(row * l.tileHeight), std::int32_t(col * l.tileWidth), level, stamp);
            if (tile == nullptr)
                continue;
            const std::int64_t tx0 = std::max<std::int64_t>(x0, tile->left);
            const std::int64_t tx1 =
                std::min<std::int64_t>(x1, std::int64_t(tile->left) + tile->width);
            const std::int64_t ty0 = std::max<std::int64_t>(y0, tile->top);
            const std::int64_t ty1 =
                std::min<std::int64_t>(y1, std::int64_t(tile->top) + tile->height);
            for (std::int64_t y = ty0; y < ty1; ++y)
                tile->CopyRow(std::int32_t(y - tile->top), std::int32_t(tx0 - tile->left),
                              std::int32_t(tx1 - tx0),
                              bgr + std::size_t(y - top) * stride + 3 * std::size_t(tx0 - left));
        }
        done += std::size_t(lastCol - firstCol + 1);
        if (progress)
            progress(done, total);
    }
    return true;
}
