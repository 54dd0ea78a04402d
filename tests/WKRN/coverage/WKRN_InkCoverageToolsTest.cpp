// The ink-coverage tools of a job window on a two-ink sheet: Cyan solid in the left half (x < 400)
// and nowhere else, Magenta on three columns of every four everywhere. The total is 175 % on the
// left and 75 % on the right, so a limit of 150 % is crossed on the left only.

#include "WKRN_JobWindowFixture.h"

#include "GLIB/GLIB_Exception.h"
#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_InkZones.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
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
#include <QChartView>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
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
        // The separators of the built-in table, whatever language an earlier test left.
        WKRN_Language::Start({}, QLocale(QLocale::Russian));
        WKRN_Language::Stop();
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

    // Waits for the overlay to have counted every block the view shows, then to be drawn.
    void WaitForOverlay()
    {
        WKRN_ProcessEvents();
        WKRN_InkLimitOverlay& overlay = job->InkCoverage()->Overlay();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return overlay.CountedBlocks() > 0 && !overlay.IsCounting(); }, 10000));
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
    const QPoint clicked(100, 100);
    const QPoint pictureClicked = view->ScrollPosition() + clicked;
    const QPoint onScreen = view->viewport()->mapToGlobal(clicked);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, clicked);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return tools.Dock() && tools.Dock()->ReadingCount() == 1; }, 15000));
    // The palettes float on the right from the start: the dock goes where they cannot cover it.
    EXPECT_EQ(job->dockWidgetArea(tools.Dock()), Qt::LeftDockWidgetArea);
    // The view gave the dock its room, and the picture stayed where it was on the screen: the
    // next click lands on the same point of the sheet.
    EXPECT_GT(view->viewport()->mapToGlobal(QPoint(0, 0)).x(), onScreen.x() - clicked.x());
    EXPECT_EQ(view->viewport()->mapToGlobal(pictureClicked - view->ScrollPosition()), onScreen);
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

// 800 pixels at 600 dpi are 33.867 mm. A press of four 10 mm zones centred on them starts 72.44
// pixels left of the plate: its zones hold columns 0..163, 164..399, 400..635 and 636..799.
TEST_F(InkCoverageTools, InkZonesDialogCountsThePressGridAndExportsItsGeometry)
{
    WKRN_Preferences::Current().ZonePresets = {{QString(), 10000, 4},
                                               {QStringLiteral("Narrow"), 5000, 8}};
    job->Execute(ID_SHEET_INK_ZONES);
    WKRN_InkZonesDialog* dialog = job->InkCoverage()->ZonesDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Geometry(), (IMPN_InkZones::Geometry{10000, 4, 0}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Profile().has_value(); }, 10000));
    ASSERT_EQ(dialog->ZoneBands().size(), 4u);
    for (std::size_t z = 0; z < 4; ++z)
    {
        EXPECT_EQ(dialog->ZonePercent(0, z), z < 2 ? 100.0 : 0.0) << z; // Cyan: x < 400
        EXPECT_EQ(dialog->ZonePercent(1, z), 75.0) << z;
    }
    EXPECT_TRUE(dialog->GeometryText().contains(QStringLiteral("zones 1 to 4")))
        << dialog->GeometryText().toStdString();

    // The fields and the list of presses always say the grid that is counted.
    auto* presets = dialog->findChild<QComboBox*>();
    ASSERT_NE(presets, nullptr);
    dialog->ChoosePreset(1);
    EXPECT_EQ(presets->currentText(), QStringLiteral("Narrow"));
    EXPECT_EQ(dialog->Geometry(), (IMPN_InkZones::Geometry{5000, 8, 0}));
    dialog->findChild<QDoubleSpinBox*>(QStringLiteral("ZoneWidth"))->setValue(7.0);
    EXPECT_EQ(presets->currentIndex(), presets->count() - 1); // Other press
    dialog->SpanPlate();                                      // 33.867 / 7 mm: 5 zones
    EXPECT_EQ(dialog->Geometry().count, 5u);
    // Out of range, a field stops at its end.
    dialog->SetGeometry({5, 5000, 9999999});
    EXPECT_EQ(dialog->Geometry(),
              (IMPN_InkZones::Geometry{IMPN_InkZones::kMinWidth, IMPN_InkZones::kMaxZones,
                                       IMPN_InkZones::kMaxOffset}));

    // Shifted 20 mm (472.44 pixels) to the right, zones 3 and 4 lie off the plate.
    dialog->SetGeometry({10000, 4, 20000});
    dialog->Count();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->CountedGeometry().offset == 20000; }, 10000));
    EXPECT_EQ(dialog->ZonePercent(0, 0), 0.0); // columns 400..635
    EXPECT_FALSE(dialog->ZonePercent(0, 2).has_value());
    EXPECT_TRUE(dialog->GeometryText().contains(QStringLiteral("zones 1 to 2")))
        << dialog->GeometryText().toStdString();
    WKRN_TestFolder folder;
    const QString path = QString::fromStdString((folder.Path() / "zones.csv").string());
    ASSERT_TRUE(dialog->ExportTo(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("# Job: View; Sheet: Web ")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(
        QStringLiteral("; Surface: front; Zones: 4 x 10 mm; Offset: 20 mm; Resolution: 600 dpi")))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("Ink,Zone 1,Zone 2,Zone 3,Zone 4"));
    EXPECT_EQ(lines[2], QStringLiteral("Cyan,0.00,0.00,-,-"));
    EXPECT_EQ(lines[3], QStringLiteral("Magenta,75.00,75.00,-,-"));
    EXPECT_FALSE(dialog->ExportTo(
        QString::fromStdString((folder.Path() / "missing" / "zones.csv").string())));

    // The proposed file: job, signature, web and surface; an extension only where none is.
    EXPECT_TRUE(dialog->SuggestedFileName().startsWith(QStringLiteral("View signature ")))
        << dialog->SuggestedFileName().toStdString();
    EXPECT_TRUE(dialog->SuggestedFileName().endsWith(QStringLiteral(" Front ink zones.csv")));
    EXPECT_EQ(WKRN_InkZonesDialog::WithCsvExtension(QStringLiteral("/a.b/zones")),
              QStringLiteral("/a.b/zones.csv"));
    EXPECT_EQ(WKRN_InkZonesDialog::WithCsvExtension(QStringLiteral("/a/zones.txt")),
              QStringLiteral("/a/zones.txt"));
}

