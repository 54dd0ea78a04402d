#include "WKRN_JobWindowFixture.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/palettes/WKRN_NavigationWindow.h"
#include "WKRN/palettes/WKRN_SheetWindowPalettes.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "IMPN/IMPN_Sheet.h"
#include "WTLA/WTLA_PaletteFrame.h"
#include "WTLA/WTLA_PaletteLayout.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// Content that stands in for the separations and measurement palettes.
class SizedContent : public QWidget
{
public:
    explicit SizedContent(QSize hint) : m_hint(hint) {}
    QSize sizeHint() const override { return m_hint; }

private:
    QSize m_hint;
};

class SheetWindowPalettes : public WKRN_JobWindowTest
{
protected:
    SheetWindowPalettes() { openRect = QRect(20, 20, 900, 700); }

    IMPN_SheetReference Sheet() { return sheets.Make(OnePageSpec()); }
    // A job window with all three palettes: the navigation palette of its own and two stand-ins.
    WKRN_SheetWindow* OpenWithThree()
    {
        WKRN_SheetWindow* job = Open(Sheet());
        for (auto [id, hint] : {std::pair{int(ID_WINDOW_SEPARATIONS), QSize(180, 260)},
                                std::pair{int(ID_WINDOW_MEASUREMENT), QSize(220, 90)}})
            if (job->Palette(id) == nullptr)
                job->Palettes().AddFramed(id, new SizedContent(hint));
        job->Palettes().SetShown(ID_WINDOW_SEPARATIONS, true);
        job->Palettes().Arrange(WTLA_Arrangement::FloatRight, true);
        job->UpdateCommandState();
        return job;
    }
    static WTLA_PaletteFrame* Frame(WKRN_SheetWindow* job, int id)
    {
        return job->Palettes().Frame(id);
    }
    // As the window manager does on a click: the window system's focus moves there.
    static void Activate(QWidget* window)
    {
        WKRN_ProcessEvents();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window, 2000));
        WKRN_ProcessEvents();
    }
};
} // namespace

TEST_F(SheetWindowPalettes, FirstSheet_MakesTheNavigationPaletteFloatingRightAndShown)
{
    WKRN_SheetWindow* empty = Open({});
    EXPECT_EQ(empty->Palette(ID_WINDOW_NAVIGATION), nullptr);
    EXPECT_FALSE(empty->Action(ID_PALETTES_DOCK_RIGHT)->isEnabled());

    WKRN_SheetWindow* job = Open(Sheet());
    WTLA_PaletteFrame* frame = Frame(job, ID_WINDOW_NAVIGATION);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Navigation"));
    EXPECT_NE(qobject_cast<WKRN_NavigationWindow*>(job->Palette(ID_WINDOW_NAVIGATION)), nullptr);
    EXPECT_EQ(frame->Content(), job->Palette(ID_WINDOW_NAVIGATION));
    EXPECT_TRUE(frame->isFloating());
    EXPECT_FALSE(frame->isHidden());
    EXPECT_TRUE(Checked(job, ID_WINDOW_NAVIGATION));
    // Against the right edge of the sheet view, inside its scroll bars, at its top.
    const QRect area = WTLA_PaletteLayout::FloatingArea(*job);
    EXPECT_EQ(frame->frameGeometry().right(), area.right());
    EXPECT_EQ(frame->frameGeometry().top(), area.top());
    EXPECT_EQ(area, QRect(job->View()->viewport()->mapToGlobal(QPoint(0, 0)),
                          job->View()->viewport()->size()));
    // Its size comes from the thumbnail.
    const QSize thumbnail(int(job->Sheet()->GetThumbnailWidth()),
                          int(job->Sheet()->GetThumbnailLength()));
    EXPECT_EQ(frame->Content()->size(), thumbnail);
}

