// Stand-ins while a progressive frame is made: the reduced-image overview and coarser levels
// already made are on the canvas as soon as the frame is queued, and the exact tiles replace them
// without a trace. The job window shows the progress of long frames.

#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "IMPN/IMPN_OverviewImage.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"
#include "WKRN/sheet/WKRN_StatusPanes.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QImage>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace
{
// Diagonal bands and a solid block: coverage that varies at every level.
bool Art(std::uint32_t x, std::uint32_t y)
{
    return (x + y) % 96 < 40 || (x > 1000 && x < 1500 && y > 300 && y < 900);
}

class SheetViewPlaceholderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WKRN_Preferences::Current() = WKRN_PreferenceValues{};
        for (WKRN_SheetView* view : {&m_View, &m_Reference})
        {
            view->SetTilePause({});
            view->resize(1000, 800);
            view->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
        }
        m_Reference.SetProgressive(false);
        WKRN_TestSheetSpec spec;
        spec.width = 4000;
        spec.height = 3000;
        spec.surfaces[0].fill = Art;
        m_Sheet = m_Sheets.Make(spec);
    }

    static void Settle(WKRN_SheetView& view)
    {
        view.viewport()->repaint();
        ASSERT_TRUE(QTest::qWaitFor([&view] { return !view.IsPaintingTimerActive(); }, 15000));
        WKRN_ProcessEvents();
    }

    // Shows the sheet at a level and paints what is invalid, leaving the frame's tiles queued.
    void Queue(int level)
    {
        m_View.ZoomToLevel(level, true);
        m_View.viewport()->repaint();
    }

    // Today's picture: the same sheet drawn at once, tile after tile.
    QImage ReferenceAt(int level, int opacity)
    {
        m_Reference.SetSheet(m_Sheet.Get());
        m_Reference.SetOpacity(opacity);
        m_Reference.ZoomToLevel(level, true);
        Settle(m_Reference);
        return m_Reference.Canvas().copy();
    }

    IMPN_SurfaceRenderer& Renderer() { return *m_Sheet->GetFrontSurface().GetRenderer(); }
    std::uint32_t Stamp() { return m_Sheet->GetFrontSurface().GetLatestChange(); }

    WKRN_PreferencesGuard m_Preferences;
    WKRN_TestSheets m_Sheets;
    IMPN_SheetReference m_Sheet;
    WKRN_SheetView m_View;
    WKRN_SheetView m_Reference;
};

// Largest difference of one channel between two colours.
int Distance(const QColor& a, const QColor& b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

TEST_F(SheetViewPlaceholderTest, OverviewComesBeforeTheFirstTileAndTheTilesReplaceItExactly)
{
    for (int opacity : {100, 40})
    {
        SCOPED_TRACE(opacity);
        const QImage reference = ReferenceAt(7, opacity); // 1:16, 250 x 188
        Renderer().ReleaseTiles();

        m_View.SetSheet(m_Sheet.Get());
        m_View.SetOpacity(opacity);
        Queue(7);
        ASSERT_TRUE(m_View.IsPaintingTimerActive());
        ASSERT_EQ(Renderer().FindTile(0, 0, 7, Stamp()), nullptr); // no exact tile yet
        const QImage early = m_View.Canvas().copy();
        // Averaged from the reduced image, the stand-in is close to the exact picture
        // everywhere inside it: never the blank paper where there is ink.
        int far = 0;
        for (int y = 2; y < 186; y += 3)
            for (int x = 2; x < 248; x += 3)
                far += Distance(early.pixelColor(x, y), reference.pixelColor(x, y)) > 24 ? 1 : 0;
        EXPECT_LT(far, 20);
        // The solid block is ink on the stand-in already.
        EXPECT_EQ(early.pixelColor(78, 37), reference.pixelColor(78, 37));
        EXPECT_NE(early.pixelColor(78, 37), QColor(Qt::white));

        Settle(m_View);
        EXPECT_EQ(m_View.Canvas(), reference);
    }
}

TEST_F(SheetViewPlaceholderTest, ZoomingInShowsTheCoarserLevelScaledUpAndMakesNoTileForIt)
{
    m_View.SetSheet(m_Sheet.Get());
    m_View.ZoomToLevel(5, true); // 1:4, 1000 x 750
    Settle(m_View);
    const QImage coarse = m_View.Canvas().copy();
    const QPoint coarseScroll = m_View.ScrollPosition();
    const std::size_t records = Renderer().GetTileRecordCount();

    Queue(4); // 1:2, drawn from the 1:4 tiles while its own are pending
    ASSERT_TRUE(m_View.IsPaintingTimerActive());
    EXPECT_EQ(Renderer().GetTileRecordCount(), records);
    const QPoint scroll = m_View.ScrollPosition();
    int differing = 0;
    for (int y = 4; y < 700; y += 7)
        for (int x = 4; x < 900; x += 7)
        {
            const int lx = (x + scroll.x()) / 2, ly = (y + scroll.y()) / 2;
            if (lx >= 990 || ly >= 740)
                continue; // the image frame outlines the coarser picture
            const int cx = lx - coarseScroll.x(), cy = ly - coarseScroll.y();
            if (cx < 0 || cy < 0 || cx >= coarse.width() || cy >= coarse.height())
                continue;
            differing += m_View.Canvas().pixelColor(x, y) != coarse.pixelColor(cx, cy) ? 1 : 0;
        }
    EXPECT_EQ(differing, 0);

    Settle(m_View);
    ReferenceAt(4, 100);
    m_Reference.ScrollTo(scroll.x(), scroll.y(), true);
    Settle(m_Reference);
    EXPECT_EQ(m_View.Canvas(), m_Reference.Canvas());
}

TEST_F(SheetViewPlaceholderTest, OverviewFollowsInkColourAndVisibility)
{
    IMPN_Surface& front = m_Sheet->GetFrontSurface();
    m_View.SetSheet(m_Sheet.Get());
    const IMPN_OverviewImage* first = m_View.OverviewOf(front);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetFirstLevel(), 5); // the test sheets' reduced images are 1:4
    const IMPN_RenderTile* picture = first->Picture(7);
    ASSERT_NE(picture, nullptr);
    std::uint8_t ink[3];
    picture->CopyRow(37, 78, 1, ink);
    EXPECT_EQ(ink[0], 0); // black on the solid block

    IMPN_Separation& black = *front.GetSeparation(0);
    black.SetVisible(false);
    const IMPN_OverviewImage* hidden = m_View.OverviewOf(front);
    ASSERT_NE(hidden, nullptr);
    hidden->Picture(7)->CopyRow(37, 78, 1, ink);
    EXPECT_EQ(ink[0], 255); // paper only
    EXPECT_EQ(ink[1], 255);

    black.SetVisible(true);
    IMPN_ColorRecord red = black.GetCurrentColor();
    red.color = IMPN_MakeColorBGR(255, 0, 0);
    black.SetCurrentColor(red);
    m_View.OverviewOf(front)->Picture(7)->CopyRow(37, 78, 1, ink);
    EXPECT_EQ(ink[2], 255);
    EXPECT_EQ(ink[1], 0);
}

