#pragma once
// The platform-free half of the view that shows one sheet: which surface faces the viewer, the
// zoom level, the imposition overlays, the backup placement of the other surface, and the order in
// which tiles and overlays are drawn. It decides what to draw and where; every drawing, scrolling
// and timer operation is a pure virtual that the window class implements, so the decisions are
// tested here without a display.
//
// Coordinates: level pixels of the current zoom level (scale 8 / 2^level of full-resolution
// pixels). Overlay geometry is handed over in full-resolution pixels; the window scales it.

#include "IMPN/IMPN_PageEntry.h"
#include "IMPN/IMPN_Rect.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_ViewPreferences.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class IMPN_OverviewImage;
class IMPN_Surface;
class IMPN_SurfaceRenderer;
class IMPN_WorkerPool;
struct IMPN_RenderLevel;
struct IMPN_RenderTile;

// What the window draws on (a canvas painter, a recording test double). The view only passes it
// through.
class IMPN_DrawTarget
{
public:
    virtual ~IMPN_DrawTarget() = default;
};

class IMPN_SheetView
{
public:
    static constexpr int kLevelCount = 13;
    static constexpr int kUnitLevel = 3;
    static constexpr int kFirstProgressiveLevel = 4; // below 1:1 painting is progressive
    // A progressive frame that has run this long shows its progress until it is complete.
    static constexpr std::uint32_t kProgressDelayMilliseconds = 500;

    enum BackupMode : std::int32_t
    {
        BackupPlates = 0,
        BackupPressSheets = 1,
        BackupPages = 2,
    };

    // Tile origins of a surface's level picture, inclusive, in level pixels (multiples of the
    // tile size). Empty when nothing is to be drawn.
    struct TileRange
    {
        std::int32_t firstLeft = 0;
        std::int32_t lastLeft = -1;
        std::int32_t firstTop = 0;
        std::int32_t lastTop = -1;
        std::int32_t tileWidth = 0;
        std::int32_t tileHeight = 0;

        bool IsEmpty() const { return lastLeft < firstLeft || lastTop < firstTop; }
        friend bool operator==(const TileRange&, const TileRange&) = default;
    };

    struct TileRequest
    {
        IMPN_SurfaceRenderer* renderer = nullptr;
        std::int32_t left = 0;
        std::int32_t top = 0;
        int opacity = 100;
        std::uint32_t stamp = 0;
        IMPN_ColorBGR paper{255, 255, 255};
        bool announced = false; // TileNotReady was called for it
    };

    // clock: milliseconds from a monotonic source, as unsigned 32-bit so that differences survive
    // wrap-around; the default reads the steady clock.
    explicit IMPN_SheetView(IMPN_ViewPreferences preferences = {},
                            std::function<std::uint32_t()> clock = {});
    IMPN_SheetView(const IMPN_SheetView&) = delete;
    IMPN_SheetView& operator=(const IMPN_SheetView&) = delete;

    // Slot 0: stops showing the sheet (with the last view, the sheet lets go of its files and
    // tiles) and releases the sheet reference (with the last one, the sheet).
    virtual ~IMPN_SheetView();

    // Slot 1: the first level whose picture is strictly smaller than the window both ways
    // (1:512 when none is), then ZoomToLevel.
    virtual void FitToWindow(bool redraw);
    // Slot 2: zooms to a level keeping the level-pixel point (x, y) at the window centre.
    virtual void ZoomToLevelAt(int level, std::int32_t x, std::int32_t y, bool redraw);
    // Slot 3: zooms to a level about the view centre.
    virtual void ZoomToLevel(int level, bool redraw);
    // Slot 4: opacity of the surface facing the viewer; out-of-range values change nothing but
    // still refresh.
    virtual void SetOpacity(int percent);
    virtual void TogglePageEdges();   // slot 5
    virtual void TogglePageNumbers(); // slot 6
    virtual void ShowImposition();    // slot 7
    virtual void HideImposition();    // slot 8
    virtual void FlipSheet();         // slot 9

    virtual void Refresh() = 0;                    // slot 10: repaint, keeping tiles
    virtual void Redraw() = 0;                     // slot 11: repaint everything
    virtual void GetViewRect(IMPN_Rect& rect) = 0; // slot 12: visible part of the picture

