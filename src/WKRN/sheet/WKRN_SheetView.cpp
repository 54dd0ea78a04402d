#include "WKRN/sheet/WKRN_SheetView.h"

#include "IMPN/IMPN_RenderTile.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_TickCount.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_CanvasTarget.h"
#include "WKRN/sheet/WKRN_Cursors.h"
#include "WKRN/sheet/WKRN_SheetViewTools.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QThread>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
// One notch of a mouse wheel.
constexpr int kWheelDelta = 120;

// Level-pixel values beyond this come from no real navigation request.
constexpr double kLargestRequest = 1e9;

IMPN_ViewPreferences ViewPreferencesOf(const WKRN_PreferenceValues& values)
{
    IMPN_ViewPreferences preferences;
    preferences.defaultSurfaceColor = {values.DefaultSurfaceColor.blue,
                                       values.DefaultSurfaceColor.green,
                                       values.DefaultSurfaceColor.red};
    preferences.zoomToFitWindowOnOpen = values.ZoomToFitWindowOnOpen;
    preferences.showImpositionOnOpen = values.ShowImpositionOnOpen;
    preferences.tileMemoryBudget = std::size_t(std::max(values.TileMemory, 1)) << 20;
    return preferences;
}

/* The doubles of a navigation request: a copy in the payload, or, for a sent message, behind
   lParam. */
template <std::size_t N>
bool ReadDoubles(const WTLU_MessageEvent& message, std::array<double, N>& values)
{
    if (const auto* copy = std::any_cast<std::array<double, N>>(&message.Payload()))
        values = *copy;
    else if (message.LParam() != 0)
        std::memcpy(values.data(), reinterpret_cast<const double*>(message.LParam()),
                    sizeof(double) * N);
    else
        return false;
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

std::int32_t ToPosition(double v)
{
    return static_cast<std::int32_t>(std::clamp(std::trunc(v), -kLargestRequest, kLargestRequest));
}
} // namespace

WKRN_SheetView::WKRN_SheetView(QWidget* parent)
    : QAbstractScrollArea(parent), IMPN_SheetView(IMPN_ViewPreferences{}, &WKRN_TickCount),
      m_Tools(std::make_unique<WKRN_SheetViewTools>(*this)),
      m_TilePause([](int milliseconds)
                  { QThread::msleep(static_cast<unsigned long>(milliseconds)); })
{
    const std::int32_t threads = WKRN_Preferences::Current().RenderThreads;
    m_Pool = std::make_unique<IMPN_WorkerPool>(threads > 0 ? unsigned(threads) : 0u);
    SetWorkerPool(m_Pool.get());
    m_IdleTimer.start(kIdleCheckMilliseconds, this);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
    {
        bar->setSingleStep(LineStep());
        const Qt::Orientation orientation = bar->orientation();
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, orientation](int action) { OnScrollAction(orientation, action); });
    }
    OnViewportResized();
    SetCursorId(m_Tools->CursorFor(Qt::NoModifier, false));
}

WKRN_SheetView::~WKRN_SheetView()
{
    m_PaintTimer.stop();
    m_IdleTimer.stop();
}

void WKRN_SheetView::SetSheet(IMPN_Sheet* sheet)
{
    m_Tools->Cancel();
    SetPreferences(ViewPreferencesOf(WKRN_Preferences::Current()));
    IMPN_SheetView::SetSheet(sheet);
    SetCursorId(m_Tools->CursorFor(QGuiApplication::keyboardModifiers(), m_SpaceDown));
}

void WKRN_SheetView::FollowPreferences()
{
    SetPreferences(ViewPreferencesOf(WKRN_Preferences::Current()));
}

void WKRN_SheetView::SetTool(int tool)
{
    m_Tools->SetTool(tool);
    SetCursorId(m_Tools->CursorFor(QGuiApplication::keyboardModifiers(), m_SpaceDown));
}

int WKRN_SheetView::GetTool() const
{
    return m_Tools->GetTool();
}

QObject* WKRN_SheetView::NoticeReceiver() const
{
    return m_Receiver ? m_Receiver : parent();
}

