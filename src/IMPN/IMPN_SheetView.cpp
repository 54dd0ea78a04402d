#include "IMPN/IMPN_SheetView.h"

#include "IMPN/IMPN_OverviewImage.h"
#include "IMPN/IMPN_RenderLevel.h"
#include "IMPN/IMPN_RenderTile.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <utility>

namespace
{
std::uint32_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// A painting slice ends once the tick count has moved on by this many milliseconds.
constexpr std::uint32_t kSliceMilliseconds = 2;

// Scales between these never come out of a power-of-two zoom, and keep the loops below finite
// for degenerate rectangles.
constexpr double kLargestStep = 4096.0;
} // namespace

IMPN_SheetView::IMPN_SheetView(IMPN_ViewPreferences preferences,
                               std::function<std::uint32_t()> clock)
    : m_Preferences(std::move(preferences)), m_Clock(std::move(clock))
{
    if (!m_Clock)
        m_Clock = SteadyMilliseconds;
}

IMPN_SheetView::~IMPN_SheetView()
{
    if (m_Sheet)
        m_Sheet->ReleaseViewer();
}

double IMPN_SheetView::Scale(int level)
{
    return std::ldexp(8.0, -level);
}

/* Takes a reference to the new sheet before the old one goes, so that showing the same sheet
   again never deletes it in between. Pending tile requests point at the old sheet's renderers
   and are dropped with it. */
void IMPN_SheetView::SetSheet(IMPN_Sheet* sheet)
{
    StopPainting();
    m_PendingUnderneath.clear();
    m_PendingTop.clear();
    if (m_Pool)
        for (IMPN_Surface* surface : {GetTopSurface(), GetUnderneathSurface()})
            if (surface && surface->GetRenderer())
                surface->GetRenderer()->CancelQueued();
    m_UnderneathOverlaysPending = false;
    m_TopOverlaysPending = false;
    // The old sheet's tiles are no longer on screen here, should the sheet live on elsewhere.
    if (m_Sheet && m_Sheet.Get() != sheet)
        for (IMPN_Surface* surface : {&m_Sheet->GetFrontSurface(), &m_Sheet->GetBackSurface()})
            if (IMPN_SurfaceRenderer* renderer = surface->GetRenderer())
                renderer->ClearVisibleTiles();
    EndProgress();
    // A new sheet may reuse the addresses of the old one's surfaces.
    m_Overviews[0].reset();
    m_Overviews[1].reset();
    // Counted before the old one goes, so that showing the same sheet again keeps its tiles.
    if (sheet)
        sheet->AddViewer();
    if (m_Sheet)
        m_Sheet->ReleaseViewer();
    m_Sheet = IMPN_SheetReference(sheet);
    m_FlipAxis = 0;
    m_ClipPathsAvailable = false;
    if (!sheet)
    {
        SetExtent(0, 0, false);
        Refresh();
        return;
    }

    const IMPN_ColorBGR& paper = m_Preferences.defaultSurfaceColor;
    sheet->GetFrontSurface().SetPaperColor(paper[0], paper[1], paper[2]);
    sheet->GetBackSurface().SetPaperColor(paper[0], paper[1], paper[2]);
    sheet->Prepare(m_Pool);
    SetPreferences(m_Preferences); // the tile memory budget reaches the renderers

    m_FlipAxis = sheet->GetFlipAxis();
    m_BackupMode = BackupPressSheets;
    m_ClipPathsAvailable =
        sheet->GetFrontSurface().HasClipPaths() || sheet->GetBackSurface().HasClipPaths();
    SetExtent(GetLevelWidth(), GetLevelHeight(), false);

    if (m_Preferences.zoomToFitWindowOnOpen)
        FitToWindow(false);
    if (m_Preferences.showImpositionOnOpen)
        ShowImposition();
    Refresh();
}

std::size_t IMPN_SheetView::CloseIdleReaders()
{
    std::size_t closed = 0;
    if (m_Sheet)
        for (IMPN_Surface* surface : {&m_Sheet->GetFrontSurface(), &m_Sheet->GetBackSurface()})
            if (IMPN_SurfaceRenderer* renderer = surface->GetRenderer())
                closed += renderer->CloseIdleReaders();
    return closed;
}

void IMPN_SheetView::SetPreferences(const IMPN_ViewPreferences& preferences)
{
    m_Preferences = preferences;
    if (!m_Sheet)
        return;
    for (IMPN_Surface* surface : {&m_Sheet->GetFrontSurface(), &m_Sheet->GetBackSurface()})
        if (IMPN_SurfaceRenderer* renderer = surface->GetRenderer())
            renderer->SetMemoryBudget(m_Preferences.tileMemoryBudget);
}

