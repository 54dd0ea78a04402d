// The sheet view on a scaled screen (two device pixels to a logical one). These cases run in a
// suite of their own started with QT_SCALE_FACTOR=2 and are skipped on an unscaled screen.

#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
class SheetViewScaledScreen : public ::testing::Test
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
        if (m_View.PixelRatio() < 2)
            GTEST_SKIP() << "the screen is not scaled (run with QT_SCALE_FACTOR=2)";
        WKRN_TestSheetSpec spec;
        spec.width = 2000;
        spec.height = 1500;
        spec.surfaces[0].fill = [](std::uint32_t x, std::uint32_t) { return x % 2 == 0; };
        m_Sheet = m_Sheets.Make(spec);
        m_View.SetSheet(m_Sheet.Get());
        m_View.ZoomToLevel(3, true); // 1:1
        m_View.ScrollTo(0, 0, true);
        m_View.viewport()->repaint();
        WKRN_ProcessEvents();
    }
    void TearDown() override { WKRN_Preferences::Current() = m_Saved; }

    WKRN_PreferenceValues m_Saved;
    WKRN_TestSheets m_Sheets;
    IMPN_SheetReference m_Sheet;
    WKRN_NoticeRecorder m_Notices;
    WKRN_SheetView m_View;
};

// At 1:1 every output pixel is one pixel of the screen: columns of ink one pixel apart stay one
// pixel apart, not blurred or doubled.
TEST_F(SheetViewScaledScreen, OneToOneShowsOneScreenPixelPerOutputPixel)
{
    const qreal ratio = m_View.PixelRatio();
    EXPECT_EQ(m_View.ClientSize(), m_View.viewport()->size() * ratio);
    const QImage screen = m_View.viewport()->grab().toImage();
    ASSERT_EQ(screen.width(), int(m_View.viewport()->width() * ratio));
    for (int x = 100; x < 110; ++x)
        EXPECT_EQ(screen.pixelColor(x, 100), x % 2 == 0 ? QColor(Qt::black) : QColor(Qt::white))
            << "x " << x;
}

// The picture follows the mouse: a drag of 10 logical pixels moves it by 10 on the screen, that
// is by 20 output pixels at 1:1.
TEST_F(SheetViewScaledScreen, PanFollowsTheMouseInScreenPixels)
{
    QTest::mousePress(m_View.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(90, 95),
                     m_View.viewport()->mapToGlobal(QPointF(90, 95)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(m_View.viewport(), &move);
    QTest::mouseRelease(m_View.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 95));
    const qreal ratio = m_View.PixelRatio();
    EXPECT_EQ(m_View.ScrollPosition(), QPoint(int(10 * ratio), int(5 * ratio)));
}
} // namespace
