#pragma once
// Where a surface renderer keeps its tiles: one map per level from tile number to tile, filled as
// tiles are asked for. What the store holds grows with the tiles actually visited, never with the
// size a file declares for its picture.
//
// Memory is bounded for every level, the finer and the overview levels in two steps. The finer
// levels, 8:1 down to 1:8 (levels 0..6), are made straight from the one-bit separations (or, when
// magnified, from 1:1), so remaking one costs the decode of the few source tiles under it; they
// are let go first. The overview levels, 1:16 and below (7..12), take about a sixtieth of 1:1 at
// three bytes a pixel for any real sheet, and remaking one of their tiles would mean decoding
// every source tile under it (256 and more), which is what the operator waits for when zooming
// out: they are let go only beyond half the budget (never below 16 MiB). What a file declares
// cannot raise either: a picture of 2^31 pixels across has gigabytes at 1:16 alone.
//
// Tiles are evicted least recently used first when Trim finds them over the budget, except tiles
// that are pinned (in use as the source of a coarser tile being made, or being made) and tiles
// inside the on-screen rectangle. Each tile counts its pixel store plus a fixed charge for its
// record, so that blank sheets, whose tiles keep one byte, cannot pile up records without limit
// either. An evicted tile is forgotten whole; asking for it again makes it anew from the same
// separations, so it comes back byte for byte as it was.

#include "IMPN/IMPN_RenderLevel.h"
#include "IMPN/IMPN_RenderTile.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>

class IMPN_TileStore
{
public:
    // Levels from 1:1 down whose tile grid is larger than this are not shown: no preview file
    // describes such a picture sensibly.
    static constexpr std::uint64_t kMaxTilesPerLevel = std::uint64_t(1) << 22;
    // The first of the overview levels, which are let go last (1:16).
    static constexpr int kFirstOverviewLevel = 7;
    // What a tile's record costs besides its pixel store (map node, bookkeeping).
    static constexpr std::size_t kRecordCharge = 160;
    // What the overview levels may always hold, however small the budget.
    static constexpr std::size_t kMinOverviewAllowance = std::size_t(16) << 20;

    static bool IsOverviewLevel(int level) { return level >= kFirstOverviewLevel; }
    // What the overview levels may hold within a budget: half of it, at least the minimum.
    static std::size_t OverviewAllowance(std::size_t budget);

    IMPN_TileStore() = default;
    IMPN_TileStore(const IMPN_TileStore&) = delete;
    IMPN_TileStore& operator=(const IMPN_TileStore&) = delete;

    // Lets a level from 1:1 down (3..12) hold tiles; false, and the level stays closed, when its
    // grid is larger than kMaxTilesPerLevel. The magnified levels 0..2 are always open.
    bool OpenLevel(int level, const IMPN_RenderLevel& record);
    bool IsLevelOpen(int level) const;

    // The tile holding level pixel (left, top), created empty when absent, with its position and
    // size set from the record, and now the most recently used; null outside the level picture
    // or on a closed level. The tile stays where it is until it is evicted by Trim or released.
    IMPN_RenderTile* Find(int level, const IMPN_RenderLevel& record, std::int32_t top,
                          std::int32_t left);

    // Counts the tile's pixel store anew after it was made (a tile of this store found by Find).
    void Account(int level, const IMPN_RenderTile& tile);

    // Protects a tile of this store from Trim until as many Unpin calls have come.
    void Pin(int level, const IMPN_RenderTile& tile);
    void Unpin(int level, const IMPN_RenderTile& tile);

    // The tiles of one level touching level pixels [left, right) x [top, bottom) are on screen
    // and protected from Trim; an empty rectangle protects none. Replaces the previous one.
    void SetOnScreen(int level, std::int32_t left, std::int32_t top, std::int32_t right,
                     std::int32_t bottom);

    // Evicts tiles, least recently used first, until what the overview levels count is within
    // their allowance and what all levels count is within the budget, or only protected tiles
    // are left: finer tiles first, overview tiles only when no finer one is left to let go.
    // `keep` (may be null) is protected as well.
    void Trim(std::size_t budget, const IMPN_RenderTile* keep = nullptr);

    // The tile holding level pixel (left, top) when the store has a record of it; never creates
    // one. Null outside the level picture, on a closed level, or for a tile never asked for.
    const IMPN_RenderTile* Peek(int level, std::int32_t top, std::int32_t left) const;

    // Forgets every tile (the levels stay open).
    void Release();

    // Bytes held by all pixel stores.
    std::size_t CachedBytes() const;
    // What the finer levels' and the overview levels' tiles count against the budget: pixel
    // stores plus record charges.
    std::size_t FinerBytes() const { return m_Lists[0].bytes; }
    std::size_t OverviewBytes() const { return m_Lists[1].bytes; }
    // Tiles the store keeps a record of, made or not.
    std::size_t TileRecordCount() const;
    // Whether a tile record exists at the tile holding level pixel (left, top), made or not.
    bool Holds(int level, std::int32_t top, std::int32_t left) const;

private:
    struct Entry
    {
        IMPN_RenderTile tile;
        Entry* older = nullptr; // the use list of its kind of level
        Entry* newer = nullptr;
        std::uint64_t number = 0;
        std::size_t charged = 0;
        int pins = 0;
        int level = 0;
    };

    Entry* Lookup(int level, std::int32_t top, std::int32_t left);
    const Entry* Lookup(int level, std::int32_t top, std::int32_t left) const;
    // The tiles of one kind of level (0 finer, 1 overview), oldest use first.
    struct UseList
    {
        Entry* oldest = nullptr;
        Entry* newest = nullptr;
        std::size_t bytes = 0;
    };
    UseList& ListOf(const Entry& entry) { return m_Lists[IsOverviewLevel(entry.level) ? 1 : 0]; }

    bool IsOnScreen(const Entry& entry) const;
    void Unlink(Entry& entry);
    void LinkNewest(Entry& entry);
    void Evict(Entry& entry);
    // Evicts unprotected tiles of the list, oldest first, while `over` says so.
    template <class Over>
    void TrimList(UseList& list, const IMPN_RenderTile* keep, Over over);

    std::unordered_map<std::uint64_t, Entry> m_Maps[IMPN_RenderLevel::kLevelCount];
    IMPN_RenderLevel m_Records[IMPN_RenderLevel::kLevelCount]; // as last given to Find
    bool m_Open[IMPN_RenderLevel::kLevelCount] = {true, true, true};
    UseList m_Lists[2];
    int m_ScreenLevel = -1;
    std::int32_t m_ScreenLeft = 0, m_ScreenTop = 0, m_ScreenRight = 0, m_ScreenBottom = 0;
};