TEST_F(SheetWindowPalettes, ArrangementCommands_MoveTheShownPalettesInOrder)
{
    WKRN_SheetWindow* job = OpenWithThree();
    job->Execute(ID_WINDOW_MEASUREMENT); // shown by the Measure tool only
    job->Execute(ID_WINDOW_MEASUREMENT);
    EXPECT_FALSE(Checked(job, ID_WINDOW_MEASUREMENT));
    WTLA_PaletteFrame* navigation = Frame(job, ID_WINDOW_NAVIGATION);
    WTLA_PaletteFrame* separations = Frame(job, ID_WINDOW_SEPARATIONS);
    WTLA_PaletteFrame* measurement = Frame(job, ID_WINDOW_MEASUREMENT);
    const QRect measurementBefore = measurement->frameGeometry();

    job->Execute(ID_PALETTES_DOCK_RIGHT);
    WKRN_ProcessEvents();
    EXPECT_FALSE(navigation->isFloating());
    EXPECT_FALSE(separations->isFloating());
    EXPECT_EQ(job->dockWidgetArea(navigation), Qt::RightDockWidgetArea);
    EXPECT_EQ(job->dockWidgetArea(separations), Qt::RightDockWidgetArea);
    EXPECT_LT(navigation->y(), separations->y());
    EXPECT_GE(navigation->x(), job->View()->geometry().right());
    // The hidden palette keeps its place and stays hidden.
    EXPECT_TRUE(measurement->isFloating());
    EXPECT_TRUE(measurement->isHidden());
    EXPECT_EQ(measurement->frameGeometry(), measurementBefore);

    job->Execute(ID_PALETTES_FLOAT_LEFT);
    WKRN_ProcessEvents();
    EXPECT_TRUE(navigation->isFloating());
    EXPECT_TRUE(separations->isFloating());
    const QPoint left = WTLA_PaletteLayout::FloatingArea(*job).topLeft();
    EXPECT_EQ(navigation->frameGeometry().topLeft(), left);
    EXPECT_EQ(separations->frameGeometry().topLeft(),
              left + QPoint(0, navigation->frameGeometry().height()));
    EXPECT_TRUE(Checked(job, ID_WINDOW_NAVIGATION));
    EXPECT_TRUE(Checked(job, ID_WINDOW_SEPARATIONS));

    // The close box hides a palette and takes its check mark; the command brings it back.
    Activate(separations);
    separations->close();
    WKRN_ProcessEvents();
    EXPECT_TRUE(separations->isHidden());
    EXPECT_FALSE(Checked(job, ID_WINDOW_SEPARATIONS));
    // The job window (or a palette it shows) took over the activation: nothing else was hidden.
    EXPECT_TRUE(QApplication::activeWindow() == job ||
                job->Palettes().Owns(QApplication::activeWindow()));
    EXPECT_FALSE(navigation->isHidden());
    job->Execute(ID_WINDOW_SEPARATIONS);
    EXPECT_FALSE(separations->isHidden());
    EXPECT_TRUE(Checked(job, ID_WINDOW_SEPARATIONS));
}

TEST_F(SheetWindowPalettes, AnotherWindow_HidesOnlyFloatingPalettesAndBringsBackExactlyThose)
{
    WKRN_SheetWindow* job = OpenWithThree();
    WKRN_SheetWindow* other = Open(Sheet(), QRect(40, 40, 700, 500));
    WTLA_PaletteFrame* navigation = Frame(job, ID_WINDOW_NAVIGATION);
    WTLA_PaletteFrame* separations = Frame(job, ID_WINDOW_SEPARATIONS);
    WTLA_PaletteFrame* measurement = Frame(job, ID_WINDOW_MEASUREMENT);
    // Navigation docked, separations floating and shown, measurement floating and hidden.
    job->Execute(ID_WINDOW_SEPARATIONS);
    job->Execute(ID_PALETTES_DOCK_LEFT);
    job->Execute(ID_WINDOW_SEPARATIONS);
    ASSERT_FALSE(navigation->isFloating());
    ASSERT_TRUE(separations->isFloating());
    ASSERT_TRUE(measurement->isHidden());

    Activate(job);
    Activate(other);
    EXPECT_TRUE(job->Palettes().Hidden());
    EXPECT_TRUE(separations->isHidden());
    EXPECT_TRUE(measurement->isHidden());
    EXPECT_FALSE(navigation->isHidden());
    // The job window's menu still shows what comes back.
    EXPECT_TRUE(Checked(job, ID_WINDOW_SEPARATIONS));
    // The palette's own notice for the same switch loses nothing.
    WTLU_MessageEvent::Send(job, JOBMSG_PALETTE_DEACTIVATED, ID_WINDOW_SEPARATIONS,
                            WTLU_MessageEvent::Handle(other));

    Activate(job);
    EXPECT_FALSE(job->Palettes().Hidden());
    EXPECT_FALSE(separations->isHidden());
    EXPECT_TRUE(measurement->isHidden());
    EXPECT_FALSE(navigation->isHidden());

    // The other window's own palettes went away meanwhile and came back with it.
    Activate(other);
    EXPECT_FALSE(Frame(other, ID_WINDOW_NAVIGATION)->isHidden());
    EXPECT_TRUE(separations->isHidden());
}