    // Slot 13: snaps scale to the next table entry not above it and keeps the point (level
    // pixels at the old level) at the window centre.
    virtual void ZoomAt(double scale, std::int32_t x, std::int32_t y, bool redraw);
    // Slot 14: zooms about the view centre (the picture centre when it is narrower).
    virtual void Zoom(double scale, bool redraw);
    // Slot 15: the tiles of the underneath surface that fall into the window.
    virtual TileRange UnderneathTileRange(const IMPN_Surface& surface);
    // Slots 16 and 17: backs the tile with the paper colour when asked, then draws it.
    virtual void DrawUnderneathTile(IMPN_DrawTarget& target, const IMPN_RenderTile& tile,
                                    const IMPN_ColorBGR& paper, bool fill);
    virtual void DrawTopTile(IMPN_DrawTarget& target, const IMPN_RenderTile& tile,
                             const IMPN_ColorBGR& paper, bool fill);

    // Slots 18 to 32, the window's own.
    virtual void SetExtent(std::int32_t width, std::int32_t height, bool redraw) = 0;
    virtual void ScrollTo(std::int32_t x, std::int32_t y, bool redraw) = 0;
    virtual void FillTileBackground(IMPN_DrawTarget& target, const IMPN_Rect& rect,
                                    const IMPN_ColorBGR& color) = 0;
    virtual void BeginUnderneath(IMPN_DrawTarget& target, int opacity) = 0;
    virtual void EndUnderneath(IMPN_DrawTarget& target) = 0;
    virtual void BeginTop(IMPN_DrawTarget& target, int opacity) = 0;
    virtual void EndTop(IMPN_DrawTarget& target) = 0;
    virtual void DrawTile(const IMPN_RenderTile& tile, IMPN_DrawTarget& target,
                          const IMPN_Rect& rect) = 0;
    virtual void DrawImageFrame(IMPN_DrawTarget& target, const IMPN_Rect& rect,
                                bool underneath) = 0;
    virtual void DrawPressSheetEdge(IMPN_DrawTarget& target, const IMPN_Rect& rect,
                                    bool underneath) = 0;
    virtual void DrawBleedEdges(IMPN_DrawTarget& target, const std::vector<IMPN_Rect>& rects,
                                bool underneath) = 0;
    virtual void DrawPages(IMPN_DrawTarget& target, const std::vector<IMPN_PageEntry>& pages,
                           bool underneath, bool edges, bool numbers) = 0;
    virtual void DrawClipPaths(IMPN_DrawTarget& target, const IMPN_Surface& surface,
                               bool underneath) = 0;
    virtual void StartPainting() = 0;
    virtual void StopPainting() = 0;
    // Called by QueueFrame once the frame's tiles are listed: a window that can draw now paints
    // PaintPlaceholders where the frame will be drawn.
    virtual void FrameQueued() {}
    // Progress of a long progressive frame: tiles drawn of the tiles the frame needs; (0, 0)
    // when the frame is complete or abandoned and the progress goes away.
    virtual void ShowPaintProgress(std::int32_t done, std::int32_t needed)
    {
        static_cast<void>(done);
        static_cast<void>(needed);
    }

    // Called once for a tile of the progressive paint that is being made on the worker pool and
    // is not ready yet; the tile itself is drawn by a later PaintStep when it has arrived. The
    // place to show something in its stead (the default shows nothing: what was there stays).
    virtual void TileNotReady(IMPN_DrawTarget& target, const TileRequest& request, bool underneath);

