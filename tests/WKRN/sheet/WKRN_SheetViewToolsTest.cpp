// The sheet view's mouse tools, scrolling and navigation requests, driven with Qt Test events on
// an offscreen view.

#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_Cursors.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetViewTools.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
class SheetViewToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Saved = WKRN_Preferences::Current();
        WKRN_Preferences::Current() = WKRN_PreferenceValues{};
        m_View.SetTilePause({});
        m_View.SetNoticeReceiver(&m_Notices);
        m_View.resize(400, 300);
        m_View.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_View));
        WKRN_TestSheetSpec spec; // 800 x 600 at 600 dpi
        m_Sheet = m_Sheets.Make(spec);
        m_View.SetSheet(m_Sheet.Get());
        Settle();
    }
    void TearDown() override { WKRN_Preferences::Current() = m_Saved; }

    void Settle()
    {
        m_View.viewport()->repaint();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_View.IsPaintingTimerActive(); }, 5000));
        WKRN_ProcessEvents();
    }

    QWidget* Viewport() { return m_View.viewport(); }
    void Press(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(Viewport(), Qt::LeftButton, modifiers, at);
    }
    void Release(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseRelease(Viewport(), Qt::LeftButton, modifiers, at);
    }
    void Move(QPoint at, Qt::MouseButtons buttons = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), Viewport()->mapToGlobal(QPointF(at)),
                         Qt::NoButton, buttons, modifiers);
        QApplication::sendEvent(Viewport(), &move);
    }
    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at(50, 50);
        QWheelEvent wheel(at, Viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &wheel);
    }
    QPoint MaxScroll()
    {
        const QSize client = m_View.ClientSize();
        return QPoint(std::max(0, m_View.GetLevelWidth() - client.width()),
                      std::max(0, m_View.GetLevelHeight() - client.height()));
    }

    WKRN_PreferenceValues m_Saved;
    WKRN_TestSheets m_Sheets;
    IMPN_SheetReference m_Sheet;
    WKRN_NoticeRecorder m_Notices;
    WKRN_SheetView m_View;
};

// ---- Zoom ------------------------------------------------------------------------------------

TEST_F(SheetViewToolsTest, ZoomClickAtTheEndsOfTheTableDoesNothing)
{
    m_View.SetTool(WKRN_SheetView::ZoomTool);
    m_View.ZoomToLevel(0, true);
    Settle();
    m_Notices.Clear();
    Move({50, 50}, Qt::NoButton);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::ZoomNone);
    Move({50, 50}, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::ZoomOut);
    Press({50, 50});
    Release({50, 50});
    EXPECT_EQ(m_View.GetLevel(), 0);
    EXPECT_TRUE(m_Notices.Of(JOBMSG_ZOOM_CHANGED).empty());

    m_View.ZoomToLevel(12, true);
    Settle();
    m_Notices.Clear();
    Move({5, 5}, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::ZoomNone);
    Press({5, 5}, Qt::ShiftModifier);
    Release({5, 5}, Qt::ShiftModifier);
    EXPECT_EQ(m_View.GetLevel(), 12);
    EXPECT_TRUE(m_Notices.Of(JOBMSG_ZOOM_CHANGED).empty());
    Move({5, 5}, Qt::NoButton);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::ZoomIn);
}

TEST_F(SheetViewToolsTest, ZoomClickKeepsTheClickedPointInViewAndReportsBothLevels)
{
    m_View.SetTool(WKRN_SheetView::ZoomTool);
    m_View.ZoomToLevel(4, true); // 400 x 300
    Settle();
    m_Notices.Clear();
    Press({100, 80});
    Release({100, 80});
    EXPECT_EQ(m_View.GetLevel(), 3);
    const QSize client = m_View.ClientSize();
    EXPECT_EQ(m_View.ScrollPosition(),
              QPoint(std::clamp(200 - client.width() / 2, 0, MaxScroll().x()),
                     std::clamp(160 - client.height() / 2, 0, MaxScroll().y())));
    auto zooms = m_Notices.Of(JOBMSG_ZOOM_CHANGED);
    ASSERT_EQ(zooms.size(), 1u);
    EXPECT_EQ(zooms[0].wParam, quintptr(3) << 16 | 4);
    ASSERT_EQ(zooms[0].first.size(), 4u);
    EXPECT_DOUBLE_EQ(zooms[0].first[2], double(client.width()) / 800);

    Press({100, 80}, Qt::ShiftModifier);
    Release({100, 80}, Qt::ShiftModifier);
    EXPECT_EQ(m_View.GetLevel(), 4);
    zooms = m_Notices.Of(JOBMSG_ZOOM_CHANGED);
    ASSERT_EQ(zooms.size(), 2u);
    EXPECT_EQ(zooms[1].wParam, quintptr(4) << 16 | 3);
}