TEST_F(SheetWindowPalettes, PaletteNotices_KeepPalettesForTheirOwnWindowsAndPopUps)
{
    WKRN_SheetWindow* job = OpenWithThree();
    WKRN_SheetWindow* other = Open(Sheet(), QRect(40, 40, 700, 500));
    WTLA_PaletteFrame* separations = Frame(job, ID_WINDOW_SEPARATIONS);
    Activate(job);

    // Going from a palette to its job window or to another of its palettes hides nothing.
    WTLU_MessageEvent::Send(job, JOBMSG_PALETTE_DEACTIVATED, ID_WINDOW_NAVIGATION,
                            WTLU_MessageEvent::Handle(job));
    WTLU_MessageEvent::Send(job, JOBMSG_PALETTE_DEACTIVATED, ID_WINDOW_NAVIGATION,
                            WTLU_MessageEvent::Handle(separations));
    EXPECT_FALSE(job->Palettes().Hidden());
    Activate(separations);
    EXPECT_FALSE(job->Palettes().Hidden());
    EXPECT_FALSE(separations->isHidden());

    // A colour dialog of a palette keeps the palettes.
    WTLU_MessageEvent::Send(job, JOBMSG_POPUP_STARTED);
    Activate(other);
    EXPECT_FALSE(separations->isHidden());
    WTLU_MessageEvent::Send(job, JOBMSG_POPUP_ENDED);
    Activate(job);

    // From a palette to another job window: hidden, and that window (or its palette) is active.
    Activate(separations);
    WTLU_MessageEvent::Send(job, JOBMSG_PALETTE_DEACTIVATED, ID_WINDOW_SEPARATIONS,
                            WTLU_MessageEvent::Handle(other));
    EXPECT_TRUE(separations->isHidden());
    WKRN_ProcessEvents();
    EXPECT_TRUE(QApplication::activeWindow() == other ||
                other->Palettes().Owns(QApplication::activeWindow()));
    // A handle of no window is not followed.
    WTLU_MessageEvent::Send(job, JOBMSG_PALETTE_DEACTIVATED, ID_WINDOW_SEPARATIONS,
                            qintptr(0x1234));
    Activate(job);
    EXPECT_FALSE(separations->isHidden());
}

TEST_F(SheetWindowPalettes, JobShortcuts_WorkWhileAPaletteHasTheFocus)
{
    WKRN_SheetWindow* job = Open(Sheet());
    WTLA_PaletteFrame* navigation = Frame(job, ID_WINDOW_NAVIGATION);
    Activate(navigation);
    ASSERT_EQ(QApplication::activeWindow(), navigation);
    QWidget* content = navigation->Content();
    content->setFocusPolicy(Qt::StrongFocus);
    content->setFocus();
    QTest::keyClick(content, Qt::Key_D, Qt::ControlModifier); // Dock Right
    EXPECT_FALSE(navigation->isFloating());
    EXPECT_EQ(job->dockWidgetArea(navigation), Qt::RightDockWidgetArea);
    // Docked, the palette is part of the job window.
    Activate(job);
    content->setFocus();
    ASSERT_TRUE(content->hasFocus());
    const int level = job->View()->GetLevel();
    QTest::keyClick(content, Qt::Key_Minus, Qt::ControlModifier); // Zoom Out, docked
    EXPECT_EQ(job->View()->GetLevel(), level + 1);
}

