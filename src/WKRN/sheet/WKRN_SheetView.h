#pragma once
// The scrolling window inside a job window that shows one sheet. It carries out the drawing,
// scrolling and timer operations of the platform-free sheet view, runs the Pan, Measure and Zoom
// mouse tools, and tells its parent window (or the notice receiver set) what it shows.
//
// Qt paints only inside paintEvent, so the view keeps a canvas image of its viewport. A repaint
// request (Refresh, Redraw, a scroll, a resize) marks part of the canvas invalid; the next paint
// event erases that part, then either draws every tile at once (1:1 and larger) or queues the
// tiles for the 25 ms painting timer (below 1:1), whose steps draw into the canvas in slices of
// about 2 ms. Every paint event then copies the canvas to the screen. Tile drawing is clipped to
// the invalid part, so that a surface blended at part opacity is never blended twice over itself.
//
// Notices to the receiver, all sent (delivered at once; pointers in the parameters are valid for
// the call only, the payload holds the same values by copy):
//   0x800C visible area: lParam -> double[4] top, left, width, height as fractions of the level
//          picture; payload std::array<double, 4>.
//   0x800D zoom changed by the Zoom tool: wParam = new level << 16 | old level; lParam and
//          payload as 0x800C.
//   0x8020 show palette: wParam 32831 (the Measurement palette) when a measure drag starts.
//   0x8021 measurement: wParam -> double[2] position, lParam -> double[2] offset or 0 when only
//          the position is known; payload std::vector<double> of the values given.
//   0x8040 densitometer: wParam 0 while the pointer hovers, 1 for a click; payload QPoint, the
//          pointer in level pixels.
//   0x8041 paint progress: wParam tiles drawn, lParam tiles the frame needs; lParam 0 when the
//          picture is complete (or the frame abandoned) and the progress goes away.
// Requests handled: 0x800E scroll to fractions (fy, fx) and 0x800F zoom to a rectangle of
// fractions (top, left, width, height), each as a payload std::array<double, 2 or 4> or, when
// sent, through lParam pointing at the doubles.

#include "IMPN/IMPN_SheetView.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "WKRN/sheet/WKRN_Canvas.h"
#include "WKRN/sheet/WKRN_OverlayPainter.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QImage>
#include <QRegion>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class WKRN_CanvasTarget;
class WKRN_SheetViewTools;

class WKRN_SheetView : public QAbstractScrollArea, public IMPN_SheetView
{
    Q_OBJECT
public:
    enum Tool : int
    {
        PanTool = 0,
        MeasureTool = 1,
        ZoomTool = 2,
        DensitometerTool = 3,
    };

    static constexpr int kPaintMilliseconds = 25;
    // How often idle worker readers are looked for.
    static constexpr int kIdleCheckMilliseconds = 1000;
    static constexpr int kTilePauseMilliseconds = 5;
    // One line of the scroll bars and the wheel, in screen pixels at a device pixel ratio of 1.
    static constexpr int kLinePixels = 20;

    explicit WKRN_SheetView(QWidget* parent = nullptr);
    ~WKRN_SheetView() override;

    // Shows a sheet (null: none), with the paper colour and open preferences of the moment.
    void SetSheet(IMPN_Sheet* sheet);
    // Takes the preferences of the moment that apply to a shown sheet (the tile memory budget);
    // paper colour and open preferences wait for the next sheet.
    void FollowPreferences();

    // 0 Pan, 1 Measure, 2 Zoom, 3 Densitometer; other values are ignored.
    void SetTool(int tool);
    int GetTool() const;

    // Where notices go; the parent object when none is set.
    void SetNoticeReceiver(QObject* receiver) { m_Receiver = receiver; }
    QObject* NoticeReceiver() const;

    // What the view does after each tile drawn at 1:1 and larger (a pause of 5 ms by default;
    // an empty function for none).
    void SetTilePause(std::function<void(int milliseconds)> pause);

    // One line of scrolling in picture pixels: the same stretch of screen at every zoom level.
    int LineStep() const;

    // Room to scroll past the picture's left and right edges, in logical pixels: what lies over
    // that much of the view's sides (floating palettes) can then be scrolled clear of every
    // column of the picture. Negative values count as 0.
    void SetOverscroll(int left, int right);

    // Thumb tracking of the scroll bars (on by default).
    void SetScrollTracking(bool tracking);

    // The visible part of the picture as fractions of the level picture: top / height,
    // left / width, width / width, height / height; zeros without a picture.
    std::array<double, 4> VisibleFractions();

    QPoint ScrollPosition() const { return QPoint(m_ScrollX, m_ScrollY); }
    // The viewport in device pixels, the unit of the canvas, the picture and the scroll position.
    QSize ClientSize() const;
    qreal PixelRatio() const;
    // The viewport's picture as last drawn.
    const QImage& Canvas() const { return m_Canvas.Image(); }
    bool IsPaintingTimerActive() const { return m_PaintTimer.isActive(); }
    // The id of the cursor the view shows now (see WKRN_Cursors).
    int CursorId() const { return m_CursorId; }

    // Drawn over each tile of the surface facing the viewer once the tile is on the canvas (the
    // painter maps level pixels; the rectangle is the tile's). Drawings must be opaque and
    // aligned to the level picture, so that drawing a part twice changes nothing.
    using TileOverlay = std::function<void(QPainter& painter, const QRect& levelRect)>;
    void SetTopTileOverlay(TileOverlay overlay) { m_TopOverlay = std::move(overlay); }
    // Draws the overlay over part of the canvas as it stands (level pixels) and shows it.
    void DrawOverlayNow(const QRect& levelRect);

