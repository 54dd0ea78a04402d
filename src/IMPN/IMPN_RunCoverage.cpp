#include "IMPN/IMPN_RunCoverage.h"

#include "IMPN/IMPN_CoverageKernel.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
inline void Add(std::uint8_t& cell, unsigned value)
{
    cell = static_cast<std::uint8_t>(cell + value);
}

// 1:8: every row of a cell weighs the same, so the cells gather plain pixel counts (scaled at
// the end).
std::uint64_t CountRow8(const std::uint32_t* runs, std::size_t count, std::uint32_t width,
                        std::uint8_t* cells)
{
    std::uint64_t inked = 0;
    IMPN_RunCoverage::ForEachBlackRun(runs, count, width,
                                      [&](std::uint32_t a, std::uint32_t b)
                                      {
                                          inked += b - a;
                                          const std::uint32_t first = a / 8, last = (b - 1) / 8;
                                          if (first == last)
                                          {
                                              Add(cells[first], b - a);
                                              return;
                                          }
                                          Add(cells[first], (first + 1) * 8 - a);
                                          for (std::uint32_t c = first + 1; c < last; ++c)
                                              Add(cells[c], 8);
                                          Add(cells[last], b - last * 8);
                                      });
    return inked;
}

// 1:2: a cell's two pixels of a row come from one run, except where a white run of length 0
// separates two black ones: a run's last pixel, alone in its cell, waits for the next run.
std::uint64_t CountRow2(const std::uint32_t* runs, std::size_t count, std::uint32_t width,
                        const std::uint8_t (*weight)[5], std::uint8_t* cells)
{
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t inked = 0;
    std::uint32_t waiting = kNone; // the cell holding one pixel of the previous run
    // Two full cells side by side, even then odd, as lanes in memory order (they never carry:
    // a cell's weights over its rows add up to at most 255).
    const std::uint8_t lanes[2] = {weight[0][2], weight[1][2]};
    std::uint16_t fullPair;
    std::memcpy(&fullPair, lanes, 2);
    const auto settle = [&]
    {
        if (waiting != kNone)
            Add(cells[waiting], weight[waiting & 1u][1]);
        waiting = kNone;
    };
    IMPN_RunCoverage::ForEachBlackRun(runs, count, width,
                                      [&](std::uint32_t a, std::uint32_t b)
                                      {
                                          inked += b - a;
                                          if (a & 1u)
                                          {
                                              const std::uint32_t c = a / 2;
                                              if (c == waiting)
                                                  Add(cells[c], weight[c & 1u][2]);
                                              else
                                              {
                                                  settle();
                                                  Add(cells[c], weight[c & 1u][1]);
                                              }
                                              waiting = kNone;
                                              ++a;
                                          }
                                          else
                                              settle();
                                          // Full cells: an odd one first, then pairs (even, odd) in
                                          // one add.
                                          if (a + 2 <= b && (a & 2u))
                                          {
                                              Add(cells[a / 2], weight[1][2]);
                                              a += 2;
                                          }
                                          for (; a + 4 <= b; a += 4)
                                          {
                                              std::uint16_t v;
                                              std::memcpy(&v, cells + a / 2, 2);
                                              v = std::uint16_t(v + fullPair);
                                              std::memcpy(cells + a / 2, &v, 2);
                                          }
                                          if (a + 2 <= b)
                                          {
                                              Add(cells[a / 2], weight[0][2]);
                                              a += 2;
                                          }
                                          if (a < b)
                                              waiting = a / 2;
                                      });
    settle();
    return inked;
}

// 1:4: two runs may share a cell, and a cell's weight depends on its count of inked pixels in
// the row, not on how many runs brought them: the pixels of the cell a run ends in are gathered
// until the next run starts in another cell.
std::uint64_t CountRow4(const std::uint32_t* runs, std::size_t count, std::uint32_t width,
                        const std::uint8_t (*weight)[5], std::uint8_t* cells)
{
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t inked = 0;
    std::uint32_t open = kNone; // the cell whose pixels are still being gathered
    unsigned gathered = 0;
    const std::uint8_t* w = weight[0]; // the same for both column parities
    IMPN_RunCoverage::ForEachBlackRun(runs, count, width,
                                      [&](std::uint32_t a, std::uint32_t b)
                                      {
                                          inked += b - a;
                                          const std::uint32_t first = a / 4, last = (b - 1) / 4;
                                          const unsigned head =
                                              (first == last ? b : (first + 1) * 4) - a;
                                          if (first == open)
                                              gathered += head;
                                          else
                                          {
                                              if (open != kNone)
                                                  Add(cells[open], w[gathered]);
                                              open = first;
                                              gathered = head;
                                          }
                                          if (first == last)
                                              return;
                                          Add(cells[first], w[gathered]);
                                          for (std::uint32_t c = first + 1; c < last; ++c)
                                              Add(cells[c], w[4]);
                                          open = last;
                                          gathered = b - last * 4;
                                      });
    if (open != kNone)
        Add(cells[open], w[gathered]);
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
        tileWidth % (2 * reduction) != 0 || tileLength % reduction != 0)
        return false;
    m_Reduction = reduction;
    m_TileWidth = tileWidth;
    m_TileLength = tileLength;
    m_CellsAcross = tileWidth / reduction;
    m_CellsDown = tileLength / reduction;
    m_Cells.assign(std::size_t(m_CellsAcross) * m_CellsDown, 0);
    // The bit kernel's own row weights.
    if (reduction != 8 && reduction != m_WeightsFor)
    {
        m_WeightsFor = reduction;
        for (unsigned row = 0; row < reduction; ++row)
            for (unsigned parity = 0; parity < 2; ++parity)
                for (unsigned n = 0; n <= reduction; ++n)
                    m_Weights[row][parity][n] = static_cast<std::uint8_t>(
                        IMPN_CoverageKernel::RowWeight(reduction, row, parity, n));
    }
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
    switch (m_Reduction)
    {
    case 2:
        m_Inked += CountRow2(runs, count, w, m_Weights[row % 2], cells);
        break;
    case 4:
        m_Inked += CountRow4(runs, count, w, m_Weights[row % 4], cells);
        break;
    default:
        m_Inked += CountRow8(runs, count, w, cells);
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
