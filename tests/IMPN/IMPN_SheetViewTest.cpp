// The sheet view's decisions, checked through a recording double of the window's operations:
// zoom and fit, tile ranges for both flip axes, which surfaces and overlays are drawn in which
// order, and progressive painting in time slices.

#include "IMPN_RecordingView.h"
#include "IMPN_TreeTestFiles.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_RenderTile.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetView.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{
class SheetViewTest : public ::testing::Test
{
protected:
    // One sheet of 800 x 600 full-resolution pixels, black ink on both surfaces, in the given
    // workstyle (1 sheetwise: left-right flip; 4 work and tumble: top-bottom; 0 single sided:
    // no flip).
    IMPN_SheetReference MakeSheet(std::uint16_t workStyle, bool back = true, bool clip = false)
    {
        std::vector<GFIL_FileSpec> files;
        for (std::uint16_t surface = 0; surface < (back ? 2 : 1); ++surface)
        {
            IMPN_TestPreview p;
            p.colorName = "Black";
            p.color = 4;
            p.workStyle = workStyle;
            p.surface = surface;
            p.width = 800;
            p.height = 600;
            p.pressSheetBottom = 590;
            p.pressSheetRight = 790;
            p.clipPaths = clip;
            p.fill = [](std::uint32_t x0, std::uint32_t) -> std::uint8_t
            { return x0 < 400 ? 0xFF : 0x00; };
            files.emplace_back(m_Folder.Write("s" + std::to_string(surface) + ".tif", p));
            if (workStyle >= 3)
                break; // one file prints both sides
        }
        IMPN_Registry registry;
        EXPECT_EQ(registry.AddFiles(files, false), static_cast<int>(files.size()));
        std::vector<IMPN_Sheet*> sheets;
        registry.CollectSheets(sheets);
        EXPECT_EQ(sheets.size(), 1u);
        return IMPN_SheetReference(sheets.at(0));
    }

    IMPN_TestFolder m_Folder;
    IMPN_DrawTarget m_Target;
};

TEST_F(SheetViewTest, FitPicksTheFirstLevelStrictlySmallerThanTheWindow)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.SetSheet(sheet.Get());
    EXPECT_EQ(view.GetLevel(), 3);
    EXPECT_EQ(view.LevelWidth(0), 6400);
    EXPECT_EQ(view.LevelHeight(2), 1200);
    EXPECT_EQ(view.extentWidth, 800);

    // Levels of 6400 x 4800 ... 800 x 600 do not fit an 800 x 600 window strictly; 400 x 300 does.
    view.FitToWindow(false);
    EXPECT_EQ(view.GetLevel(), 4);
    EXPECT_EQ(view.extentWidth, 400);
    EXPECT_EQ(view.extentHeight, 300);

    // A window smaller than every level falls back to 1:512.
    view.clientWidth = 1;
    view.clientHeight = 1;
    view.FitToWindow(false);
    EXPECT_EQ(view.GetLevel(), 12);
}

TEST_F(SheetViewTest, ZoomSnapsToTheNextSmallerLevelAndKeepsThePointCentred)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.clientWidth = 200;
    view.clientHeight = 100;
    view.SetSheet(sheet.Get());

    view.ZoomAt(3.0, 400, 300, false); // 3 is between 4:1 and 2:1
    EXPECT_EQ(view.GetLevel(), 2);
    EXPECT_EQ(view.calls.back(), "ScrollTo 700,550"); // 2 x (400, 300) less half the window

    view.ZoomAt(0.3, 0, 0, false);
    EXPECT_EQ(view.GetLevel(), 5); // 1:4

    view.ZoomAt(100.0, 0, 0, false);
    EXPECT_EQ(view.GetLevel(), 0);
    view.ZoomAt(1e-9, 0, 0, false);
    EXPECT_EQ(view.GetLevel(), 12);

    // Out-of-range levels are ignored.
    view.ZoomToLevel(13, true);
    view.ZoomToLevelAt(-1, 0, 0, true);
    EXPECT_EQ(view.GetLevel(), 12);
}