void WKRN_SheetView::SetTilePause(std::function<void(int)> pause)
{
    m_TilePause = std::move(pause);
}

int WKRN_SheetView::LineStep() const
{
    return std::max(1, int(std::lround(kLinePixels * devicePixelRatioF())));
}

void WKRN_SheetView::SetOverscroll(int left, int right)
{
    left = std::max(left, 0);
    right = std::max(right, 0);
    if (left == m_OverscrollLeft && right == m_OverscrollRight)
        return;
    m_OverscrollLeft = left;
    m_OverscrollRight = right;
    UpdateScrollBars();
    ApplyScroll(m_ScrollX, m_ScrollY);
}

std::int64_t WKRN_SheetView::MinScrollX() const
{
    return -std::int64_t(std::lround(m_OverscrollLeft * PixelRatio()));
}

std::int64_t WKRN_SheetView::MaxScrollX() const
{
    const std::int64_t right = std::lround(m_OverscrollRight * PixelRatio());
    return std::max<std::int64_t>(0, std::int64_t{m_ExtentWidth} - ClientSize().width() + right);
}

void WKRN_SheetView::SetScrollTracking(bool tracking)
{
    horizontalScrollBar()->setTracking(tracking);
    verticalScrollBar()->setTracking(tracking);
}

/* The canvas holds one pixel per device pixel: at 1:1 one output pixel is one pixel of the
   screen, on a scaled screen too. Picture, scroll positions and tool points are in those pixels;
   only Qt's widget geometry is in logical ones. */
qreal WKRN_SheetView::PixelRatio() const
{
    return viewport()->devicePixelRatioF();
}

QSize WKRN_SheetView::ClientSize() const
{
    const qreal ratio = PixelRatio();
    const QSize logical = viewport()->size();
    return QSize(int(std::lround(logical.width() * ratio)),
                 int(std::lround(logical.height() * ratio)));
}

QPoint WKRN_SheetView::ToCanvas(const QPointF& logical) const
{
    const qreal ratio = PixelRatio();
    return QPoint(int(std::floor(logical.x() * ratio)), int(std::floor(logical.y() * ratio)));
}

QRect WKRN_SheetView::ToLogical(const QRect& canvas) const
{
    const qreal ratio = PixelRatio();
    const QRectF rect(canvas.x() / ratio, canvas.y() / ratio, canvas.width() / ratio,
                      canvas.height() / ratio);
    return rect.toAlignedRect();
}

void WKRN_SheetView::UpdateCanvas(const QRegion& region)
{
    if (PixelRatio() == 1.0)
    {
        viewport()->update(region);
        return;
    }
    QRegion logical;
    for (const QRect& rect : region)
        logical += ToLogical(rect);
    viewport()->update(logical);
}

std::array<double, 4> WKRN_SheetView::VisibleFractions()
{
    const double width = GetLevelWidth();
    const double height = GetLevelHeight();
    if (width <= 0 || height <= 0)
        return {0, 0, 0, 0};
    const QSize client = ClientSize();
    const double left = std::clamp<double>(m_ScrollX, 0, width);
    const double top = std::clamp<double>(m_ScrollY, 0, height);
    const double right = std::clamp<double>(double(m_ScrollX) + client.width(), 0, width);
    const double bottom = std::clamp<double>(double(m_ScrollY) + client.height(), 0, height);
    return {top / height, left / width, (right - left) / width, (bottom - top) / height};
}

void WKRN_SheetView::SendVisibleArea()
{
    std::array<double, 4> fractions = VisibleFractions();
    WTLU_MessageEvent::Send(NoticeReceiver(), JOBMSG_VISIBLE_AREA, 0,
                            reinterpret_cast<qintptr>(fractions.data()), fractions);
}

// ---- Window operations of the platform-free view -------------------------------------------

void WKRN_SheetView::Refresh()
{
    Invalidate(QRegion(m_Canvas.Rect()));
}

void WKRN_SheetView::Redraw()
{
    m_RepaintWithPaper = true;
    Invalidate(QRegion(m_Canvas.Rect()));
}

