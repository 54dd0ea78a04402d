#pragma once
// Exact ink coverage of one surface, counted from its screened one-bit separations: how many
// device pixels of each ink carry ink in a rectangle, split into bands of columns and rows. One
// grid serves the three questions a prepress operator asks: the reading of a densitometer
// aperture (one band), the ink-zone profile of the press (column bands over the full height) and
// the total-ink map (square cells).
//
// Every source tile that a request touches is read once for that request, whatever the number
// of bands it feeds; decoded tiles may also be kept between requests (a small cache, so that a
// densitometer moving over the same area decodes nothing). The counter reads its inks only
// through IMPN_RenderInk and holds no state shared with anything else, so a counter built on its
// own file handles (FromFiles) may live on a worker thread while the view renders.

#include "IMPN/IMPN_Rect.h"
#include "IMPN/IMPN_RenderInk.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The counts of one request.
struct IMPN_InkCoverageCounts
{
    IMPN_Rect area;                                // the request clipped to the picture
    std::vector<std::int32_t> columnEdges;         // bands.size() + 1 absolute positions
    std::vector<std::int32_t> rowEdges;            // likewise
    std::vector<std::vector<std::uint64_t>> inked; // [ink][row band * columns + column band]
    std::vector<std::uint64_t> unreadTiles;        // per ink: source tiles that could not be read

    std::size_t Columns() const { return columnEdges.empty() ? 0 : columnEdges.size() - 1; }
    std::size_t Rows() const { return rowEdges.empty() ? 0 : rowEdges.size() - 1; }
    // Device pixels of one cell of the grid.
    std::uint64_t CellPixels(std::size_t row, std::size_t column) const;
    // Percentage of the cell's pixels that carry ink k; 0 for an empty cell.
    double CellPercent(std::size_t ink, std::size_t row, std::size_t column) const;
    // Percentage of the whole area that carries ink k.
    double AreaPercent(std::size_t ink) const;
    // Sum of AreaPercent over every ink, hidden ones included: what the plate set prints.
    double TotalPercent() const;
    // Sum over the inks whose flag is set of the ink in one cell, in device pixels.
    std::uint64_t CellInked(std::size_t row, std::size_t column,
                            const std::vector<bool>& included) const;
};

class IMPN_InkCoverage
{
public:
    // Reports the source tiles done so far out of the request's total; false stops the count.
    using Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

    // inks in the surface's order; the first one's main image gives the picture and tile size.
    // Inks of another size or tile size cannot be aligned with it and count as unreadable.
    // cachedTiles decoded source tiles are kept between requests (0: none).
    IMPN_InkCoverage(std::vector<std::unique_ptr<IMPN_RenderInk>> inks, std::size_t cachedTiles);
    ~IMPN_InkCoverage();
    IMPN_InkCoverage(const IMPN_InkCoverage&) = delete;
    IMPN_InkCoverage& operator=(const IMPN_InkCoverage&) = delete;

    // A counter over preview files (UTF-8 paths, one per ink) with file handles of its own.
    static std::unique_ptr<IMPN_InkCoverage> FromFiles(const std::vector<std::string>& paths,
                                                       std::size_t cachedTiles);

    std::uint32_t GetImageWidth() const { return m_Width; }
    std::uint32_t GetImageLength() const { return m_Length; }
    std::uint32_t GetTileWidth() const { return m_TileWidth; }
    std::uint32_t GetTileLength() const { return m_TileLength; }
    std::size_t GetInkCount() const { return m_Inks.size(); }
    // Whether a picture could be read at all.
    bool HasPicture() const { return m_Width > 0 && m_Length > 0; }

    // Clips rect to the picture; false when nothing of it is inside.
    bool Clip(const IMPN_Rect& rect, IMPN_Rect& clipped) const;

    // Counts rect split into `columns` column bands (band k: from floor(k * W / columns) to
    // floor((k + 1) * W / columns) - 1 of the clipped width W, counted from its left edge) over
    // the full clipped height. False, with counts untouched, when rect lies wholly outside the
    // picture, columns is 0, or progress stopped the count.
    bool CountColumns(const IMPN_Rect& rect, std::uint32_t columns, IMPN_InkCoverageCounts& counts,
                      const Progress& progress = {});

    // Counts rect in square cells of `cell` pixels aligned to the picture's origin (cells at the
    // picture's right and bottom edges are cut there). Same failures as CountColumns.
    bool CountCells(const IMPN_Rect& rect, std::uint32_t cell, IMPN_InkCoverageCounts& counts,
                    const Progress& progress = {});

    // Counts rect on explicit band edges (strictly increasing, first and last the clipped
    // rectangle's edges). The general form of the two above.
    bool CountGrid(const IMPN_Rect& clipped, std::vector<std::int32_t> columnEdges,
                   std::vector<std::int32_t> rowEdges, IMPN_InkCoverageCounts& counts,
                   const Progress& progress = {});

    // Drops the kept tiles (the files changed).
    void ForgetTiles();

private:
    struct Tile
    {
        int kind = -1; // -1 unreadable, 0 blank, 1 solid, 2 mixed (bits)
        std::vector<std::uint8_t> bits;
        std::uint64_t lastUse = 0;
    };

    // The tile of ink k at source tile (tx, ty), read or taken from the cache.
    const Tile& GetTile(std::size_t k, std::uint32_t tx, std::uint32_t ty, Tile& scratch);

    std::vector<std::unique_ptr<IMPN_RenderInk>> m_Inks;
    std::vector<bool> m_Usable;
    std::uint32_t m_Width = 0, m_Length = 0;
    std::uint32_t m_TileWidth = 0, m_TileLength = 0;
    std::uint32_t m_TilesAcross = 0, m_TilesDown = 0;
    std::size_t m_RowBytes = 0, m_TileBytes = 0;

    std::size_t m_CacheLimit;
    std::uint64_t m_UseClock = 0;
    std::map<std::uint64_t, Tile> m_Cache; // key: ink << 48 | tile index
};