void IMPN_SheetView::SetBackupMode(std::int32_t mode)
{
    if (mode >= BackupPlates && mode <= BackupPages)
        m_BackupMode = mode;
}

IMPN_Surface* IMPN_SheetView::GetTopSurface() const
{
    if (!m_Sheet)
        return nullptr;
    return m_Flipped ? &m_Sheet->GetBackSurface() : &m_Sheet->GetFrontSurface();
}

IMPN_Surface* IMPN_SheetView::GetUnderneathSurface() const
{
    if (!m_Sheet)
        return nullptr;
    return m_Flipped ? &m_Sheet->GetFrontSurface() : &m_Sheet->GetBackSurface();
}

const IMPN_RenderLevel* IMPN_SheetView::LevelRecord(int level) const
{
    if (!m_Sheet || level < 0 || level >= kLevelCount)
        return nullptr;
    const IMPN_Surface& front = m_Sheet->GetFrontSurface();
    const IMPN_Surface& back = m_Sheet->GetBackSurface();
    const IMPN_Surface* source =
        front.HasSeparations() ? &front : (back.HasSeparations() ? &back : nullptr);
    if (!source || !source->GetRenderer())
        return nullptr;
    return &source->GetRenderer()->GetLevel(level);
}

std::int32_t IMPN_SheetView::LevelWidth(int level) const
{
    const IMPN_RenderLevel* record = LevelRecord(level);
    return record ? record->width : 0;
}

std::int32_t IMPN_SheetView::LevelHeight(int level) const
{
    const IMPN_RenderLevel* record = LevelRecord(level);
    return record ? record->height : 0;
}

std::int32_t IMPN_SheetView::GetBackupDx() const
{
    return m_Sheet ? m_Sheet->GetBackupDx(m_BackupMode, m_Level) : 0;
}

std::int32_t IMPN_SheetView::GetBackupDy() const
{
    return m_Sheet ? m_Sheet->GetBackupDy(m_BackupMode, m_Level) : 0;
}

bool IMPN_SheetView::IsAnyImpositionShown() const
{
    return m_PressSheetEdge || m_BleedEdge || m_PageEdge || m_PageNumbers ||
           (m_ClipPathsShown && m_ClipPathsAvailable);
}

/* Clip paths take part only when the sheet has them; otherwise a job without clip paths could
   never be "all shown", and Show Imposition could never turn the overlays off again. */
bool IMPN_SheetView::IsAllImpositionShown() const
{
    return m_PressSheetEdge && m_BleedEdge && m_PageEdge && m_PageNumbers &&
           (m_ClipPathsShown || !m_ClipPathsAvailable);
}

void IMPN_SheetView::FitToWindow(bool redraw)
{
    IMPN_Rect view;
    GetViewRect(view);
    int level = kLevelCount - 1;
    for (int i = 0; i < kLevelCount - 1; ++i)
    {
        if (LevelWidth(i) < view.width && LevelHeight(i) < view.height)
        {
            level = i;
            break;
        }
    }
    ZoomToLevel(level, true);
    if (redraw)
        Redraw();
}

void IMPN_SheetView::ZoomToLevelAt(int level, std::int32_t x, std::int32_t y, bool redraw)
{
    if (level < 0 || level >= kLevelCount)
        return;
    ZoomAt(Scale(level), x, y, false);
    if (redraw)
        Redraw();
}

void IMPN_SheetView::ZoomToLevel(int level, bool redraw)
{
    if (level < 0 || level >= kLevelCount)
        return;
    Zoom(Scale(level), false);
    if (redraw)
        Redraw();
}

void IMPN_SheetView::ZoomAt(double scale, std::int32_t x, std::int32_t y, bool redraw)
{
    StopPainting();
    const double old = Scale(m_Level);
    int level = kLevelCount - 1;
    for (int i = 0; i < kLevelCount; ++i)
    {
        if (scale >= Scale(i))
        {
            level = i;
            break;
        }
    }
    m_Level = level;
    const double g = Scale(level) / old;
    SetExtent(GetLevelWidth(), GetLevelHeight(), false);

    IMPN_Rect view;
    GetViewRect(view);
    const auto cx = static_cast<std::int64_t>(std::trunc(g * x)) - view.width / 2;
    const auto cy = static_cast<std::int64_t>(std::trunc(g * y)) - view.height / 2;
    ScrollTo(static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy), false);
    if (redraw)
        Redraw();
}