void WKRN_SheetView::GetViewRect(IMPN_Rect& rect)
{
    const QSize client = ClientSize();
    rect = IMPN_Rect{m_ScrollY, m_ScrollX, client.width(), client.height()};
}

void WKRN_SheetView::SetExtent(std::int32_t width, std::int32_t height, bool redraw)
{
    m_ScrollX = 0;
    m_ScrollY = 0;
    m_ExtentWidth = std::max(width, 0);
    m_ExtentHeight = std::max(height, 0);
    UpdateScrollBars();
    if (redraw)
        Refresh();
}

void WKRN_SheetView::ScrollTo(std::int32_t x, std::int32_t y, bool redraw)
{
    ApplyScroll(x, y);
    if (redraw)
        Redraw();
}

WKRN_CanvasTarget* WKRN_SheetView::TargetOf(IMPN_DrawTarget& target) const
{
    return dynamic_cast<WKRN_CanvasTarget*>(&target);
}

void WKRN_SheetView::FillTileBackground(IMPN_DrawTarget& target, const IMPN_Rect& rect,
                                        const IMPN_ColorBGR& color)
{
    if (WKRN_CanvasTarget* canvas = TargetOf(target))
        canvas->FillRect(rect, color);
}

void WKRN_SheetView::BeginUnderneath(IMPN_DrawTarget& target, int opacity)
{
    WKRN_CanvasTarget* canvas = TargetOf(target);
    if (!canvas)
        return;
    const std::uint32_t axis = GetFlipAxis();
    const std::int32_t width = GetLevelWidth(), height = GetLevelHeight();
    const std::int32_t dx = GetBackupDx(), dy = GetBackupDy();
    canvas->BeginUnderneath(WKRN_CanvasTarget::MirrorForPictures(axis, width, height, dx, dy),
                            WKRN_CanvasTarget::MirrorForOutlines(axis, width, height, dx, dy),
                            opacity);
}

void WKRN_SheetView::EndUnderneath(IMPN_DrawTarget& target)
{
    if (WKRN_CanvasTarget* canvas = TargetOf(target))
        canvas->EndUnderneath();
}

void WKRN_SheetView::BeginTop(IMPN_DrawTarget& target, int opacity)
{
    m_DrawingTop = true;
    if (WKRN_CanvasTarget* canvas = TargetOf(target))
        canvas->BeginTop(opacity);
}

void WKRN_SheetView::EndTop(IMPN_DrawTarget& target)
{
    m_DrawingTop = false;
    WKRN_CanvasTarget* canvas = TargetOf(target);
    if (m_TopOverlay && canvas && !m_LastTopTile.isEmpty())
        m_TopOverlay(canvas->Painter(), m_LastTopTile);
    m_LastTopTile = QRect();
}

void WKRN_SheetView::DrawOverlayNow(const QRect& levelRect)
{
    if (!m_TopOverlay || m_Canvas.IsNull() || !GetSheet())
        return;
    const QRect onCanvas =
        levelRect.translated(-m_ScrollX, -m_ScrollY).intersected(m_Canvas.Rect());
    if (onCanvas.isEmpty())
        return;
    {
        QPainter painter(&m_Canvas.Image());
        painter.setClipRect(onCanvas);
        painter.setWorldTransform(DeviceTransform());
        m_TopOverlay(painter, levelRect);
    }
    viewport()->update(onCanvas);
}

void WKRN_SheetView::DrawTile(const IMPN_RenderTile& tile, IMPN_DrawTarget& target,
                              const IMPN_Rect&)
{
    WKRN_CanvasTarget* canvas = TargetOf(target);
    if (!canvas)
        return;
    canvas->DrawTile(tile, WKRN_Preferences::Current().ShowTileBoundaries);
    if (m_DrawingTop)
        m_LastTopTile = QRect(tile.left, tile.top, tile.width, tile.height);
    if (GetLevel() <= kUnitLevel && m_TilePause)
        m_TilePause(kTilePauseMilliseconds);
}