TEST_F(SheetViewToolsTest, ZoomDragDrawsARubberRectangleAndZoomsToIt)
{
    m_View.SetTool(WKRN_SheetView::ZoomTool);
    m_View.ZoomToLevel(4, true); // 400 x 300
    m_View.ScrollTo(0, 0, true);
    Settle();
    m_Notices.Clear();
    const QImage before = m_View.Canvas().copy();
    Press({40, 40});
    Move({42, 43}); // a tremble of the hand is no drag
    EXPECT_EQ(m_View.Canvas(), before);
    Move({130, 108});
    // The rectangle's edges are inverted on the canvas, its inside untouched.
    EXPECT_NE(m_View.Canvas().pixel(90, 40), before.pixel(90, 40));
    EXPECT_NE(m_View.Canvas().pixel(130, 80), before.pixel(130, 80));
    EXPECT_EQ(m_View.Canvas().pixel(90, 80), before.pixel(90, 80));
    EXPECT_EQ(m_View.GetLevel(), 4);
    Release({130, 108});
    // 90 x 68 picture pixels fit the window (a little less than 400 x 300 inside its frame) four
    // times over, not eight: two levels in, centred on them.
    EXPECT_EQ(m_View.GetLevel(), 2);
    const auto zooms = m_Notices.Of(JOBMSG_ZOOM_CHANGED);
    ASSERT_EQ(zooms.size(), 1u);
    EXPECT_EQ(zooms[0].wParam, quintptr(2) << 16 | 4);
    const QSize client = m_View.ClientSize();
    const QPoint centre = m_View.ScrollPosition() + QPoint(client.width() / 2, client.height() / 2);
    EXPECT_NEAR(centre.x(), 85 * 4, 4);
    EXPECT_NEAR(centre.y(), std::min(74 * 4, MaxScroll().y() + client.height() / 2), 4);

    // Dragged up and to the left, the same rectangle; a press that hardly moves is a click.
    m_View.ZoomToLevel(4, true);
    m_View.ScrollTo(0, 0, true);
    Settle();
    Press({130, 108});
    Move({40, 40});
    Release({40, 40});
    EXPECT_EQ(m_View.GetLevel(), 2);
    m_View.ZoomToLevel(4, true);
    Settle();
    Press({100, 80});
    Move({103, 82});
    Release({103, 82});
    EXPECT_EQ(m_View.GetLevel(), 3);
}

TEST_F(SheetViewToolsTest, CtrlZoomsAndSpacePansWhateverTheTool)
{
    m_View.SetTool(WKRN_SheetView::MeasureTool);
    Move({20, 20}, Qt::NoButton);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::Measure);
    Move({20, 20}, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::ZoomIn);
    Press({20, 20}, Qt::ControlModifier);
    Release({20, 20}, Qt::ControlModifier);
    EXPECT_EQ(m_View.GetLevel(), 2);
    EXPECT_TRUE(m_Notices.Of(JOBMSG_MEASUREMENT).empty());

    m_View.ZoomToLevel(3, true);
    m_View.ScrollTo(0, 0, true);
    Settle();
    QTest::keyPress(&m_View, Qt::Key_Space);
    Move({100, 100}, Qt::NoButton);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::Pan);
    Press({100, 100});
    Move({80, 90});
    Release({80, 90});
    QTest::keyRelease(&m_View, Qt::Key_Space);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(20, 10));
    EXPECT_TRUE(m_Notices.Of(JOBMSG_MEASUREMENT).empty());
    Move({80, 90}, Qt::NoButton);
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::Measure);
}

// ---- Pan -------------------------------------------------------------------------------------

TEST_F(SheetViewToolsTest, PanFollowsTheMouseWithinTheLimitsAndReportsWhenReleased)
{
    m_View.SetTool(WKRN_SheetView::PanTool);
    m_Notices.Clear();
    Press({200, 150});
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::PanDrag);
    Move({160, 120});
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(40, 30));
    Move({170, 100});
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(30, 50));
    Move({-3000, -3000});
    EXPECT_EQ(m_View.ScrollPosition(), MaxScroll());
    Move({5000, 5000});
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, 0));
    EXPECT_TRUE(m_Notices.Of(JOBMSG_VISIBLE_AREA).empty());
    Release({5000, 5000});
    EXPECT_EQ(m_View.CursorId(), WKRN_Cursors::Pan);
    EXPECT_EQ(m_Notices.Of(JOBMSG_VISIBLE_AREA).size(), 1u);
    // The scroll bars follow.
    EXPECT_EQ(m_View.horizontalScrollBar()->value(), 0);
}