TEST_F(SheetViewTest, ZoomToRectWidensToTheWindowAndZoomsByPowersOfTwo)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.SetSheet(sheet.Get());
    ASSERT_EQ(view.GetLevel(), 3);

    // 100 x 100 in an 800 x 600 window: widened to 133.3 x 100, zoom x 4 (x 8 would leave 800
    // rows for 600), centre (50, 50) x 4 at the window centre.
    view.ZoomToRect(0, 0, 100, 100);
    EXPECT_EQ(view.GetLevel(), 1);
    EXPECT_EQ(view.calls.back(), "ScrollTo -200,-100");

    // At 8:1 the zoom cannot follow; the rectangle is still centred at the zoom reached.
    view.ZoomToRect(1000, 2000, 10, 10);
    EXPECT_EQ(view.GetLevel(), 0);
    EXPECT_EQ(view.calls.back(), "ScrollTo 3610,1710");

    // Degenerate rectangles change nothing.
    view.calls.clear();
    view.ZoomToRect(0, 0, 0, 10);
    EXPECT_TRUE(view.calls.empty());
}

// Whatever its shape, a dragged rectangle ends wholly in the window, and one level further in it
// would not be: the zoom is the largest at which it fits.
TEST_F(SheetViewTest, ZoomToRectPicksTheLargestLevelAtWhichTheRectangleFits)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    struct Case
    {
        double width, height;
    };
    for (const Case c : {Case{100, 60}, Case{100, 75}, Case{50, 50}, Case{400, 10}, Case{10, 290},
                         Case{799, 599}, Case{801, 601}, Case{3000, 2000}})
    {
        RecordingView view;
        view.SetSheet(sheet.Get());
        view.ZoomToLevel(7, false); // 1:16
        view.ZoomToRect(20, 30, c.width, c.height);
        const int level = view.GetLevel();
        const double grown = IMPN_SheetView::Scale(level) / IMPN_SheetView::Scale(7);
        EXPECT_LE(c.width * grown, view.clientWidth + 1e-9) << c.width << "x" << c.height;
        EXPECT_LE(c.height * grown, view.clientHeight + 1e-9) << c.width << "x" << c.height;
        if (level > 0)
        {
            EXPECT_TRUE(c.width * grown * 2 > view.clientWidth ||
                        c.height * grown * 2 > view.clientHeight)
                << c.width << "x" << c.height << " fits one level further in";
        }
        // Its middle is asked to come to the window's middle.
        long long x = 0, y = 0;
        ASSERT_EQ(std::sscanf(view.calls.back().c_str(), "ScrollTo %lld,%lld", &x, &y), 2);
        EXPECT_NEAR(double(x), (30 + c.width / 2) * grown - 400, 1.0);
        EXPECT_NEAR(double(y), (20 + c.height / 2) * grown - 300, 1.0);
    }
}

TEST_F(SheetViewTest, OpacityOutOfRangeOnlyRefreshes)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.SetSheet(sheet.Get());
    view.SetOpacity(40);
    EXPECT_EQ(sheet->GetFrontSurface().GetOpacity(), 40);
    view.calls.clear();
    view.SetOpacity(101);
    EXPECT_EQ(sheet->GetFrontSurface().GetOpacity(), 40);
    EXPECT_EQ(view.calls, std::vector<std::string>{"Refresh"});

    // Flipped, the back faces the viewer and takes the opacity.
    view.FlipSheet();
    view.SetOpacity(0);
    EXPECT_EQ(sheet->GetBackSurface().GetOpacity(), 0);
    EXPECT_EQ(sheet->GetFrontSurface().GetOpacity(), 40);
}

