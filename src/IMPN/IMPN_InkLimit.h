#pragma once
// The total-ink limit over a measuring area. A screened separation is dot or paper at every
// pixel, so the inks of a 200 % area overlap to 400 % in many small cells: the limit a press
// sets is a property of an area larger than a screen cell. The surface is divided into square
// cells of side s = max(4, round(area x R / 25.4)) device pixels (R the resolution in dots per
// inch, halves rounded up) from the picture's top-left corner, the last column and row of cells
// cut at the picture's edges. A cell's total is the sum over the inks of 100 x set pixels /
// pixels of the cell; the cell is over when its total exceeds the limit.

#include "IMPN/IMPN_CellCoverage.h"

#include <cstdint>
#include <optional>
#include <vector>

class IMPN_WorkerPool;

class IMPN_InkLimit
{
public:
    // The measuring area's side in micrometres: 0.1 to 5 mm, 0.5 mm unless chosen.
    static constexpr int kMinArea = 100;
    static constexpr int kMaxArea = 5000;
    static constexpr int kDefaultArea = 500;
    static constexpr std::uint32_t kMinCellSide = 4;
    // The highest limit, in percent: sixteen inks at 100 %.
    static constexpr int kMaxLimit = 1600;

    // The cell side in device pixels for an area side in micrometres; 0 for a resolution that is
    // not a positive finite number or an area that is not positive.
    static std::uint32_t CellSide(int areaMicrometres, double resolution);

    // Whether a cell of `pixels` pixels holding `inked` set pixels summed over the inks is over
    // a limit given in hundredths of a percent. Exact (no floating point).
    static bool IsOver(std::uint64_t inked, std::uint64_t pixels, std::uint32_t limitHundredths);

    // The over-limit cells of a window of the grid.
    struct Map
    {
        std::uint32_t side = 0;
        std::size_t firstColumn = 0, firstRow = 0; // grid index of the window's first cell
        std::size_t columns = 0, rows = 0;         // cells of the window
        std::vector<std::uint8_t> over;            // 1 for an over cell, row by row
        std::uint64_t overCells = 0;
        std::vector<IMPN_TileFailure> failures; // of every ink, counted as no ink

        bool IsOverAt(std::size_t column, std::size_t row) const
        {
            return over[row * columns + column] != 0;
        }
    };

    // The set pixels of every ink added up per cell of `grid`, for the cells that `rect` meets
    // (the whole picture without one): one count whose `inked` holds the sums and whose failures
    // are those of every ink. Same failures as Count.
    static bool Sum(const std::vector<IMPN_CellCoverage*>& inks, const IMPN_CellGrid& grid,
                    const std::optional<IMPN_Rect>& rect, IMPN_WorkerPool* pool,
                    IMPN_CellCounts& sum, const IMPN_CellCoverage::Progress& progress = {});

    // Counts the cells of side `side` that `rect` meets (the whole picture without one) over
    // every ink, each ink's tiles on the pool, and marks those over the limit. Every ink must
    // have the first one's picture size. False, with the map emptied, when an ink cannot be
    // counted or differs in size, side is 0, the rectangle is outside the picture, or progress
    // (tiles of all inks done out of their total) stopped the count.
    static bool Count(const std::vector<IMPN_CellCoverage*>& inks, std::uint32_t side,
                      const std::optional<IMPN_Rect>& rect, std::uint32_t limitHundredths,
                      IMPN_WorkerPool* pool, Map& map,
                      const IMPN_CellCoverage::Progress& progress = {});
};
