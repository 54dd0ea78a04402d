#include "WKRN/coverage/WKRN_InkLimitOverlay.h"

#include "IMPN/IMPN_InkCoverage.h"
#include "WKRN/coverage/WKRN_CoverageWorker.h"
#include "WKRN/sheet/WKRN_SheetView.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
constexpr std::size_t kReductions = 8; // 1, 2, ... 128 cells

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
} // namespace

WKRN_InkLimitOverlay::TileCells
WKRN_InkLimitOverlay::TileCells::FromFinest(std::uint32_t across, std::uint32_t down,
                                            std::vector<std::uint8_t> finest)
{
    TileCells cells;
    cells.across = across;
    cells.down = down;
    cells.any = std::any_of(finest.begin(), finest.end(), [](std::uint8_t b) { return b != 0; });
    if (!cells.any)
        return cells;
    cells.levels.push_back(std::move(finest));
    for (std::size_t j = 1; j < kReductions; ++j)
    {
        const std::uint32_t w = cells.Across(j), h = cells.Down(j);
        const std::uint32_t pw = cells.Across(j - 1), ph = cells.Down(j - 1);
        const std::vector<std::uint8_t>& prev = cells.levels[j - 1];
        std::vector<std::uint8_t> next(std::size_t(w) * h, 0);
        for (std::uint32_t y = 0; y < ph; ++y)
            for (std::uint32_t x = 0; x < pw; ++x)
                if (prev[std::size_t(y) * pw + x])
                    next[std::size_t(y / 2) * w + x / 2] = 1;
        cells.levels.push_back(std::move(next));
    }
    return cells;
}

std::uint32_t WKRN_InkLimitOverlay::TileCells::Across(std::size_t level) const
{
    return std::max<std::uint32_t>(1, (across + (1u << level) - 1) >> level);
}

std::uint32_t WKRN_InkLimitOverlay::TileCells::Down(std::size_t level) const
{
    return std::max<std::uint32_t>(1, (down + (1u << level) - 1) >> level);
}

bool WKRN_InkLimitOverlay::TileCells::At(std::size_t level, std::uint32_t x, std::uint32_t y) const
{
    if (!any || level >= levels.size() || x >= Across(level) || y >= Down(level))
        return false;
    return levels[level][std::size_t(y) * Across(level) + x] != 0;
}

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
    m_Tiles.clear();
    m_Outstanding.clear();
}

void WKRN_InkLimitOverlay::SetEnabled(bool enabled)
{
    if (enabled == m_Enabled)
        return;
    m_Enabled = enabled;
    if (!enabled)
        Forget();
    // Taking the hatch away needs the picture again; putting it on is done tile by tile.
    if (!enabled)
        m_View.Redraw();
    else
        Update();
}

void WKRN_InkLimitOverlay::SetSource(WKRN_CoverageWorker* worker, const std::vector<bool>& included)
{
    if (worker == m_Worker && included == m_Included)
        return;
    const bool hadHatch = m_Enabled && !m_Tiles.empty();
    Forget();
    m_Worker = worker;
    m_Included = included;
    if (hadHatch)
        m_View.Redraw();
    Update();
}

void WKRN_InkLimitOverlay::SetLimit(int percent)
{
    percent = std::max(1, percent);
    if (percent == m_Limit)
        return;
    const bool hadHatch = m_Enabled && !m_Tiles.empty();
    Forget();
    m_Limit = percent;
    if (hadHatch)
        m_View.Redraw();
    Update();
}