TEST(OverviewImage, FirstLevelIsTheFirstAtOrBelowTheReducedScale)
{
    EXPECT_EQ(IMPN_OverviewImage::FirstLevelOf(8), 6);
    EXPECT_EQ(IMPN_OverviewImage::FirstLevelOf(6), 6);
    EXPECT_EQ(IMPN_OverviewImage::FirstLevelOf(1), 3);
    EXPECT_EQ(IMPN_OverviewImage::FirstLevelOf(512), 12);
    EXPECT_EQ(IMPN_OverviewImage::FirstLevelOf(513), IMPN_RenderLevel::kLevelCount);
    EXPECT_EQ(IMPN_OverviewImage::FirstLevelOf(0), IMPN_RenderLevel::kLevelCount);
}

// Read on a pool, a wave of inks at a time, the overview is the one read ink after ink: the inks
// are still mixed in their order.
TEST(OverviewImage, ReadOnAPoolIsTheSamePicture)
{
    WKRN_TestSheets sheets;
    WKRN_TestSheetSpec spec;
    spec.width = 2000;
    spec.height = 1500;
    spec.surfaces = {
        WKRN_TestSurface{0, "Cyan", 1, [](std::uint32_t x, std::uint32_t y) { return Art(x, y); }},
        WKRN_TestSurface{0, "Magenta", 2,
                         [](std::uint32_t x, std::uint32_t y) { return (x / 7 + y / 5) % 3 == 0; }},
        WKRN_TestSurface{0, "Yellow", 3,
                         [](std::uint32_t x, std::uint32_t) { return x % 11 < 6; }}};
    IMPN_SheetReference sheet = sheets.Make(spec);
    ASSERT_NE(sheet.Get(), nullptr);
    sheet->Prepare();
    IMPN_Surface& front = sheet->GetFrontSurface();
    ASSERT_EQ(front.GetSeparations().size(), 3u);
    front.GetSeparation(1)->SetOpacity(60);

    IMPN_WorkerPool pool(1);
    const IMPN_OverviewImage alone(front);
    const IMPN_OverviewImage pooled(front, &pool);
    ASSERT_LT(alone.GetBaseLevel(), IMPN_RenderLevel::kLevelCount);
    ASSERT_EQ(pooled.GetBaseLevel(), alone.GetBaseLevel());
    for (int level = alone.GetBaseLevel(); level < IMPN_RenderLevel::kLevelCount; ++level)
    {
        const IMPN_RenderTile* a = alone.Picture(level);
        const IMPN_RenderTile* b = pooled.Picture(level);
        ASSERT_TRUE(a && b) << level;
        ASSERT_EQ(a->storeBytes, b->storeBytes) << level;
        EXPECT_EQ(std::memcmp(a->pixels.get(), b->pixels.get(), a->storeBytes), 0) << level;
    }
}

TEST(SheetWindowProgress, StatusBarShowsProgressAndClearsOnlyItsOwnText)
{
    WKRN_Preferences::Current() = WKRN_PreferenceValues();
    auto app = std::make_unique<WKRN_Tressida>(QPixmap());
    app->SetQuitAction([] {});
    WKRN_SheetWindow* job = app->OpenJobWindow({}, QRect(20, 20, 640, 480), true);
    ASSERT_NE(job, nullptr);
    QStatusBar* bar = job->statusBar();

    WTLU_MessageEvent::Send(job, JOBMSG_PAINT_PROGRESS, 12, 40);
    EXPECT_EQ(bar->currentMessage(), WKRN_StringTable::Load(IDS_PAINT_PROGRESS).arg(12).arg(40));
    EXPECT_TRUE(bar->currentMessage().contains(QStringLiteral("40")));
    WTLU_MessageEvent::Send(job, JOBMSG_PAINT_PROGRESS, 0, 0);
    EXPECT_TRUE(bar->currentMessage().isEmpty());

    // A reading shown meanwhile stays when the progress goes.
    WTLU_MessageEvent::Send(job, JOBMSG_PAINT_PROGRESS, 3, 40);
    bar->showMessage(QStringLiteral("reading"));
    WTLU_MessageEvent::Send(job, JOBMSG_PAINT_PROGRESS, 0, 0);
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("reading"));
    app.reset();
    WKRN_ProcessEvents();
    WKRN_StatusPanes::SetCapsSource({});
}
} // namespace