std::optional<WKRN_OverlayPainter> WKRN_SheetView::OverlayPainter(IMPN_DrawTarget& target,
                                                                  bool underneath) const
{
    WKRN_CanvasTarget* canvas = TargetOf(target);
    if (!canvas)
        return std::nullopt;
    return WKRN_OverlayPainter(canvas->Painter(), canvas->OutlineTransform(), GetLevel(),
                               WKRN_OverlayColors::FromPreferences(WKRN_Preferences::Current()),
                               underneath);
}

void WKRN_SheetView::DrawImageFrame(IMPN_DrawTarget& target, const IMPN_Rect& rect, bool underneath)
{
    if (auto overlay = OverlayPainter(target, underneath))
        overlay->DrawImageFrame(rect);
}

void WKRN_SheetView::DrawPressSheetEdge(IMPN_DrawTarget& target, const IMPN_Rect& rect,
                                        bool underneath)
{
    if (auto overlay = OverlayPainter(target, underneath))
        overlay->DrawPressSheetEdge(rect);
}

void WKRN_SheetView::DrawBleedEdges(IMPN_DrawTarget& target, const std::vector<IMPN_Rect>& rects,
                                    bool underneath)
{
    if (auto overlay = OverlayPainter(target, underneath))
        overlay->DrawBleedEdges(rects);
}

void WKRN_SheetView::DrawPages(IMPN_DrawTarget& target, const std::vector<IMPN_PageEntry>& pages,
                               bool underneath, bool edges, bool numbers)
{
    if (auto overlay = OverlayPainter(target, underneath))
        overlay->DrawPages(pages, edges, numbers);
}

void WKRN_SheetView::DrawClipPaths(IMPN_DrawTarget& target, const IMPN_Surface& surface,
                                   bool underneath)
{
    if (auto overlay = OverlayPainter(target, underneath))
        overlay->DrawClipPaths(surface.GetClipPaths());
}

/* A frame queued without a paint event (nothing marked invalid) draws over the whole canvas. */
void WKRN_SheetView::StartPainting()
{
    if (m_Canvas.FrameRegion().isEmpty())
        m_Canvas.FrameRegion() = QRegion(m_Canvas.Rect());
    m_PaintTimer.start(kPaintMilliseconds, this);
}

void WKRN_SheetView::StopPainting()
{
    m_PaintTimer.stop();
    m_Canvas.FrameRegion() = QRegion();
}

/* Stand-ins go where the frame will draw, so that the picture is never blank while its tiles
   are made; the frame's own tiles then replace them one by one. */
void WKRN_SheetView::FrameQueued()
{
    if (m_Canvas.IsNull() || m_Canvas.FrameRegion().isEmpty())
        return;
    const QRegion dirty = m_Canvas.FrameRegion();
    const QRect bounds = dirty.boundingRect().translated(m_ScrollX, m_ScrollY);
    {
        QPainter painter(&m_Canvas.Image());
        painter.setClipRegion(dirty);
        painter.setWorldTransform(DeviceTransform());
        WKRN_CanvasTarget target(painter);
        PaintPlaceholders(target,
                          IMPN_Rect{bounds.top(), bounds.left(), bounds.width(), bounds.height()});
    }
    UpdateCanvas(dirty);
}

void WKRN_SheetView::ShowPaintProgress(std::int32_t done, std::int32_t needed)
{
    WTLU_MessageEvent::Send(NoticeReceiver(), JOBMSG_PAINT_PROGRESS,
                            static_cast<quintptr>(std::max(done, 0)),
                            static_cast<qintptr>(std::max(needed, 0)));
}

// ---- Canvas, invalidation and painting ------------------------------------------------------

QTransform WKRN_SheetView::DeviceTransform() const
{
    return QTransform::fromTranslate(-double(m_ScrollX), -double(m_ScrollY));
}

QRect WKRN_SheetView::PictureOnCanvas() const
{
    return QRect(-m_ScrollX, -m_ScrollY, m_ExtentWidth, m_ExtentHeight);
}

QColor WKRN_SheetView::WindowColor() const
{
    return palette().color(QPalette::Base);
}

QColor WKRN_SheetView::WorkspaceColor() const
{
    return palette().color(QPalette::Dark);
}

