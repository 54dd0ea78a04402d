#include "IMPN/IMPN_InkLimit.h"

#include <algorithm>
#include <cmath>

std::uint32_t IMPN_InkLimit::CellSide(int areaMicrometres, double resolution)
{
    if (areaMicrometres <= 0 || !std::isfinite(resolution) || !(resolution > 0) ||
        resolution > 1.0e7)
        return 0;
    // area x R / 25.4 with the area in micrometres is area x R / 25400; halves go up. A whole
    // resolution is done in integers so that a half is seen exactly.
    double side;
    if (resolution == std::floor(resolution))
        side = double((2 * std::uint64_t(areaMicrometres) * std::uint64_t(resolution) + 25400) /
                      50800);
    else
        side = std::floor(double(areaMicrometres) * resolution / 25400.0 + 0.5);
    return side < kMinCellSide ? kMinCellSide : std::uint32_t(std::min(side, 4.0e9));
}

bool IMPN_InkLimit::IsOver(std::uint64_t inked, std::uint64_t pixels, std::uint32_t limitHundredths)
{
    // 100 x inked / pixels > limit / 100, in integers wide enough for any cell.
    return static_cast<unsigned __int128>(inked) * 10000u >
           static_cast<unsigned __int128>(pixels) * limitHundredths;
}

bool IMPN_InkLimit::Sum(const std::vector<IMPN_CellCoverage*>& inks, const IMPN_CellGrid& grid,
                        const std::optional<IMPN_Rect>& rect, IMPN_WorkerPool* pool,
                        IMPN_CellCounts& sum, const IMPN_CellCoverage::Progress& progress)
{
    sum = IMPN_CellCounts();
    if (inks.empty())
        return false;
    const std::uint32_t width = inks[0]->GetImageWidth(), length = inks[0]->GetImageLength();
    for (const IMPN_CellCoverage* ink : inks)
        if (!ink->IsReadable() || ink->GetImageWidth() != width || ink->GetImageLength() != length)
            return false;

    IMPN_CellCounts result, counts;
    std::uint64_t before = 0; // tiles of the inks counted already
    for (std::size_t k = 0; k < inks.size(); ++k)
    {
        std::uint64_t inkTotal = 0;
        const IMPN_CellCoverage::Progress inkProgress =
            progress ? IMPN_CellCoverage::Progress(
                           [&](std::uint64_t done, std::uint64_t total)
                           {
                               inkTotal = total;
                               return progress(before + done, total * inks.size());
                           })
                     : IMPN_CellCoverage::Progress();
        if (!inks[k]->Count(grid, rect, pool, k == 0 ? result : counts, inkProgress))
            return false;
        before += inkTotal;
        if (k == 0)
            continue;
        for (std::size_t i = 0; i < result.inked.size(); ++i)
            result.inked[i] += counts.inked[i];
        for (IMPN_TileFailure& failure : counts.failures)
            result.failures.push_back(std::move(failure));
    }
    sum = std::move(result);
    return true;
}

bool IMPN_InkLimit::Count(const std::vector<IMPN_CellCoverage*>& inks, std::uint32_t side,
                          const std::optional<IMPN_Rect>& rect, std::uint32_t limitHundredths,
                          IMPN_WorkerPool* pool, Map& map,
                          const IMPN_CellCoverage::Progress& progress)
{
    map = Map();
    if (inks.empty() || side == 0)
        return false;
    IMPN_CellCounts sum;
    if (!Sum(inks, IMPN_CellGrid::Square(inks[0]->GetImageWidth(), inks[0]->GetImageLength(), side),
             rect, pool, sum, progress))
        return false;
    Map result;
    result.side = side;
    result.firstColumn = sum.firstColumn;
    result.firstRow = sum.firstRow;
    result.columns = sum.Columns();
    result.rows = sum.Rows();
    result.over.assign(sum.inked.size(), 0);
    for (std::size_t r = 0; r < result.rows; ++r)
        for (std::size_t c = 0; c < result.columns; ++c)
            if (IsOver(sum.Inked(c, r), sum.CellPixels(c, r), limitHundredths))
            {
                result.over[r * result.columns + c] = 1;
                ++result.overCells;
            }
    result.failures = std::move(sum.failures);
    map = std::move(result);
    return true;
}
