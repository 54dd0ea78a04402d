// The ink-coverage tools of a job window on a two-ink sheet: Cyan solid in the left half (x < 400)
// and nowhere else, Magenta on three columns of every four everywhere. The total is 175 % on the
// left and 75 % on the right, so a limit of 150 % is crossed on the left only.

#include "WKRN_JobWindowFixture.h"

#include "GLIB/GLIB_Exception.h"
#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/coverage/WKRN_CoverageWorker.h"
#include "WKRN/coverage/WKRN_DensitometerDock.h"
#include "WKRN/coverage/WKRN_InkCoverageTools.h"
#include "WKRN/coverage/WKRN_InkLimitOverlay.h"
#include "WKRN/coverage/WKRN_InkZonesDialog.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesApplied.h"
#include "WKRN/sheet/WKRN_Cursors.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <set>
#include <utility>

namespace
{
constexpr int kCyanEdge = 400;

class InkCoverageTools : public WKRN_JobWindowTest
{
protected:
    void SetUp() override
    {
        WKRN_JobWindowTest::SetUp();
        WKRN_TestSheetSpec spec;
        spec.width = 800;
        spec.height = 600;
        spec.resolution = 600.0f;
        spec.pages = {WKRN_TestSheets::Page(1, 0, 100, 100, 400, 300)};
        spec.surfaces = {
            WKRN_TestSurface{0, "Cyan", 1,
                             [](std::uint32_t x, std::uint32_t) { return x < kCyanEdge; }},
            WKRN_TestSurface{0, "Magenta", 2,
                             [](std::uint32_t x, std::uint32_t) { return x % 4 != 0; }},
        };
        job = app->OpenJobWindow(sheets.Make(spec), QRect(20, 20, 700, 560), true);
        ASSERT_NE(job, nullptr);
        view = job->View();
        view->SetTilePause({});
        view->ZoomToLevel(3, true);
        view->ScrollTo(0, 0, true);
        Settle();
    }
    void Settle()
    {
        view->viewport()->repaint();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !view->IsPaintingTimerActive(); }, 15000));
        WKRN_ProcessEvents();
    }

    // Yellow pixels of the hatch on the canvas within a rectangle.
    int HatchPixels(const QRect& area) const
    {
        const QImage& canvas = view->Canvas();
        int n = 0;
        const QRect r = area.intersected(canvas.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += canvas.pixelColor(x, y) == QColor(255, 230, 0) ? 1 : 0;
        return n;
    }

    // Waits for the overlay to have counted every source tile the view shows, then to be drawn.
    void WaitForOverlay()
    {
        WKRN_ProcessEvents();
        WKRN_InkLimitOverlay& overlay = job->InkCoverage()->Overlay();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return overlay.CountedTiles() > 0 && !overlay.IsCounting(); }, 10000));
        Settle();
    }

    WKRN_SheetWindow* job = nullptr;
    WKRN_SheetView* view = nullptr;
};
} // namespace

