#pragma once
// The geometry of one of the thirteen zoom levels of a surface's picture: level i shows the
// full-resolution image at scale 8 / 2^i (8:1 at level 0, 1:1 at level 3, 1:512 at level 12).

#include <cstdint>

struct IMPN_RenderLevel
{
    static constexpr int kLevelCount = 13;
    static constexpr int kUnitLevel = 3; // 1:1
    static constexpr std::int32_t kMinTileSize = 64;
    static constexpr std::int32_t kMaxTileSize = 512;

    std::int32_t width = 0; // level pixels of the whole picture
    std::int32_t height = 0;
    std::int32_t tileWidth = kMinTileSize;
    std::int32_t tileHeight = kMinTileSize;
    std::int32_t tilesAcross = 0;
    std::int32_t tilesDown = 0;
    std::int32_t mergeFactor = 1; // source tiles per level tile along each axis below 1:8

    // v x 8 / 2^level to the nearest integer, halves to the even neighbour, symmetrically about
    // zero; exact for every 32-bit v (no floating point).
    static std::int64_t Scale(std::int64_t v, int level);

    // The thirteen level records of an image of the given size in tiles of the given size.
    // Sizes that are not positive give empty levels (no tiles).
    static void Compute(std::int64_t imageWidth, std::int64_t imageLength, std::int64_t tileWidth,
                        std::int64_t tileLength, IMPN_RenderLevel levels[kLevelCount]);
};