void WKRN_SheetView::Invalidate(const QRegion& region)
{
    const QRegion inside = m_Canvas.Invalidate(region);
    if (!inside.isEmpty())
        UpdateCanvas(inside);
}

/* Only the invalid part is erased. The paper goes under the picture when a full redraw asked for
   it, and also whenever the surface facing the viewer is blended: where nothing opaque lies
   under it (the underneath surface shifted by its backup offsets leaves strips uncovered), each
   repaint would otherwise blend it again over its own previous picture and darken it. Right of
   and below the picture the window colour shows. */
void WKRN_SheetView::EraseBackground(QPainter& painter, const QRegion& region)
{
    const QRegion picture = region.intersected(PictureOnCanvas());
    const IMPN_Surface* top = GetTopSurface();
    const bool blended = top && top->HasSeparations() && top->GetOpacity() < 100;
    if (m_RepaintWithPaper || blended)
    {
        QColor paper = WindowColor();
        if (top)
            paper = QColor(top->PaperColor()[2], top->PaperColor()[1], top->PaperColor()[0]);
        for (const QRect& rect : picture)
            painter.fillRect(rect, paper);
    }
    m_RepaintWithPaper = false;
    for (const QRect& rect : region.subtracted(picture))
        painter.fillRect(rect, WindowColor());
}

void WKRN_SheetView::EraseForNewFrame(QPainter& painter, const QRegion& region)
{
    if (region.isEmpty())
        return;
    const QRegion picture = region.intersected(PictureOnCanvas());
    QColor paper = WindowColor();
    if (const IMPN_Surface* top = GetTopSurface())
        paper = QColor(top->PaperColor()[2], top->PaperColor()[1], top->PaperColor()[0]);
    for (const QRect& rect : picture)
        painter.fillRect(rect, paper);
    for (const QRect& rect : region.subtracted(picture))
        painter.fillRect(rect, WindowColor());
}

void WKRN_SheetView::PaintFrame()
{
    const QRegion region = m_Canvas.TakeInvalid();
    if (m_Canvas.IsNull())
        return;
    const bool progressive = GetSheet() && IsProgressive() && GetLevel() > kUnitLevel;
    {
        QPainter painter(&m_Canvas.Image());
        EraseBackground(painter, region);
        // A frame in progress has drawn some of its tiles already. The new frame queues them all
        // again, so what the old one covered is erased too: each pixel is drawn once per frame
        // (a part-opaque surface drawn twice over itself would darken).
        if (progressive)
            EraseForNewFrame(painter, m_Canvas.FrameRegion().subtracted(region));
        if (!GetSheet())
        {
            for (const QRect& rect : region)
                painter.fillRect(rect, WorkspaceColor());
            return;
        }
    }
    SendVisibleArea();
    if (!GetSheet() || m_Canvas.IsNull())
        return;
    if (progressive)
    {
        m_Canvas.FrameRegion() += region;
        QueueFrame();
        return;
    }
    QPainter painter(&m_Canvas.Image());
    painter.setClipRegion(region);
    painter.setWorldTransform(DeviceTransform());
    WKRN_CanvasTarget target(painter);
    DrawAll(target);
}

void WKRN_SheetView::paintEvent(QPaintEvent* event)
{
    if (m_Canvas.HasInvalid())
        PaintFrame();
    QPainter painter(viewport());
    if (m_Canvas.IsNull())
        return;
    const qreal ratio = PixelRatio();
    for (const QRect& rect : event->region())
    {
        if (ratio == 1.0)
        {
            painter.drawImage(rect, m_Canvas.Image(), rect);
            continue;
        }
        const QRectF source(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio,
                            rect.height() * ratio);
        painter.drawImage(QRectF(rect), m_Canvas.Image(), source);
    }
}

