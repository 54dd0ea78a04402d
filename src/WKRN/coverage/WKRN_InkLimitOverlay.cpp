#include "WKRN/coverage/WKRN_InkLimitOverlay.h"

#include "IMPN/IMPN_InkLimit.h"
#include "WKRN/coverage/WKRN_CoverageWorker.h"
#include "WKRN/sheet/WKRN_SheetView.h"

#include <QImage>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace
{
// Source tiles a block has along each side: a block decodes each of its tiles once, and a cell
// that reaches over its edge waits for the neighbour.
constexpr std::uint32_t kBlockTiles = 2;
// How long one job of the overlay keeps the coverage worker before it yields.
constexpr std::chrono::milliseconds kJobSlice{250};
// How far around a level pixel the hatch looks to tell a thin hatch from a wide one.
constexpr int kReach = 2;

// The hatch: stripes at 45 degrees, 8 pixels apart, aligned to the level picture so that every
// tile continues its neighbour's stripes and drawing twice changes nothing.
QRgb HatchAt(std::int64_t x, std::int64_t y)
{
    const std::int64_t phase = ((x + y) % 8 + 8) % 8;
    if (phase < 2)
        return qRgb(0, 0, 0);
    if (phase >= 4 && phase < 6)
        return qRgb(255, 230, 0);
    return 0;
}

// Device pixels per level pixel of level i, as a fraction 2^i / 8.
struct LevelScale
{
    std::int64_t num, den = 8;
    explicit LevelScale(int level) : num(std::int64_t(1) << std::clamp(level, 0, 30)) {}
    // The cells [first, last] that the device span of level pixels [a, b) meets.
    void CellsOf(std::int64_t a, std::int64_t b, std::int64_t side, std::int64_t& first,
                 std::int64_t& last) const
    {
        const std::int64_t unit = den * side;
        const auto floorDiv = [](std::int64_t p, std::int64_t q)
        { return p / q - ((p % q != 0 && p < 0) ? 1 : 0); };
        first = floorDiv(a * num, unit);
        last = floorDiv(b * num + unit - 1, unit) - 1;
    }
};
} // namespace

struct WKRN_InkLimitOverlay::BlockResult
{
    std::uint32_t index = 0;
    std::size_t firstColumn = 0, firstRow = 0, columns = 0, rows = 0;
    std::vector<std::uint8_t> whole;  // per cell of the block: 1 over, 0 not, 2 a part only
    std::vector<std::uint64_t> parts; // the inked pixels of each part, in cell order
    std::uint64_t unreadable = 0;
    bool yields = false; // the job ends here and leaves its other blocks to be asked again
};

WKRN_InkLimitOverlay::WKRN_InkLimitOverlay(WKRN_SheetView& view, QObject* parent)
    : QObject(parent), m_View(view)
{
}

WKRN_InkLimitOverlay::~WKRN_InkLimitOverlay()
{
    if (m_Worker)
        m_Worker->Cancel(WKRN_CoverageWorker::OverlayLane);
}

void WKRN_InkLimitOverlay::Forget()
{
    if (m_Worker)
        m_Worker->Cancel(WKRN_CoverageWorker::OverlayLane);
    m_Counted.clear();
    m_Outstanding.clear();
    m_Pending.clear();
    m_Unreadable = 0;
    m_Grid.reset();
    m_Over.clear();
    if (!m_Worker || m_Side == 0 || m_Worker->ImageWidth() == 0 || m_Worker->TileWidth() == 0)
        return;
    m_Width = m_Worker->ImageWidth();
    m_Length = m_Worker->ImageLength();
    m_Grid =
        std::make_shared<const IMPN_CellGrid>(IMPN_CellGrid::Square(m_Width, m_Length, m_Side));
    m_Over.assign((m_Grid->Columns() * m_Grid->Rows() + 63) / 64, 0);
    m_BlockWidth = m_Worker->TileWidth() * kBlockTiles;
    m_BlockLength = m_Worker->TileLength() * kBlockTiles;
    m_BlocksAcross = (m_Width + m_BlockWidth - 1) / m_BlockWidth;
    m_BlocksDown = (m_Length + m_BlockLength - 1) / m_BlockLength;
}