void IMPN_SheetView::Zoom(double scale, bool redraw)
{
    IMPN_Rect view;
    GetViewRect(view);
    const std::int32_t width = GetLevelWidth();
    const std::int32_t height = GetLevelHeight();
    const std::int32_t x = width < view.width ? width / 2 : view.left + view.width / 2;
    const std::int32_t y = height < view.height ? height / 2 : view.top + view.height / 2;
    ZoomAt(scale, x, y, redraw);
}

/* The scroll that centres the rectangle uses the zoom actually reached rather than the power of
   two asked for: at 8:1 or 1:512 the zoom cannot follow, and the rectangle must still end up in
   the middle of the window. */
void IMPN_SheetView::ZoomToRect(double top, double left, double width, double height)
{
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height))
        return;
    IMPN_Rect view;
    GetViewRect(view);
    if (view.width <= 0 || view.height <= 0)
        return;

    const double rw = view.width / width;
    const double rh = view.height / height;
    if (rw > rh)
    {
        const double wider = view.width / rh;
        left -= (wider - width) / 2;
        width = wider;
    }
    else if (rw < rh)
    {
        const double taller = view.height / rw;
        top -= (taller - height) / 2;
        height = taller;
    }

    // The largest power of two at which the widened rectangle still fits the window: a larger
    // one would cut off part of what the user asked to see.
    const double h = view.height / height;
    const int oldLevel = m_Level;
    double m = 1;
    while (m * 2 <= h && m < kLargestStep)
        m *= 2;
    while (m > h && m > 1 / kLargestStep)
        m /= 2;
    if (m != 1)
        Zoom(m * Scale(m_Level), false);

    const double f = Scale(m_Level) / Scale(oldLevel);
    GetViewRect(view);
    const double cx = (left + width / 2) * f - view.width / 2.0;
    const double cy = (top + height / 2) * f - view.height / 2.0;
    ScrollTo(static_cast<std::int32_t>(std::trunc(cx)), static_cast<std::int32_t>(std::trunc(cy)),
             false);
}

void IMPN_SheetView::SetOpacity(int percent)
{
    if (percent >= 0 && percent <= 100)
    {
        if (IMPN_Surface* top = GetTopSurface())
            top->SetOpacity(percent);
    }
    Refresh();
}

void IMPN_SheetView::TogglePageEdges()
{
    m_PageEdge = !m_PageEdge;
    Refresh();
}

void IMPN_SheetView::TogglePageNumbers()
{
    m_PageNumbers = !m_PageNumbers;
    Refresh();
}

void IMPN_SheetView::ShowImposition()
{
    m_PressSheetEdge = true;
    m_BleedEdge = true;
    m_PageEdge = true;
    m_PageNumbers = true;
    m_ClipPathsShown = m_ClipPathsAvailable;
    Refresh();
}

void IMPN_SheetView::HideImposition()
{
    m_PressSheetEdge = false;
    m_BleedEdge = false;
    m_PageEdge = false;
    m_PageNumbers = false;
    m_ClipPathsShown = false;
    Refresh();
}

void IMPN_SheetView::FlipSheet()
{
    m_Flipped = !m_Flipped;
    Redraw();
}

/* Tile origins covering [first, last] along both axes, in the surface's own tile grid. Integer
   division truncates toward zero, and only the outer ends are limited, as the window has always
   asked for them. */
IMPN_SheetView::TileRange IMPN_SheetView::RangeOf(const IMPN_Surface& surface, std::int64_t left,
                                                  std::int64_t right, std::int64_t top,
                                                  std::int64_t bottom) const
{
    TileRange range;
    const IMPN_SurfaceRenderer* renderer = surface.GetRenderer();
    if (!renderer || m_Level < 0 || m_Level >= kLevelCount)
        return range;
    const IMPN_RenderLevel& level = renderer->GetLevel(m_Level);
    if (level.tileWidth <= 0 || level.tileHeight <= 0 || level.tilesAcross <= 0 ||
        level.tilesDown <= 0)
        return range;
    const std::int64_t tw = level.tileWidth;
    const std::int64_t th = level.tileHeight;
    std::int64_t firstLeft = tw * (left / tw);
    std::int64_t lastLeft = tw * (right / tw);
    std::int64_t firstTop = th * (top / th);
    std::int64_t lastTop = th * (bottom / th);
    firstLeft = std::max<std::int64_t>(firstLeft, 0);
    firstTop = std::max<std::int64_t>(firstTop, 0);
    lastLeft = std::min<std::int64_t>(lastLeft, tw * (level.tilesAcross - 1));
    lastTop = std::min<std::int64_t>(lastTop, th * (level.tilesDown - 1));
    range.firstLeft = static_cast<std::int32_t>(firstLeft);
    range.lastLeft = static_cast<std::int32_t>(lastLeft);
    range.firstTop = static_cast<std::int32_t>(firstTop);
    range.lastTop = static_cast<std::int32_t>(lastTop);
    range.tileWidth = level.tileWidth;
    range.tileHeight = level.tileHeight;
    return range;
}

