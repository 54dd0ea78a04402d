#pragma once
// Exact counts of the set (inked) pixels of one separation per cell of a grid: the measure behind
// the total-ink map (square cells of a measuring area) and behind preview images of a press's
// ink presetting (a fixed number of cells across and down).
//
// Contract:
// - The grid is given by column edges x0 = 0 < x1 < ... < xm = W and row edges y0 = 0 < y1 < ...
//   < yn = H in device pixels of the separation's main image (W x H); cell (i, j) holds columns
//   [xi, xi+1) and rows [yj, yj+1). Cells may have any width and height.
// - A count covers the cells that a rectangle of the picture meets (the whole picture without
//   one), each over its part inside the rectangle; counts are exact, in 64 bits.
// - Every source tile under the rectangle is decoded once, on the worker pool when one is given
//   (the calling thread takes its share), and counted from the decoder's run lengths where the
//   tiles are CCITT coded, else from the decoded bits; no bits are filled in for the former.
// - A tile that cannot be read counts as no ink and is reported with the file and the tile.
// - The file is opened `readers` times when the counter is made, on the constructing thread
//   (which must be the thread that opens the process's other preview files); at most that many
//   tiles are decoded at once. The counter is then used by one thread at a time.

#include "IMPN/IMPN_Rect.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IMPN_WorkerPool;
class TIFX_KRNFile;

// The edges of a grid of cells over a picture.
struct IMPN_CellGrid
{
    std::vector<std::uint32_t> columnEdges; // 0 first, the picture's width last
    std::vector<std::uint32_t> rowEdges;    // 0 first, the picture's length last

    std::size_t Columns() const { return columnEdges.empty() ? 0 : columnEdges.size() - 1; }
    std::size_t Rows() const { return rowEdges.empty() ? 0 : rowEdges.size() - 1; }

    // Square cells of `side` pixels from the picture's top-left corner; the last column and row
    // of cells are cut at the picture's edges. Empty for a side or size of 0.
    static IMPN_CellGrid Square(std::uint32_t width, std::uint32_t length, std::uint32_t side);
    // `columns` x `rows` cells, edges floor(j x width / columns) and floor(j x length / rows).
    // Not valid (see IsValidFor) when there are more cells than pixels in either direction.
    static IMPN_CellGrid Divided(std::uint32_t width, std::uint32_t length, std::uint32_t columns,
                                 std::uint32_t rows);

    // Edges strictly increasing from 0 to the picture's width and length.
    bool IsValidFor(std::uint32_t width, std::uint32_t length) const;
};

// A source tile that could not be read: the file and the tile's top-left pixel.
struct IMPN_TileFailure
{
    std::string path;
    std::uint32_t left = 0, top = 0;

    // "PATH: the tile at pixel LEFT, TOP could not be read".
    std::string Describe() const;
    friend bool operator==(const IMPN_TileFailure&, const IMPN_TileFailure&) = default;
};

// The counts of one separation over the cells a rectangle meets.
struct IMPN_CellCounts
{
    IMPN_Rect area;                         // the rectangle counted, inside the picture
    std::size_t firstColumn = 0;            // grid index of the first counted column of cells
    std::size_t firstRow = 0;               // likewise for rows
    std::vector<std::uint32_t> columnEdges; // Columns() + 1 absolute edges, cut to the area
    std::vector<std::uint32_t> rowEdges;    // likewise
    std::vector<std::uint64_t> inked;       // set pixels, row by row of cells
    std::vector<IMPN_TileFailure> failures; // unreadable tiles, counted as no ink, in tile order

    std::size_t Columns() const { return columnEdges.empty() ? 0 : columnEdges.size() - 1; }
    std::size_t Rows() const { return rowEdges.empty() ? 0 : rowEdges.size() - 1; }
    // Set pixels and counted pixels of a cell, by its place among the counted cells.
    std::uint64_t Inked(std::size_t column, std::size_t row) const
    {
        return inked[row * Columns() + column];
    }
    std::uint64_t CellPixels(std::size_t column, std::size_t row) const
    {
        return std::uint64_t(columnEdges[column + 1] - columnEdges[column]) *
               std::uint64_t(rowEdges[row + 1] - rowEdges[row]);
    }
};

class IMPN_CellCoverage
{
public:
    // Reports the tiles done so far out of the count's total, from whichever thread finished the
    // latest one (one call at a time); false stops the count.
    using Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

    // Opens the separation's preview file (UTF-8 path) `readers` times (at least once), now.
    IMPN_CellCoverage(std::string path, unsigned readers = 1);
    ~IMPN_CellCoverage();
    IMPN_CellCoverage(const IMPN_CellCoverage&) = delete;
    IMPN_CellCoverage& operator=(const IMPN_CellCoverage&) = delete;

    // Whether the main image can be counted at all; why not, when it cannot.
    bool IsReadable() const { return m_Problem.empty(); }
    const std::string& GetProblem() const { return m_Problem; }
    const std::string& GetPath() const { return m_Path; }
    std::uint32_t GetImageWidth() const { return m_Width; }
    std::uint32_t GetImageLength() const { return m_Length; }
    std::uint32_t GetTileWidth() const { return m_TileWidth; }
    std::uint32_t GetTileLength() const { return m_TileLength; }

    // Counts the set pixels of each cell of `grid` that `rect` meets (the whole picture when
    // there is no rectangle) into `counts`, replacing what it held. False, with counts emptied,
    // when the file is not readable, the grid is not valid for the picture, the rectangle lies
    // wholly outside it, or progress stopped the count.
    bool Count(const IMPN_CellGrid& grid, const std::optional<IMPN_Rect>& rect,
               IMPN_WorkerPool* pool, IMPN_CellCounts& counts, const Progress& progress = {});

private:
    struct Reader;

    std::string m_Path;
    std::string m_Problem;
    std::vector<std::unique_ptr<Reader>> m_Readers;
    std::uint32_t m_Width = 0, m_Length = 0, m_TileWidth = 0, m_TileLength = 0;
    bool m_Runs = false; // the tiles are CCITT coded
};
