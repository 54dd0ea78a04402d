#include "WKRN_JobWindowFixture.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/files/WKRN_AddFileDialog.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"
#include "WKRN/sheet/WKRN_StatusPanes.h"

#include "IMPN/IMPN_Sheet.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace
{
// Records the messages a job window sends to what stands in for its navigation palette.
class RecordingNavigation : public QWidget
{
public:
    bool event(QEvent* event) override
    {
        if (!WTLU_MessageEvent::IsMessage(event))
            return QWidget::event(event);
        const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
        messages.push_back(message.Message());
        wParams.push_back(message.WParam());
        if (const auto* fractions = std::any_cast<std::array<double, 4>>(&message.Payload()))
            lastFractions = *fractions;
        return true;
    }
    std::vector<int> messages;
    std::vector<quintptr> wParams;
    std::array<double, 4> lastFractions{};
};

// The level whose Zoom menu item is checked; -1 when none or more than one is.
int CheckedZoomLevel(WKRN_SheetWindow* job)
{
    int found = -1;
    for (int level = 0; level < 13; ++level)
        if (job->Action(WKRN_kZoomCommands[std::size_t(level)])->isChecked())
        {
            if (found >= 0)
                return -1;
            found = level;
        }
    return found;
}

class SheetWindowRelays : public WKRN_JobWindowTest
{
protected:
    IMPN_SheetReference Sheet(std::uint32_t width = 800, std::uint32_t height = 600)
    {
        WKRN_TestSheetSpec spec = OnePageSpec();
        spec.width = width;
        spec.height = height;
        return sheets.Make(spec);
    }
};
} // namespace

TEST_F(SheetWindowRelays, ListOfSheets_FirstStaysHereTheOthersOpenNewWindows)
{
    WKRN_SheetWindow* empty = Open({});
    const IMPN_SheetReference first = Sheet();
    std::vector<IMPN_SheetReference> list{first, Sheet(), Sheet()};
    WTLU_MessageEvent::Send(empty, JOBMSG_SHOW_SHEETS, 0, 0, list);
    WKRN_ProcessEvents();
    const auto jobs = app->JobWindows();
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0]->Sheet().Get(), first.Get());
    EXPECT_EQ(jobs[1]->Sheet().Get(), list[1].Get());
    EXPECT_EQ(jobs[2]->Sheet().Get(), list[2].Get());
    // Every window's view shows its own sheet.
    for (WKRN_SheetWindow* job : jobs)
        EXPECT_EQ(job->View()->GetSheet(), job->Sheet().Get());

    // A list sent to a window that already shows a job goes entirely to new windows.
    WTLU_MessageEvent::Send(jobs[0], JOBMSG_SHOW_SHEETS, 0, 0,
                            std::vector<IMPN_SheetReference>{Sheet()});
    WKRN_ProcessEvents();
    EXPECT_EQ(app->JobWindows().size(), 4u);
    EXPECT_EQ(jobs[0]->Sheet().Get(), first.Get());
}

