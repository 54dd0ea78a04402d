#include "IMPN/IMPN_TileStore.h"

#include <algorithm>
#include <utility>

namespace
{
// The tile number of level pixel (left, top), or false outside the level's tile grid.
bool TileNumber(const IMPN_RenderLevel& l, std::int32_t top, std::int32_t left,
                std::uint64_t& number)
{
    if (top < 0 || left < 0 || top >= l.height || left >= l.width || l.tileWidth <= 0 ||
        l.tileHeight <= 0)
        return false;
    const std::int64_t col = left / l.tileWidth;
    const std::int64_t row = top / l.tileHeight;
    // Column and row are checked on their own: a number alone would let a position right of
    // the picture wrap into the next row.
    if (col >= l.tilesAcross || row >= l.tilesDown)
        return false;
    number = std::uint64_t(row) * std::uint64_t(l.tilesAcross) + std::uint64_t(col);
    return true;
}
} // namespace

bool IMPN_TileStore::OpenLevel(int level, const IMPN_RenderLevel& record)
{
    // The record charge stands for the entry and the map's node around it (next pointer, hash).
    static_assert(sizeof(Entry) + 2 * sizeof(void*) <= kRecordCharge);
    if (level < IMPN_RenderLevel::kUnitLevel || level >= IMPN_RenderLevel::kLevelCount)
        return false;
    const std::uint64_t count = std::uint64_t(record.tilesAcross) * std::uint64_t(record.tilesDown);
    for (auto& [number, entry] : m_Maps[level])
    {
        Unlink(entry);
        ListOf(entry).bytes -= entry.charged;
    }
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
    std::uint64_t number = 0;
    if (!IsLevelOpen(level) || !TileNumber(l, top, left, number))
        return nullptr;
    m_Records[level] = l;
    // Map nodes stay where they are when the map grows, so a tile handed out stays valid while
    // its neighbours are made.
    const auto [it, created] = m_Maps[level].try_emplace(number);
    Entry& entry = it->second;
    if (created)
    {
        entry.number = number;
        entry.level = level;
        const std::int64_t col = std::int64_t(number % std::uint64_t(l.tilesAcross));
        const std::int64_t row = std::int64_t(number / std::uint64_t(l.tilesAcross));
        entry.tile.top = static_cast<std::int32_t>(row * l.tileHeight);
        entry.tile.left = static_cast<std::int32_t>(col * l.tileWidth);
        entry.tile.width = l.tileWidth;
        entry.tile.height = l.tileHeight;
        entry.charged = kRecordCharge;
        ListOf(entry).bytes += entry.charged;
        LinkNewest(entry);
    }
    else if (ListOf(entry).newest != &entry)
    {
        Unlink(entry);
        LinkNewest(entry);
    }
    return &entry.tile;
}

IMPN_TileStore::Entry* IMPN_TileStore::Lookup(int level, std::int32_t top, std::int32_t left)
{
    return const_cast<Entry*>(std::as_const(*this).Lookup(level, top, left));
}

const IMPN_TileStore::Entry* IMPN_TileStore::Lookup(int level, std::int32_t top,
                                                    std::int32_t left) const
{
    std::uint64_t number = 0;
    if (!IsLevelOpen(level) || !TileNumber(m_Records[level], top, left, number))
        return nullptr;
    const auto it = m_Maps[level].find(number);
    return it == m_Maps[level].end() ? nullptr : &it->second;
}

void IMPN_TileStore::Account(int level, const IMPN_RenderTile& tile)
{
    Entry* entry = Lookup(level, tile.top, tile.left);
    if (entry == nullptr || &entry->tile != &tile)
        return;
    UseList& list = ListOf(*entry);
    list.bytes -= entry->charged;
    entry->charged = tile.storeBytes + kRecordCharge;
    list.bytes += entry->charged;
}

void IMPN_TileStore::Pin(int level, const IMPN_RenderTile& tile)
{
    if (Entry* entry = Lookup(level, tile.top, tile.left); entry && &entry->tile == &tile)
        ++entry->pins;
}