void WKRN_InkLimitOverlay::Update()
{
    if (!m_Enabled || !m_Worker || m_Worker->ImageWidth() == 0 || m_Worker->TileWidth() == 0)
        return;
    const std::uint32_t tw = m_Worker->TileWidth(), tl = m_Worker->TileLength();
    const std::uint32_t across = (m_Worker->ImageWidth() + tw - 1) / tw;
    const std::uint32_t down = (m_Worker->ImageLength() + tl - 1) / tl;

    // The visible part of the picture in device pixels.
    const double scale = IMPN_SheetView::Scale(m_View.GetLevel());
    const QPoint scroll = m_View.ScrollPosition();
    const QSize client = m_View.ClientSize();
    const double x0 = scroll.x() / scale, y0 = scroll.y() / scale;
    const double x1 = (scroll.x() + client.width()) / scale;
    const double y1 = (scroll.y() + client.height()) / scale;
    const std::uint32_t tx0 = std::uint32_t(std::clamp(x0 / tw, 0.0, double(across)));
    const std::uint32_t ty0 = std::uint32_t(std::clamp(y0 / tl, 0.0, double(down)));
    const std::uint32_t tx1 = std::uint32_t(std::clamp(std::ceil(x1 / tw), 0.0, double(across)));
    const std::uint32_t ty1 = std::uint32_t(std::clamp(std::ceil(y1 / tl), 0.0, double(down)));

    // Missing tiles, the middle of the view first.
    std::vector<std::uint32_t> missing;
    for (std::uint32_t ty = ty0; ty < ty1; ++ty)
        for (std::uint32_t tx = tx0; tx < tx1; ++tx)
        {
            const std::uint32_t index = ty * across + tx;
            if (m_Tiles.count(index) == 0)
                missing.push_back(index);
        }
    if (missing.empty())
        return;
    const double cx = (tx0 + tx1) / 2.0, cy = (ty0 + ty1) / 2.0;
    std::sort(missing.begin(), missing.end(),
              [&](std::uint32_t a, std::uint32_t b)
              {
                  const double da = std::hypot(a % across + 0.5 - cx, a / across + 0.5 - cy);
                  const double db = std::hypot(b % across + 0.5 - cx, b / across + 0.5 - cy);
                  return da < db || (da == db && a < b);
              });
    // What is already on its way is not asked for again: the view reports its area often.
    std::vector<std::uint32_t> sortedMissing = missing, sortedOutstanding = m_Outstanding;
    std::sort(sortedMissing.begin(), sortedMissing.end());
    std::sort(sortedOutstanding.begin(), sortedOutstanding.end());
    if (std::includes(sortedOutstanding.begin(), sortedOutstanding.end(), sortedMissing.begin(),
                      sortedMissing.end()))
        return;
    m_Outstanding = missing;

    const std::vector<bool> included = m_Included;
    const std::uint64_t limit = std::uint64_t(m_Limit);
    m_Worker->Submit(
        WKRN_CoverageWorker::OverlayLane,
        [this, missing, across, tw, tl, included,
         limit](IMPN_InkCoverage& counter, const WKRN_CoverageWorker::Context& context)
        {
            for (std::uint32_t index : missing)
            {
                if (context.Stopped())
                    return;
                IMPN_Rect rect;
                rect.left = std::int32_t((index % across) * tw);
                rect.top = std::int32_t((index / across) * tl);
                rect.width = std::int32_t(tw);
                rect.height = std::int32_t(tl);
                IMPN_InkCoverageCounts counts;
                const std::uint32_t cellsAcross = tw / kCell, cellsDown = tl / kCell;
                std::vector<std::uint8_t> finest(std::size_t(cellsAcross) * cellsDown, 0);
                if (counter.CountCells(rect, kCell, counts))
                    for (std::size_t r = 0; r < counts.Rows() && r < cellsDown; ++r)
                        for (std::size_t c = 0; c < counts.Columns() && c < cellsAcross; ++c)
                        {
                            const std::uint64_t inked = counts.CellInked(r, c, included);
                            if (inked * 100 > limit * counts.CellPixels(r, c))
                                finest[r * cellsAcross + c] = 1;
                        }
                TileCells cells = TileCells::FromFinest(cellsAcross, cellsDown, std::move(finest));
                const QRect device(rect.left, rect.top, rect.width, rect.height);
                context.Deliver([this, index, cells = std::move(cells), device]() mutable
                                { Deliver(index, std::move(cells), device); });
            }
        });
}