TEST_F(SheetWindowRelays, ToolbarAndStatusBar_AreEachWindowsOwn)
{
    WKRN_SheetWindow* a = Open(Sheet());
    WKRN_SheetWindow* b = Open(Sheet());
    a->Execute(ID_VIEW_STATUS_BAR);
    b->Execute(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(a->statusBar()->isHidden());
    EXPECT_FALSE(a->Action(ID_VIEW_STATUS_BAR)->isChecked());
    EXPECT_FALSE(a->ToolBar()->isHidden());
    EXPECT_TRUE(a->Action(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_FALSE(b->statusBar()->isHidden());
    EXPECT_TRUE(b->ToolBar()->isHidden());
    EXPECT_FALSE(b->Action(ID_VIEW_TOOLBAR)->isChecked());
    // The view takes the room the bars leave.
    EXPECT_GT(b->View()->geometry().top(), 0);
    a->Execute(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(a->statusBar()->isHidden());
    EXPECT_TRUE(a->Action(ID_VIEW_STATUS_BAR)->isChecked());

    // A window that is not on screen yet still toggles (its bars are not visible either way).
    WKRN_SheetWindow hidden(0xA0FF, app.get());
    hidden.Execute(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(hidden.ToolBar()->isHidden());
    EXPECT_FALSE(hidden.Action(ID_VIEW_TOOLBAR)->isChecked());
    hidden.Execute(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(hidden.ToolBar()->isHidden());
}

TEST_F(SheetWindowRelays, ViewNotices_MoveTheZoomCheckAndReachTheNavigationPalette)
{
    WKRN_SheetWindow* job = Open(Sheet());
    RecordingNavigation navigation;
    job->SetPalette(ID_WINDOW_NAVIGATION, &navigation);

    // The Zoom tool zooms in the view and reports old and new levels.
    job->View()->ZoomToLevel(1, false);
    std::array<double, 4> fractions{0.1, 0.2, 0.3, 0.4};
    WTLU_MessageEvent::Send(job, JOBMSG_ZOOM_CHANGED, quintptr(1) << 16 | 3,
                            reinterpret_cast<qintptr>(fractions.data()), fractions);
    EXPECT_TRUE(job->Action(ID_ZOOM_4_1)->isChecked());
    EXPECT_FALSE(job->Action(ID_ZOOM_1_1)->isChecked());
    EXPECT_EQ(job->ZoomPane()->text(), QStringLiteral("4:1"));
    ASSERT_FALSE(navigation.messages.empty());
    EXPECT_EQ(navigation.messages.back(), JOBMSG_ZOOM_CHANGED);
    EXPECT_EQ(navigation.wParams.back(), quintptr(1) << 16 | 3);
    EXPECT_EQ(navigation.lastFractions, fractions);

    // A visible-area notice goes on as 0x800D with the fractions.
    navigation.messages.clear();
    std::array<double, 4> area{0.0, 0.5, 0.25, 0.5};
    WTLU_MessageEvent::Send(job, JOBMSG_VISIBLE_AREA, 0, reinterpret_cast<qintptr>(area.data()),
                            area);
    ASSERT_EQ(navigation.messages, std::vector<int>{JOBMSG_ZOOM_CHANGED});
    EXPECT_EQ(navigation.lastFractions, area);

    // A zoom command tells the palette the old and new levels.
    navigation.messages.clear();
    navigation.wParams.clear();
    job->Execute(ID_ZOOM_1_8);
    ASSERT_FALSE(navigation.messages.empty());
    EXPECT_EQ(navigation.wParams.front(), quintptr(6) << 16 | 1);
}

TEST_F(SheetWindowRelays, NavigationRequests_ReachTheView)
{
    WKRN_SheetWindow* job = Open(Sheet(4000, 3000));
    job->View()->ZoomToLevel(3, true);
    // Zoom to the top-left quarter: the view picks a level by powers of two and the check mark
    // follows it.
    std::array<double, 4> rect{0.0, 0.0, 0.05, 0.05};
    WTLU_MessageEvent::Send(job, JOBMSG_ZOOM_REQUEST, 0, reinterpret_cast<qintptr>(rect.data()),
                            rect);
    const int level = job->View()->GetLevel();
    EXPECT_LT(level, 3);
    EXPECT_EQ(CheckedZoomLevel(job), level);
    EXPECT_EQ(job->ZoomPane()->text(), WKRN_StatusPanes::ZoomText(level));

    job->View()->ZoomToLevel(3, true);
    std::array<double, 2> scroll{0.5, 0.5};
    WTLU_MessageEvent::Send(job, JOBMSG_PAN_REQUEST, 0, reinterpret_cast<qintptr>(scroll.data()),
                            scroll);
    EXPECT_GT(job->View()->ScrollPosition().x(), 0);
    EXPECT_GT(job->View()->ScrollPosition().y(), 0);
}

TEST_F(SheetWindowRelays, MeasurementWithoutPalette_ShowsInTheStatusBarInThePreferredUnit)
{
    WKRN_SheetWindow* job = Open(Sheet());
    job->SetPalette(ID_WINDOW_MEASUREMENT, nullptr);
    WKRN_Preferences::Current().PreferredLinearUnits = 2; // inches
    WKRN_Preferences::Current().LinearUnitPrecision = 3;
    double position[2] = {1.5, 2.25};
    double offset[2] = {-0.5, 0.125};
    WTLU_MessageEvent::Send(job, JOBMSG_MEASUREMENT, reinterpret_cast<quintptr>(position),
                            reinterpret_cast<qintptr>(offset));
    // The same texts as the measurement palette's rows: position, offset, distance and angle.
    EXPECT_EQ(
        job->statusBar()->currentMessage(),
        QString::fromUtf8("( 1.500, 2.250) in   ( -0.500, 0.125) in   0.515 in  |  +166.0\u00B0"));
    // Values nobody can show are not shown.
    job->statusBar()->clearMessage();
    WTLU_MessageEvent::Send(job, JOBMSG_MEASUREMENT, 0, 0, std::vector<double>{std::nan(""), 1.0});
    EXPECT_TRUE(job->statusBar()->currentMessage().isEmpty());
}

TEST_F(SheetWindowRelays, RebuiltSheet_ReplacesTheJobOnlyInAWindowThatShowsOne)
{
    WKRN_SheetWindow* empty = Open({});
    const IMPN_SheetReference rebuilt = Sheet();
    WTLU_MessageEvent::Send(empty, JOBMSG_SHEET_REBUILT, 0, 0, rebuilt);
    EXPECT_FALSE(empty->ShowsSheet());

    WKRN_SheetWindow* job = Open(Sheet());
    job->Execute(ID_ZOOM_1_64);
    WTLU_MessageEvent::Send(job, JOBMSG_SHEET_REBUILT, 0, 0, rebuilt);
    EXPECT_EQ(job->Sheet().Get(), rebuilt.Get());
    EXPECT_EQ(job->View()->GetSheet(), rebuilt.Get());
    EXPECT_EQ(job->windowTitle(), QStringLiteral("Quor KRN - View: Signature 1 Web 1"));
    EXPECT_EQ(CheckedZoomLevel(job), job->View()->GetLevel());
}

TEST_F(SheetWindowRelays, OpenPreferences_FitTheSheetAndShowTheImposition)
{
    WKRN_Preferences::Current().ShowImpositionOnOpen = true;
    WKRN_Preferences::Current().ZoomToFitWindowOnOpen = true;
    WKRN_Preferences::Current().DefaultSurfaceColor = {10, 20, 30};
    WKRN_SheetWindow* job = Open(Sheet(4000, 3000));
    WKRN_SheetView* view = job->View();
    // The fit is made for the window's size once it is on screen.
    EXPECT_LT(view->GetLevelWidth(), view->ClientSize().width());
    EXPECT_LT(view->GetLevelHeight(), view->ClientSize().height());
    EXPECT_TRUE(view->LevelWidth(view->GetLevel() - 1) >= view->ClientSize().width() ||
                view->LevelHeight(view->GetLevel() - 1) >= view->ClientSize().height());
    EXPECT_EQ(CheckedZoomLevel(job), view->GetLevel());
    for (int id : {ID_SHEET_PRESS_SHEET_EDGE, ID_SHEET_BLEED_EDGE, ID_SHEET_PAGE_EDGE,
                   ID_SHEET_PAGE_NUMBERS})
        EXPECT_TRUE(job->Action(id)->isChecked()) << id;
    const IMPN_ColorBGR paper = view->GetPreferences().defaultSurfaceColor;
    EXPECT_EQ(paper, (IMPN_ColorBGR{10, 20, 30}));
}

TEST_F(SheetWindowRelays, CapsPane_FollowsTheKeyboardState)
{
    bool caps = true;
    WKRN_StatusPanes::SetCapsSource([&caps] { return caps; });
    WKRN_SheetWindow* job = Open({});
    EXPECT_EQ(job->CapsPane()->text(), QStringLiteral("CAPS"));
    caps = false;
    job->StatusPanes()->UpdateCaps();
    EXPECT_TRUE(job->CapsPane()->text().isEmpty());
}

TEST_F(SheetWindowRelays, ClosingTheWindow_ReleasesItsSheet)
{
    IMPN_SheetReference sheet = Sheet();
    const int held = sheet->GetReferenceCount();
    WKRN_SheetWindow* job = Open(sheet);
    EXPECT_GT(sheet->GetReferenceCount(), held);
    job->close();
    WKRN_ProcessEvents();
    EXPECT_EQ(sheet->GetReferenceCount(), held);
}

TEST_F(SheetWindowRelays, OpenAndAddPreviewFiles_RunTheDialogInTheirModes)
{
    WKRN_SheetWindow* job = Open(Sheet());
    struct Seen
    {
        QString title;
        bool addMode = false;
        QWidget* parent = nullptr;
    };
    std::vector<Seen> seen;
    auto closeDialog = [&seen]
    {
        auto* dialog = qobject_cast<WKRN_AddFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen.push_back({dialog->windowTitle(), dialog->IsAddMode(), dialog->parentWidget()});
        dialog->reject();
    };
    QTimer::singleShot(0, closeDialog);
    job->Execute(ID_FILE_ADD_PREVIEW);
    QTimer::singleShot(0, closeDialog);
    job->Execute(ID_FILE_OPEN_PREVIEW);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, QStringLiteral("Add Separation Files"));
    EXPECT_TRUE(seen[0].addMode);
    EXPECT_EQ(seen[0].parent, job);
    EXPECT_EQ(seen[1].title, QStringLiteral("Open Separation Files"));
    EXPECT_FALSE(seen[1].addMode);
    // Cancelled: the job is unchanged and no window was added.
    EXPECT_EQ(app->JobWindows().size(), 1u);
}