// ---- Measure ---------------------------------------------------------------------------------

TEST_F(SheetViewToolsTest, MeasureDragStartingOutsideThePictureReportsNothing)
{
    m_View.SetTool(WKRN_SheetView::MeasureTool);
    m_View.ZoomToLevel(5, true); // 200 x 150, smaller than the window
    Settle();
    m_Notices.Clear();
    Press({300, 200});
    const auto palettes = m_Notices.Of(JOBMSG_SHOW_PALETTE);
    ASSERT_EQ(palettes.size(), 1u);
    EXPECT_EQ(palettes[0].wParam, 32831u);
    Move({100, 100});
    Move({10, 10});
    Release({10, 10});
    EXPECT_TRUE(m_Notices.Of(JOBMSG_MEASUREMENT).empty());
}

TEST_F(SheetViewToolsTest, ShiftLocksTheMeasureAxisForTheRestOfTheDrag)
{
    m_View.SetTool(WKRN_SheetView::MeasureTool);
    const double k = 72.0 / 600; // points, 1:1, 600 dpi
    Press({100, 100});
    Move({130, 110}, Qt::LeftButton, Qt::ShiftModifier);
    Move({140, 150}); // Shift let go: the lock stays
    Release({140, 150});
    const auto measures = m_Notices.Of(JOBMSG_MEASUREMENT);
    ASSERT_EQ(measures.size(), 2u);
    for (const auto& m : measures)
    {
        ASSERT_EQ(m.second.size(), 2u);
        EXPECT_EQ(m.second[1], 0.0);
    }
    EXPECT_DOUBLE_EQ(measures[0].second[0], 30 * k);
    EXPECT_DOUBLE_EQ(measures[1].second[0], 40 * k);
    // The position is where the pointer is, not locked.
    EXPECT_DOUBLE_EQ(measures[1].first[0], 140 * k);
    EXPECT_DOUBLE_EQ(measures[1].first[1], 150 * k);

    // Mostly downward: the vertical axis is locked.
    m_Notices.Clear();
    Press({100, 100});
    Move({110, 130}, Qt::LeftButton, Qt::ShiftModifier);
    Move({170, 120}, Qt::LeftButton, Qt::ShiftModifier);
    Release({170, 120});
    const auto vertical = m_Notices.Of(JOBMSG_MEASUREMENT);
    ASSERT_EQ(vertical.size(), 2u);
    EXPECT_EQ(vertical[1].second[0], 0.0);
    EXPECT_DOUBLE_EQ(vertical[1].second[1], 20 * k);
}

TEST_F(SheetViewToolsTest, MeasureConvertsToThePreferredUnitAtTheZoomLevel)
{
    WKRN_Preferences::Current().PreferredLinearUnits = 3; // millimetres
    m_View.SetTool(WKRN_SheetView::MeasureTool);
    m_View.ZoomToLevel(4, true); // 1:2
    m_View.ScrollTo(0, 0, true);
    Settle();
    Press({10, 20});
    Move({40, 20});
    Release({40, 20});
    const auto measures = m_Notices.Of(JOBMSG_MEASUREMENT);
    ASSERT_EQ(measures.size(), 1u);
    const double k = 25.4 / (0.5 * 600);
    EXPECT_DOUBLE_EQ(measures[0].second[0], 30 * k);
    EXPECT_DOUBLE_EQ(measures[0].first[0], 40 * k);
    EXPECT_DOUBLE_EQ(measures[0].first[1], 20 * k);

    EXPECT_EQ(WKRN_SheetViewTools::UnitsPerInch(1), 6.0);
    EXPECT_EQ(WKRN_SheetViewTools::UnitsPerInch(4), 2.54);
    EXPECT_EQ(WKRN_SheetViewTools::UnitsPerInch(9), 72.0);
}