void WKRN_InkLimitOverlay::SetEnabled(bool enabled)
{
    if (enabled == m_Enabled)
        return;
    m_Enabled = enabled;
    Forget();
    // Taking the hatch away needs the picture again; putting it on is done block by block.
    if (!enabled)
        m_View.Redraw();
    else
        Update();
}

void WKRN_InkLimitOverlay::SetSource(WKRN_CoverageWorker* worker, const std::vector<bool>& included)
{
    if (worker == m_Worker && included == m_Included)
        return;
    const bool hadHatch = m_Enabled && !m_Counted.empty();
    if (m_Worker)
        m_Worker->Cancel(WKRN_CoverageWorker::OverlayLane);
    m_Worker = worker;
    m_Included = included;
    Forget();
    if (hadHatch)
        m_View.Redraw();
    Update();
}

void WKRN_InkLimitOverlay::SetLimit(int percent)
{
    percent = std::max(1, percent);
    if (percent == m_Limit)
        return;
    const bool hadHatch = m_Enabled && !m_Counted.empty();
    m_Limit = percent;
    Forget();
    if (hadHatch)
        m_View.Redraw();
    Update();
}

void WKRN_InkLimitOverlay::SetCellSide(std::uint32_t side)
{
    if (side == m_Side)
        return;
    const bool hadHatch = m_Enabled && !m_Counted.empty();
    m_Side = side;
    Forget();
    if (hadHatch)
        m_View.Redraw();
    Update();
}