TEST_F(InkCoverageTools, InkLimitHatchesWhereTheShownInksExceedTheLimitAtEveryZoom)
{
    WKRN_Preferences::Current().InkLimit = 150;
    const QRect left(0, 0, kCyanEdge - 10, 400), right(kCyanEdge + 10, 0, 200, 400);
    EXPECT_EQ(HatchPixels(left), 0);
    job->Execute(ID_VIEW_INK_LIMIT);
    EXPECT_TRUE(job->Action(ID_VIEW_INK_LIMIT)->isChecked());
    WaitForOverlay();
    EXPECT_GT(HatchPixels(left), 1000);
    EXPECT_EQ(HatchPixels(right), 0);

    // Redrawn from the tile cache, the hatch comes back with the tiles.
    view->Redraw();
    Settle();
    EXPECT_GT(HatchPixels(left), 1000);
    EXPECT_EQ(HatchPixels(right), 0);

    // A limit changed in the Preferences applies at once (175 % on the left), and back.
    WKRN_Preferences::Current().InkLimit = 200;
    WKRN_PreferencesApplied::Notify();
    ASSERT_TRUE(QTest::qWaitFor([&] { return HatchPixels(left) == 0; }, 15000));
    WKRN_Preferences::Current().InkLimit = 150;
    WKRN_PreferencesApplied::Notify();
    WaitForOverlay();
    ASSERT_TRUE(QTest::qWaitFor([&] { return HatchPixels(left) > 1000; }, 15000));

    // At 1:64 the 800 pixels are 12 or 13 wide; the left half is still hatched.
    view->ZoomToLevel(9, true);
    view->ScrollTo(0, 0, true);
    Settle();
    WaitForOverlay();
    EXPECT_GT(HatchPixels(QRect(0, 0, 6, 9)), 0);
    EXPECT_EQ(HatchPixels(QRect(7, 0, 20, 20)), 0);

    // Hiding Cyan leaves 75 %: the hatch goes.
    view->ZoomToLevel(3, true);
    view->ScrollTo(0, 0, true);
    job->Sheet()->GetFrontSurface().GetSeparation(0)->SetVisible(false);
    WTLU_MessageEvent::Send(job, JOBMSG_SEPARATION_VISIBILITY, 0, 0);
    Settle();
    WaitForOverlay();
    ASSERT_TRUE(QTest::qWaitFor([&] { return HatchPixels(left) == 0; }, 15000));

    // Off again: the picture shows without hatch whatever the inks.
    job->Sheet()->GetFrontSurface().GetSeparation(0)->SetVisible(true);
    WTLU_MessageEvent::Send(job, JOBMSG_SEPARATION_VISIBILITY, 0, 0);
    WaitForOverlay();
    ASSERT_TRUE(QTest::qWaitFor([&] { return HatchPixels(left) > 1000; }, 15000));
    job->Execute(ID_VIEW_INK_LIMIT);
    EXPECT_FALSE(job->Action(ID_VIEW_INK_LIMIT)->isChecked());
    Settle();
    EXPECT_EQ(HatchPixels(left), 0);
}

TEST_F(InkCoverageTools, DensitometerReadsEveryInkInItsApertureAndPinsAClick)
{
    // 3387 micrometres at 600 dpi is 80 pixels: four whole groups of Magenta's columns.
    WKRN_Preferences::Current().DensitometerAperture = 3387;
    job->Execute(ID_TOOL_DENSITOMETER);
    EXPECT_TRUE(job->Action(ID_TOOL_DENSITOMETER)->isChecked());
    EXPECT_FALSE(job->Action(ID_TOOL_PAN)->isChecked());
    EXPECT_EQ(view->GetTool(), int(WKRN_SheetView::DensitometerTool));

    WKRN_InkCoverageTools& tools = *job->InkCoverage();
    QTest::mouseMove(view->viewport(), QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tools.LastReading().isEmpty(); }, 15000));
    EXPECT_EQ(view->CursorId(), int(WKRN_Cursors::Densitometer));
    EXPECT_EQ(tools.LastReading(),
              QStringLiteral("Densitometer (3.387 mm): Cyan 100.00 %   Magenta 75.00 %   "
                             "Total 175.00 %"));
    EXPECT_EQ(job->statusBar()->currentMessage(), tools.LastReading());

    // Across Cyan's edge: columns 360 to 439, half of them Cyan.
    QTest::mouseMove(view->viewport(), QPoint(kCyanEdge, 100));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return tools.LastReading().contains(QStringLiteral("125.00")); }, 15000));
    EXPECT_TRUE(tools.LastReading().contains(QStringLiteral("Cyan 50.00 %")));

    // A click pins the reading into the dock.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return tools.Dock() && tools.Dock()->ReadingCount() == 1; }, 15000));
    // The palettes float on the right from the start: the dock goes where they cannot cover it.
    EXPECT_EQ(job->dockWidgetArea(tools.Dock()), Qt::LeftDockWidgetArea);
    const QTreeWidgetItem* reading = tools.Dock()->Readings()->topLevelItem(0);
    EXPECT_EQ(reading->text(1), QStringLiteral("175.00"));
    ASSERT_EQ(reading->childCount(), 2);
    EXPECT_EQ(reading->child(0)->text(0), QStringLiteral("Cyan"));
    EXPECT_EQ(reading->child(1)->text(1), QStringLiteral("75.00"));
}