IMPN_SheetView::TileRange IMPN_SheetView::VisibleTileRange(const IMPN_Surface& surface)
{
    IMPN_Rect view;
    GetViewRect(view);
    return RangeOf(surface, view.left, std::int64_t{view.left} + view.width, view.top,
                   std::int64_t{view.top} + view.height);
}

/* The window rectangle taken back through the underneath placement (mirror about the level
   picture, shifted by the backup offsets), in the underneath surface's level pixels. */
IMPN_SheetView::TileRange IMPN_SheetView::UnderneathTileRange(const IMPN_Surface& surface)
{
    if (m_FlipAxis != 1 && m_FlipAxis != 2)
        return TileRange{};
    IMPN_Rect view;
    GetViewRect(view);
    const std::int64_t wl = GetLevelWidth();
    const std::int64_t hl = GetLevelHeight();
    const std::int64_t d = GetBackupDx();
    const std::int64_t e = GetBackupDy();
    const std::int64_t left = view.left, top = view.top;
    const std::int64_t right = left + view.width, bottom = top + view.height;
    if (m_FlipAxis == 1)
        return RangeOf(surface, wl - d - right, wl - d - left, top + e, bottom + e);
    return RangeOf(surface, left + d, right + d, hl - e - bottom, hl - e - top);
}

int IMPN_SheetView::TopOpacity() const
{
    const IMPN_Surface* top = GetTopSurface();
    return top && top->HasSeparations() ? top->GetOpacity() : 0;
}

bool IMPN_SheetView::IsUnderneathDrawn() const
{
    const IMPN_Surface* under = GetUnderneathSurface();
    return under && under->HasSeparations() && TopOpacity() < 100 &&
           (m_FlipAxis == 1 || m_FlipAxis == 2);
}

bool IMPN_SheetView::TopFill() const
{
    const IMPN_Surface* top = GetTopSurface();
    const IMPN_Surface* under = GetUnderneathSurface();
    return top && top->GetOpacity() < 100 && !(under && under->HasSeparations());
}

void IMPN_SheetView::DrawUnderneathTile(IMPN_DrawTarget& target, const IMPN_RenderTile& tile,
                                        const IMPN_ColorBGR& paper, bool fill)
{
    const IMPN_Rect rect{tile.top, tile.left, tile.width, tile.height};
    if (fill)
        FillTileBackground(target, rect, paper);
    DrawTile(tile, target, rect);
}

void IMPN_SheetView::DrawTopTile(IMPN_DrawTarget& target, const IMPN_RenderTile& tile,
                                 const IMPN_ColorBGR& paper, bool fill)
{
    const IMPN_Rect rect{tile.top, tile.left, tile.width, tile.height};
    if (fill)
        FillTileBackground(target, rect, paper);
    DrawTile(tile, target, rect);
}

void IMPN_SheetView::AppendRequests(std::deque<TileRequest>& list, IMPN_Surface& surface,
                                    const TileRange& range)
{
    if (range.IsEmpty())
        return;
    for (std::int64_t top = range.firstTop; top <= range.lastTop; top += range.tileHeight)
    {
        for (std::int64_t left = range.firstLeft; left <= range.lastLeft; left += range.tileWidth)
        {
            TileRequest request;
            request.renderer = surface.GetRenderer();
            request.left = static_cast<std::int32_t>(left);
            request.top = static_cast<std::int32_t>(top);
            request.opacity = surface.GetOpacity();
            request.stamp = surface.GetLatestChange();
            request.paper = surface.PaperColor();
            list.push_back(request);
        }
    }
}

const IMPN_RenderTile* IMPN_SheetView::FetchTile(const TileRequest& request)
{
    if (!request.renderer)
        return nullptr;
    return request.renderer->GetTile(request.top, request.left, m_Level, request.stamp);
}

/* Results are collected with the request's stamp, the surface's latest when the frame was queued:
   a colour changed since queued a new frame with a newer stamp, so nothing older is drawn. */
