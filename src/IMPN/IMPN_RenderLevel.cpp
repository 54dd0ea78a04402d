#include "IMPN/IMPN_RenderLevel.h"

#include <algorithm>

std::int64_t IMPN_RenderLevel::Scale(std::int64_t v, int level)
{
    if (level <= kUnitLevel)
        return v * (std::int64_t(1) << (kUnitLevel - level));
    const int shift = level - kUnitLevel;
    const bool negative = v < 0;
    const std::uint64_t a = negative ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v);
    std::uint64_t q = a >> shift;
    const std::uint64_t rem = a & ((std::uint64_t(1) << shift) - 1);
    const std::uint64_t half = std::uint64_t(1) << (shift - 1);
    if (rem > half || (rem == half && (q & 1u)))
        ++q;
    return negative ? -std::int64_t(q) : std::int64_t(q);
}

void IMPN_RenderLevel::Compute(std::int64_t imageWidth, std::int64_t imageLength,
                               std::int64_t tileWidth, std::int64_t tileLength,
                               IMPN_RenderLevel levels[kLevelCount])
{
    std::int32_t merge = 1;
    for (int i = 0; i < kLevelCount; ++i)
    {
        IMPN_RenderLevel& l = levels[i];
        l = IMPN_RenderLevel{};
        const std::int64_t scaledTileHeight = Scale(std::max<std::int64_t>(tileLength, 0), i);
        if (scaledTileHeight < kMinTileSize)
            merge *= 2;
        l.mergeFactor = merge;
        l.tileWidth = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(Scale(tileWidth, i), kMinTileSize, kMaxTileSize));
        l.tileHeight = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(scaledTileHeight, kMinTileSize, kMaxTileSize));
        if (imageWidth <= 0 || imageLength <= 0 || tileWidth <= 0 || tileLength <= 0)
            continue;
        // 32-bit image sizes at 8:1 overflow 32 bits: such pictures are left empty at the
        // levels where they cannot be addressed rather than wrapped around.
        const std::int64_t w = Scale(imageWidth, i);
        const std::int64_t h = Scale(imageLength, i);
        // The whole tile grid must be addressable, so that a tile's right and bottom edges
        // are 32-bit values too.
        const std::int64_t gridW = (w + l.tileWidth - 1) / l.tileWidth * l.tileWidth;
        const std::int64_t gridH = (h + l.tileHeight - 1) / l.tileHeight * l.tileHeight;
        if (gridW > INT32_MAX || gridH > INT32_MAX)
            continue;
        l.width = static_cast<std::int32_t>(w);
        l.height = static_cast<std::int32_t>(h);
        l.tilesAcross = static_cast<std::int32_t>((w + l.tileWidth - 1) / l.tileWidth);
        l.tilesDown = static_cast<std::int32_t>((h + l.tileHeight - 1) / l.tileHeight);
    }
}
