#include "IMPN/IMPN_InkCoverage.h"

#include "IMPN/IMPN_CoverageKernel.h"
#include "IMPN/IMPN_FileInk.h"

#include <algorithm>
#include <cstring>

namespace
{
// Source tiles larger than this are refused, as the renderer refuses them.
constexpr std::uint64_t kMaxSourceTileBytes = std::uint64_t(32) << 20;

// A band of a grid meeting one source tile: [from, to) in absolute pixels.
struct Segment
{
    std::int32_t from, to;
    std::size_t band;
};

std::vector<Segment> Segments(const std::vector<std::int32_t>& edges, std::int32_t from,
                              std::int32_t to)
{
    std::vector<Segment> out;
    // The last band whose start is at or before `from`.
    auto it = std::upper_bound(edges.begin(), edges.end(), from);
    std::size_t band = static_cast<std::size_t>(it - edges.begin()) - 1;
    for (; band + 1 < edges.size() && edges[band] < to; ++band)
    {
        const std::int32_t a = std::max(edges[band], from), b = std::min(edges[band + 1], to);
        if (a < b)
            out.push_back({a, b, band});
    }
    return out;
}
} // namespace

std::uint64_t IMPN_InkCoverageCounts::CellPixels(std::size_t row, std::size_t column) const
{
    return std::uint64_t(rowEdges[row + 1] - rowEdges[row]) *
           std::uint64_t(columnEdges[column + 1] - columnEdges[column]);
}

double IMPN_InkCoverageCounts::CellPercent(std::size_t ink, std::size_t row,
                                           std::size_t column) const
{
    const std::uint64_t pixels = CellPixels(row, column);
    return pixels == 0 ? 0.0
                       : 100.0 * double(inked[ink][row * Columns() + column]) / double(pixels);
}

double IMPN_InkCoverageCounts::AreaPercent(std::size_t ink) const
{
    const std::uint64_t pixels = std::uint64_t(area.width) * std::uint64_t(area.height);
    if (pixels == 0)
        return 0.0;
    std::uint64_t sum = 0;
    for (std::uint64_t n : inked[ink])
        sum += n;
    return 100.0 * double(sum) / double(pixels);
}

double IMPN_InkCoverageCounts::TotalPercent() const
{
    double total = 0.0;
    for (std::size_t k = 0; k < inked.size(); ++k)
        total += AreaPercent(k);
    return total;
}

std::uint64_t IMPN_InkCoverageCounts::CellInked(std::size_t row, std::size_t column,
                                                const std::vector<bool>& included) const
{
    std::uint64_t sum = 0;
    const std::size_t index = row * Columns() + column;
    for (std::size_t k = 0; k < inked.size() && k < included.size(); ++k)
        if (included[k])
            sum += inked[k][index];
    return sum;
}

IMPN_InkCoverage::IMPN_InkCoverage(std::vector<std::unique_ptr<IMPN_RenderInk>> inks,
                                   std::size_t cachedTiles)
    : m_Inks(std::move(inks)), m_Usable(m_Inks.size(), false), m_CacheLimit(cachedTiles)
{
    std::uint32_t w = 0, l = 0, tw = 0, tl = 0;
    if (m_Inks.empty() || !m_Inks[0]->GetImageInfo(w, l, tw, tl))
        return;
    // Tiles are counted in whole bytes per row, as TIFF lays out one-bit tiles (multiples of 16).
    if (tw == 0 || tl == 0 || tw % 16 != 0 || tl % 16 != 0 ||
        std::uint64_t(tw / 8) * tl > kMaxSourceTileBytes)
        return;
    m_Width = w;
    m_Length = l;
    m_TileWidth = tw;
    m_TileLength = tl;
    m_TilesAcross = static_cast<std::uint32_t>((std::uint64_t(w) + tw - 1) / tw);
    m_TilesDown = static_cast<std::uint32_t>((std::uint64_t(l) + tl - 1) / tl);
    m_RowBytes = tw / 8;
    m_TileBytes = m_RowBytes * tl;
    for (std::size_t k = 0; k < m_Inks.size(); ++k)
    {
        std::uint32_t kw = 0, kl = 0, ktw = 0, ktl = 0;
        m_Usable[k] = m_Inks[k]->GetImageInfo(kw, kl, ktw, ktl) && kw == w && kl == l &&
                      ktw == tw && ktl == tl;
    }
}