    // Scroll commands (the standard line, page, top and bottom of both bars).
    enum ScrollCommand
    {
        LineUp,
        LineDown,
        PageUp,
        PageDown,
        ToTop,
        ToBottom,
    };
    void Scroll(Qt::Orientation orientation, ScrollCommand command);

    // The platform-free view's window operations.
    void Refresh() override;
    void Redraw() override;
    void GetViewRect(IMPN_Rect& rect) override;
    void SetExtent(std::int32_t width, std::int32_t height, bool redraw) override;
    void ScrollTo(std::int32_t x, std::int32_t y, bool redraw) override;
    void FillTileBackground(IMPN_DrawTarget& target, const IMPN_Rect& rect,
                            const IMPN_ColorBGR& color) override;
    void BeginUnderneath(IMPN_DrawTarget& target, int opacity) override;
    void EndUnderneath(IMPN_DrawTarget& target) override;
    void BeginTop(IMPN_DrawTarget& target, int opacity) override;
    void EndTop(IMPN_DrawTarget& target) override;
    void DrawTile(const IMPN_RenderTile& tile, IMPN_DrawTarget& target,
                  const IMPN_Rect& rect) override;
    void DrawImageFrame(IMPN_DrawTarget& target, const IMPN_Rect& rect, bool underneath) override;
    void DrawPressSheetEdge(IMPN_DrawTarget& target, const IMPN_Rect& rect,
                            bool underneath) override;
    void DrawBleedEdges(IMPN_DrawTarget& target, const std::vector<IMPN_Rect>& rects,
                        bool underneath) override;
    void DrawPages(IMPN_DrawTarget& target, const std::vector<IMPN_PageEntry>& pages,
                   bool underneath, bool edges, bool numbers) override;
    void DrawClipPaths(IMPN_DrawTarget& target, const IMPN_Surface& surface,
                       bool underneath) override;
    void StartPainting() override;
    void StopPainting() override;
    void FrameQueued() override;
    void ShowPaintProgress(std::int32_t done, std::int32_t needed) override;

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class WKRN_SheetViewTools;

    bool HandleMessage(QEvent* event);
    void OnViewportResized();
    void UpdateScrollBars();
    void OnScrollAction(Qt::Orientation orientation, int action);
    // Moves to (x, y), limited to the picture, moving the canvas content with it and invalidating
    // the strip that comes into view.
    void ApplyScroll(std::int64_t x, std::int64_t y);
    // The horizontal scroll positions allowed, device pixels.
    std::int64_t MinScrollX() const;
    std::int64_t MaxScrollX() const;
    // Marks part of the canvas for the next paint event, which erases it first.
    void Invalidate(const QRegion& region);
    // Asks for the canvas region (device pixels) to be shown again.
    void UpdateCanvas(const QRegion& region);
    QPoint ToCanvas(const QPointF& logical) const;
    QRect ToLogical(const QRect& canvas) const;
    void EraseBackground(QPainter& painter, const QRegion& region);
    // Paper under the picture, the window colour beside it, whatever the surface's opacity.
    void EraseForNewFrame(QPainter& painter, const QRegion& region);
    void PaintFrame();
    // The canvas target behind a draw target; null for targets of other kinds.
    WKRN_CanvasTarget* TargetOf(IMPN_DrawTarget& target) const;
    QTransform DeviceTransform() const;
    QRect PictureOnCanvas() const;
    std::optional<WKRN_OverlayPainter> OverlayPainter(IMPN_DrawTarget& target,
                                                      bool underneath) const;
    void SendVisibleArea();
    void SetCursorId(int id);
    QColor WindowColor() const;
    QColor WorkspaceColor() const;

    std::unique_ptr<WKRN_SheetViewTools> m_Tools;
    QObject* m_Receiver = nullptr;
    WKRN_Canvas m_Canvas;
    bool m_RepaintWithPaper = false;
    QBasicTimer m_PaintTimer;
    // Closes the worker readers that have been idle for a while (IMPN_SheetView::
    // CloseIdleReaders): a window left open on a sheet holds no more descriptors than its own.
    QBasicTimer m_IdleTimer;
    // Makes the progressive paint's tiles off the user-interface thread; the paint timer keeps
    // ticking while tiles are pending and draws each as it arrives. It ends before the sheet the
    // view holds (queued tiles dropped, running ones joined); the other order would be safe too,
    // since a renderer waits for its own running tiles.
    std::unique_ptr<IMPN_WorkerPool> m_Pool;
    std::int32_t m_ScrollX = 0;
    std::int32_t m_ScrollY = 0;
    std::int32_t m_ExtentWidth = 0;
    std::int32_t m_ExtentHeight = 0;
    int m_OverscrollLeft = 0; // logical pixels
    int m_OverscrollRight = 0;
    int m_WheelRemainder = 0;
    bool m_SettingBars = false;
    bool m_SpaceDown = false;
    int m_CursorId = 0;
    std::function<void(int)> m_TilePause;
    TileOverlay m_TopOverlay;
    bool m_DrawingTop = false;
    QRect m_LastTopTile; // level pixels
};