const IMPN_RenderTile* IMPN_SheetView::RequestTile(const TileRequest& request)
{
    if (!request.renderer)
        return nullptr;
    request.renderer->CollectResults(request.stamp);
    return request.renderer->RequestTile(request.top, request.left, m_Level, request.stamp,
                                         *m_Pool);
}

void IMPN_SheetView::TileNotReady(IMPN_DrawTarget&, const TileRequest&, bool) {}

void IMPN_SheetView::MakeAll(const std::deque<TileRequest>& requests)
{
    if (!m_Pool)
        return;
    std::vector<IMPN_SurfaceRenderer::Position> positions;
    IMPN_SurfaceRenderer* renderer = nullptr;
    std::uint32_t stamp = 0;
    for (const TileRequest& request : requests)
    {
        if (!request.renderer)
            continue;
        renderer = request.renderer;
        stamp = request.stamp;
        positions.push_back({request.top, request.left});
    }
    // The requests of one list are of one surface, so of one renderer and one stamp.
    if (renderer)
        renderer->MakeTiles(positions, m_Level, stamp, m_Pool);
}

bool IMPN_SheetView::PaintReady(IMPN_DrawTarget& target, std::deque<TileRequest>& list,
                                bool underneath, bool fill, std::uint32_t start)
{
    for (auto it = list.begin(); it != list.end();)
    {
        const IMPN_RenderTile* tile = RequestTile(*it);
        if (!tile && it->renderer && it->renderer->GetPendingCount() > 0)
        {
            if (!it->announced)
            {
                it->announced = true;
                TileNotReady(target, *it, underneath);
            }
            ++it;
            continue;
        }
        if (tile)
        {
            if (underneath)
            {
                BeginUnderneath(target, it->opacity);
                DrawUnderneathTile(target, *tile, it->paper, it->opacity < 100);
                EndUnderneath(target);
            }
            else
            {
                BeginTop(target, it->opacity);
                DrawTopTile(target, *tile, it->paper, fill);
                EndTop(target);
            }
        }
        it = list.erase(it);
        if (DeadlinePassed(start))
            return false;
    }
    return list.empty();
}

void IMPN_SheetView::DrawOverlays(IMPN_DrawTarget& target, IMPN_Surface& surface, bool underneath)
{
    if (m_ImageFrame)
        DrawImageFrame(target, IMPN_Rect{0, 0, GetLevelWidth(), GetLevelHeight()}, underneath);
    if (m_PressSheetEdge)
        DrawPressSheetEdge(target, surface.GetPressSheet(), underneath);
    if (m_BleedEdge)
    {
        DrawBleedEdges(target, surface.GetBleeds(), underneath);
        DrawBleedEdges(target, surface.GetMaxBleeds(), underneath);
    }
    if (m_PageEdge || m_PageNumbers)
        DrawPages(target, surface.GetPages(), underneath, m_PageEdge, m_PageNumbers);
    if (m_ClipPathsShown && m_ClipPathsAvailable)
        DrawClipPaths(target, surface, underneath);
}

void IMPN_SheetView::MarkVisibleTiles()
{
    IMPN_Surface* top = GetTopSurface();
    IMPN_Surface* under = GetUnderneathSurface();
    const auto mark = [this](IMPN_Surface* surface, const TileRange& range)
    {
        IMPN_SurfaceRenderer* renderer = surface ? surface->GetRenderer() : nullptr;
        if (!renderer)
            return;
        renderer->SetMemoryBudget(m_Preferences.tileMemoryBudget);
        if (range.IsEmpty())
            renderer->ClearVisibleTiles();
        else
            renderer->SetVisibleTiles(
                m_Level, range.firstLeft, range.firstTop,
                std::int32_t(std::int64_t(range.lastLeft) - range.firstLeft + range.tileWidth),
                std::int32_t(std::int64_t(range.lastTop) - range.firstTop + range.tileHeight));
    };
    mark(top, top && top->HasSeparations() ? VisibleTileRange(*top) : TileRange{});
    mark(under, IsUnderneathDrawn() ? UnderneathTileRange(*under) : TileRange{});
}

