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

bool IMPN_InkLimit::Count(const std::vector<IMPN_CellCoverage*>& inks, std::uint32_t side,
                          const std::optional<IMPN_Rect>& rect, std::uint32_t limitHundredths,
                          IMPN_WorkerPool* pool, Map& map,
                          const IMPN_CellCoverage::Progress& progress)
{
    map = Map();
    if (inks.empty() || side == 0)
        return false;
    const std::uint32_t width = inks[0]->GetImageWidth(), length = inks[0]->GetImageLength();
    for (const IMPN_CellCoverage* ink : inks)
        if (!ink->IsReadable() || ink->GetImageWidth() != width || ink->GetImageLength() != length)
            return false;
    const IMPN_CellGrid grid = IMPN_CellGrid::Square(width, length, side);

    Map result;
    result.side = side;
    std::vector<std::uint64_t> sum;
    IMPN_CellCounts counts;
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
        if (!inks[k]->Count(grid, rect, pool, counts, inkProgress))
            return false;
        before += inkTotal;
        if (k == 0)
        {
            result.firstColumn = counts.firstColumn;
            result.firstRow = counts.firstRow;
            result.columns = counts.Columns();
            result.rows = counts.Rows();
            sum = std::move(counts.inked);
        }
        else
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i] += counts.inked[i];
        for (IMPN_TileFailure& failure : counts.failures)
            result.failures.push_back(std::move(failure));
    }

    result.over.assign(sum.size(), 0);
    for (std::size_t r = 0; r < result.rows; ++r)
        for (std::size_t c = 0; c < result.columns; ++c)
        {
            const std::size_t i = r * result.columns + c;
            if (IsOver(sum[i], counts.CellPixels(c, r), limitHundredths))
            {
                result.over[i] = 1;
                ++result.overCells;
            }
        }
    map = std::move(result);
    return true;
}
