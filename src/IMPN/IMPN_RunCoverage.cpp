#include "IMPN/IMPN_RunCoverage.h"

#include "IMPN/IMPN_CoverageKernel.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
// Adds one row's black runs to its row of cells. Cells are met from left to right, so the pixels
// of the cell being filled are gathered until a run leaves it: a cell's weight depends on its
// count of inked pixels in this row, not on how many runs brought them. Returns the inked pixels.
template <unsigned R>
std::uint64_t CountRow(const std::uint32_t* runs, std::size_t count, std::uint32_t width,
                       const std::uint8_t (*weight)[9], std::uint8_t* cells)
{
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t inked = 0;
    std::uint32_t x = 0;
    std::uint32_t open = kNone; // the cell whose pixels are still being gathered
    unsigned gathered = 0;
    // Runs are taken in white-black pairs and cut at the row's end, as libtiff's fill does.
    for (std::size_t i = 0; i < count && x < width; i += 2)
    {
        x += std::min(runs[i], width - x);
        if (i + 1 >= count || x >= width)
            break;
        const std::uint32_t length = std::min(runs[i + 1], width - x);
        if (length == 0)
            continue;
        const std::uint32_t a = x, b = x + length;
        x = b;
        inked += length;
        const std::uint32_t first = a / R, last = (b - 1) / R;
        if (first == open)
            gathered += (first == last ? b : (first + 1) * R) - a;
        else
        {
            if (open != kNone)
                cells[open] = std::uint8_t(cells[open] + weight[open & 1u][gathered]);
            open = first;
            gathered = (first == last ? b : (first + 1) * R) - a;
        }
        if (first == last)
            continue;
        cells[first] = std::uint8_t(cells[first] + weight[first & 1u][gathered]);
        for (std::uint32_t c = first + 1; c < last; ++c)
            cells[c] = std::uint8_t(cells[c] + weight[c & 1u][R]);
        open = last;
        gathered = b - last * R;
    }
    if (open != kNone)
        cells[open] = std::uint8_t(cells[open] + weight[open & 1u][gathered]);
    return inked;
}
} // namespace

bool IMPN_RunCoverage::Begin(unsigned reduction, std::uint32_t tileWidth, std::uint32_t tileLength)
{
    m_Reduction = 0;
    m_TileWidth = m_TileLength = m_CellsAcross = m_CellsDown = 0;
    m_NextRow = 0;
    m_Inked = 0;
    m_Finished = false;
    m_Cells.clear();
    if ((reduction != 2 && reduction != 4 && reduction != 8) || tileWidth == 0 || tileLength == 0 ||
        tileWidth % reduction != 0 || tileLength % reduction != 0)
        return false;
    m_Reduction = reduction;
    m_TileWidth = tileWidth;
    m_TileLength = tileLength;
    m_CellsAcross = tileWidth / reduction;
    m_CellsDown = tileLength / reduction;
    m_Cells.assign(std::size_t(m_CellsAcross) * m_CellsDown, 0);
    // The bit kernel's own row weights; at 1:8 the cells gather plain counts, scaled at the end.
    for (unsigned row = 0; row < reduction; ++row)
        for (unsigned parity = 0; parity < 2; ++parity)
            for (unsigned n = 0; n <= reduction; ++n)
                m_Weights[row][parity][n] = static_cast<std::uint8_t>(
                    reduction == 8 ? n : IMPN_CoverageKernel::RowWeight(reduction, row, parity, n));
    return true;
}

void IMPN_RunCoverage::AddRow(std::uint32_t row, const std::uint32_t* runs, std::size_t count,
                              std::uint32_t width) noexcept
{
    if (m_Reduction == 0 || m_Finished || row < m_NextRow || row >= m_TileLength || runs == nullptr)
        return;
    m_NextRow = row + 1;
    const std::uint32_t w = std::min(width, m_TileWidth);
    std::uint8_t* cells = m_Cells.data() + std::size_t(row / m_Reduction) * m_CellsAcross;
    const std::uint8_t(*weight)[9] = m_Weights[row % m_Reduction];
    switch (m_Reduction)
    {
    case 2:
        m_Inked += CountRow<2>(runs, count, w, weight, cells);
        break;
    case 4:
        m_Inked += CountRow<4>(runs, count, w, weight, cells);
        break;
    default:
        m_Inked += CountRow<8>(runs, count, w, weight, cells);
        break;
    }
}

void IMPN_RunCoverage::Finish()
{
    if (m_Finished || m_Reduction == 0)
        return;
    m_Finished = true;
    if (m_Reduction != 8)
        return;
    std::uint8_t scaled[65];
    for (unsigned n = 0; n <= 64; ++n)
        scaled[n] = static_cast<std::uint8_t>((n * 255u) >> 6);
    for (std::uint8_t& cell : m_Cells)
        cell = scaled[cell];
}
