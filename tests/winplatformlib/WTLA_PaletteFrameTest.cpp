#include "WTLA/WTLA_PaletteFrame.h"
#include "WTLA/WTLA_PaletteFollower.h"
#include "WTLA/WTLA_PaletteLayout.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// Content with a fixed preferred size, as the palettes have.
class SizedContent : public QWidget
{
public:
    explicit SizedContent(QSize hint) : m_hint(hint) {}
    QSize sizeHint() const override { return m_hint; }
    void SetHint(QSize hint)
    {
        m_hint = hint;
        updateGeometry();
    }

private:
    QSize m_hint;
};

class PaletteWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLabel(QStringLiteral("view")));
        window->setGeometry(100, 100, 900, 600);
        const QSize hints[3] = {QSize(200, 150), QSize(180, 260), QSize(240, 90)};
        for (int i = 0; i < 3; ++i)
        {
            frames[i] = new WTLA_PaletteFrame(QStringLiteral("Palette %1").arg(i),
                                              new SizedContent(hints[i]), window.get());
            window->addDockWidget(Qt::RightDockWidgetArea, frames[i]);
            frames[i]->setFloating(true);
        }
        window->show();
        frames[0]->show();
        frames[1]->show();
        frames[2]->hide();
        QApplication::processEvents();
    }
    std::vector<WTLA_PaletteEntry> Entries(bool all = false) const
    {
        std::vector<WTLA_PaletteEntry> entries;
        for (int i = 0; i < 3; ++i)
            entries.push_back({frames[i], all || !frames[i]->isHidden(), i == 0 ? 5 : 0, i < 2});
        return entries;
    }

    std::unique_ptr<QMainWindow> window;
    WTLA_PaletteFrame* frames[3] = {};
};
} // namespace

TEST_F(PaletteWindow, PreferredSize_FollowsTheContentWithTheCaptionAdded)
{
    WTLA_PaletteFrame* frame = frames[0];
    const QSize first = frame->PreferredSize();
    EXPECT_GE(first.width(), 200);
    EXPECT_GE(first.height(), 150);
    static_cast<SizedContent*>(frame->Content())->SetHint(QSize(300, 250));
    const QSize second = frame->PreferredSize();
    EXPECT_EQ(second - first, QSize(100, 100));
    // Docked, the caption is the frame's own: the size still covers content and caption.
    window->removeDockWidget(frame);
    window->addDockWidget(Qt::LeftDockWidgetArea, frame);
    frame->setFloating(false);
    frame->show();
    EXPECT_GT(frame->PreferredSize().height(), 250);
}

TEST_F(PaletteWindow, CloseBox_IsReportedOnceAndHides_ProgramHidingIsNot)
{
    QSignalSpy closed(frames[0], &WTLA_PaletteFrame::ClosedByUser);
    frames[0]->hide();
    frames[0]->show();
    EXPECT_EQ(closed.count(), 0);
    frames[0]->close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(frames[0]->isHidden());
    // The content stays with the frame, ready to be shown again.
    EXPECT_NE(frames[0]->Content(), nullptr);
}

TEST_F(PaletteWindow, Activation_NamesTheWindowBeingActivated)
{
    QSignalSpy activated(frames[1], &WTLA_PaletteFrame::Activated);
    QSignalSpy deactivated(frames[1], &WTLA_PaletteFrame::Deactivated);
    QApplication::setActiveWindow(frames[1]);
    EXPECT_GE(activated.count(), 1);
    QApplication::setActiveWindow(window.get());
    ASSERT_GE(deactivated.count(), 1);
    EXPECT_EQ(deactivated.last().at(0).value<QWidget*>(), window.get());
}