void WKRN_SheetView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_IdleTimer.timerId())
    {
        CloseIdleReaders();
        return;
    }
    if (event->timerId() != m_PaintTimer.timerId())
    {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    if (m_Canvas.IsNull())
    {
        StopPainting();
        return;
    }
    const QRegion dirty = m_Canvas.FrameRegion();
    {
        QPainter painter(&m_Canvas.Image());
        painter.setClipRegion(dirty);
        painter.setWorldTransform(DeviceTransform());
        WKRN_CanvasTarget target(painter);
        PaintStep(target);
    }
    UpdateCanvas(dirty);
}

void WKRN_SheetView::ApplyScroll(std::int64_t x, std::int64_t y)
{
    const QSize client = ClientSize();
    const std::int64_t maxY =
        std::max<std::int64_t>(0, std::int64_t{m_ExtentHeight} - client.height());
    const auto nx =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(x, MinScrollX(), MaxScrollX()));
    const auto ny = static_cast<std::int32_t>(std::clamp<std::int64_t>(y, 0, maxY));
    const int dx = nx - m_ScrollX, dy = ny - m_ScrollY;
    if (dx != 0 || dy != 0)
    {
        m_ScrollX = nx;
        m_ScrollY = ny;
        Invalidate(m_Canvas.Shift(-dx, -dy, WindowColor()));
        viewport()->update();
    }
    QScopedValueRollback guard(m_SettingBars, true);
    horizontalScrollBar()->setValue(m_ScrollX);
    verticalScrollBar()->setValue(m_ScrollY);
}

void WKRN_SheetView::scrollContentsBy(int, int)
{
    if (m_SettingBars)
        return;
    ApplyScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

/* Ranges follow the extent and the client size. Showing or hiding one bar changes the client
   size, so the ranges are set again until the size holds still. */
void WKRN_SheetView::UpdateScrollBars()
{
    QScopedValueRollback guard(m_SettingBars, true);
    for (int round = 0; round < 3; ++round)
    {
        const QSize before = ClientSize();
        QScrollBar* h = horizontalScrollBar();
        h->setRange(int(MinScrollX()), int(MaxScrollX()));
        h->setPageStep(std::max(1, before.width()));
        QScrollBar* v = verticalScrollBar();
        v->setRange(0, std::max(0, m_ExtentHeight - before.height()));
        v->setPageStep(std::max(1, before.height()));
        h->setSingleStep(LineStep());
        v->setSingleStep(LineStep());
        h->setValue(m_ScrollX);
        v->setValue(m_ScrollY);
        if (ClientSize() == before)
            break;
    }
}

void WKRN_SheetView::OnViewportResized()
{
    m_Canvas.Resize(ClientSize(), WindowColor());
    UpdateScrollBars();
    ApplyScroll(m_ScrollX, m_ScrollY);
    Refresh();
}

/* The page step of the scroll commands is a tenth of the picture, not the window. */
void WKRN_SheetView::OnScrollAction(Qt::Orientation orientation, int action)
{
    if (action != QAbstractSlider::SliderPageStepAdd &&
        action != QAbstractSlider::SliderPageStepSub)
        return;
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    const int extent = orientation == Qt::Horizontal ? m_ExtentWidth : m_ExtentHeight;
    const int page = std::max(1, extent / 10);
    const int step = action == QAbstractSlider::SliderPageStepAdd ? page : -page;
    bar->setSliderPosition(int(std::clamp<std::int64_t>(std::int64_t{bar->value()} + step,
                                                        bar->minimum(), bar->maximum())));
}

void WKRN_SheetView::Scroll(Qt::Orientation orientation, ScrollCommand command)
{
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    switch (command)
    {
    case LineUp:
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case LineDown:
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case PageUp:
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case PageDown:
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case ToTop:
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case ToBottom:
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    }
}

// ---- Events ---------------------------------------------------------------------------------

bool WKRN_SheetView::event(QEvent* event)
{
    if (WTLU_MessageEvent::IsMessage(event) && HandleMessage(event))
        return true;
    return QAbstractScrollArea::event(event);
}

bool WKRN_SheetView::HandleMessage(QEvent* event)
{
    const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
    switch (message.Message())
    {
    case JOBMSG_PAN_REQUEST:
    {
        std::array<double, 2> f{};
        if (ReadDoubles(message, f))
        {
            ScrollTo(ToPosition(GetLevelWidth() * f[1]), ToPosition(GetLevelHeight() * f[0]),
                     false);
            Redraw();
        }
        return true;
    }
    case JOBMSG_ZOOM_REQUEST:
    {
        std::array<double, 4> f{};
        if (ReadDoubles(message, f))
        {
            const double width = GetLevelWidth(), height = GetLevelHeight();
            const std::array<double, 4> r{f[0] * height, f[1] * width, f[2] * width, f[3] * height};
            if (std::all_of(r.begin(), r.end(),
                            [](double v) { return std::fabs(v) <= kLargestRequest; }))
            {
                ZoomToRect(r[0], r[1], r[2], r[3]);
                Redraw();
            }
        }
        return true;
    }
    default:
        return false;
    }
}

bool WKRN_SheetView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize)
    {
        const bool handled = QAbstractScrollArea::viewportEvent(event);
        OnViewportResized();
        return handled;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

/* Every notch (120 units) scrolls by the wheel-lines setting, read each time so that a changed
   setting applies at once; what is left of a notch waits for the next message. A line is a fixed
   number of screen pixels at every zoom level: a line of one level pixel would make a notch move
   the picture by a hair. Shift turns the wheel sideways, as a horizontal wheel does. */
void WKRN_SheetView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || angle.y() == 0;
    m_WheelRemainder += angle.y() != 0 ? angle.y() : angle.x();
    const int notches = m_WheelRemainder / kWheelDelta;
    m_WheelRemainder %= kWheelDelta;
    event->accept();
    if (notches == 0)
        return;
    const bool vertical = !sideways && verticalScrollBar()->maximum() > 0;
    const int extent = vertical ? m_ExtentHeight : m_ExtentWidth;
    const int lines = QApplication::wheelScrollLines();
    const std::int64_t step =
        lines < 0 ? std::max(1, extent / 10) : std::int64_t{lines} * LineStep();
    const std::int64_t distance = -std::int64_t{notches} * step;
    if (vertical)
        ApplyScroll(m_ScrollX, std::int64_t{m_ScrollY} + distance);
    else
        ApplyScroll(std::int64_t{m_ScrollX} + distance, m_ScrollY);
}