TEST_F(SheetViewTest, ImpositionOverlaysAllOnAllOffAndClipPathsOnlyWhenAvailable)
{
    IMPN_SheetReference plain = MakeSheet(1);
    RecordingView view;
    view.SetSheet(plain.Get());
    EXPECT_FALSE(view.IsAnyImpositionShown());
    view.ShowImposition();
    EXPECT_TRUE(view.IsAnyImpositionShown());
    // Without clip paths the four other overlays make "all shown".
    EXPECT_FALSE(view.GetClipPathsShown());
    EXPECT_TRUE(view.IsAllImpositionShown());
    view.TogglePageNumbers();
    EXPECT_FALSE(view.GetPageNumbers());
    EXPECT_FALSE(view.IsAllImpositionShown());
    EXPECT_TRUE(view.IsAnyImpositionShown());
    view.HideImposition();
    EXPECT_FALSE(view.IsAnyImpositionShown());

    IMPN_SheetReference clipped = MakeSheet(1, true, true);
    RecordingView second;
    second.SetSheet(clipped.Get());
    ASSERT_TRUE(second.GetClipPathsAvailable());
    second.ShowImposition();
    EXPECT_TRUE(second.IsAllImpositionShown());
    // With clip paths on the sheet, hiding them breaks "all shown" and alone keeps "any".
    second.SetClipPathsShown(false);
    EXPECT_FALSE(second.IsAllImpositionShown());
    second.HideImposition();
    second.SetClipPathsShown(true);
    EXPECT_TRUE(second.IsAnyImpositionShown());
}

TEST_F(SheetViewTest, PreferencesFitAndShowTheImpositionWhenASheetIsShown)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    IMPN_ViewPreferences prefs;
    prefs.defaultSurfaceColor = IMPN_MakeColorBGR(250, 240, 230);
    prefs.zoomToFitWindowOnOpen = true;
    prefs.showImpositionOnOpen = true;
    RecordingView view(prefs);
    view.SetSheet(sheet.Get());
    EXPECT_EQ(view.GetLevel(), 4);
    EXPECT_TRUE(view.IsAnyImpositionShown());
    EXPECT_EQ(sheet->GetBackSurface().PaperColor(), IMPN_MakeColorBGR(250, 240, 230));
    EXPECT_EQ(view.GetBackupMode(), IMPN_SheetView::BackupPressSheets);
    EXPECT_EQ(view.calls.back(), "Refresh");
    EXPECT_EQ(sheet->GetReferenceCount(), 2);
    view.SetSheet(nullptr);
    EXPECT_EQ(sheet->GetReferenceCount(), 1);
}