    // Shows a sheet (null shows nothing): paper colour, prepare, flip axis, backup mode 1,
    // extent, then the fit and show-imposition preferences, then Refresh. The sheet shown before
    // is no longer shown here (IMPN_Sheet::ReleaseViewer).
    void SetSheet(IMPN_Sheet* sheet);
    // Closes the worker readers of the shown surfaces that have been idle for a while
    // (IMPN_SurfaceRenderer::CloseIdleReaders); the window calls it now and then. Returns the
    // slots of readers closed.
    std::size_t CloseIdleReaders();
    // Draws everything at once: underneath tiles and overlays, top tiles, top overlays.
    void DrawAll(IMPN_DrawTarget& target);
    // Lists the tiles to draw progressively and starts the painting timer.
    void QueueFrame();
    // Draws pending items until about 2 ms have passed; stops the timer when all are drawn.
    // With a worker pool, tiles are asked of the pool and drawn as they arrive, each list in any
    // order (the tiles of one surface do not overlap); the underneath surface is complete before
    // the top one is drawn over it. The step never waits for a worker.
    void PaintStep(IMPN_DrawTarget& target);
    // Draws, for every queued tile of the surface facing the viewer, the best picture there is
    // without making a tile: the exact tile when it is made already, else the reduced-image
    // overview at or below its scale, else a coarser level's tiles (or the overview) scaled up.
    // The exact tiles replace these pixel for pixel as they are drawn. Nothing is drawn while
    // the surface underneath shows through, where a tile drawn over a stand-in would blend with
    // it. Only tiles meeting area (level pixels: what the window will draw into) are looked at.
    void PaintPlaceholders(IMPN_DrawTarget& target, const IMPN_Rect& area);
    // The reduced-image overview of a surface of the sheet shown, made again when its separations
    // or paper changed; null when it has none.
    const IMPN_OverviewImage* OverviewOf(IMPN_Surface& surface);

    // The pool the progressive paint has tiles made on (not owned; it must outlive the view's
    // use of it). Null, the default: every tile is made on this thread when it is drawn. The
    // drawing at once (DrawAll) makes the tiles it needs on the pool too, in parallel, and
    // waits for them.
    void SetWorkerPool(IMPN_WorkerPool* pool) { m_Pool = pool; }
    IMPN_WorkerPool* GetWorkerPool() const { return m_Pool; }
    // Zooms by powers of two to the largest level at which the whole rectangle (level pixels),
    // widened to the window's proportions, fits the window, and centres it there.
    void ZoomToRect(double top, double left, double width, double height);
    // The tiles of a surface facing the viewer that fall into the window.
    TileRange VisibleTileRange(const IMPN_Surface& surface);

    // Forgets the tiles asked for and not drawn yet and stops the painting timer, before the
    // renderers they came from go or are replaced; the next Refresh or Redraw asks again.
    void DropPendingTiles();

    // Level pixels per full-resolution pixel at a level: 8 / 2^level.
    static double Scale(int level);

    IMPN_Sheet* GetSheet() const { return m_Sheet.Get(); }
    int GetLevel() const { return m_Level; }
    std::int32_t GetBackupMode() const { return m_BackupMode; }
    // Out-of-range modes are ignored.
    void SetBackupMode(std::int32_t mode);
    std::uint32_t GetFlipAxis() const { return m_FlipAxis; }
    bool IsFlipped() const { return m_Flipped; }
    bool IsProgressive() const { return m_Progressive; }
    void SetProgressive(bool progressive) { m_Progressive = progressive; }

    bool GetImageFrame() const { return m_ImageFrame; }
    void SetImageFrame(bool on) { m_ImageFrame = on; }
    bool GetPressSheetEdge() const { return m_PressSheetEdge; }
    void SetPressSheetEdge(bool on) { m_PressSheetEdge = on; }
    bool GetBleedEdge() const { return m_BleedEdge; }
    void SetBleedEdge(bool on) { m_BleedEdge = on; }
    bool GetPageEdge() const { return m_PageEdge; }
    bool GetPageNumbers() const { return m_PageNumbers; }
    bool GetClipPathsShown() const { return m_ClipPathsShown; }
    void SetClipPathsShown(bool on) { m_ClipPathsShown = on; }
    bool GetClipPathsAvailable() const { return m_ClipPathsAvailable; }
    // Any overlay of the imposition is on (clip paths count only when the sheet has them).
    bool IsAnyImpositionShown() const;
    // Every overlay of the imposition is on (clip paths count only when the sheet has them).
    bool IsAllImpositionShown() const;