void WKRN_SheetView::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key())
    {
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            m_SpaceDown = true;
        break;
    case Qt::Key_Home:
        Scroll(shift ? Qt::Horizontal : Qt::Vertical, ToTop);
        break;
    case Qt::Key_End:
        Scroll(shift ? Qt::Horizontal : Qt::Vertical, ToBottom);
        break;
    case Qt::Key_Shift:
    case Qt::Key_Control:
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!m_Tools->IsDragging())
        SetCursorId(m_Tools->CursorFor(event->modifiers(), m_SpaceDown));
}

void WKRN_SheetView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        m_SpaceDown = false;
    if (!m_Tools->IsDragging())
        SetCursorId(m_Tools->CursorFor(event->modifiers(), m_SpaceDown));
    QAbstractScrollArea::keyReleaseEvent(event);
}

void WKRN_SheetView::focusOutEvent(QFocusEvent* event)
{
    m_SpaceDown = false;
    QAbstractScrollArea::focusOutEvent(event);
}

void WKRN_SheetView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
    {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_Tools->Press(ToCanvas(event->position()), event->modifiers(), m_SpaceDown);
    event->accept();
}

void WKRN_SheetView::mouseMoveEvent(QMouseEvent* event)
{
    m_Tools->Move(ToCanvas(event->position()), event->buttons(), event->modifiers());
    if (!m_Tools->IsDragging())
        SetCursorId(m_Tools->CursorFor(event->modifiers(), m_SpaceDown));
    event->accept();
}

void WKRN_SheetView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
    {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_Tools->Release(ToCanvas(event->position()));
    SetCursorId(m_Tools->CursorFor(event->modifiers(), m_SpaceDown));
    event->accept();
}

void WKRN_SheetView::SetCursorId(int id)
{
    if (id == m_CursorId)
        return;
    m_CursorId = id;
    viewport()->setCursor(WKRN_Cursors::Get(id));
}