void IMPN_SheetView::QueueFrame()
{
    m_PendingUnderneath.clear();
    m_PendingTop.clear();
    MarkVisibleTiles();
    IMPN_Surface* top = GetTopSurface();
    IMPN_Surface* under = GetUnderneathSurface();
    // What the workers have not started for an earlier frame (another level, another region)
    // makes way; the tiles this frame still needs are asked for again.
    if (m_Pool)
        for (IMPN_Surface* surface : {top, under})
            if (surface && surface->GetRenderer())
                surface->GetRenderer()->CancelQueued();
    if (IsUnderneathDrawn())
        AppendRequests(m_PendingUnderneath, *under, UnderneathTileRange(*under));
    if (top && top->HasSeparations())
        AppendRequests(m_PendingTop, *top, VisibleTileRange(*top));
    m_UnderneathOverlaysPending = true;
    m_TopOverlaysPending = true;
    m_FrameStart = m_Clock();
    m_FrameTiles = static_cast<std::int32_t>(m_PendingUnderneath.size() + m_PendingTop.size());
    // A frame that replaces one whose progress shows goes on showing it.
    if (m_ProgressShown)
        ShowPaintProgress(0, m_FrameTiles);
    StartPainting();
    FrameQueued();
}

void IMPN_SheetView::DrawAll(IMPN_DrawTarget& target)
{
    IMPN_Surface* top = GetTopSurface();
    IMPN_Surface* under = GetUnderneathSurface();
    if (!top)
        return;
    MarkVisibleTiles();

    if (IsUnderneathDrawn())
    {
        std::deque<TileRequest> requests;
        AppendRequests(requests, *under, UnderneathTileRange(*under));
        MakeAll(requests);
        const bool fill = under->GetOpacity() < 100;
        for (const TileRequest& request : requests)
        {
            BeginUnderneath(target, request.opacity);
            if (const IMPN_RenderTile* tile = FetchTile(request))
                DrawUnderneathTile(target, *tile, request.paper, fill);
            EndUnderneath(target);
        }
        BeginUnderneath(target, under->GetOpacity());
        DrawOverlays(target, *under, true);
        EndUnderneath(target);
    }

    if (top->HasSeparations())
    {
        std::deque<TileRequest> requests;
        AppendRequests(requests, *top, VisibleTileRange(*top));
        MakeAll(requests);
        const bool fill = TopFill();
        for (const TileRequest& request : requests)
        {
            BeginTop(target, request.opacity);
            if (const IMPN_RenderTile* tile = FetchTile(request))
                DrawTopTile(target, *tile, request.paper, fill);
            EndTop(target);
        }
    }
    BeginTop(target, top->GetOpacity());
    DrawOverlays(target, *top, false);
    EndTop(target);
}

/* Differences of the unsigned tick count survive its wrap-around, where comparing multiples of
   the two readings would not. */
bool IMPN_SheetView::DeadlinePassed(std::uint32_t start) const
{
    return static_cast<std::uint32_t>(m_Clock() - start) >= kSliceMilliseconds;
}

void IMPN_SheetView::PaintStep(IMPN_DrawTarget& target)
{
    PaintItems(target);
    ReportProgress();
}

void IMPN_SheetView::PaintItems(IMPN_DrawTarget& target)
{
    IMPN_Surface* top = GetTopSurface();
    IMPN_Surface* under = GetUnderneathSurface();
    if (!top)
    {
        m_PendingUnderneath.clear();
        m_PendingTop.clear();
        StopPainting();
        return;
    }
    const std::uint32_t start = m_Clock();

    if (m_Pool && !PaintReady(target, m_PendingUnderneath, true, false, start))
        return;
    while (!m_PendingUnderneath.empty())
    {
        const TileRequest request = m_PendingUnderneath.front();
        BeginUnderneath(target, request.opacity);
        if (const IMPN_RenderTile* tile = FetchTile(request))
            DrawUnderneathTile(target, *tile, request.paper, request.opacity < 100);
        EndUnderneath(target);
        m_PendingUnderneath.pop_front();
        if (DeadlinePassed(start))
            return;
    }

    if (m_UnderneathOverlaysPending)
    {
        if (under->HasSeparations() && TopOpacity() < 100)
        {
            BeginUnderneath(target, under->GetOpacity());
            DrawOverlays(target, *under, true);
            EndUnderneath(target);
        }
        m_UnderneathOverlaysPending = false;
        if (DeadlinePassed(start))
            return;
    }

    const bool fill = TopFill();
    if (m_Pool && !PaintReady(target, m_PendingTop, false, fill, start))
        return;
    while (!m_PendingTop.empty())
    {
        const TileRequest request = m_PendingTop.front();
        BeginTop(target, request.opacity);
        if (const IMPN_RenderTile* tile = FetchTile(request))
            DrawTopTile(target, *tile, request.paper, fill);
        EndTop(target);
        m_PendingTop.pop_front();
        if (DeadlinePassed(start))
            return;
    }

    if (m_TopOverlaysPending)
    {
        BeginTop(target, top->GetOpacity());
        DrawOverlays(target, *top, false);
        EndTop(target);
        m_TopOverlaysPending = false;
    }
    StopPainting();
}

