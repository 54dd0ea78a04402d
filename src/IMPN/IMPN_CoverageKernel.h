#pragma once
// Counting ink coverage in one-bit screened data. A cell of r x r source pixels (1 = ink, most
// significant bit first) becomes one coverage value 0..255 for r = 1, 2, 4 or 8. The weights of
// the 2 x 2 and 4 x 4 cells differ by one step from row to row so that a half-inked cell lands on
// 127 or 128 rather than always rounding the same way, and a full cell gives exactly 255.
// Exact counts of set pixels over spans of columns of any width are counted here as well, for
// the coverage tools that need numbers rather than a picture.

#include <cstddef>
#include <cstdint>

class IMPN_CoverageKernel
{
public:
    // True for the reductions the kernel handles: 1, 2, 4 and 8.
    static bool IsSupported(unsigned reduction);

    // Coverage of cellsAcross x cellsDown cells of reduction x reduction bits. The first cell
    // starts at bit column x0 (a multiple of 8) and row y0 of the one-bit data whose rows are
    // rowBytes apart; every cell must lie inside the data. One value per cell is written, rows of
    // cells outStride bytes apart.
    static void Reduce(unsigned reduction, const std::uint8_t* bits, std::size_t rowBytes,
                       std::uint32_t x0, std::uint32_t y0, std::uint32_t cellsAcross,
                       std::uint32_t cellsDown, std::uint8_t* out, std::size_t outStride);

    // The weight that a row of a cell contributes for a count of set bits in it; rowInCell and
    // pixelInByte follow the cell's layout (pixelInByte matters for r = 2 only, numbered from
    // the byte's most significant bits). Exposed so the tables can be checked bit by bit.
    static unsigned RowWeight(unsigned reduction, unsigned rowInCell, unsigned pixelInByte,
                              unsigned setBits);

    // Bit columns [from, to) of the data, counted into cells[cell].
    struct Span
    {
        std::uint32_t from, to;
        std::size_t cell;
    };
    // Adds the set bits of rows [rowFrom, rowTo) of one-bit data (rows rowBytes apart) within each
    // span to its cell. Spans may have any width and position inside the rows.
    static void CountSpans(const std::uint8_t* bits, std::size_t rowBytes, std::uint32_t rowFrom,
                           std::uint32_t rowTo, const Span* spans, std::size_t spanCount,
                           std::uint64_t* cells);
};