    // The surface facing the viewer and the other one; null without a sheet.
    IMPN_Surface* GetTopSurface() const;
    IMPN_Surface* GetUnderneathSurface() const;
    // Level picture size at the current level, from the front surface's renderer when it has
    // separations, else the back's; 0 without either.
    std::int32_t GetLevelWidth() const { return LevelWidth(m_Level); }
    std::int32_t GetLevelHeight() const { return LevelHeight(m_Level); }
    std::int32_t LevelWidth(int level) const;
    std::int32_t LevelHeight(int level) const;
    // Backup offsets of the current mode and level.
    std::int32_t GetBackupDx() const;
    std::int32_t GetBackupDy() const;

    const std::deque<TileRequest>& GetPendingUnderneath() const { return m_PendingUnderneath; }
    const std::deque<TileRequest>& GetPendingTop() const { return m_PendingTop; }
    bool AreUnderneathOverlaysPending() const { return m_UnderneathOverlaysPending; }
    bool AreTopOverlaysPending() const { return m_TopOverlaysPending; }

    const IMPN_ViewPreferences& GetPreferences() const { return m_Preferences; }
    // Takes the new values; the tile memory budget reaches the shown sheet's renderers at once.
    void SetPreferences(const IMPN_ViewPreferences& preferences);

protected:
    // The level record of the surface whose geometry the sheet takes, or null.
    const IMPN_RenderLevel* LevelRecord(int level) const;

private:
    bool IsUnderneathDrawn() const;
    bool TopFill() const;
    int TopOpacity() const;
    TileRange RangeOf(const IMPN_Surface& surface, std::int64_t left, std::int64_t right,
                      std::int64_t top, std::int64_t bottom) const;
    void AppendRequests(std::deque<TileRequest>& list, IMPN_Surface& surface,
                        const TileRange& range);
    const IMPN_RenderTile* FetchTile(const TileRequest& request);
    // Tells both surfaces' renderers which of their tiles the window shows now, so that the
    // memory budget never evicts them, and hands them the budget.
    void MarkVisibleTiles();
    void PaintItems(IMPN_DrawTarget& target);
    // The stand-in for a request whose tile may not be made yet, or null; scratch holds its
    // pixels when it is not a tile of the renderer.
    const IMPN_RenderTile* StandIn(const TileRequest& request, IMPN_RenderTile& scratch);
    void ReportProgress();
    void EndProgress();
    // Through the pool: null while the tile is being made.
    const IMPN_RenderTile* RequestTile(const TileRequest& request);
    // Draws the tiles of the list that are ready; true when the list is empty. Stops early,
    // false, when the slice is over.
    bool PaintReady(IMPN_DrawTarget& target, std::deque<TileRequest>& list, bool underneath,
                    bool fill, std::uint32_t start);
    // Has the pool make the tiles of the requests at once, in parallel.
    void MakeAll(const std::deque<TileRequest>& requests);
    void DrawOverlays(IMPN_DrawTarget& target, IMPN_Surface& surface, bool underneath);
    bool DeadlinePassed(std::uint32_t start) const;

    IMPN_SheetReference m_Sheet;
    int m_Level = kUnitLevel;
    std::int32_t m_BackupMode = BackupPressSheets;
    std::uint32_t m_FlipAxis = 0;
    bool m_Flipped = false;
    bool m_ImageFrame = true;
    bool m_PressSheetEdge = false;
    bool m_BleedEdge = false;
    bool m_PageEdge = false;
    bool m_PageNumbers = false;
    bool m_ClipPathsShown = false;
    bool m_ClipPathsAvailable = false;
    std::deque<TileRequest> m_PendingUnderneath;
    std::deque<TileRequest> m_PendingTop;
    bool m_Progressive = true;
    bool m_UnderneathOverlaysPending = false;
    bool m_TopOverlaysPending = false;

    IMPN_ViewPreferences m_Preferences;
    std::function<std::uint32_t()> m_Clock;

    std::unique_ptr<IMPN_OverviewImage> m_Overviews[2]; // front, back
    std::uint32_t m_FrameStart = 0;
    std::int32_t m_FrameTiles = 0;
    bool m_ProgressShown = false;
    IMPN_WorkerPool* m_Pool = nullptr;
};