void IMPN_SheetView::ReportProgress()
{
    const bool complete = m_PendingUnderneath.empty() && m_PendingTop.empty() &&
                          !m_UnderneathOverlaysPending && !m_TopOverlaysPending;
    if (complete)
    {
        EndProgress();
        return;
    }
    if (!m_ProgressShown &&
        static_cast<std::uint32_t>(m_Clock() - m_FrameStart) < kProgressDelayMilliseconds)
        return;
    m_ProgressShown = true;
    const auto pending =
        static_cast<std::int32_t>(m_PendingUnderneath.size() + m_PendingTop.size());
    ShowPaintProgress(std::max(0, m_FrameTiles - pending), m_FrameTiles);
}

void IMPN_SheetView::EndProgress()
{
    if (!m_ProgressShown)
        return;
    m_ProgressShown = false;
    ShowPaintProgress(0, 0);
}

const IMPN_OverviewImage* IMPN_SheetView::OverviewOf(IMPN_Surface& surface)
{
    if (!m_Sheet || !surface.HasSeparations())
        return nullptr;
    std::unique_ptr<IMPN_OverviewImage>* slot = nullptr;
    if (&surface == &m_Sheet->GetFrontSurface())
        slot = &m_Overviews[0];
    else if (&surface == &m_Sheet->GetBackSurface())
        slot = &m_Overviews[1];
    if (!slot)
        return nullptr;
    if (!*slot || !(*slot)->IsCurrent(surface))
        *slot = std::make_unique<IMPN_OverviewImage>(surface, m_Pool);
    return (*slot)->GetBaseLevel() < kLevelCount ? slot->get() : nullptr;
}

namespace
{
/* Copies the part of scratch (level pixels, within usedWidth x usedHeight of it) that source
   covers, source being a picture of a level `shift` steps coarser: each of its pixels becomes a
   block of 2^shift x 2^shift. */
void ScaleInto(IMPN_RenderTile& scratch, std::int32_t usedWidth, std::int32_t usedHeight,
               const IMPN_RenderTile& source, int shift)
{
    const std::int64_t left = scratch.left, top = scratch.top;
    const std::int64_t x0 = std::max<std::int64_t>(0, (std::int64_t(source.left) << shift) - left);
    const std::int64_t x1 = std::min<std::int64_t>(
        usedWidth, ((std::int64_t(source.left) + source.width) << shift) - left);
    if (x0 >= x1)
        return;
    const std::int32_t sx0 = static_cast<std::int32_t>(((left + x0) >> shift) - source.left);
    const std::int32_t sx1 = static_cast<std::int32_t>(((left + x1 - 1) >> shift) - source.left);
    std::vector<std::uint8_t> row(3 * std::size_t(sx1 - sx0 + 1));
    std::int64_t rowRead = -1;
    for (std::int32_t y = 0; y < usedHeight; ++y)
    {
        const std::int64_t sy = ((top + y) >> shift) - source.top;
        if (sy < 0 || sy >= source.height)
            continue;
        if (sy != rowRead)
        {
            source.CopyRow(static_cast<std::int32_t>(sy), sx0, sx1 - sx0 + 1, row.data());
            rowRead = sy;
        }
        std::uint8_t* dst = scratch.pixels.get() + std::size_t(y) * scratch.rowBytes;
        for (std::int64_t x = x0; x < x1; ++x)
            std::memcpy(dst + 3 * x, row.data() + 3 * (((left + x) >> shift) - source.left - sx0),
                        3);
    }
}
} // namespace

/* Coarser pictures are tried from the finest down, so that zooming in shows the most detail
   already made; a coarser level stands in only when every tile it needs for the request is
   made, and the overview only at or below its reduced images' scale. */
