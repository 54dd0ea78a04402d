#include "IMPN/IMPN_TileStore.h"

bool IMPN_TileStore::OpenLevel(int level, const IMPN_RenderLevel& record)
{
    if (level < IMPN_RenderLevel::kUnitLevel || level >= IMPN_RenderLevel::kLevelCount)
        return false;
    const std::uint64_t count = std::uint64_t(record.tilesAcross) * std::uint64_t(record.tilesDown);
    m_Maps[level].clear();
    m_Open[level] = count > 0 && count <= kMaxTilesPerLevel;
    return m_Open[level];
}

bool IMPN_TileStore::IsLevelOpen(int level) const
{
    return level >= 0 && level < IMPN_RenderLevel::kLevelCount && m_Open[level];
}

IMPN_RenderTile* IMPN_TileStore::Find(int level, const IMPN_RenderLevel& l, std::int32_t top,
                                      std::int32_t left)
{
    if (!IsLevelOpen(level) || top < 0 || left < 0 || top >= l.height || left >= l.width)
        return nullptr;
    const std::int64_t col = left / l.tileWidth;
    const std::int64_t row = top / l.tileHeight;
    // Column and row are checked on their own: a number alone would let a position right of
    // the picture wrap into the next row.
    if (col >= l.tilesAcross || row >= l.tilesDown)
        return nullptr;
    const std::uint64_t number =
        std::uint64_t(row) * std::uint64_t(l.tilesAcross) + std::uint64_t(col);
    // Map nodes stay where they are when the map grows, so a tile handed out stays valid while
    // its neighbours are made.
    IMPN_RenderTile* tile = &m_Maps[level][number];
    tile->top = static_cast<std::int32_t>(row * l.tileHeight);
    tile->left = static_cast<std::int32_t>(col * l.tileWidth);
    tile->width = l.tileWidth;
    tile->height = l.tileHeight;
    return tile;
}

const IMPN_RenderTile* IMPN_TileStore::Peek(int level, const IMPN_RenderLevel& l, std::int32_t top,
                                            std::int32_t left) const
{
    if (!IsLevelOpen(level) || top < 0 || left < 0 || top >= l.height || left >= l.width)
        return nullptr;
    const std::int64_t col = left / l.tileWidth;
    const std::int64_t row = top / l.tileHeight;
    if (col >= l.tilesAcross || row >= l.tilesDown)
        return nullptr;
    const auto& map = m_Maps[level];
    const auto it =
        map.find(std::uint64_t(row) * std::uint64_t(l.tilesAcross) + std::uint64_t(col));
    return it == map.end() ? nullptr : &it->second;
}

void IMPN_TileStore::Release()
{
    for (auto& map : m_Maps)
        map.clear();
}

std::size_t IMPN_TileStore::CachedBytes() const
{
    std::size_t bytes = 0;
    for (const auto& map : m_Maps)
        for (const auto& entry : map)
            bytes += entry.second.storeBytes;
    return bytes;
}

std::size_t IMPN_TileStore::TileRecordCount() const
{
    std::size_t count = 0;
    for (const auto& map : m_Maps)
        count += map.size();
    return count;
}
