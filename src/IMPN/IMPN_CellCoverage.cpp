#include "IMPN/IMPN_CellCoverage.h"

#include "IMPN/IMPN_CoverageKernel.h"
#include "IMPN/IMPN_RunCoverage.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_RunReceiver.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

namespace
{
// Source tiles larger than this are refused, as the renderer refuses them.
constexpr std::uint64_t kMaxSourceTileBytes = std::uint64_t(32) << 20;

bool StrictlyIncreasing(const std::vector<std::uint32_t>& edges, std::uint32_t end)
{
    if (edges.size() < 2 || edges.front() != 0 || edges.back() != end)
        return false;
    for (std::size_t i = 1; i < edges.size(); ++i)
        if (edges[i] <= edges[i - 1])
            return false;
    return true;
}

std::vector<std::uint32_t> DividedEdges(std::uint32_t size, std::uint32_t parts)
{
    std::vector<std::uint32_t> edges(std::size_t(parts) + 1);
    for (std::uint32_t j = 0; j <= parts; ++j)
        edges[j] = std::uint32_t(std::uint64_t(j) * size / parts);
    return edges;
}

// The cells of a grid that [from, to) meets: the index of the first, and the edges between
// them cut to [from, to).
std::vector<std::uint32_t> CutEdges(const std::vector<std::uint32_t>& edges, std::uint32_t from,
                                    std::uint32_t to, std::size_t& first)
{
    first = std::size_t(std::upper_bound(edges.begin(), edges.end(), from) - edges.begin()) - 1;
    std::vector<std::uint32_t> cut{from};
    for (std::size_t i = first + 1; i < edges.size() && edges[i] < to; ++i)
        cut.push_back(edges[i]);
    cut.push_back(to);
    return cut;
}

// The counted cells of one band of the window meeting [from, to): their places in the window
// and the part of each inside, relative to `origin`.
struct Band
{
    std::uint32_t from, to; // relative to the tile
    std::size_t index;      // in the window
};

std::vector<Band> BandsWithin(const std::vector<std::uint32_t>& cut, std::uint32_t from,
                              std::uint32_t to, std::uint32_t origin)
{
    std::vector<Band> bands;
    std::size_t i = std::size_t(std::upper_bound(cut.begin(), cut.end(), from) - cut.begin()) - 1;
    for (; i + 1 < cut.size() && cut[i] < to; ++i)
    {
        const std::uint32_t a = std::max(cut[i], from), b = std::min(cut[i + 1], to);
        if (a < b)
            bands.push_back({a - origin, b - origin, i});
    }
    return bands;
}

// The counts of one tile, rows band by band and columns span by span, gathered from the
// decoder's runs or from the decoded bits.
struct TileCounter final : TIFX_RunReceiver
{
    std::uint32_t tileWidth = 0;
    std::uint32_t x0 = 0, x1 = 0; // the counted columns of the tile
    std::vector<IMPN_CoverageKernel::Span> spans;
    std::vector<std::int32_t> rowBand; // per tile row: its band, or -1 when not counted
    std::vector<std::uint64_t> cells;  // bands x spans

    void AddRow(std::uint32_t row, const std::uint32_t* runs, std::size_t count,
                std::uint32_t width) noexcept override
    {
        if (row >= rowBand.size() || rowBand[row] < 0 || runs == nullptr)
            return;
        std::uint64_t* out = cells.data() + std::size_t(rowBand[row]) * spans.size();
        const IMPN_CoverageKernel::Span* span = spans.data();
        std::size_t s = 0;
        IMPN_RunCoverage::ForEachBlackRun(runs, count, std::min(width, tileWidth),
                                          [&](std::uint32_t a, std::uint32_t b)
                                          {
                                              a = std::max(a, x0);
                                              b = std::min(b, x1);
                                              if (a >= b)
                                                  return;
                                              // Runs come left to right; the spans tile
                                              // [x0, x1) without gaps.
                                              while (span[s].to <= a)
                                                  ++s;
                                              for (;;)
                                              {
                                                  const std::uint32_t end = std::min(b, span[s].to);
                                                  out[s] += end - a;
                                                  if (end == b)
                                                      return;
                                                  a = end;
                                                  ++s;
                                              }
                                          });
    }
};
} // namespace

IMPN_CellGrid IMPN_CellGrid::Square(std::uint32_t width, std::uint32_t length, std::uint32_t side)
{
    IMPN_CellGrid grid;
    if (side == 0 || width == 0 || length == 0)
        return grid;
    const auto edges = [side](std::uint32_t size)
    {
        std::vector<std::uint32_t> e;
        e.reserve(std::size_t(size / side) + 2);
        for (std::uint64_t p = 0; p < size; p += side)
            e.push_back(std::uint32_t(p));
        e.push_back(size);
        return e;
    };
    grid.columnEdges = edges(width);
    grid.rowEdges = edges(length);
    return grid;
}