// German runs show every number with a decimal comma: the readings, and the charts' titles.
TEST_F(InkCoverageTools, NumbersFollowTheLanguageOfTheRun)
{
    struct Language
    {
        Language() { WKRN_Language::Start({}, QLocale(QLocale::German, QLocale::Germany)); }
        ~Language()
        {
            WKRN_Language::Start({}, QLocale(QLocale::Russian));
            WKRN_Language::Stop();
        }
    } german;
    WKRN_Preferences::Current().DensitometerAperture = 3387;
    job->Execute(ID_TOOL_DENSITOMETER);
    WKRN_InkCoverageTools& tools = *job->InkCoverage();
    QTest::mouseMove(view->viewport(), QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tools.LastReading().isEmpty(); }, 15000));
    EXPECT_EQ(tools.LastReading(),
              QStringLiteral("Densitometer (3,387 mm): Cyan 100,00 %   Magenta 75,00 %   "
                             "Total 175,00 %"));

    WKRN_Preferences::Current().ZonePresets = {{QString(), 32500, 1}};
    job->Execute(ID_SHEET_INK_ZONES);
    WKRN_InkZonesDialog* dialog = tools.ZonesDialog();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Profile().has_value(); }, 10000));
    const QList<QChartView*> charts = dialog->findChildren<QChartView*>();
    ASSERT_EQ(charts.size(), 2);
    EXPECT_TRUE(charts[1]->chart()->title().endsWith(QStringLiteral(" 75,00 %")))
        << charts[1]->chart()->title().toStdString();
    EXPECT_TRUE(dialog->GeometryText().contains(QStringLiteral("32,5 mm")));
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

namespace
{
// Four inks at 2540 dpi, where a 0.5 mm area is a cell of 50 pixels: every ink the same
// checkerboard of 4 x 4 blocks (each 4 x 4 cell 400 % or paper, every 50-pixel cell about
// 200 %), with optional patches of 100 % in every ink.
class InkLimitCells : public WKRN_JobWindowTest
{
protected:
    static constexpr std::uint32_t kWidth = 1000, kLength = 800, kSide = 50;

    void OpenSheet(std::function<bool(std::uint32_t, std::uint32_t)> patch,
                   std::uint32_t width = kWidth, std::uint32_t length = kLength)
    {
        WKRN_TestSheetSpec spec;
        spec.width = width;
        spec.height = length;
        spec.resolution = 2540.0f;
        spec.pages = {WKRN_TestSheets::Page(1, 0, 20, 20, 120, 150)};
        const char* const names[] = {"Cyan", "Magenta", "Yellow", "Black"};
        spec.surfaces.clear();
        for (std::uint16_t k = 0; k < 4; ++k)
            spec.surfaces.push_back(WKRN_TestSurface{
                0, names[k], std::uint16_t(k + 1), [patch](std::uint32_t x, std::uint32_t y) {
                    return ((x / 4 + y / 4) & 1u) == 0 || patch(x, y);
                }});
        WKRN_Preferences::Current().InkLimit = 250;
        job = app->OpenJobWindow(sheets.Make(spec), QRect(20, 20, 700, 560), true);
        ASSERT_NE(job, nullptr);
        view = job->View();
        view->SetTilePause({});
        job->Execute(ID_VIEW_INK_LIMIT);
    }