TEST(DensitometerAperture, IsTheSquareAroundTheDevicePixelUnderThePoint)
{
    // 1:1 at 600 dpi: 80 pixels centred on the pixel.
    IMPN_Rect r = WKRN_InkCoverageTools::Aperture(QPoint(100, 50), 1.0, 600, 600, 3387);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.width, 80);
    EXPECT_EQ(r.height, 80);
    // 1:8 at 2400 dpi, 3 mm: 283.46 pixels round to 283; level pixel 10 is device pixel 80.
    r = WKRN_InkCoverageTools::Aperture(QPoint(10, 10), 1.0 / 8, 2400, 2400, 3000);
    EXPECT_EQ(r.width, 283);
    EXPECT_EQ(r.left, 80 - 141);
    // 8:1: level pixels 0..7 are device pixel 0; unequal resolutions give a rectangle in pixels
    // that is square on paper.
    r = WKRN_InkCoverageTools::Aperture(QPoint(7, 7), 8.0, 1200, 600, 3000);
    EXPECT_EQ(r.width, 142);
    EXPECT_EQ(r.height, 71);
    EXPECT_EQ(r.left, -71);
    // Tiny apertures still read one pixel; no resolution, no aperture.
    EXPECT_EQ(WKRN_InkCoverageTools::Aperture(QPoint(5, 5), 1.0, 72, 72, 50).width, 1);
    EXPECT_EQ(WKRN_InkCoverageTools::Aperture(QPoint(5, 5), 1.0, 0, 72, 3000).width, 0);
}

TEST_F(InkCoverageTools, InkZonesDialogCountsTheFacingSurfaceAndExportsCsv)
{
    job->Execute(ID_SHEET_INK_ZONES);
    WKRN_InkZonesDialog* dialog = job->InkCoverage()->ZonesDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ZoneCount(), 32);
    // 800 pixels at 600 dpi are 33.867 mm: a zone width of 8.5 mm gives four zones.
    auto* width = dialog->findChild<QDoubleSpinBox*>();
    ASSERT_NE(width, nullptr);
    EXPECT_NEAR(width->value(), 33.867 / 32, 0.01);
    width->setValue(8.5);
    EXPECT_EQ(dialog->ZoneCount(), 4);
    dialog->SetZoneCount(32);
    dialog->Count();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Profile().has_value(); }, 10000));
    // 32 zones of 25 columns: Cyan fills the first sixteen.
    const IMPN_InkCoverageCounts& profile = *dialog->Profile();
    ASSERT_EQ(profile.Columns(), 32u);
    EXPECT_DOUBLE_EQ(profile.CellPercent(0, 0, 15), 100.0);
    EXPECT_DOUBLE_EQ(profile.CellPercent(0, 0, 16), 0.0);

    // Five zones of 160 columns: Magenta is exactly 75 % in each.
    dialog->SetZoneCount(5);
    dialog->Count();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Profile()->Columns() == 5; }, 10000));
    WKRN_TestFolder folder;
    const QString path = QString::fromStdString((folder.Path() / "zones.csv").string());
    ASSERT_TRUE(dialog->ExportTo(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              QStringLiteral("Ink,Zone 1,Zone 2,Zone 3,Zone 4,Zone 5\n"
                             "Cyan,100.00,100.00,50.00,0.00,0.00\n"
                             "Magenta,75.00,75.00,75.00,75.00,75.00\n"
                             "Total,175.00,175.00,125.00,75.00,75.00\n"));
    EXPECT_FALSE(dialog->ExportTo(
        QString::fromStdString((folder.Path() / "missing" / "zones.csv").string())));
}