TEST_F(PaletteWindow, FloatRight_AppliedToEveryFrameWhateverItsVisibility)
{
    WTLA_PaletteLayout::Arrange(*window, WTLA_Arrangement::FloatRight, Entries(true));
    const QRect client = WTLA_PaletteLayout::ClientArea(*window);
    const QPoint origin = window->mapToGlobal(client.topLeft());
    const int right = origin.x() + client.width();
    int y = origin.y();
    for (WTLA_PaletteFrame* frame : frames)
    {
        EXPECT_TRUE(frame->isFloating());
        EXPECT_EQ(frame->frameGeometry().right() + 1, right);
        EXPECT_EQ(frame->frameGeometry().top(), y);
        y += frame->frameGeometry().height();
    }
    // Arranging does not change what is shown.
    EXPECT_FALSE(frames[0]->isHidden());
    EXPECT_TRUE(frames[2]->isHidden());
}

TEST_F(PaletteWindow, DockLeftThenFloatLeft_MovesOnlyTheVisibleFrames)
{
    WTLA_PaletteLayout::Arrange(*window, WTLA_Arrangement::DockLeft, Entries());
    QApplication::processEvents();
    EXPECT_FALSE(frames[0]->isFloating());
    EXPECT_FALSE(frames[1]->isFloating());
    EXPECT_TRUE(frames[2]->isFloating()); // hidden: left where it was
    EXPECT_EQ(window->dockWidgetArea(frames[0]), Qt::LeftDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(frames[1]), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(frames[0]->isHidden());
    // One column, in order, left of the view.
    EXPECT_EQ(frames[0]->x(), frames[1]->x());
    EXPECT_LT(frames[0]->y(), frames[1]->y());
    EXPECT_LE(frames[0]->geometry().right(), window->centralWidget()->x());

    WTLA_PaletteLayout::Arrange(*window, WTLA_Arrangement::FloatLeft, Entries());
    QApplication::processEvents();
    EXPECT_TRUE(frames[0]->isFloating());
    EXPECT_TRUE(frames[1]->isFloating());
    EXPECT_FALSE(frames[0]->isHidden());
    const QRect client = WTLA_PaletteLayout::ClientArea(*window);
    const QPoint origin = window->mapToGlobal(client.topLeft());
    EXPECT_EQ(frames[0]->frameGeometry().topLeft(), origin);
    EXPECT_EQ(frames[1]->frameGeometry().topLeft(),
              origin + QPoint(0, frames[0]->frameGeometry().height()));
}

// Floating frames keep their distance to the edge they float against when the window moves or
// changes its size, hidden ones too; when a smaller window leaves a frame that fitted hanging out
// of it, the owner hears that the palettes need arranging again.
TEST_F(PaletteWindow, Follower_KeepsFloatingFramesWithTheirEdge)
{
    WTLA_PaletteFollower follower(*window);
    for (WTLA_PaletteFrame* frame : frames)
        follower.AddFrame(frame);
    WTLA_PaletteLayout::Arrange(*window, WTLA_Arrangement::FloatRight, Entries(true));
    follower.Anchor(false);
    QApplication::processEvents();
    QSignalSpy moved(&follower, &WTLA_PaletteFollower::PalettesMoved);
    QSignalSpy misfit(&follower, &WTLA_PaletteFollower::PalettesNoLongerFit);
    const auto offsets = [this]
    {
        const QRect area = WTLA_PaletteLayout::FloatingArea(*window);
        std::vector<QPoint> result;
        for (WTLA_PaletteFrame* frame : frames)
            result.push_back(frame->frameGeometry().topLeft() -
                             QPoint(area.left() + area.width(), area.top()));
        return result;
    };
    const std::vector<QPoint> before = offsets();

    window->move(window->pos() + QPoint(40, 30));
    QApplication::processEvents();
    EXPECT_EQ(offsets(), before);
    window->resize(window->width() - 100, window->height());
    QApplication::processEvents();
    EXPECT_EQ(offsets(), before);
    EXPECT_GE(moved.count(), 2);
    EXPECT_EQ(misfit.count(), 0);

    // Too low for the stack: the lowest frame now hangs below.
    window->resize(window->width(), 300);
    QApplication::processEvents();
    EXPECT_GE(misfit.count(), 1);
}
