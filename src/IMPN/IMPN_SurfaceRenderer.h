#pragma once
// The tile cache of one surface. It turns the surface's screened one-bit separations into tiles
// of its picture at the thirteen zoom levels, keeps the tiles it made (those of the finer levels
// within a memory budget, see IMPN_TileStore), and remakes a tile only when the separations
// changed after it was made or when it was evicted.
//
// At 1:1 and above, with at most eight separations, tiles hold palette indices (one bit per
// separation), so colour, opacity and visibility changes only rebuild the palette. Everywhere
// else tiles hold colour: ink coverage counted exactly from the one-bit data down to 1:8, then a
// 2 x 2 averaging pyramid. Tiles whose separations are all blank or solid keep one index or
// colour. Single-threaded, like the rest of the model.
//
// A level tile is assembled from every source tile it covers, so source tiles of any size that
// is a multiple of 16 give the same picture; a part of a level tile with no source behind it
// shows the paper, and every pixel beyond the level picture is white.

#include "IMPN/IMPN_Palette.h"
#include "IMPN/IMPN_RenderInk.h"
#include "IMPN/IMPN_RenderLevel.h"
#include "IMPN/IMPN_RenderTile.h"
#include "IMPN/IMPN_RunCoverage.h"
#include "IMPN/IMPN_TileStore.h"

#include <cstdint>
#include <memory>
#include <vector>

class IMPN_SurfaceRenderer
{
public:
    static constexpr std::size_t kMaxIndexedSeparations = 8;

    // inks in separation order (the first one's main image sets the geometry); paperColour points
    // at the surface's blue, green, red bytes and must outlive the renderer.
    IMPN_SurfaceRenderer(std::vector<std::unique_ptr<IMPN_RenderInk>> inks,
                         const std::uint8_t* paperColour);
    IMPN_SurfaceRenderer(const IMPN_SurfaceRenderer&) = delete;
    IMPN_SurfaceRenderer& operator=(const IMPN_SurfaceRenderer&) = delete;
    ~IMPN_SurfaceRenderer();

    // The tile at (top, left) of the level (level pixels; positions inside a tile give that
    // tile), made or remade for the surface's latest change stamp; null for a position outside
    // the level picture or a level outside 0..12. The tile stays owned by the renderer. It is
    // valid until the next GetTile, SetMemoryBudget, ReleaseTiles or the renderer's end; a tile
    // of the overview levels (1:16 and below), one inside the visible tiles and one pinned stay
    // valid across GetTile and SetMemoryBudget too, as long as they are so.
    const IMPN_RenderTile* GetTile(std::int32_t top, std::int32_t left, int level,
                                   std::uint32_t stamp);

    // The tile at (top, left) of the level when it is already made and current for the stamp
    // (an indexed one also needs a current palette); null otherwise. Never makes a tile, so
    // that asking for a stand-in costs nothing.
    const IMPN_RenderTile* FindTile(std::int32_t top, std::int32_t left, int level,
                                    std::uint32_t stamp) const;

    // Frees every tile of every level; they are made again on request.
    void ReleaseTiles();

    // The budget of the finer levels' tiles (8:1 to 1:8), in bytes of pixel stores plus a small
    // charge per tile: past it, GetTile evicts the least recently used of them that are neither
    // visible nor pinned. Evicted tiles are made again, identical, when asked for. The overview
    // levels are never evicted.
    static constexpr std::size_t kDefaultMemoryBudget = std::size_t(256) << 20;
    // The range a user may choose from: below it a large screen's worth of tiles would be remade
    // over and over, above it no desktop holds the tiles.
    static constexpr std::size_t kMinMemoryBudget = std::size_t(16) << 20;
    static constexpr std::size_t kMaxMemoryBudget = std::size_t(64) << 30;
    void SetMemoryBudget(std::size_t bytes);
    std::size_t GetMemoryBudget() const { return m_MemoryBudget; }
    // What the finer levels' tiles count against the budget now.
    std::size_t GetBudgetedBytes() const { return m_Tiles.FinerBytes(); }