void WKRN_InkLimitOverlay::Update()
{
    if (!m_Enabled || !m_Worker || !m_Grid)
        return;

    // The blocks under the visible part of the picture, in device pixels.
    const double scale = IMPN_SheetView::Scale(m_View.GetLevel());
    const QPoint scroll = m_View.ScrollPosition();
    const QSize client = m_View.ClientSize();
    const auto blockRange = [](double from, double to, std::uint32_t size, std::uint32_t count,
                               std::uint32_t& first, std::uint32_t& end)
    {
        first = std::uint32_t(std::clamp(std::floor(from / size), 0.0, double(count)));
        end = std::uint32_t(std::clamp(std::ceil(to / size), 0.0, double(count)));
    };
    std::uint32_t bx0, bx1, by0, by1;
    blockRange(scroll.x() / scale, (scroll.x() + client.width()) / scale, m_BlockWidth,
               m_BlocksAcross, bx0, bx1);
    blockRange(scroll.y() / scale, (scroll.y() + client.height()) / scale, m_BlockLength,
               m_BlocksDown, by0, by1);

    // Missing blocks, the middle of the view first.
    std::vector<std::uint32_t> missing;
    for (std::uint32_t by = by0; by < by1; ++by)
        for (std::uint32_t bx = bx0; bx < bx1; ++bx)
        {
            const std::uint32_t index = by * m_BlocksAcross + bx;
            if (m_Counted.count(index) == 0)
                missing.push_back(index);
        }
    if (missing.empty())
        return;
    // What is already on its way is not asked for again: the view reports its area often.
    std::vector<std::uint32_t> sortedMissing = missing, sortedOutstanding = m_Outstanding;
    std::sort(sortedMissing.begin(), sortedMissing.end());
    std::sort(sortedOutstanding.begin(), sortedOutstanding.end());
    if (std::includes(sortedOutstanding.begin(), sortedOutstanding.end(), sortedMissing.begin(),
                      sortedMissing.end()))
        return;
    const double cx = (bx0 + bx1) / 2.0, cy = (by0 + by1) / 2.0;
    const std::uint32_t across = m_BlocksAcross;
    std::sort(missing.begin(), missing.end(),
              [&](std::uint32_t a, std::uint32_t b)
              {
                  const double da = std::hypot(a % across + 0.5 - cx, a / across + 0.5 - cy);
                  const double db = std::hypot(b % across + 0.5 - cx, b / across + 0.5 - cy);
                  return da < db || (da == db && a < b);
              });
    m_Outstanding = missing;

    // The counters open their files here, on the thread that opens every preview file.
    const WKRN_CoverageWorker::CellCounting counting = m_Worker->CellCounters();
    std::vector<IMPN_CellCoverage*> inks;
    for (std::size_t k = 0; k < counting.inks.size() && k < m_Included.size(); ++k)
        if (m_Included[k])
            inks.push_back(counting.inks[k]);
    IMPN_WorkerPool* pool = counting.pool;
    const std::shared_ptr<const IMPN_CellGrid> grid = m_Grid;
    const std::uint32_t limit = std::uint32_t(m_Limit) * 100u;
    const std::uint32_t blockWidth = m_BlockWidth, blockLength = m_BlockLength;
    m_Worker->Submit(
        WKRN_CoverageWorker::OverlayLane,
        [this, missing, across, inks, pool, grid, limit, blockWidth,
         blockLength](IMPN_InkCoverage&, const WKRN_CoverageWorker::Context& context)
        {
            const auto started = std::chrono::steady_clock::now();
            for (std::size_t n = 0; n < missing.size(); ++n)
            {
                const std::uint32_t index = missing[n];
                if (context.Stopped())
                    return;
                IMPN_Rect rect;
                rect.left = std::int32_t((index % across) * blockWidth);
                rect.top = std::int32_t((index / across) * blockLength);
                rect.width = std::int32_t(blockWidth);
                rect.height = std::int32_t(blockLength);
                BlockResult result;
                result.index = index;
                IMPN_CellCounts sum;
                // Without shown inks (or with inks that cannot be added up) nothing is over.
                const bool counted =
                    !inks.empty() && IMPN_InkLimit::Sum(inks, *grid, rect, pool, sum,
                                                        [&context](std::uint64_t, std::uint64_t)
                                                        { return !context.Stopped(); });
                if (context.Stopped())
                    return;
                if (counted)
                {
                    result.firstColumn = sum.firstColumn;
                    result.firstRow = sum.firstRow;
                    result.columns = sum.Columns();
                    result.rows = sum.Rows();
                    result.whole.assign(sum.inked.size(), 0);
                    result.unreadable = sum.failures.size();
                    for (std::size_t r = 0; r < result.rows; ++r)
                    {
                        const bool rowWhole =
                            sum.rowEdges[r] == grid->rowEdges[sum.firstRow + r] &&
                            sum.rowEdges[r + 1] == grid->rowEdges[sum.firstRow + r + 1];
                        for (std::size_t c = 0; c < result.columns; ++c)
                        {
                            const bool whole =
                                rowWhole &&
                                sum.columnEdges[c] == grid->columnEdges[sum.firstColumn + c] &&
                                sum.columnEdges[c + 1] ==
                                    grid->columnEdges[sum.firstColumn + c + 1];
                            const std::size_t i = r * result.columns + c;
                            if (!whole)
                            {
                                result.whole[i] = 2;
                                result.parts.push_back(sum.inked[i]);
                            }
                            else if (IMPN_InkLimit::IsOver(sum.inked[i], sum.CellPixels(c, r),
                                                           limit))
                                result.whole[i] = 1;
                        }
                    }
                }
                // A long count yields the worker now and then, so that a densitometer reading
                // waits for one block at most, never for the whole view.
                const bool yields = n + 1 < missing.size() &&
                                    std::chrono::steady_clock::now() - started > kJobSlice;
                result.yields = yields;
                context.Deliver([this, result = std::move(result)]() mutable { Deliver(result); });
                if (yields)
                    return;
            }
        });
}

unsigned WKRN_InkLimitOverlay::BlocksMeeting(std::size_t column, std::size_t row) const
{
    const std::uint32_t x0 = m_Grid->columnEdges[column], x1 = m_Grid->columnEdges[column + 1];
    const std::uint32_t y0 = m_Grid->rowEdges[row], y1 = m_Grid->rowEdges[row + 1];
    return ((x1 - 1) / m_BlockWidth - x0 / m_BlockWidth + 1) *
           ((y1 - 1) / m_BlockLength - y0 / m_BlockLength + 1);
}