TEST_F(SheetWindowPalettes, Palettes_StartFromTheViewsFacingSurfaceAndOverlays)
{
    WKRN_Preferences::Current().ShowImpositionOnOpen = true;
    WKRN_SheetWindow* job = Open(Sheet());
    auto* navigation = qobject_cast<WKRN_NavigationWindow*>(job->Palette(ID_WINDOW_NAVIGATION));
    ASSERT_NE(navigation, nullptr);
    EXPECT_TRUE(navigation->FrontFaces());
    EXPECT_TRUE(navigation->PageEdges());
    EXPECT_TRUE(navigation->PageNumbers());

    // A rebuilt sheet reaches the palette with the view's state of the moment (Flip Sheet is off
    // for this one-sided sheet: the view is flipped directly).
    job->View()->FlipSheet();
    job->Execute(ID_SHEET_PAGE_NUMBERS);
    const IMPN_SheetReference rebuilt = Sheet();
    WTLU_MessageEvent::Send(job, JOBMSG_SHEET_REBUILT, 0, 0, rebuilt);
    EXPECT_EQ(navigation->ShownSurface(), &rebuilt->GetFrontSurface()); // the back is empty
    EXPECT_FALSE(navigation->FrontFaces());
    // The new sheet comes with the overlays of the open preferences again.
    EXPECT_EQ(navigation->PageEdges(), job->View()->GetPageEdge());
    EXPECT_EQ(navigation->PageNumbers(), job->View()->GetPageNumbers());
    job->Execute(ID_SHEET_PAGE_NUMBERS);
    EXPECT_EQ(navigation->PageNumbers(), job->View()->GetPageNumbers());
}

// Floating palettes lie inside the sheet view, clear of its scroll bars, and the view scrolls far
// enough that every column of the sheet can be brought out from under them, on either side.
TEST_F(SheetWindowPalettes, FloatingPalettes_LeaveTheScrollBarsAndNoColumnOutOfReach)
{
    WKRN_SheetWindow* job = OpenWithThree();
    job->Execute(ID_ZOOM_2_1); // 1600 x 1200: wider than the window
    WKRN_ProcessEvents();
    WKRN_SheetView* view = job->View();
    const QRect area = WTLA_PaletteLayout::FloatingArea(*job);
    const QScrollBar* vertical = view->verticalScrollBar();
    ASSERT_TRUE(vertical->isVisible());
    const QRect bar(vertical->mapToGlobal(QPoint(0, 0)), vertical->size());
    std::vector<WTLA_PaletteFrame*> shown;
    for (int id : {int(ID_WINDOW_NAVIGATION), int(ID_WINDOW_SEPARATIONS)})
        shown.push_back(Frame(job, id));
    for (WTLA_PaletteFrame* frame : shown)
    {
        EXPECT_TRUE(area.contains(frame->frameGeometry())) << frame->windowTitle().toStdString();
        EXPECT_FALSE(frame->frameGeometry().intersects(bar));
    }

    const auto column = [view](int x)
    { return view->viewport()->mapToGlobal(QPoint(x - view->ScrollPosition().x(), 0)).x(); };
    view->Scroll(Qt::Horizontal, WKRN_SheetView::ToBottom);
    for (WTLA_PaletteFrame* frame : shown)
        EXPECT_LT(column(view->GetLevelWidth() - 1), frame->frameGeometry().left());

    job->Execute(ID_PALETTES_FLOAT_LEFT);
    WKRN_ProcessEvents();
    view->Scroll(Qt::Horizontal, WKRN_SheetView::ToTop);
    for (WTLA_PaletteFrame* frame : shown)
        EXPECT_GT(column(0), frame->frameGeometry().right());
    // Hidden by the user, a palette no longer holds the view away from the sheet's edge.
    job->Execute(ID_WINDOW_NAVIGATION);
    job->Execute(ID_WINDOW_SEPARATIONS);
    WKRN_ProcessEvents();
    EXPECT_EQ(view->ScrollPosition().x(), 0);
}