TEST_F(SheetViewTest, TileRangesForBothAxesAgainstHandWorkedRectangles)
{
    // 1:1, tiles of 512 in a picture of 800 x 600: two columns and two rows of tiles.
    IMPN_SheetReference sheetwise = MakeSheet(1);
    RecordingView view;
    view.clientWidth = 300;
    view.clientHeight = 200;
    view.SetSheet(sheetwise.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    ASSERT_EQ(view.GetFlipAxis(), 1u);
    view.ScrollTo(100, 50, false);

    IMPN_Surface& back = sheetwise->GetBackSurface();
    IMPN_SheetView::TileRange top = view.VisibleTileRange(sheetwise->GetFrontSurface());
    EXPECT_EQ(top.tileWidth, 512);
    EXPECT_EQ((std::vector<int>{top.firstLeft, top.lastLeft, top.firstTop, top.lastTop}),
              (std::vector<int>{0, 0, 0, 0})); // columns 100..400, rows 50..250

    // Axis 1: columns 800 - 400 .. 800 - 100 = 400..700, so tiles 0 and 512; rows unchanged.
    IMPN_SheetView::TileRange under = view.UnderneathTileRange(back);
    EXPECT_EQ((std::vector<int>{under.firstLeft, under.lastLeft, under.firstTop, under.lastTop}),
              (std::vector<int>{0, 512, 0, 0}));

    // Axis 2: columns as seen, rows 600 - 250 .. 600 - 50 = 350..550, tiles 0 and 512.
    IMPN_SheetReference tumble = MakeSheet(4);
    RecordingView second;
    second.clientWidth = 300;
    second.clientHeight = 200;
    second.SetSheet(tumble.Get());
    second.SetBackupMode(IMPN_SheetView::BackupPlates);
    ASSERT_EQ(second.GetFlipAxis(), 2u);
    second.ScrollTo(100, 50, false);
    under = second.UnderneathTileRange(tumble->GetBackSurface());
    EXPECT_EQ((std::vector<int>{under.firstLeft, under.lastLeft, under.firstTop, under.lastTop}),
              (std::vector<int>{0, 0, 0, 512}));

    // Without a flip axis there is nothing underneath.
    IMPN_SheetReference single = MakeSheet(0);
    RecordingView third;
    third.SetSheet(single.Get());
    ASSERT_EQ(third.GetFlipAxis(), 0u);
    EXPECT_TRUE(third.UnderneathTileRange(single->GetBackSurface()).IsEmpty());
}

TEST_F(SheetViewTest, DrawAllDrawsUnderneathThenTopWithOverlaysAfterTheirTiles)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.SetSheet(sheet.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    view.ZoomToLevel(7, false); // 1:16, 50 x 38: one tile
    view.SetOpacity(50);
    view.calls.clear();
    view.DrawAll(m_Target);
    const std::vector<std::string> expected = {
        "BeginUnderneath 100", "Tile 0,0",     "EndUnderneath",
        "BeginUnderneath 100", "UFrame 50x38", "EndUnderneath",
        "BeginTop 50",         "Tile 0,0",     "EndTop",
        "BeginTop 50",         "TFrame 50x38", "EndTop"};
    EXPECT_EQ(view.calls, expected);

    // Fully opaque top surface: nothing underneath.
    view.SetOpacity(100);
    view.calls.clear();
    view.DrawAll(m_Target);
    EXPECT_EQ(view.Count("BeginUnderneath"), 0u);
    EXPECT_EQ(view.Count("Tile"), 1u);
}

TEST_F(SheetViewTest, FillFlagsFollowTheOpacities)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.SetSheet(sheet.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    view.ZoomToLevel(7, false);

    // Underneath at 60: its tiles are backed with paper; the top at 30 is not, since the
    // underneath surface has separations.
    sheet->GetBackSurface().SetOpacity(60);
    view.SetOpacity(30);
    view.calls.clear();
    view.DrawAll(m_Target);
    EXPECT_EQ(view.calls[1], "Fill 0,0");
    EXPECT_EQ(view.Count("Fill"), 1u);

    // A single-sided sheet's top surface at 30 is backed with its paper.
    IMPN_SheetReference single = MakeSheet(1, false);
    RecordingView alone;
    alone.SetSheet(single.Get());
    alone.ZoomToLevel(7, false);
    alone.SetOpacity(30);
    alone.calls.clear();
    alone.DrawAll(m_Target);
    EXPECT_EQ(alone.calls,
              (std::vector<std::string>{"BeginTop 30", "Fill 0,0", "Tile 0,0", "EndTop",
                                        "BeginTop 30", "TFrame 50x38", "EndTop"}));
}

TEST_F(SheetViewTest, WithoutAFlipAxisProgressivePaintingDrawsOnlyTheUnderneathOverlays)
{
    IMPN_SheetReference sheet = MakeSheet(0);
    RecordingView view;
    view.SetSheet(sheet.Get());
    view.ZoomToLevel(7, false);
    view.SetOpacity(50);
    view.QueueFrame();
    EXPECT_TRUE(view.GetPendingUnderneath().empty());
    EXPECT_EQ(view.GetPendingTop().size(), 1u);
    view.calls.clear();
    view.PaintStep(m_Target);
    const std::vector<std::string> expected = {
        "BeginUnderneath 100", "UFrame 50x38", "EndUnderneath", "BeginTop 50", "Tile 0,0", "EndTop",
        "BeginTop 50",         "TFrame 50x38", "EndTop",        "Stop"};
    EXPECT_EQ(view.calls, expected);

    // DrawAll never draws the underneath surface without a flip axis.
    view.calls.clear();
    view.DrawAll(m_Target);
    EXPECT_EQ(view.Count("BeginUnderneath"), 0u);
}

TEST_F(SheetViewTest, PaintStepStopsAfterTheSliceAndResumesWhereItLeft)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.clientWidth = 4000;
    view.clientHeight = 4000;
    view.SetSheet(sheet.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    view.ZoomToLevel(5, false); // 1:4: 200 x 150 in tiles of 128: 2 x 2 tiles
    view.SetOpacity(50);
    view.QueueFrame();
    EXPECT_TRUE(view.painting);
    const std::size_t underneath = view.GetPendingUnderneath().size();
    const std::size_t top = view.GetPendingTop().size();
    ASSERT_EQ(underneath, 4u);
    ASSERT_EQ(top, 4u);

    // One millisecond per clock reading: the slice ends after the second item.
    view.m_Tick = 1;
    view.calls.clear();
    view.PaintStep(m_Target);
    EXPECT_EQ(view.Count("Tile"), 2u);
    EXPECT_EQ(view.GetPendingUnderneath().size(), underneath - 2);
    EXPECT_TRUE(view.painting);

    // The clock wrapping around the 32-bit range does not end or stretch a slice.
    view.m_Now = 0xFFFFFFFFu;
    view.calls.clear();
    view.PaintStep(m_Target);
    EXPECT_EQ(view.Count("Tile"), 2u);

    // A frozen clock draws everything in one step, overlays last, and stops the timer.
    view.m_Tick = 0;
    view.calls.clear();
    view.PaintStep(m_Target);
    EXPECT_EQ(view.Count("Tile"), underneath - 4 + top);
    EXPECT_EQ(view.calls[view.calls.size() - 2], "EndTop");
    EXPECT_EQ(view.calls.back(), "Stop");
    EXPECT_FALSE(view.painting);
    EXPECT_TRUE(view.GetPendingTop().empty());
    EXPECT_FALSE(view.AreTopOverlaysPending());
}

TEST_F(SheetViewTest, ProgressShowsOnceAFrameRanHalfASecondAndGoesWhenItIsComplete)
{
    using Progress = std::vector<std::pair<std::int32_t, std::int32_t>>;
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.clientWidth = 4000;
    view.clientHeight = 4000;
    view.SetSheet(sheet.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    view.ZoomToLevel(5, false); // 4 tiles underneath and 4 on top
    view.SetOpacity(50);
    view.QueueFrame();

    // Two items a step; a frame that finishes quickly never shows progress.
    view.m_Tick = 1;
    view.PaintStep(m_Target);
    EXPECT_TRUE(view.progress.empty());
    view.m_Now += IMPN_SheetView::kProgressDelayMilliseconds;
    view.PaintStep(m_Target);
    EXPECT_EQ(view.progress, (Progress{{4, 8}}));
    view.PaintStep(m_Target); // the underneath overlays and one tile on top
    EXPECT_EQ(view.progress.back(), (std::pair<std::int32_t, std::int32_t>{5, 8}));
    view.m_Tick = 0;
    view.PaintStep(m_Target);
    EXPECT_FALSE(view.painting);
    EXPECT_EQ(view.progress.back(), (std::pair<std::int32_t, std::int32_t>{0, 0}));
    const std::size_t reports = view.progress.size();
    view.PaintStep(m_Target); // nothing left: no further report
    EXPECT_EQ(view.progress.size(), reports);

    // A new frame while progress shows restarts it at once; dropping the sheet clears it.
    view.QueueFrame();
    view.m_Tick = 1;
    view.m_Now += IMPN_SheetView::kProgressDelayMilliseconds;
    view.PaintStep(m_Target);
    view.progress.clear();
    view.QueueFrame();
    EXPECT_EQ(view.progress, (Progress{{0, 8}}));
    view.SetSheet(nullptr);
    EXPECT_EQ(view.progress.back(), (std::pair<std::int32_t, std::int32_t>{0, 0}));
    EXPECT_FALSE(view.painting);
}

TEST_F(SheetViewTest, PlaceholdersOnlyWhereTheWindowDrawsAndNeverOverTheSurfaceUnderneath)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    RecordingView view;
    view.clientWidth = 4000;
    view.clientHeight = 4000;
    view.SetSheet(sheet.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    view.ZoomToLevel(5, false); // 2 x 2 tiles of 128
    view.QueueFrame();
    view.PaintStep(m_Target); // a frozen clock: every tile made
    ASSERT_FALSE(view.painting);

    // The exact tiles made already are their own stand-ins; only those meeting the area.
    view.QueueFrame();
    view.calls.clear();
    view.PaintPlaceholders(m_Target, IMPN_Rect{10, 130, 20, 20});
    EXPECT_EQ(view.calls, (std::vector<std::string>{"BeginTop 100", "Tile 128,0", "EndTop"}));
    view.calls.clear();
    view.PaintPlaceholders(m_Target, IMPN_Rect{0, 0, 4000, 4000});
    EXPECT_EQ(view.Count("Tile"), 4u);

    // With the back showing through the front, a tile drawn over a stand-in would blend with it.
    view.SetOpacity(50);
    view.QueueFrame();
    ASSERT_FALSE(view.GetPendingUnderneath().empty());
    view.calls.clear();
    view.PaintPlaceholders(m_Target, IMPN_Rect{0, 0, 4000, 4000});
    EXPECT_TRUE(view.calls.empty());
}

// With a pool the step asks for the tiles and draws each as it arrives; it never waits for a
// worker. The underneath surface is complete before the top one is drawn over it, and a tile
// that is not ready is announced once.
TEST_F(SheetViewTest, PaintStepWithAPoolDrawsTilesAsTheyArriveAndNeverWaits)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    IMPN_SheetReference other = MakeSheet(1);
    IMPN_WorkerPool pool(1);
    RecordingView view;
    view.SetWorkerPool(&pool);
    view.clientWidth = 4000;
    view.clientHeight = 4000;
    view.SetSheet(other.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    view.ZoomToLevel(5, false);
    view.SetOpacity(50);

    std::promise<void> gate;
    std::shared_future<void> opened = gate.get_future().share();
    pool.Submit([opened] { opened.wait(); });
    view.QueueFrame();
    view.PaintStep(m_Target); // the other sheet's tiles are queued behind the gate
    view.SetSheet(sheet.Get());
    view.SetBackupMode(IMPN_SheetView::BackupPlates);
    view.ZoomToLevel(5, false);
    view.SetOpacity(50);
    view.QueueFrame();
    ASSERT_EQ(view.GetPendingUnderneath().size(), 4u);
    ASSERT_EQ(view.GetPendingTop().size(), 4u);
    view.calls.clear();
    view.drawn.clear();
    view.PaintStep(m_Target);
    view.PaintStep(m_Target);
    EXPECT_EQ(view.Count("Tile"), 0u);
    EXPECT_EQ(view.Count("UNotReady"), 4u); // once each, not once a step
    EXPECT_EQ(view.Count("BeginTop"), 0u);
    EXPECT_TRUE(view.painting);

    gate.set_value();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (view.painting && std::chrono::steady_clock::now() < deadline)
    {
        view.PaintStep(m_Target);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(view.painting);
    EXPECT_EQ(view.Count("Tile"), 8u);
    const auto firstTop = std::find(view.calls.begin(), view.calls.end(), "BeginTop 50");
    const auto lastUnder = std::find(view.calls.rbegin(), view.calls.rend(), "EndUnderneath");
    EXPECT_LT(lastUnder.base() - view.calls.begin(), firstTop - view.calls.begin());
    EXPECT_EQ(view.calls.back(), "Stop");

    // Every tile drawn is the shown sheet's own, never one asked for the sheet shown before.
    std::vector<const IMPN_RenderTile*> own;
    for (IMPN_Surface* surface : {&sheet->GetFrontSurface(), &sheet->GetBackSurface()})
        for (std::int32_t top : {0, 128})
            for (std::int32_t left : {0, 128})
                own.push_back(
                    surface->GetRenderer()->GetTile(top, left, 5, surface->GetLatestChange()));
    for (const IMPN_RenderTile* tile : view.drawn)
        EXPECT_NE(std::find(own.begin(), own.end(), tile), own.end());
}
} // namespace

// With no room at all for the finer tiles, what the window shows of either surface is still held
// after the frame is drawn, and what it showed before scrolling is let go.
TEST_F(SheetViewTest, DrawnFramesKeepTheirTilesOfBothSurfacesWhateverTheMemoryBudget)
{
    IMPN_SheetReference sheet = MakeSheet(1);
    IMPN_ViewPreferences preferences;
    preferences.tileMemoryBudget = 0;
    RecordingView view(preferences);
    view.SetSheet(sheet.Get());
    view.ZoomToLevel(0, false); // 8:1: 6400 x 4800 in many tiles
    view.SetOpacity(50);
    IMPN_SurfaceRenderer& top = *view.GetTopSurface()->GetRenderer();
    IMPN_SurfaceRenderer& under = *view.GetUnderneathSurface()->GetRenderer();
    EXPECT_EQ(top.GetMemoryBudget(), 0u);

    auto held = [](IMPN_SurfaceRenderer& renderer, const IMPN_SheetView::TileRange& range)
    {
        int count = 0;
        for (std::int32_t y = range.firstTop; y <= range.lastTop; y += range.tileHeight)
            for (std::int32_t x = range.firstLeft; x <= range.lastLeft; x += range.tileWidth)
                count += renderer.HoldsTile(y, x, 0) ? 1 : 0;
        return count;
    };
    auto tiles = [](const IMPN_SheetView::TileRange& range)
    {
        return ((range.lastTop - range.firstTop) / range.tileHeight + 1) *
               ((range.lastLeft - range.firstLeft) / range.tileWidth + 1);
    };
    view.DrawAll(m_Target);
    const IMPN_SheetView::TileRange firstTop = view.VisibleTileRange(*view.GetTopSurface());
    const IMPN_SheetView::TileRange firstUnder =
        view.UnderneathTileRange(*view.GetUnderneathSurface());
    ASSERT_FALSE(firstTop.IsEmpty());
    ASSERT_FALSE(firstUnder.IsEmpty());
    EXPECT_EQ(held(top, firstTop), tiles(firstTop));
    EXPECT_EQ(held(under, firstUnder), tiles(firstUnder));

    // Scrolled far away and painted progressively: the new screen is held, the old one is gone.
    ASSERT_GT(view.scrollX, 2000); // zoomed about the centre
    view.ScrollTo(0, 0, false);
    view.QueueFrame();
    while (view.painting)
        view.PaintStep(m_Target);
    const IMPN_SheetView::TileRange nextTop = view.VisibleTileRange(*view.GetTopSurface());
    const IMPN_SheetView::TileRange nextUnder =
        view.UnderneathTileRange(*view.GetUnderneathSurface());
    EXPECT_EQ(held(top, nextTop), tiles(nextTop));
    EXPECT_EQ(held(under, nextUnder), tiles(nextUnder));
    EXPECT_EQ(held(top, firstTop), 0);
    EXPECT_EQ(held(under, firstUnder), 0);
}