std::uint64_t WKRN_InkLimitOverlay::CellPixels(std::size_t column, std::size_t row) const
{
    return std::uint64_t(m_Grid->columnEdges[column + 1] - m_Grid->columnEdges[column]) *
           std::uint64_t(m_Grid->rowEdges[row + 1] - m_Grid->rowEdges[row]);
}

void WKRN_InkLimitOverlay::SetOver(std::size_t column, std::size_t row)
{
    const std::size_t bit = row * m_Grid->Columns() + column;
    m_Over[bit / 64] |= std::uint64_t(1) << (bit % 64);
}

bool WKRN_InkLimitOverlay::IsOver(std::size_t column, std::size_t row) const
{
    if (!m_Grid || column >= m_Grid->Columns() || row >= m_Grid->Rows())
        return false;
    const std::size_t bit = row * m_Grid->Columns() + column;
    return (m_Over[bit / 64] >> (bit % 64)) & 1u;
}

void WKRN_InkLimitOverlay::Deliver(BlockResult& result)
{
    m_Outstanding.erase(std::remove(m_Outstanding.begin(), m_Outstanding.end(), result.index),
                        m_Outstanding.end());
    if (result.yields)
    {
        // The rest of the job's blocks are asked for again, behind what waits in other lanes.
        m_Outstanding.clear();
        QTimer::singleShot(0, this, [this] { Update(); });
    }
    if (!m_Grid || !m_Counted.insert(result.index).second)
        return;
    bool any = false;
    std::size_t part = 0;
    const std::uint32_t limit = std::uint32_t(m_Limit) * 100u;
    for (std::size_t r = 0; r < result.rows; ++r)
        for (std::size_t c = 0; c < result.columns; ++c)
        {
            const std::size_t column = result.firstColumn + c, row = result.firstRow + r;
            const std::uint8_t kind = result.whole[r * result.columns + c];
            if (kind == 1)
            {
                SetOver(column, row);
                any = true;
            }
            if (kind != 2)
                continue;
            const std::uint64_t key = std::uint64_t(row) * m_Grid->Columns() + column;
            Pending& pending = m_Pending[key];
            pending.inked += result.parts[part++];
            if (++pending.parts < BlocksMeeting(column, row))
                continue;
            if (IMPN_InkLimit::IsOver(pending.inked, CellPixels(column, row), limit))
            {
                SetOver(column, row);
                any = true;
            }
            m_Pending.erase(key);
        }
    if (result.unreadable > 0)
    {
        m_Unreadable += result.unreadable;
        emit TilesUnreadable(m_Unreadable);
    }
    if (!any || !m_Enabled)
        return;
    // The block and the cells reaching over its edges.
    const double scale = IMPN_SheetView::Scale(m_View.GetLevel());
    const double left = double(result.index % m_BlocksAcross) * m_BlockWidth - m_Side;
    const double top = double(result.index / m_BlocksAcross) * m_BlockLength - m_Side;
    const QRect level(int(std::floor(left * scale)), int(std::floor(top * scale)),
                      int(std::ceil((m_BlockWidth + 2.0 * m_Side) * scale)) + 1,
                      int(std::ceil((m_BlockLength + 2.0 * m_Side) * scale)) + 1);
    m_View.DrawOverlayNow(level);
}

/* Exact at every zoom: each level row is the device rows [y, y + 1) x 2^level / 8, each level
   column likewise; the cells a level pixel meets are found in integers, the rows of cells under
   a level row folded into one row of "any over", and its running sums answer each pixel. The
   hatch leaves every other pair of stripes clear to show the picture; a hatched pixel there is
   coloured too where the hatch is at most two pixels thin across or down, so that nothing
   hatched is ever invisible. The mask reaches two pixels beyond the rectangle, so that
   neighbouring tiles agree on their edges. */