IMPN_CellGrid IMPN_CellGrid::Divided(std::uint32_t width, std::uint32_t length,
                                     std::uint32_t columns, std::uint32_t rows)
{
    IMPN_CellGrid grid;
    if (columns == 0 || rows == 0)
        return grid;
    grid.columnEdges = DividedEdges(width, columns);
    grid.rowEdges = DividedEdges(length, rows);
    return grid;
}

bool IMPN_CellGrid::IsValidFor(std::uint32_t width, std::uint32_t length) const
{
    return StrictlyIncreasing(columnEdges, width) && StrictlyIncreasing(rowEdges, length);
}

std::string IMPN_TileFailure::Describe() const
{
    return path + ": the tile at pixel " + std::to_string(left) + ", " + std::to_string(top) +
           " could not be read";
}

struct IMPN_CellCoverage::Reader
{
    explicit Reader(const std::string& path) : file(path) {}

    TIFX_KRNFile file;
    std::vector<std::uint8_t> scratch; // one decoded tile
    TileCounter counter;
};

IMPN_CellCoverage::IMPN_CellCoverage(std::string path, unsigned readers) : m_Path(std::move(path))
{
    try
    {
        auto first = std::make_unique<Reader>(m_Path);
        TIFX_KRNFile& file = first->file;
        file.Open();
        if (file.GetDirectory() != 0 && !file.SetDirectory(0))
        {
            m_Problem = "the main image cannot be read";
            return;
        }
        const std::uint32_t w = file.GetImageWidth(), l = file.GetImageLength();
        const std::uint32_t tw = file.GetTileWidth(), tl = file.GetTileLength();
        const std::int64_t tileBytes = file.GetTileSize();
        if (file.GetBitsPerSample() != 1 || w == 0 || l == 0 || tw == 0 || tl == 0 || tw % 8 != 0 ||
            std::uint64_t(tw / 8) * tl > kMaxSourceTileBytes ||
            tileBytes != std::int64_t(tw / 8) * tl)
        {
            m_Problem = "the main image is not a tiled one-bit image";
            return;
        }
        m_Width = w;
        m_Length = l;
        m_TileWidth = tw;
        m_TileLength = tl;
        m_Runs = file.CanReadTileRuns();
        m_Readers.push_back(std::move(first));
    }
    catch (const TIFX_Exception& e)
    {
        m_Problem =
            e.GetMessage().empty() ? std::string("the file cannot be read") : e.GetMessage();
        return;
    }
    // More readers only let more threads decode; a file that opens once counts with one.
    for (unsigned k = 1; k < readers; ++k)
    {
        try
        {
            auto more = std::make_unique<Reader>(m_Path);
            more->file.Open();
            if (more->file.GetDirectory() != 0 && !more->file.SetDirectory(0))
                break;
            m_Readers.push_back(std::move(more));
        }
        catch (const TIFX_Exception&)
        {
            break;
        }
    }
    for (auto& reader : m_Readers)
    {
        reader->scratch.resize(std::size_t(m_TileWidth / 8) * m_TileLength);
        reader->counter.tileWidth = m_TileWidth;
    }
}

IMPN_CellCoverage::~IMPN_CellCoverage() = default;