TEST_F(SheetViewToolsTest, MeasurePointIsLimitedToThePictureAndHoveringAfterwardsIsSilent)
{
    m_View.SetTool(WKRN_SheetView::MeasureTool);
    m_View.ZoomToLevel(5, true); // 200 x 150
    Settle();
    Press({50, 50});
    Move({350, 250});
    // Without the button flag while the drag lasts: the position only, not limited.
    Move({300, 260}, Qt::NoButton);
    Release({300, 260});
    Move({60, 60}, Qt::NoButton);
    const auto measures = m_Notices.Of(JOBMSG_MEASUREMENT);
    ASSERT_EQ(measures.size(), 2u);
    const double k = 72.0 / (0.25 * 600);
    EXPECT_DOUBLE_EQ(measures[0].first[0], 200 * k);
    EXPECT_DOUBLE_EQ(measures[0].first[1], 150 * k);
    EXPECT_DOUBLE_EQ(measures[0].second[0], 150 * k);
    EXPECT_DOUBLE_EQ(measures[1].first[0], 300 * k);
    EXPECT_DOUBLE_EQ(measures[1].first[1], 260 * k);
    EXPECT_TRUE(measures[1].second.empty());
}

TEST_F(SheetViewToolsTest, RubberLineIsInvertedOnTheCanvasAndErasedOnRelease)
{
    m_View.SetTool(WKRN_SheetView::MeasureTool);
    const QImage before = m_View.Canvas().copy();
    Press({100, 100});
    Move({150, 100});
    QImage during = m_View.Canvas().copy();
    EXPECT_EQ(during.pixelColor(125, 100), QColor(Qt::black)); // white paper inverted
    EXPECT_EQ(during.pixelColor(100, 90), QColor(Qt::black));  // the cross
    EXPECT_EQ(during.pixelColor(100, 120), QColor(Qt::white));
    Move({100, 140});
    during = m_View.Canvas().copy();
    EXPECT_EQ(during.pixelColor(125, 100), QColor(Qt::white)); // the old line is gone
    EXPECT_EQ(during.pixelColor(100, 130), QColor(Qt::black));
    Release({100, 140});
    EXPECT_EQ(m_View.Canvas(), before);
}

// ---- Scrolling -------------------------------------------------------------------------------

TEST_F(SheetViewToolsTest, PictureSmallerThanTheWindowNeverScrolls)
{
    m_View.ZoomToLevel(5, true);
    Settle();
    m_View.ScrollTo(50, 50, false);
    Wheel(-360);
    m_View.Scroll(Qt::Vertical, WKRN_SheetView::PageDown);
    m_View.Scroll(Qt::Horizontal, WKRN_SheetView::ToBottom);
    QTest::keyClick(&m_View, Qt::Key_Down);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, 0));
}

TEST_F(SheetViewToolsTest, WheelScrollsByWholeNotchesAndCarriesTheRemainder)
{
    // A notch moves the wheel-lines setting's count of lines, each a fixed stretch of screen.
    const int notch = QApplication::wheelScrollLines() * m_View.LineStep();
    ASSERT_GE(notch, 20);
    Wheel(-60);
    EXPECT_EQ(m_View.ScrollPosition().y(), 0);
    Wheel(-60);
    EXPECT_EQ(m_View.ScrollPosition().y(), notch);
    Wheel(-250); // two notches, 10 left over
    EXPECT_EQ(m_View.ScrollPosition().y(), 3 * notch);
    Wheel(-110);
    EXPECT_EQ(m_View.ScrollPosition().y(), 4 * notch);
    Wheel(120);
    EXPECT_EQ(m_View.ScrollPosition().y(), 3 * notch);
    // Shift turns the wheel sideways.
    Wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(notch, 3 * notch));
}

TEST_F(SheetViewToolsTest, LineIsTheSameStretchOfScreenAtEveryZoomLevel)
{
    const int notch = QApplication::wheelScrollLines() * m_View.LineStep();
    for (int level : {1, 3})
    {
        m_View.ZoomToLevel(level, true);
        m_View.ScrollTo(0, 0, true);
        Settle();
        Wheel(-120);
        EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, notch)) << "level " << level;
        QTest::keyClick(&m_View, Qt::Key_Right);
        EXPECT_EQ(m_View.ScrollPosition(), QPoint(m_View.LineStep(), notch)) << "level " << level;
    }
}

TEST_F(SheetViewToolsTest, ScrollCommandsStepByLinePageAndEnd)
{
    const int line = m_View.LineStep();
    m_View.Scroll(Qt::Vertical, WKRN_SheetView::LineDown);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, line));
    m_View.Scroll(Qt::Vertical, WKRN_SheetView::PageDown); // a tenth of 600
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, line + 60));
    m_View.Scroll(Qt::Horizontal, WKRN_SheetView::PageDown); // a tenth of 800
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(80, line + 60));
    QTest::keyClick(&m_View, Qt::Key_End);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(80, MaxScroll().y()));
    QTest::keyClick(&m_View, Qt::Key_PageUp);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(80, MaxScroll().y() - 60));
    QTest::keyClick(&m_View, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, MaxScroll().y() - 60));
    m_View.verticalScrollBar()->setValue(5);
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, 5));
}

