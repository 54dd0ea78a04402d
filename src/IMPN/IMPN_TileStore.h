#pragma once
// Where a surface renderer keeps its tiles: maps from tile number to tile for the magnified
// levels 0 to 2, whose tile grids are large and seen only in small parts, and arrays made up
// front for levels 3 to 12. Tiles live until Release or the store's end.

#include "IMPN/IMPN_RenderLevel.h"
#include "IMPN/IMPN_RenderTile.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class IMPN_TileStore
{
public:
    // Arrays of one level are refused beyond this many tiles: no preview file describes such a
    // picture sensibly, and the level is then left without tiles.
    static constexpr std::uint64_t kMaxTilesPerLevel = std::uint64_t(1) << 22;

    // Makes the empty tile array of an array level (3..12) for the level's tile grid; false,
    // with no array, when the grid is larger than kMaxTilesPerLevel.
    bool MakeArray(int level, const IMPN_RenderLevel& record);
    bool HasArray(int level) const;

    // The tile holding level pixel (left, top), created empty in the maps when absent, with its
    // position and size set from the record; null outside the level picture.
    IMPN_RenderTile* Find(int level, const IMPN_RenderLevel& record, std::int32_t top,
                          std::int32_t left);

    // Frees every tile's pixels (map entries go, array entries stay empty).
    void Release();

    // Bytes held by all pixel stores.
    std::size_t CachedBytes() const;

private:
    std::unordered_map<std::uint64_t, IMPN_RenderTile> m_Maps[IMPN_RenderLevel::kUnitLevel];
    std::vector<IMPN_RenderTile> m_Arrays[IMPN_RenderLevel::kLevelCount];
};