bool IMPN_CellCoverage::Count(const IMPN_CellGrid& grid, const std::optional<IMPN_Rect>& rect,
                              IMPN_WorkerPool* pool, IMPN_CellCounts& counts,
                              const Progress& progress)
{
    counts = IMPN_CellCounts();
    if (!IsReadable() || !grid.IsValidFor(m_Width, m_Length))
        return false;
    std::int64_t x0 = 0, y0 = 0, x1 = m_Width, y1 = m_Length;
    if (rect)
    {
        if (rect->width <= 0 || rect->height <= 0)
            return false;
        x0 = std::max<std::int64_t>(rect->left, 0);
        y0 = std::max<std::int64_t>(rect->top, 0);
        x1 = std::min<std::int64_t>(std::int64_t(rect->left) + rect->width, m_Width);
        y1 = std::min<std::int64_t>(std::int64_t(rect->top) + rect->height, m_Length);
        if (x0 >= x1 || y0 >= y1)
            return false;
    }

    IMPN_CellCounts result;
    result.area.left = std::int32_t(x0);
    result.area.top = std::int32_t(y0);
    result.area.width = std::int32_t(x1 - x0);
    result.area.height = std::int32_t(y1 - y0);
    result.columnEdges =
        CutEdges(grid.columnEdges, std::uint32_t(x0), std::uint32_t(x1), result.firstColumn);
    result.rowEdges =
        CutEdges(grid.rowEdges, std::uint32_t(y0), std::uint32_t(y1), result.firstRow);
    const std::size_t columns = result.Columns();
    result.inked.assign(columns * result.Rows(), 0);

    const std::uint32_t tw = m_TileWidth, tl = m_TileLength;
    const std::uint32_t tx0 = std::uint32_t(x0) / tw, tx1 = std::uint32_t(x1 - 1) / tw;
    const std::uint32_t ty0 = std::uint32_t(y0) / tl, ty1 = std::uint32_t(y1 - 1) / tl;
    const std::uint64_t across = tx1 - tx0 + 1;
    const std::uint64_t total = across * (ty1 - ty0 + 1);

    std::atomic<std::uint64_t> next{0};
    std::atomic<bool> stopped{false};
    std::mutex mutex; // guards result, done and the progress calls
    std::uint64_t done = 0;
    std::vector<std::pair<std::uint64_t, IMPN_TileFailure>> failures;

    const auto lane = [&](std::size_t laneIndex)
    {
        Reader& reader = *m_Readers[laneIndex];
        TileCounter& counter = reader.counter;
        for (;;)
        {
            const std::uint64_t i = next.fetch_add(1);
            if (i >= total || stopped.load(std::memory_order_relaxed))
                return;
            const std::uint32_t left = (tx0 + std::uint32_t(i % across)) * tw;
            const std::uint32_t top = (ty0 + std::uint32_t(i / across)) * tl;
            const std::uint32_t cx0 = std::max<std::uint32_t>(std::uint32_t(x0), left);
            const std::uint32_t cx1 =
                std::uint32_t(std::min<std::int64_t>(x1, std::int64_t(left) + tw));
            const std::uint32_t cy0 = std::max<std::uint32_t>(std::uint32_t(y0), top);
            const std::uint32_t cy1 =
                std::uint32_t(std::min<std::int64_t>(y1, std::int64_t(top) + tl));
            const std::vector<Band> columnBands = BandsWithin(result.columnEdges, cx0, cx1, left);
            const std::vector<Band> rowBands = BandsWithin(result.rowEdges, cy0, cy1, top);

            counter.x0 = cx0 - left;
            counter.x1 = cx1 - left;
            counter.spans.clear();
            for (std::size_t s = 0; s < columnBands.size(); ++s)
                counter.spans.push_back({columnBands[s].from, columnBands[s].to, s});
            counter.cells.assign(columnBands.size() * rowBands.size(), 0);

            std::int64_t got = -1;
            if (m_Runs)
            {
                counter.rowBand.assign(tl, -1);
                for (std::size_t b = 0; b < rowBands.size(); ++b)
                    for (std::uint32_t y = rowBands[b].from; y < rowBands[b].to; ++y)
                        counter.rowBand[y] = std::int32_t(b);
                got = reader.file.ReadTileRuns(reader.scratch.data(), left, top, counter, false);
            }
            else
            {
                got = reader.file.ReadTile(reader.scratch.data(), left, top);
                if (got >= 0)
                {
                    // A short read leaves the rest of the tile without ink, not stale bits.
                    if (std::uint64_t(got) < reader.scratch.size())
                        std::memset(reader.scratch.data() + got, 0,
                                    reader.scratch.size() - std::size_t(got));
                    for (std::size_t b = 0; b < rowBands.size(); ++b)
                        IMPN_CoverageKernel::CountSpans(
                            reader.scratch.data(), tw / 8, rowBands[b].from, rowBands[b].to,
                            counter.spans.data(), counter.spans.size(),
                            counter.cells.data() + b * counter.spans.size());
                }
            }

            std::lock_guard<std::mutex> lock(mutex);
            if (got < 0)
                failures.push_back({i, IMPN_TileFailure{m_Path, left, top}});
            else
                for (std::size_t b = 0; b < rowBands.size(); ++b)
                {
                    std::uint64_t* row = result.inked.data() + rowBands[b].index * columns;
                    const std::uint64_t* from = counter.cells.data() + b * columnBands.size();
                    for (std::size_t s = 0; s < columnBands.size(); ++s)
                        row[columnBands[s].index] += from[s];
                }
            ++done;
            if (progress && !stopped.load(std::memory_order_relaxed) && !progress(done, total))
                stopped.store(true);
        }
    };

    const std::size_t lanes = std::size_t(
        std::min<std::uint64_t>({std::uint64_t(m_Readers.size()),
                                 pool ? std::uint64_t(pool->GetWorkerCount()) + 1 : 1, total}));
    if (lanes > 1)
        pool->ParallelFor(lanes, lane);
    else
        lane(0);
    if (stopped.load())
        return false;

    std::sort(failures.begin(), failures.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& failure : failures)
        result.failures.push_back(std::move(failure.second));
    counts = std::move(result);
    return true;
}
