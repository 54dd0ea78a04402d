#include "IMPN/IMPN_TileStore.h"

bool IMPN_TileStore::MakeArray(int level, const IMPN_RenderLevel& record)
{
    if (level < IMPN_RenderLevel::kUnitLevel || level >= IMPN_RenderLevel::kLevelCount)
        return false;
    const std::uint64_t count = std::uint64_t(record.tilesAcross) * std::uint64_t(record.tilesDown);
    m_Arrays[level].clear();
    if (count > kMaxTilesPerLevel)
        return false;
    m_Arrays[level].resize(count);
    return true;
}

bool IMPN_TileStore::HasArray(int level) const
{
    return level >= 0 && level < IMPN_RenderLevel::kLevelCount && !m_Arrays[level].empty();
}

IMPN_RenderTile* IMPN_TileStore::Find(int level, const IMPN_RenderLevel& l, std::int32_t top,
                                      std::int32_t left)
{
    if (level < 0 || level >= IMPN_RenderLevel::kLevelCount || top < 0 || left < 0 ||
        top >= l.height || left >= l.width)
        return nullptr;
    const std::int64_t col = left / l.tileWidth;
    const std::int64_t row = top / l.tileHeight;
    // Column and row are checked on their own: a number alone would let a position right of
    // the picture wrap into the next row.
    const std::uint64_t number =
        std::uint64_t(row) * std::uint64_t(l.tilesAcross) + std::uint64_t(col);
    IMPN_RenderTile* tile = nullptr;
    if (level < IMPN_RenderLevel::kUnitLevel)
    {
        tile = &m_Maps[level][number];
    }
    else
    {
        if (number >= m_Arrays[level].size())
            return nullptr;
        tile = &m_Arrays[level][number];
    }
    tile->top = static_cast<std::int32_t>(row * l.tileHeight);
    tile->left = static_cast<std::int32_t>(col * l.tileWidth);
    tile->width = l.tileWidth;
    tile->height = l.tileHeight;
    return tile;
}

void IMPN_TileStore::Release()
{
    for (auto& map : m_Maps)
        map.clear();
    for (auto& array : m_Arrays)
        for (IMPN_RenderTile& tile : array)
            tile.Release();
}

std::size_t IMPN_TileStore::CachedBytes() const
{
    std::size_t bytes = 0;
    for (const auto& map : m_Maps)
        for (const auto& entry : map)
            bytes += entry.second.storeBytes;
    for (const auto& array : m_Arrays)
        for (const IMPN_RenderTile& tile : array)
            bytes += tile.storeBytes;
    return bytes;
}