void IMPN_TileStore::Unpin(int level, const IMPN_RenderTile& tile)
{
    if (Entry* entry = Lookup(level, tile.top, tile.left);
        entry && &entry->tile == &tile && entry->pins > 0)
        --entry->pins;
}

void IMPN_TileStore::SetOnScreen(int level, std::int32_t left, std::int32_t top, std::int32_t right,
                                 std::int32_t bottom)
{
    m_ScreenLevel = left < right && top < bottom ? level : -1;
    m_ScreenLeft = left;
    m_ScreenTop = top;
    m_ScreenRight = right;
    m_ScreenBottom = bottom;
}

bool IMPN_TileStore::IsOnScreen(const Entry& entry) const
{
    const IMPN_RenderTile& t = entry.tile;
    return entry.level == m_ScreenLevel && std::int64_t(t.left) + t.width > m_ScreenLeft &&
           t.left < m_ScreenRight && std::int64_t(t.top) + t.height > m_ScreenTop &&
           t.top < m_ScreenBottom;
}

std::size_t IMPN_TileStore::OverviewAllowance(std::size_t budget)
{
    return std::max(budget / 2, kMinOverviewAllowance);
}

template <class Over>
void IMPN_TileStore::TrimList(UseList& list, const IMPN_RenderTile* keep, Over over)
{
    Entry* entry = list.oldest;
    while (over() && entry != nullptr)
    {
        Entry* next = entry->newer;
        if (entry->pins == 0 && &entry->tile != keep && !IsOnScreen(*entry))
            Evict(*entry);
        entry = next;
    }
}

void IMPN_TileStore::Trim(std::size_t budget, const IMPN_RenderTile* keep)
{
    UseList& finer = m_Lists[0];
    UseList& overview = m_Lists[1];
    const std::size_t allowance = OverviewAllowance(budget);
    TrimList(overview, keep, [&] { return overview.bytes > allowance; });
    const auto total = [&] { return finer.bytes + overview.bytes; };
    TrimList(finer, keep, [&] { return total() > budget; });
    // Past the allowance's floor the overview gives way as well.
    TrimList(overview, keep,
             [&] { return total() > std::max(budget, kMinOverviewAllowance + finer.bytes); });
}

void IMPN_TileStore::Evict(Entry& entry)
{
    Unlink(entry);
    ListOf(entry).bytes -= entry.charged;
    m_Maps[entry.level].erase(entry.number);
}

void IMPN_TileStore::Unlink(Entry& entry)
{
    UseList& list = ListOf(entry);
    (entry.older ? entry.older->newer : list.oldest) = entry.newer;
    (entry.newer ? entry.newer->older : list.newest) = entry.older;
    entry.older = entry.newer = nullptr;
}

void IMPN_TileStore::LinkNewest(Entry& entry)
{
    UseList& list = ListOf(entry);
    entry.older = list.newest;
    entry.newer = nullptr;
    (list.newest ? list.newest->newer : list.oldest) = &entry;
    list.newest = &entry;
}

const IMPN_RenderTile* IMPN_TileStore::Peek(int level, std::int32_t top, std::int32_t left) const
{
    const Entry* entry = Lookup(level, top, left);
    return entry == nullptr ? nullptr : &entry->tile;
}

void IMPN_TileStore::Release()
{
    for (auto& map : m_Maps)
        map.clear();
    for (UseList& list : m_Lists)
        list = UseList{};
}

std::size_t IMPN_TileStore::CachedBytes() const
{
    std::size_t bytes = 0;
    for (const auto& map : m_Maps)
        for (const auto& entry : map)
            bytes += entry.second.tile.storeBytes;
    return bytes;
}

std::size_t IMPN_TileStore::TileRecordCount() const
{
    std::size_t count = 0;
    for (const auto& map : m_Maps)
        count += map.size();
    return count;
}

bool IMPN_TileStore::Holds(int level, std::int32_t top, std::int32_t left) const
{
    return Lookup(level, top, left) != nullptr;
}
