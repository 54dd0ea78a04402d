#pragma once
// Where a surface renderer keeps its tiles: one map per level from tile number to tile, filled as
// tiles are asked for. What the store holds grows with the tiles actually visited, never with the
// size a file declares for its picture. Tiles live until Release or the store's end.

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

    // Lets a level from 1:1 down (3..12) hold tiles; false, and the level stays closed, when its
    // grid is larger than kMaxTilesPerLevel. The magnified levels 0..2 are always open.
    bool OpenLevel(int level, const IMPN_RenderLevel& record);
    bool IsLevelOpen(int level) const;

    // The tile holding level pixel (left, top), created empty when absent, with its position and
    // size set from the record; null outside the level picture or on a closed level.
    IMPN_RenderTile* Find(int level, const IMPN_RenderLevel& record, std::int32_t top,
                          std::int32_t left);

    // The tile holding level pixel (left, top) when the store has a record of it; never creates
    // one. Null outside the level picture, on a closed level, or for a tile never asked for.
    const IMPN_RenderTile* Peek(int level, const IMPN_RenderLevel& record, std::int32_t top,
                                std::int32_t left) const;

    // Forgets every tile (the levels stay open).
    void Release();

    // Bytes held by all pixel stores.
    std::size_t CachedBytes() const;
    // Tiles the store keeps a record of, made or not.
    std::size_t TileRecordCount() const;

private:
    std::unordered_map<std::uint64_t, IMPN_RenderTile> m_Maps[IMPN_RenderLevel::kLevelCount];
    bool m_Open[IMPN_RenderLevel::kLevelCount] = {true, true, true};
};