TEST(CoverageWorker, ANewerJobOfALaneSupersedesTheRunningOneAndItsResults)
{
    WKRN_CoverageWorker worker(
        std::make_unique<IMPN_InkCoverage>(std::vector<std::unique_ptr<IMPN_RenderInk>>{}, 0));
    std::promise<void> started, release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<int> delivered;
    bool firstSawStop = false;
    worker.Submit(WKRN_CoverageWorker::ReadingLane,
                  [&](IMPN_InkCoverage&, const WKRN_CoverageWorker::Context& context)
                  {
                      started.set_value();
                      released.wait();
                      firstSawStop = context.Stopped();
                      context.Deliver([&] { delivered.push_back(1); });
                  });
    started.get_future().wait();
    worker.Submit(WKRN_CoverageWorker::ReadingLane,
                  [&](IMPN_InkCoverage&, const WKRN_CoverageWorker::Context& context)
                  { context.Deliver([&] { delivered.push_back(2); }); });
    // Another lane is not touched by it.
    worker.Submit(WKRN_CoverageWorker::ZonesLane,
                  [&](IMPN_InkCoverage&, const WKRN_CoverageWorker::Context& context)
                  { context.Deliver([&] { delivered.push_back(3); }); });
    release.set_value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() >= 2; }, 15000));
    WKRN_ProcessEvents();
    EXPECT_TRUE(firstSawStop);
    EXPECT_EQ(delivered, (std::vector<int>{2, 3}));
}

// A job that throws, whatever it throws, ends as a failure of its lane said on the user-interface
// thread; the worker goes on with the next job.
TEST(CoverageWorker, AJobThatThrowsAnythingEndsAsAReportedFailure)
{
    using Context = WKRN_CoverageWorker::Context;
    WKRN_CoverageWorker worker(
        std::make_unique<IMPN_InkCoverage>(std::vector<std::unique_ptr<IMPN_RenderInk>>{}, 0));
    QSignalSpy failed(&worker, &WKRN_CoverageWorker::Failed);
    int delivered = 0;
    worker.Submit(WKRN_CoverageWorker::ZonesLane, [](IMPN_InkCoverage&, const Context&)
                  { throw GLIB_Exception(1158004, "the disk is full", __FILE__, __LINE__); });
    worker.Submit(WKRN_CoverageWorker::PinLane, [](IMPN_InkCoverage&, const Context&) { throw 3; });
    worker.Submit(WKRN_CoverageWorker::ReadingLane, [&](IMPN_InkCoverage&, const Context& context)
                  { context.Deliver([&] { ++delivered; }); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 2 && delivered == 1; }, 15000));
    std::set<std::pair<int, QString>> reports;
    for (const QList<QVariant>& report : failed)
        reports.emplace(report[0].toInt(), report[1].toString());
    EXPECT_EQ(reports, (std::set<std::pair<int, QString>>{
                           {WKRN_CoverageWorker::PinLane,
                            QStringLiteral("An unidentified exception has been caught.")},
                           {WKRN_CoverageWorker::ZonesLane, QStringLiteral("the disk is full")}}));
}

TEST(InkLimitCells, ReductionsKeepEveryOverLimitCellVisibleAtEveryScale)
{
    // 5 x 3 cells, odd in both directions, one cell over the limit in the last row and column.
    std::vector<std::uint8_t> finest(15, 0);
    finest[2 * 5 + 4] = 1;
    const auto cells = WKRN_InkLimitOverlay::TileCells::FromFinest(5, 3, finest);
    ASSERT_TRUE(cells.any);
    EXPECT_TRUE(cells.At(0, 4, 2));
    EXPECT_FALSE(cells.At(0, 3, 2));
    // 2 x 2 cells: 3 x 2 of them, the cell at (2, 1) holds it.
    EXPECT_EQ(cells.Across(1), 3u);
    EXPECT_EQ(cells.Down(1), 2u);
    EXPECT_TRUE(cells.At(1, 2, 1));
    EXPECT_FALSE(cells.At(1, 1, 1));
    EXPECT_FALSE(cells.At(1, 2, 0));
    // Down to one cell for the whole tile, which is over the limit.
    EXPECT_EQ(cells.Across(7), 1u);
    EXPECT_TRUE(cells.At(7, 0, 0));
    EXPECT_FALSE(cells.At(7, 1, 0)); // outside

    const auto none =
        WKRN_InkLimitOverlay::TileCells::FromFinest(5, 3, std::vector<std::uint8_t>(15));
    EXPECT_FALSE(none.any);
    EXPECT_FALSE(none.At(0, 0, 0));
}
