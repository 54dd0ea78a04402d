#include "KRN_Halftone.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace
{
constexpr double Pi = 3.14159265358979323846;

// The fractional part of a cell coordinate as a 32-bit fraction of the cell.
std::uint32_t CellFraction(double cells)
{
    const double fraction = cells - std::floor(cells);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(fraction * 4294967296.0) &
                                      0xFFFFFFFFu);
}
} // namespace

KRN_Halftone::KRN_Halftone(double angleDegrees, double cellPixels)
{
    const double angle = angleDegrees * Pi / 180.0;
    const double period = std::max(cellPixels, 1.0);
    m_CosPerCell = std::cos(angle) / period;
    m_SinPerCell = std::sin(angle) / period;
    m_StepU = CellFraction(m_CosPerCell);
    m_StepV = CellFraction(-m_SinPerCell);

    // The classic round-dot spot function: highest at the cell centre, so that dots grow from
    // there; thresholds are the ranks of its values, which makes the inked area of a flat tint
    // match the tint.
    std::vector<double> spot(TableSize * TableSize);
    for (unsigned i = 0; i < TableSize; ++i)
    {
        for (unsigned j = 0; j < TableSize; ++j)
        {
            const double u = (i + 0.5) / TableSize;
            const double v = (j + 0.5) / TableSize;
            // A tiny tilt breaks the ties of the symmetric function, so dots grow evenly.
            spot[i * TableSize + j] =
                (std::cos(2 * Pi * u) + std::cos(2 * Pi * v)) / 2 + 1e-9 * (u + 2 * v);
        }
    }
    std::vector<unsigned> order(spot.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](unsigned a, unsigned b) { return spot[a] > spot[b]; });
    for (std::size_t rank = 0; rank < order.size(); ++rank)
    {
        // 0..254: coverage 0 never prints, 255 always does.
        m_Thresholds[order[rank]] = static_cast<std::uint8_t>(rank * 255 / order.size());
    }
}

std::uint32_t KRN_Halftone::RowStartU(std::uint32_t y) const
{
    return CellFraction(static_cast<double>(y) * m_SinPerCell);
}

std::uint32_t KRN_Halftone::RowStartV(std::uint32_t y) const
{
    return CellFraction(static_cast<double>(y) * m_CosPerCell);
}