void WKRN_InkLimitOverlay::Deliver(std::uint32_t tileIndex, TileCells cells,
                                   const QRect& deviceRect)
{
    m_Outstanding.erase(std::remove(m_Outstanding.begin(), m_Outstanding.end(), tileIndex),
                        m_Outstanding.end());
    const bool any = cells.any;
    m_Tiles[tileIndex] = std::move(cells);
    if (!any || !m_Enabled)
        return;
    const double scale = IMPN_SheetView::Scale(m_View.GetLevel());
    const QRect level(int(std::floor(deviceRect.left() * scale)),
                      int(std::floor(deviceRect.top() * scale)),
                      int(std::ceil(deviceRect.width() * scale)) + 1,
                      int(std::ceil(deviceRect.height() * scale)) + 1);
    m_View.DrawOverlayNow(level);
}

void WKRN_InkLimitOverlay::Paint(QPainter& painter, const QRect& levelRect, int level) const
{
    if (!m_Enabled || !m_Worker || m_Tiles.empty() || levelRect.isEmpty() ||
        m_Worker->TileWidth() == 0)
        return;
    const double scale = IMPN_SheetView::Scale(level);
    // Device pixels per level pixel, and the reduction whose cells are about one level pixel.
    const double perPixel = 1.0 / scale;
    std::size_t reduction = 0;
    while (reduction + 1 < kReductions && double(kCell << (reduction + 1)) <= perPixel)
        ++reduction;
    const std::uint32_t cellSize = kCell << reduction;
    const std::uint32_t tw = m_Worker->TileWidth(), tl = m_Worker->TileLength();
    const std::uint32_t across = (m_Worker->ImageWidth() + tw - 1) / tw;

    const double dx0 = levelRect.left() / scale, dy0 = levelRect.top() / scale;
    const double dx1 = (levelRect.left() + levelRect.width()) / scale;
    const double dy1 = (levelRect.top() + levelRect.height()) / scale;
    QImage hatch(levelRect.size(), QImage::Format_ARGB32_Premultiplied);
    hatch.fill(Qt::transparent);
    bool drawn = false;
    for (const auto& [index, cells] : m_Tiles)
    {
        if (!cells.any)
            continue;
        const double left = double((index % across) * tw), top = double((index / across) * tl);
        if (left >= dx1 || top >= dy1 || left + tw <= dx0 || top + tl <= dy0)
            continue;
        const std::uint32_t cw = cells.Across(reduction), ch = cells.Down(reduction);
        const std::uint32_t cx0 = std::uint32_t(std::max(0.0, (dx0 - left) / cellSize));
        const std::uint32_t cy0 = std::uint32_t(std::max(0.0, (dy0 - top) / cellSize));
        const std::uint32_t cx1 =
            std::min<std::uint32_t>(cw, std::uint32_t(std::ceil((dx1 - left) / cellSize)));
        const std::uint32_t cy1 =
            std::min<std::uint32_t>(ch, std::uint32_t(std::ceil((dy1 - top) / cellSize)));
        for (std::uint32_t cy = cy0; cy < cy1; ++cy)
            for (std::uint32_t cx = cx0; cx < cx1; ++cx)
            {
                if (!cells.At(reduction, cx, cy))
                    continue;
                // The cell's level pixels, every pixel that the cell touches.
                const double ax = left + double(cx) * cellSize, ay = top + double(cy) * cellSize;
                const int px0 = std::max(levelRect.left(), int(std::floor(ax * scale)));
                const int py0 = std::max(levelRect.top(), int(std::floor(ay * scale)));
                const int px1 = std::min(levelRect.left() + levelRect.width(),
                                         int(std::ceil((ax + cellSize) * scale)));
                const int py1 = std::min(levelRect.top() + levelRect.height(),
                                         int(std::ceil((ay + cellSize) * scale)));
                for (int y = py0; y < py1; ++y)
                {
                    auto* row = reinterpret_cast<QRgb*>(hatch.scanLine(y - levelRect.top()));
                    for (int x = px0; x < px1; ++x)
                        if (const QRgb c = HatchAt(x, y))
                        {
                            row[x - levelRect.left()] = c;
                            drawn = true;
                        }
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