    // Shows `level` with device pixel `at` near the view's top-left corner, counted and drawn.
    void Show(int level, QPoint at)
    {
        view->ZoomToLevel(level, true);
        const double scale = IMPN_SheetView::Scale(level);
        view->ScrollTo(std::int32_t(at.x() * scale) - 40, std::int32_t(at.y() * scale) - 40, true);
        WKRN_InkLimitOverlay& overlay = job->InkCoverage()->Overlay();
        for (int pass = 0; pass < 2; ++pass)
        {
            view->viewport()->repaint();
            ASSERT_TRUE(QTest::qWaitFor([this] { return !view->IsPaintingTimerActive(); }, 15000));
            WKRN_ProcessEvents();
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return overlay.CountedBlocks() > 0 && !overlay.IsCounting(); }, 15000));
            WKRN_ProcessEvents();
        }
    }

    // Compares the hatch's yellow stripes on the canvas with the cells over the limit, pixel for
    // pixel: a level pixel is hatched when any cell its device area meets is over. The page's
    // edges, drawn over everything, lie near the top-left corner, away from the cells over the
    // limit. Returns the pixels hatched.
    int ExpectHatchExactly(int level, const std::function<bool(std::uint32_t, std::uint32_t)>& over)
    {
        const QImage& canvas = view->Canvas();
        const QPoint scroll = view->ScrollPosition();
        const std::int64_t num = std::int64_t(1) << level; // device pixels = level pixels x num / 8
        int hatched = 0, wrong = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
            {
                const std::int64_t lx = x + scroll.x(), ly = y + scroll.y();
                if (lx < 0 || ly < 0 || ((lx + ly) % 8 + 8) % 8 < 4 || ((lx + ly) % 8) >= 6)
                    continue; // only where the hatch draws yellow
                const std::int64_t dx0 = lx * num / 8, dx1 = ((lx + 1) * num + 7) / 8;
                const std::int64_t dy0 = ly * num / 8, dy1 = ((ly + 1) * num + 7) / 8;
                if (dx1 > 640 || dy1 > 600)
                    continue;
                bool expected = false;
                for (std::int64_t r = dy0 / kSide; r <= (dy1 - 1) / kSide; ++r)
                    for (std::int64_t c = dx0 / kSide; c <= (dx1 - 1) / kSide; ++c)
                        expected = expected || over(std::uint32_t(c), std::uint32_t(r));
                const bool yellow = canvas.pixelColor(x, y) == QColor(255, 230, 0);
                hatched += yellow;
                if (yellow != expected && ++wrong <= 5)
                    ADD_FAILURE() << "level " << level << ": level pixel " << lx << "," << ly
                                  << (expected ? " not hatched" : " hatched");
            }
        EXPECT_EQ(wrong, 0) << "level " << level;
        return hatched;
    }

    WKRN_SheetWindow* job = nullptr;
    WKRN_SheetView* view = nullptr;
};
} // namespace

// 200 % under a 250 % limit: the dots of four inks overlap to 400 % in half of the 4 x 4 cells,
// yet no cell of the measuring area is over, at any zoom.
TEST_F(InkLimitCells, AUniformScreenUnderTheLimitHatchesNothingAtAnyZoom)
{
    OpenSheet([](std::uint32_t, std::uint32_t) { return false; });
    for (int level : {1, 3, 6, 9})
    {
        Show(level, QPoint(200, 150));
        EXPECT_EQ(ExpectHatchExactly(level, [](std::uint32_t, std::uint32_t) { return false; }), 0);
    }
}

// A 3 x 3 mm patch of 100 % in every ink on whole cells (pixels 200..499 x 150..449, cells 4..9
// x 3..8) hatches exactly those cells, in their place and size from 4:1 to 1:64.
TEST_F(InkLimitCells, APatchOverTheLimitHatchesExactlyItsCellsAtEveryZoom)
{
    OpenSheet([](std::uint32_t x, std::uint32_t y)
              { return x >= 200 && x < 500 && y >= 150 && y < 450; });
    const auto patch = [](std::uint32_t c, std::uint32_t r)
    { return c >= 4 && c < 10 && r >= 3 && r < 9; };
    for (int level : {1, 3, 4, 6, 9})
    {
        Show(level, QPoint(200, 150));
        EXPECT_GT(ExpectHatchExactly(level, patch), 0) << "level " << level;
    }
    EXPECT_TRUE(job->InkCoverage()->Overlay().IsOver(4, 3));
    EXPECT_FALSE(job->InkCoverage()->Overlay().IsOver(3, 3));
    EXPECT_EQ(job->InkCoverage()->Overlay().CellSide(), kSide);
}

// A single cell over the limit, a 50-pixel square of a 4000 x 3000 sheet, stays visible at every
// scale down to 1:512, where the whole sheet is 8 x 6 pixels and the cell a tenth of one.
TEST_F(InkLimitCells, OneOverCellStaysVisibleAtEveryScale)
{
    OpenSheet([](std::uint32_t x, std::uint32_t y)
              { return x >= 2000 && x < 2050 && y >= 1500 && y < 1550; },
              4000, 3000);
    for (int level : {3, 6, 9, 11, 12})
    {
        Show(level, QPoint(1950, 1450));
        EXPECT_TRUE(job->InkCoverage()->Overlay().IsOver(40, 30));
        EXPECT_FALSE(job->InkCoverage()->Overlay().IsOver(39, 30));
        int yellow = 0;
        const QImage& canvas = view->Canvas();
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                yellow += canvas.pixelColor(x, y) == QColor(255, 230, 0);
        EXPECT_GT(yellow, 0) << "level " << level;
    }
}