const IMPN_RenderTile* IMPN_SheetView::StandIn(const TileRequest& request, IMPN_RenderTile& scratch)
{
    IMPN_SurfaceRenderer* renderer = request.renderer;
    if (!renderer)
        return nullptr;
    if (const IMPN_RenderTile* exact =
            renderer->FindTile(request.top, request.left, m_Level, request.stamp))
        return exact;
    const IMPN_RenderLevel& level = renderer->GetLevel(m_Level);
    if (level.tileWidth <= 0 || level.tileHeight <= 0 || request.left >= level.width ||
        request.top >= level.height)
        return nullptr;

    const std::int32_t usedWidth = std::min(level.tileWidth, level.width - request.left);
    const std::int32_t usedHeight = std::min(level.tileHeight, level.height - request.top);
    auto prepare = [&]
    {
        const std::size_t bytes = std::size_t(level.tileWidth) * std::size_t(level.tileHeight) * 3;
        scratch.Allocate(bytes);
        std::memset(scratch.pixels.get(), 255, bytes);
        scratch.rowBytes = static_cast<std::uint32_t>(std::size_t(level.tileWidth) * 3);
        scratch.left = request.left;
        scratch.top = request.top;
        scratch.width = level.tileWidth;
        scratch.height = level.tileHeight;
        scratch.kind = IMPN_TileKind::Colour;
        scratch.palette = nullptr;
        scratch.paletteCount = 0;
    };

    IMPN_Surface* top = GetTopSurface();
    // The reduced images show the surface's own picture, not one shown in its place.
    const IMPN_OverviewImage* overview = top && top->ShowsOwnPicture() ? OverviewOf(*top) : nullptr;
    if (overview && m_Level >= overview->GetFirstLevel())
        if (const IMPN_RenderTile* picture = overview->Picture(m_Level))
        {
            prepare();
            ScaleInto(scratch, usedWidth, usedHeight, *picture, 0);
            return &scratch;
        }

    std::vector<const IMPN_RenderTile*> sources;
    for (int coarse = m_Level + 1; coarse < kLevelCount; ++coarse)
    {
        const int shift = coarse - m_Level;
        const IMPN_RenderLevel& record = renderer->GetLevel(coarse);
        if (record.width <= 0 || record.height <= 0 || record.tileWidth <= 0 ||
            record.tileHeight <= 0)
            break;
        const std::int32_t cx0 = request.left >> shift;
        const std::int32_t cy0 = request.top >> shift;
        const std::int32_t cx1 =
            std::min((request.left + usedWidth - 1) >> shift, record.width - 1);
        const std::int32_t cy1 =
            std::min((request.top + usedHeight - 1) >> shift, record.height - 1);
        sources.clear();
        bool complete = cx0 <= cx1 && cy0 <= cy1;
        for (std::int32_t ty = cy0 / record.tileHeight * record.tileHeight; complete && ty <= cy1;
             ty += record.tileHeight)
            for (std::int32_t tx = cx0 / record.tileWidth * record.tileWidth; complete && tx <= cx1;
                 tx += record.tileWidth)
            {
                const IMPN_RenderTile* tile = renderer->FindTile(ty, tx, coarse, request.stamp);
                complete = tile != nullptr;
                sources.push_back(tile);
            }
        if (complete)
        {
            prepare();
            for (const IMPN_RenderTile* tile : sources)
                ScaleInto(scratch, usedWidth, usedHeight, *tile, shift);
            return &scratch;
        }
        if (overview && coarse >= overview->GetFirstLevel())
            if (const IMPN_RenderTile* picture = overview->Picture(coarse))
            {
                prepare();
                ScaleInto(scratch, usedWidth, usedHeight, *picture, shift);
                return &scratch;
            }
    }
    return nullptr;
}

void IMPN_SheetView::PaintPlaceholders(IMPN_DrawTarget& target, const IMPN_Rect& area)
{
    IMPN_Surface* top = GetTopSurface();
    if (!top || m_PendingTop.empty() || IsUnderneathDrawn())
        return;
    const bool fill = TopFill();
    IMPN_RenderTile scratch;
    const std::int64_t areaRight = std::int64_t(area.left) + area.width;
    const std::int64_t areaBottom = std::int64_t(area.top) + area.height;
    for (const TileRequest& request : m_PendingTop)
    {
        if (!request.renderer)
            continue;
        const IMPN_RenderLevel& level = request.renderer->GetLevel(m_Level);
        if (request.left >= areaRight || request.top >= areaBottom ||
            std::int64_t(request.left) + level.tileWidth <= area.left ||
            std::int64_t(request.top) + level.tileHeight <= area.top)
            continue;
        const IMPN_RenderTile* tile = StandIn(request, scratch);
        if (!tile)
            continue;
        BeginTop(target, request.opacity);
        DrawTopTile(target, *tile, request.paper, fill);
        EndTop(target);
    }
}

void IMPN_SheetView::DropPendingTiles()
{
    StopPainting();
    if (m_Pool)
        for (IMPN_Surface* surface : {GetTopSurface(), GetUnderneathSurface()})
            if (surface && surface->GetRenderer())
                surface->GetRenderer()->CancelQueued();
    m_PendingUnderneath.clear();
    m_PendingTop.clear();
    m_UnderneathOverlaysPending = false;
    m_TopOverlaysPending = false;
    EndProgress();
}