void WKRN_InkLimitOverlay::Paint(QPainter& painter, const QRect& levelRect, int level) const
{
    if (!m_Enabled || !m_Grid || m_Counted.empty() || levelRect.isEmpty())
        return;
    const LevelScale scale(level);
    const std::int64_t side = m_Side;
    const std::int64_t columns = std::int64_t(m_Grid->Columns());
    const std::int64_t rows = std::int64_t(m_Grid->Rows());
    const QRect area = levelRect.adjusted(-kReach, -kReach, kReach, kReach);
    std::int64_t c0, c1;
    scale.CellsOf(area.left(), std::int64_t(area.left()) + area.width(), side, c0, c1);
    c0 = std::max<std::int64_t>(c0, 0);
    c1 = std::min<std::int64_t>(c1, columns - 1);
    if (c0 > c1)
        return;

    const int w = area.width(), h = area.height();
    std::vector<std::uint8_t> mask(std::size_t(w) * std::size_t(h), 0);
    std::vector<std::uint8_t> anyOver(std::size_t(c1 - c0 + 1));
    std::vector<std::uint32_t> sums(anyOver.size() + 1);
    // Each level column's cells, the same for every row.
    std::vector<std::pair<std::int64_t, std::int64_t>> spans(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
    {
        std::int64_t a, b;
        scale.CellsOf(area.left() + x, area.left() + x + 1, side, a, b);
        spans[std::size_t(x)] = {std::max(a, c0) - c0, std::min(b, c1) - c0};
    }
    bool anyRow = false;
    for (int y = 0; y < h; ++y)
    {
        std::int64_t r0, r1;
        scale.CellsOf(area.top() + y, area.top() + y + 1, side, r0, r1);
        r0 = std::max<std::int64_t>(r0, 0);
        r1 = std::min<std::int64_t>(r1, rows - 1);
        if (r0 > r1)
            continue;
        std::fill(anyOver.begin(), anyOver.end(), 0);
        bool rowAny = false;
        for (std::int64_t r = r0; r <= r1; ++r)
            for (std::int64_t c = c0; c <= c1; ++c)
                if (IsOver(std::size_t(c), std::size_t(r)))
                    anyOver[std::size_t(c - c0)] = 1, rowAny = true;
        if (!rowAny)
            continue;
        anyRow = true;
        for (std::size_t i = 0; i < anyOver.size(); ++i)
            sums[i + 1] = sums[i] + anyOver[i];
        std::uint8_t* line = mask.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x)
        {
            const auto [a, b] = spans[std::size_t(x)];
            line[x] = a <= b && sums[std::size_t(b) + 1] != sums[std::size_t(a)];
        }
    }
    if (!anyRow)
        return;

    const auto at = [&](int x, int y) { return mask[std::size_t(y) * std::size_t(w) + x] != 0; };
    // Hatched pixels in a row (dx, dy) through (x, y), counted up to kReach either side.
    const auto run = [&](int x, int y, int dx, int dy)
    {
        int n = 1;
        for (int k = 1; k <= kReach && at(x - k * dx, y - k * dy); ++k)
            ++n;
        for (int k = 1; k <= kReach && at(x + k * dx, y + k * dy); ++k)
            ++n;
        return n;
    };
    QImage hatch(levelRect.size(), QImage::Format_ARGB32_Premultiplied);
    hatch.fill(Qt::transparent);
    bool drawn = false;
    for (int y = kReach; y + kReach < h; ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(hatch.scanLine(y - kReach));
        for (int x = kReach; x + kReach < w; ++x)
        {
            if (!at(x, y))
                continue;
            QRgb colour = HatchAt(area.left() + x, area.top() + y);
            // A clear stripe is two pixels wide: narrower hatch could fall wholly inside one.
            if (colour == 0 && (run(x, y, 1, 0) <= kReach || run(x, y, 0, 1) <= kReach))
                colour = qRgb(255, 230, 0);
            if (colour != 0)
            {
                line[x - kReach] = colour;
                drawn = true;
            }
        }
    }
    if (!drawn)
        return;
    painter.save();
    painter.setOpacity(1.0);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(levelRect.topLeft(), hatch);
    painter.restore();
}