TEST_F(SheetViewToolsTest, GrowingTheWindowPullsThePositionBack)
{
    m_View.ScrollTo(10000, 10000, false);
    EXPECT_EQ(m_View.ScrollPosition(), MaxScroll());
    m_View.resize(700, 500);
    WKRN_ProcessEvents();
    EXPECT_EQ(m_View.ScrollPosition(), MaxScroll());
    EXPECT_LT(m_View.ScrollPosition().x(), 800 - 400 + 30);
    EXPECT_EQ(m_View.Canvas().size(), m_View.ClientSize());
}

// ---- Navigation requests ---------------------------------------------------------------------

TEST_F(SheetViewToolsTest, ScrollToFractionRequestMovesTheView)
{
    WTLU_MessageEvent::Send(&m_View, JOBMSG_PAN_REQUEST, 0, 0,
                            std::array<double, 2>{0.1, 0.25}); // fy, fx
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(200, 60));

    // Sent with a pointer instead of a copy.
    double values[2] = {0.0, 0.05};
    WTLU_MessageEvent::Send(&m_View, JOBMSG_PAN_REQUEST, 0, reinterpret_cast<qintptr>(values));
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(40, 0));

    // Requests that name no place are ignored.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    WTLU_MessageEvent::Send(&m_View, JOBMSG_PAN_REQUEST, 0, 0, std::array<double, 2>{nan, 0.5});
    WTLU_MessageEvent::Send(&m_View, JOBMSG_PAN_REQUEST, 0, 0,
                            std::array<double, 2>{1e300, -1e300});
    WTLU_MessageEvent::Send(&m_View, JOBMSG_PAN_REQUEST);
    EXPECT_EQ(m_View.ScrollPosition().y(), MaxScroll().y());
}

TEST_F(SheetViewToolsTest, ZoomToFractionRectangleRequestZoomsByPowersOfTwo)
{
    // A quarter of the picture each way around its middle fills the window about four times
    // over: two levels in from 1:4.
    m_View.ZoomToLevel(5, true);
    Settle();
    WTLU_MessageEvent::Send(&m_View, JOBMSG_ZOOM_REQUEST, 0, 0,
                            std::array<double, 4>{0.375, 0.375, 0.25, 0.25});
    EXPECT_LT(m_View.GetLevel(), 5);
    const std::array<double, 4> visible = m_View.VisibleFractions();
    EXPECT_NEAR(visible[1] + visible[2] / 2, 0.5, 0.02);
    EXPECT_NEAR(visible[0] + visible[3] / 2, 0.5, 0.02);

    const int level = m_View.GetLevel();
    const double inf = std::numeric_limits<double>::infinity();
    WTLU_MessageEvent::Send(&m_View, JOBMSG_ZOOM_REQUEST, 0, 0,
                            std::array<double, 4>{0, 0, inf, 1});
    WTLU_MessageEvent::Send(&m_View, JOBMSG_ZOOM_REQUEST, 0, 0,
                            std::array<double, 4>{1e30, 0, 0.5, 0.5});
    EXPECT_EQ(m_View.GetLevel(), level);
}

TEST_F(SheetViewToolsTest, ToolsDoNothingWithoutASheet)
{
    m_View.SetSheet(nullptr);
    m_Notices.Clear();
    for (int tool : {0, 1, 2})
    {
        m_View.SetTool(tool);
        Press({10, 10});
        Move({30, 30});
        Release({30, 30});
    }
    m_View.SetTool(7); // not a tool: ignored
    EXPECT_EQ(m_View.GetTool(), 2);
    EXPECT_TRUE(m_Notices.Of(JOBMSG_MEASUREMENT).empty());
    EXPECT_TRUE(m_Notices.Of(JOBMSG_ZOOM_CHANGED).empty());
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(0, 0));
}
} // namespace

namespace
{
TEST(SheetViewCursors, EveryToolCursorHasItsPictureAndOthersGetTheArrow)
{
    for (int id : {104, 106, 215, 216, 217, 1003})
    {
        const QCursor& cursor = WKRN_Cursors::Get(id);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << id;
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32)) << id;
        EXPECT_TRUE(QRect(0, 0, 32, 32).contains(cursor.hotSpot())) << id;
    }
    EXPECT_EQ(WKRN_Cursors::Get(105).shape(), Qt::ArrowCursor);
}
} // namespace