IMPN_InkCoverage::~IMPN_InkCoverage() = default;

std::unique_ptr<IMPN_InkCoverage> IMPN_InkCoverage::FromFiles(const std::vector<std::string>& paths,
                                                              std::size_t cachedTiles)
{
    std::vector<std::unique_ptr<IMPN_RenderInk>> inks;
    inks.reserve(paths.size());
    for (const std::string& path : paths)
        inks.push_back(std::make_unique<IMPN_FileInk>(path));
    return std::make_unique<IMPN_InkCoverage>(std::move(inks), cachedTiles);
}

bool IMPN_InkCoverage::Clip(const IMPN_Rect& rect, IMPN_Rect& clipped) const
{
    if (!HasPicture() || rect.width <= 0 || rect.height <= 0)
        return false;
    const std::int64_t x0 = std::max<std::int64_t>(rect.left, 0);
    const std::int64_t y0 = std::max<std::int64_t>(rect.top, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t(rect.left) + rect.width, m_Width);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t(rect.top) + rect.height, m_Length);
    if (x0 >= x1 || y0 >= y1)
        return false;
    clipped.left = static_cast<std::int32_t>(x0);
    clipped.top = static_cast<std::int32_t>(y0);
    clipped.width = static_cast<std::int32_t>(x1 - x0);
    clipped.height = static_cast<std::int32_t>(y1 - y0);
    return true;
}

bool IMPN_InkCoverage::CountColumns(const IMPN_Rect& rect, std::uint32_t columns,
                                    IMPN_InkCoverageCounts& counts, const Progress& progress)
{
    IMPN_Rect clipped;
    if (columns == 0 || !Clip(rect, clipped))
        return false;
    std::vector<std::int32_t> edges(std::size_t(columns) + 1);
    for (std::uint32_t k = 0; k <= columns; ++k)
        edges[k] = clipped.left + static_cast<std::int32_t>(std::uint64_t(k) *
                                                            std::uint64_t(clipped.width) / columns);
    return CountGrid(clipped, std::move(edges), {clipped.top, clipped.top + clipped.height}, counts,
                     progress);
}

bool IMPN_InkCoverage::CountCells(const IMPN_Rect& rect, std::uint32_t cell,
                                  IMPN_InkCoverageCounts& counts, const Progress& progress)
{
    IMPN_Rect clipped;
    if (cell == 0 || !Clip(rect, clipped))
        return false;
    auto edges = [cell](std::int32_t from, std::int32_t length)
    {
        std::vector<std::int32_t> e{from};
        const std::int64_t end = std::int64_t(from) + length;
        for (std::int64_t p = (std::int64_t(from) / cell + 1) * cell; p < end; p += cell)
            e.push_back(static_cast<std::int32_t>(p));
        e.push_back(static_cast<std::int32_t>(end));
        return e;
    };
    return CountGrid(clipped, edges(clipped.left, clipped.width),
                     edges(clipped.top, clipped.height), counts, progress);
}

void IMPN_InkCoverage::ForgetTiles()
{
    m_Cache.clear();
}

const IMPN_InkCoverage::Tile& IMPN_InkCoverage::GetTile(std::size_t k, std::uint32_t tx,
                                                        std::uint32_t ty, Tile& scratch)
{
    const std::uint64_t key = (std::uint64_t(k) << 48) | (std::uint64_t(ty) * m_TilesAcross + tx);
    if (m_CacheLimit > 0)
    {
        auto found = m_Cache.find(key);
        if (found != m_Cache.end())
        {
            found->second.lastUse = ++m_UseClock;
            return found->second;
        }
    }

    Tile tile;
    const std::uint32_t x = tx * m_TileWidth, y = ty * m_TileLength;
    IMPN_RenderInk& ink = *m_Inks[k];
    switch (m_Usable[k] ? ink.GetTileClass(x, y) : 128)
    {
    case 1:
        tile.kind = 0;
        break;
    case 2:
        tile.kind = 1;
        break;
    case 128:
        tile.kind = -1;
        break;
    default:
    {
        tile.bits.resize(m_TileBytes);
        const std::int64_t got = ink.ReadTile(tile.bits.data(), tile.bits.size(), x, y);
        if (got < 0)
            tile.kind = -1;
        else if (got == 1)
            tile.kind = tile.bits[0] == 0xFF ? 1 : 0;
        else
        {
            // A short read leaves the rest of the tile without ink rather than stale bits.
            if (std::uint64_t(got) < m_TileBytes)
                std::memset(tile.bits.data() + got, 0, m_TileBytes - std::size_t(got));
            tile.kind = 2;
        }
        if (tile.kind != 2)
            tile.bits.clear();
        break;
    }
    }

    if (m_CacheLimit == 0)
    {
        scratch = std::move(tile);
        return scratch;
    }
    if (m_Cache.size() >= m_CacheLimit)
    {
        auto oldest = std::min_element(m_Cache.begin(), m_Cache.end(),
                                       [](const auto& a, const auto& b)
                                       { return a.second.lastUse < b.second.lastUse; });
        m_Cache.erase(oldest);
    }
    tile.lastUse = ++m_UseClock;
    return m_Cache.emplace(key, std::move(tile)).first->second;
}

