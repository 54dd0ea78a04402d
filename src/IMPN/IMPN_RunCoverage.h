#pragma once
// Ink coverage of one source tile counted from the decoder's run lengths, without the one-bit
// data being filled in. It gives, cell for cell, exactly what IMPN_CoverageKernel::Reduce gives
// for the filled tile at reduction 2, 4 or 8 (the same row weights and rounding), and counts the
// inked pixels so that blank and solid tiles are told apart as from the bits.
//
// Begin, the rows, then Finish: one tile at a time. Each decoding thread needs a counter of its
// own.

#include "TIFX/TIFX_RunReceiver.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class IMPN_RunCoverage : public TIFX_RunReceiver
{
public:
    // Starts a tile of tileWidth x tileLength pixels, counted in cells of reduction x reduction.
    // False (and nothing counted) unless reduction is 2, 4 or 8, the width a multiple of twice
    // the reduction (as one-bit tiles, multiples of 16, always are) and the length a multiple of
    // the reduction.
    bool Begin(unsigned reduction, std::uint32_t tileWidth, std::uint32_t tileLength);

    void AddRow(std::uint32_t row, const std::uint32_t* runs, std::size_t count,
                std::uint32_t width) noexcept override;

    // Ends the tile: the cells hold their final values from here on.
    void Finish();

    unsigned GetReduction() const { return m_Reduction; }
    std::uint32_t GetCellsAcross() const { return m_CellsAcross; }
    std::uint32_t GetCellsDown() const { return m_CellsDown; }
    // GetCellsDown() rows of GetCellsAcross() coverage values (0..255).
    const std::uint8_t* GetCells() const { return m_Cells.data(); }

    std::uint64_t GetInkedPixels() const { return m_Inked; }
    std::uint64_t GetTilePixels() const { return std::uint64_t(m_TileWidth) * m_TileLength; }

    // Calls black(a, b) for each black run [a, b) of a row as the decoder hands it over: runs
    // taken in white-black pairs and cut at the row's end, as libtiff's fill takes them. Every
    // counter of runs reads its rows through this, so that all of them agree with the bits.
    template <typename Black>
    static void ForEachBlackRun(const std::uint32_t* runs, std::size_t count, std::uint32_t width,
                                Black&& black)
    {
        std::uint32_t x = 0;
        for (std::size_t i = 0; i < count && x < width; i += 2)
        {
            x += std::min(runs[i], width - x);
            if (i + 1 >= count || x >= width)
                break;
            const std::uint32_t length = std::min(runs[i + 1], width - x);
            if (length != 0)
                black(x, x + length);
            x += length;
        }
    }

private:
    unsigned m_Reduction = 0;
    std::uint32_t m_TileWidth = 0, m_TileLength = 0;
    std::uint32_t m_CellsAcross = 0, m_CellsDown = 0;
    std::uint32_t m_NextRow = 0;
    std::uint64_t m_Inked = 0;
    bool m_Finished = false;
    // What a cell gains from one of its rows at 1:2 and 1:4: by row in the cell, column parity of
    // the cell and count of inked pixels in that row of the cell.
    std::uint8_t m_Weights[4][2][5] = {};
    unsigned m_WeightsFor = 0; // the reduction the weights were made for
    std::vector<std::uint8_t> m_Cells;
};