    // The tiles of the level touching level pixels [left, left + width) x [top, top + height)
    // are on screen: never evicted while they stay so. One rectangle per renderer (a surface is
    // shown once); a new call replaces it, an empty rectangle or ClearVisibleTiles protects none.
    void SetVisibleTiles(int level, std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height);
    void ClearVisibleTiles();

    // Protects a tile handed out by GetTile from eviction until as many UnpinTile calls have come
    // (for a caller that holds several tiles at once).
    void PinTile(int level, const IMPN_RenderTile& tile);
    void UnpinTile(int level, const IMPN_RenderTile& tile);

    // Whether the renderer keeps a record of the tile at (top, left) of the level, made or not.
    bool HoldsTile(std::int32_t top, std::int32_t left, int level) const;

    const IMPN_RenderLevel& GetLevel(int level) const;
    bool UsesIndexedTiles(int level) const;
    const IMPN_Palette& GetPalette() const { return m_Palette; }
    std::size_t GetSeparationCount() const { return m_Inks.size(); }

    // Main-image geometry of the first separation.
    std::uint32_t GetImageWidth() const { return m_ImageWidth; }
    std::uint32_t GetImageLength() const { return m_ImageLength; }

    // Bytes held by all tiles (pixel stores only).
    std::size_t GetCachedBytes() const;
    // Tiles the renderer keeps a record of: those asked for so far and those they were made
    // from, however large the picture.
    std::size_t GetTileRecordCount() const;

private:
    struct SourceSpan
    {
        std::uint32_t tileX, tileY;   // source tile origin
        std::uint32_t x0, y0, x1, y1; // part of the source rectangle inside it
    };

    class SourcePins;

    // Makes the tile when it has no pixels or, for colour tiles, is older than stamp; true when
    // it made it.
    bool Refresh(IMPN_RenderTile& tile, int level, std::uint32_t stamp);
    void RebuildPalette();
    void MakeIndexedUnitTile(IMPN_RenderTile& tile);
    void MakeMagnifiedTile(IMPN_RenderTile& tile, int level, std::uint32_t stamp, bool indexed);
    void MakeCoverageTile(IMPN_RenderTile& tile, int level);
    void MakePyramidTile(IMPN_RenderTile& tile, int level, std::uint32_t stamp);
    void WhitenOutside(IMPN_RenderTile& tile, int level) const;
    static void CollapseIfUniform(IMPN_RenderTile& tile);

    // Source tiles overlapping the main-image rectangle, clipped to the source tile grid.
    std::vector<SourceSpan> SourceSpans(std::int64_t x, std::int64_t y, std::int64_t width,
                                        std::int64_t height) const;
    // Reads one source tile of ink k: returns 0 blank, 1 solid, 2 mixed (bits in m_Bits),
    // -1 when nothing can be drawn from it.
    int ReadSource(std::size_t k, std::uint32_t x, std::uint32_t y);
    // Coverage of the cells of span s of ink k at reduction r, written to out (rows outStride
    // apart): counted from the decoder's run lengths where the ink can (r of 2 to 8), else
    // reduced from the tile's bits. Returns as ReadSource; the cells are written for 2 only.
    int ReadSourceCoverage(std::size_t k, const SourceSpan& s, unsigned r, std::uint8_t* out,
                           std::size_t outStride);

    std::vector<std::unique_ptr<IMPN_RenderInk>> m_Inks;
    std::vector<bool> m_InkUsable; // same tile geometry as the first separation
    const std::uint8_t* m_Paper;
    IMPN_RenderLevel m_Levels[IMPN_RenderLevel::kLevelCount];

    std::uint32_t m_ImageWidth = 0, m_ImageLength = 0;
    std::uint32_t m_SourceTileWidth = 0, m_SourceTileLength = 0;
    std::uint32_t m_SourceTilesAcross = 0, m_SourceTilesDown = 0;
    std::size_t m_SourceRowBytes = 0, m_SourceTileBytes = 0;

    IMPN_Palette m_Palette;
    IMPN_TileStore m_Tiles;
    std::size_t m_MemoryBudget = kDefaultMemoryBudget;

    std::vector<std::uint8_t> m_Bits;     // one source tile
    std::vector<std::uint8_t> m_Coverage; // one level tile of coverage values
    IMPN_RunCoverage m_RunCoverage;       // one source tile counted from run lengths
};