bool IMPN_InkCoverage::CountGrid(const IMPN_Rect& clipped, std::vector<std::int32_t> columnEdges,
                                 std::vector<std::int32_t> rowEdges, IMPN_InkCoverageCounts& counts,
                                 const Progress& progress)
{
    if (!HasPicture() || columnEdges.size() < 2 || rowEdges.size() < 2)
        return false;
    const std::size_t columns = columnEdges.size() - 1, rows = rowEdges.size() - 1;
    std::vector<std::vector<std::uint64_t>> inked(m_Inks.size(),
                                                  std::vector<std::uint64_t>(columns * rows, 0));
    std::vector<std::uint64_t> unread(m_Inks.size(), 0);

    const std::int32_t x0 = clipped.left, y0 = clipped.top;
    const std::int32_t x1 = x0 + clipped.width, y1 = y0 + clipped.height;
    const std::uint32_t tx0 = std::uint32_t(x0) / m_TileWidth,
                        tx1 = std::uint32_t(x1 - 1) / m_TileWidth;
    const std::uint32_t ty0 = std::uint32_t(y0) / m_TileLength,
                        ty1 = std::uint32_t(y1 - 1) / m_TileLength;
    const std::uint64_t total = std::uint64_t(tx1 - tx0 + 1) * (ty1 - ty0 + 1);
    std::uint64_t done = 0;
    Tile scratch;

    for (std::uint32_t ty = ty0; ty <= ty1; ++ty)
    {
        const std::int32_t top = std::int32_t(ty * m_TileLength);
        const std::vector<Segment> rowSegs =
            Segments(rowEdges, std::max(y0, top),
                     std::min<std::int64_t>(y1, std::int64_t(top) + m_TileLength));
        for (std::uint32_t tx = tx0; tx <= tx1; ++tx)
        {
            const std::int32_t left = std::int32_t(tx * m_TileWidth);
            const std::vector<Segment> colSegs =
                Segments(columnEdges, std::max(x0, left),
                         std::min<std::int64_t>(x1, std::int64_t(left) + m_TileWidth));
            std::vector<IMPN_CoverageKernel::Span> spans;
            spans.reserve(colSegs.size());
            for (const Segment& c : colSegs)
                spans.push_back({std::uint32_t(c.from - left), std::uint32_t(c.to - left), c.band});
            for (std::size_t k = 0; k < m_Inks.size(); ++k)
            {
                const Tile& tile = GetTile(k, tx, ty, scratch);
                std::vector<std::uint64_t>& out = inked[k];
                if (tile.kind < 0)
                {
                    ++unread[k];
                    continue;
                }
                if (tile.kind == 0)
                    continue;
                for (const Segment& r : rowSegs)
                {
                    std::uint64_t* cells = out.data() + r.band * columns;
                    if (tile.kind == 1)
                    {
                        for (const Segment& c : colSegs)
                            cells[c.band] +=
                                std::uint64_t(r.to - r.from) * std::uint64_t(c.to - c.from);
                        continue;
                    }
                    IMPN_CoverageKernel::CountSpans(
                        tile.bits.data(), m_RowBytes, std::uint32_t(r.from - top),
                        std::uint32_t(r.to - top), spans.data(), spans.size(), cells);
                }
            }
            ++done;
            if (progress && !progress(done, total))
                return false;
        }
    }

    counts.area = clipped;
    counts.columnEdges = std::move(columnEdges);
    counts.rowEdges = std::move(rowEdges);
    counts.inked = std::move(inked);
    counts.unreadTiles = std::move(unread);
    return true;
}
