#include "WKRN_JobWindowFixture.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"
#include "WKRN/sheet/WKRN_StatusPanes.h"

#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
// A stand-in for a palette: a tool window that records the messages the job window sends it.
class RecordingPalette : public QWidget
{
public:
    struct Received
    {
        int message;
        quintptr wParam;
    };
    bool event(QEvent* event) override
    {
        if (WTLU_MessageEvent::IsMessage(event))
        {
            const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
            received.push_back({message.Message(), message.WParam()});
            return true;
        }
        return QWidget::event(event);
    }
    std::vector<int> Messages() const
    {
        std::vector<int> numbers;
        for (const Received& r : received)
            numbers.push_back(r.message);
        return numbers;
    }
    std::vector<Received> received;
};

KRNPageInfo PageWithClipPath()
{
    KRNPageInfo page = WKRN_TestSheets::Page(1, 0, 100, 100, 400, 300);
    page.clipPaths = {{{120, 120}, {280, 120}, {280, 380}, {120, 380}}};
    return page;
}

class SheetWindowCommands : public WKRN_JobWindowTest
{
protected:
    IMPN_SheetReference Sheet(bool clipPaths = false, std::uint16_t workStyle = 1)
    {
        WKRN_TestSheetSpec spec = OnePageSpec();
        spec.workStyle = workStyle;
        if (clipPaths)
            spec.pages = {PageWithClipPath()};
        spec.surfaces = {WKRN_TestSurface{0, "Black", 4, {}}, WKRN_TestSurface{1, "Black", 4, {}}};
        return sheets.Make(spec);
    }

    using WKRN_JobWindowTest::Checked;
    // Every checkable command whose check mark is set, in the order given.
    static std::vector<int> Checked(WKRN_SheetWindow* job, const std::vector<int>& ids)
    {
        std::vector<int> checked;
        for (int id : ids)
            if (job->Action(id)->isChecked())
                checked.push_back(id);
        return checked;
    }
};
} // namespace

TEST_F(SheetWindowCommands, ShowingASheet_SetsTitleIconZoomTextChecksAndJobEnabling)
{
    WKRN_SheetWindow* job = Open(Sheet(false, 3));
    EXPECT_EQ(job->windowTitle(), QStringLiteral("Quor KRN - View: Signature 1 Web 1"));
    EXPECT_EQ(job->View()->GetSheet(), job->Sheet().Get());
    EXPECT_EQ(job->WorkStylePane()->property("iconId").toInt(), int(IDI_WORKSTYLE_3));
    EXPECT_EQ(job->ZoomPane()->text(), QStringLiteral("1:1"));
    EXPECT_EQ(Checked(job, WKRN_kZoomCommands), std::vector<int>{ID_ZOOM_1_1});
    EXPECT_EQ(Checked(job, {ID_BACKUP_PLATES, ID_BACKUP_PRESS_SHEETS, ID_BACKUP_PAGES}),
              std::vector<int>{ID_BACKUP_PRESS_SHEETS});
    EXPECT_EQ(Checked(job, {ID_TOOL_PAN, ID_TOOL_MEASURE, ID_TOOL_ZOOM}),
              std::vector<int>{ID_TOOL_PAN});
    EXPECT_TRUE(Checked(job, {ID_SHEET_PRESS_SHEET_EDGE, ID_SHEET_BLEED_EDGE, ID_SHEET_PAGE_EDGE,
                              ID_SHEET_PAGE_NUMBERS, ID_SHEET_CLIP_PATH})
                    .empty());
    for (int id : {ID_FILE_CLOSE, ID_WINDOW_CLOSE_ALL, ID_ZOOM_8_1, ID_ZOOM_1_512, ID_ZOOM_FIT,
                   ID_SHEET_SHOW_IMPOSITION, ID_SHEET_PAGE_NUMBERS, ID_BACKUP_PLATES, ID_SHEET_FLIP,
                   ID_SHEET_MORE_OPAQUE, ID_SHEET_LESS_OPAQUE, ID_TOOL_ZOOM})
        EXPECT_TRUE(Enabled(job, id)) << id;
    // No clip paths in this job: that command stays off.
    EXPECT_FALSE(Enabled(job, ID_SHEET_CLIP_PATH));
    // The palettes come with the first sheet, navigation shown; a palette command is there
    // exactly when its palette is, and the arrangements with them.
    EXPECT_TRUE(Enabled(job, ID_WINDOW_NAVIGATION));
    EXPECT_TRUE(job->Action(ID_WINDOW_NAVIGATION)->isChecked());
    for (int id : {ID_WINDOW_SEPARATIONS, ID_WINDOW_MEASUREMENT})
        EXPECT_EQ(Enabled(job, id), job->Palette(id) != nullptr) << id;
    for (int id : {ID_PALETTES_FLOAT_LEFT, ID_PALETTES_FLOAT_RIGHT, ID_PALETTES_DOCK_LEFT,
                   ID_PALETTES_DOCK_RIGHT})
        EXPECT_TRUE(Enabled(job, id)) << id;

    // Other work styles get their own icon; unknown ones the generic icon.
    EXPECT_EQ(Open(Sheet(false, 0))->WorkStylePane()->property("iconId").toInt(),
              int(IDI_WORKSTYLE_OTHER));
}

TEST_F(SheetWindowCommands, EmptyWindow_HasNoCheckMarksAndAnEmptyZoomPane)
{
    WKRN_SheetWindow* job = Open({});
    EXPECT_TRUE(Checked(job, WKRN_kZoomCommands).empty());
    EXPECT_TRUE(Checked(job, {ID_BACKUP_PRESS_SHEETS, ID_TOOL_PAN}).empty());
    EXPECT_TRUE(job->ZoomPane()->text().isEmpty());
    EXPECT_TRUE(job->WorkStylePane()->pixmap().isNull());
    // A job command reached through its shortcut or the toolbar does nothing while disabled.
    job->Execute(ID_ZOOM_8_1);
    EXPECT_EQ(job->View()->GetLevel(), IMPN_SheetView::kUnitLevel);
}

TEST_F(SheetWindowCommands, ZoomInStopsAt8To1AndZoomOutAt1To512)
{
    WKRN_SheetWindow* job = Open(Sheet());
    job->Execute(ID_ZOOM_8_1);
    EXPECT_EQ(job->View()->GetLevel(), 0);
    EXPECT_FALSE(Enabled(job, ID_ZOOM_IN));
    EXPECT_TRUE(Enabled(job, ID_ZOOM_OUT));
    EXPECT_EQ(job->ZoomPane()->text(), QStringLiteral("8:1"));
    job->Execute(ID_ZOOM_IN); // disabled: nothing happens
    EXPECT_EQ(job->View()->GetLevel(), 0);

    job->Execute(ID_ZOOM_OUT);
    EXPECT_EQ(job->View()->GetLevel(), 1);
    EXPECT_TRUE(Enabled(job, ID_ZOOM_IN));
    EXPECT_EQ(Checked(job, WKRN_kZoomCommands), std::vector<int>{ID_ZOOM_4_1});

    job->Execute(ID_ZOOM_1_256);
    job->Execute(ID_ZOOM_OUT);
    EXPECT_EQ(job->View()->GetLevel(), 12);
    EXPECT_FALSE(Enabled(job, ID_ZOOM_OUT));
    EXPECT_TRUE(Enabled(job, ID_ZOOM_IN));
    EXPECT_EQ(Checked(job, WKRN_kZoomCommands), std::vector<int>{ID_ZOOM_1_512});
    EXPECT_EQ(job->ZoomPane()->text(), QStringLiteral("1:512"));

    // Choosing the level already checked from the menu keeps it checked.
    job->Action(ID_ZOOM_1_512)->trigger();
    EXPECT_EQ(Checked(job, WKRN_kZoomCommands), std::vector<int>{ID_ZOOM_1_512});

    // Fit picks the largest level whose picture is smaller than the window (800 x 600 pixels
    // here, so 1:2 in a 640 x 480 window less its bars).
    job->Execute(ID_ZOOM_FIT);
    const int fitted = job->View()->GetLevel();
    EXPECT_LT(job->View()->GetLevelWidth(), job->View()->ClientSize().width());
    EXPECT_GE(job->View()->LevelWidth(fitted - 1), job->View()->ClientSize().width());
    EXPECT_EQ(Checked(job, WKRN_kZoomCommands),
              std::vector<int>{WKRN_kZoomCommands[std::size_t(fitted)]});
}

TEST_F(SheetWindowCommands, ShowImposition_AllOnFromAnyMixThenAllOff)
{
    WKRN_SheetWindow* job = Open(Sheet());
    const std::vector<int> overlays{ID_SHEET_PRESS_SHEET_EDGE, ID_SHEET_BLEED_EDGE,
                                    ID_SHEET_PAGE_EDGE, ID_SHEET_PAGE_NUMBERS};
    job->Execute(ID_SHEET_PAGE_EDGE);
    EXPECT_EQ(Checked(job, overlays), std::vector<int>{ID_SHEET_PAGE_EDGE});
    job->Execute(ID_SHEET_SHOW_IMPOSITION);
    EXPECT_EQ(Checked(job, overlays), overlays);
    // The job has no clip paths, so the four overlays are all there is: the next one hides them.
    job->Execute(ID_SHEET_SHOW_IMPOSITION);
    EXPECT_TRUE(Checked(job, overlays).empty());
    EXPECT_FALSE(job->View()->IsAnyImpositionShown());

    // Each overlay command toggles its own flag only.
    job->Execute(ID_SHEET_BLEED_EDGE);
    job->Execute(ID_SHEET_PAGE_NUMBERS);
    EXPECT_TRUE(job->View()->GetBleedEdge());
    EXPECT_TRUE(job->View()->GetPageNumbers());
    EXPECT_FALSE(job->View()->GetPageEdge());
    job->Execute(ID_SHEET_BLEED_EDGE);
    EXPECT_EQ(Checked(job, overlays), std::vector<int>{ID_SHEET_PAGE_NUMBERS});
}

TEST_F(SheetWindowCommands, ClipPaths_EnableTheHiddenCommandAndCountForShowImposition)
{
    WKRN_SheetWindow* job = Open(Sheet(true));
    ASSERT_TRUE(job->View()->GetClipPathsAvailable());
    EXPECT_TRUE(Enabled(job, ID_SHEET_CLIP_PATH));
    // The command has no menu item or toolbar button, but an action in the window.
    EXPECT_TRUE(job->ToolBar()->actions().indexOf(job->Action(ID_SHEET_CLIP_PATH)) < 0);

    // The four menu overlays on, the clip path off: not all on, so all come on.
    for (int id : {ID_SHEET_PRESS_SHEET_EDGE, ID_SHEET_BLEED_EDGE, ID_SHEET_PAGE_EDGE,
                   ID_SHEET_PAGE_NUMBERS})
        job->Execute(id);
    job->Execute(ID_SHEET_SHOW_IMPOSITION);
    EXPECT_TRUE(job->View()->GetClipPathsShown());
    EXPECT_TRUE(job->Action(ID_SHEET_CLIP_PATH)->isChecked());
    job->Execute(ID_SHEET_SHOW_IMPOSITION);
    EXPECT_FALSE(job->View()->IsAnyImpositionShown());
    EXPECT_FALSE(job->Action(ID_SHEET_CLIP_PATH)->isChecked());

    job->Execute(ID_SHEET_CLIP_PATH);
    EXPECT_TRUE(job->View()->GetClipPathsShown());
    EXPECT_TRUE(job->Action(ID_SHEET_CLIP_PATH)->isChecked());
}

TEST_F(SheetWindowCommands, OverlayFlipAndOpacityCommands_TellThePalettes)
{
    WKRN_SheetWindow* job = Open(Sheet());
    RecordingPalette navigation, separations;
    job->SetPalette(ID_WINDOW_NAVIGATION, &navigation);
    job->SetPalette(ID_WINDOW_SEPARATIONS, &separations);
    navigation.received.clear();

    // The navigation palette draws pages: it is told the page edge and page number states.
    job->Execute(ID_SHEET_PRESS_SHEET_EDGE);
    EXPECT_EQ(navigation.Messages(),
              (std::vector<int>{NAVMSG_PAGE_EDGES_OFF, NAVMSG_PAGE_NUMBERS_OFF}));
    navigation.received.clear();
    job->Execute(ID_SHEET_PAGE_NUMBERS);
    EXPECT_EQ(navigation.Messages(),
              (std::vector<int>{NAVMSG_PAGE_EDGES_OFF, NAVMSG_PAGE_NUMBERS_ON}));
    navigation.received.clear();
    job->Execute(ID_SHEET_SHOW_IMPOSITION);
    EXPECT_EQ(navigation.Messages(),
              (std::vector<int>{NAVMSG_PAGE_EDGES_ON, NAVMSG_PAGE_NUMBERS_ON}));
    navigation.received.clear();
    job->Execute(ID_SHEET_SHOW_IMPOSITION);
    EXPECT_EQ(navigation.Messages(),
              (std::vector<int>{NAVMSG_PAGE_EDGES_OFF, NAVMSG_PAGE_NUMBERS_OFF}));

    // The first argument of a flip says whether the front faces the viewer.
    navigation.received.clear();
    job->Execute(ID_SHEET_FLIP);
    EXPECT_TRUE(job->View()->IsFlipped());
    ASSERT_EQ(navigation.received.size(), 1u);
    EXPECT_EQ(navigation.received[0].message, NAVMSG_BACK_FACES);
    EXPECT_EQ(navigation.received[0].wParam, 0u);
    ASSERT_EQ(separations.received.size(), 1u);
    EXPECT_EQ(separations.received[0].message, SEPMSG_FACING);
    EXPECT_EQ(separations.received[0].wParam, 0u);
    job->Execute(ID_SHEET_FLIP);
    EXPECT_EQ(navigation.received.back().message, NAVMSG_FRONT_FACES);
    EXPECT_EQ(navigation.received.back().wParam, 1u);
    EXPECT_EQ(separations.received.back().wParam, 1u);

    // Opacity steps act on the surface facing the viewer and stop at the limits.
    separations.received.clear();
    IMPN_Surface* top = job->View()->GetTopSurface();
    job->Execute(ID_SHEET_MORE_OPAQUE);
    EXPECT_EQ(top->GetOpacity(), 100);
    job->Execute(ID_SHEET_LESS_OPAQUE);
    EXPECT_EQ(top->GetOpacity(), 95);
    ASSERT_EQ(separations.received.size(), 2u);
    EXPECT_EQ(separations.received[1].message, JOBMSG_SURFACE_OPACITY);
    EXPECT_EQ(separations.received[1].wParam, 95u);
    job->View()->SetOpacity(98);
    job->Execute(ID_SHEET_MORE_OPAQUE);
    EXPECT_EQ(top->GetOpacity(), 100);
    job->View()->SetOpacity(3);
    job->Execute(ID_SHEET_LESS_OPAQUE);
    EXPECT_EQ(top->GetOpacity(), 0);

    // After a flip the other surface faces the viewer and takes the steps.
    job->Execute(ID_SHEET_FLIP);
    job->Execute(ID_SHEET_LESS_OPAQUE);
    EXPECT_EQ(job->View()->GetTopSurface()->GetOpacity(), 95);
    EXPECT_EQ(top->GetOpacity(), 0);
}

TEST_F(SheetWindowCommands, BackupModesAndToolsAreRadioChoices)
{
    WKRN_SheetWindow* job = Open(Sheet());
    const std::vector<int> modes{ID_BACKUP_PLATES, ID_BACKUP_PRESS_SHEETS, ID_BACKUP_PAGES};
    job->Execute(ID_BACKUP_PAGES);
    EXPECT_EQ(job->View()->GetBackupMode(), IMPN_SheetView::BackupPages);
    EXPECT_EQ(Checked(job, modes), std::vector<int>{ID_BACKUP_PAGES});
    job->Action(ID_BACKUP_PLATES)->trigger();
    EXPECT_EQ(job->View()->GetBackupMode(), IMPN_SheetView::BackupPlates);
    EXPECT_EQ(Checked(job, modes), std::vector<int>{ID_BACKUP_PLATES});

    const std::vector<int> tools{ID_TOOL_PAN, ID_TOOL_MEASURE, ID_TOOL_ZOOM};
    job->Action(ID_TOOL_ZOOM)->trigger();
    EXPECT_EQ(job->View()->GetTool(), WKRN_SheetView::ZoomTool);
    EXPECT_EQ(Checked(job, tools), std::vector<int>{ID_TOOL_ZOOM});
    // Choosing the tool already chosen keeps its check mark.
    job->Action(ID_TOOL_ZOOM)->trigger();
    EXPECT_EQ(Checked(job, tools), std::vector<int>{ID_TOOL_ZOOM});
    job->Execute(ID_TOOL_PAN);
    EXPECT_EQ(Checked(job, tools), std::vector<int>{ID_TOOL_PAN});
}

TEST_F(SheetWindowCommands, MeasureTool_ShowsTheMeasurementPaletteAndChecksIt)
{
    WKRN_SheetWindow* job = Open(Sheet());
    // Without the palette the tool still works.
    job->SetPalette(ID_WINDOW_MEASUREMENT, nullptr);
    job->Execute(ID_TOOL_MEASURE);
    EXPECT_EQ(job->View()->GetTool(), WKRN_SheetView::MeasureTool);
    EXPECT_FALSE(job->Action(ID_WINDOW_MEASUREMENT)->isChecked());

    job->Execute(ID_TOOL_PAN);
    RecordingPalette measurement;
    measurement.setWindowFlags(Qt::Tool);
    job->SetPalette(ID_WINDOW_MEASUREMENT, &measurement);
    EXPECT_TRUE(Enabled(job, ID_WINDOW_MEASUREMENT));
    EXPECT_FALSE(job->Action(ID_WINDOW_MEASUREMENT)->isChecked());
    job->Execute(ID_TOOL_MEASURE);
    EXPECT_FALSE(measurement.isHidden());
    EXPECT_TRUE(job->Action(ID_WINDOW_MEASUREMENT)->isChecked());

    // The palette command hides and shows it again; the check mark follows.
    job->Execute(ID_WINDOW_MEASUREMENT);
    EXPECT_TRUE(measurement.isHidden());
    EXPECT_FALSE(job->Action(ID_WINDOW_MEASUREMENT)->isChecked());
    job->Execute(ID_WINDOW_MEASUREMENT);
    EXPECT_FALSE(measurement.isHidden());

    // Closed by its close box: the palette says so and the check mark goes.
    measurement.hide();
    WTLU_MessageEvent::Send(job, JOBMSG_PALETTE_CLOSED, ID_WINDOW_MEASUREMENT);
    EXPECT_FALSE(job->Action(ID_WINDOW_MEASUREMENT)->isChecked());
    // A measure drag asks for the palette through the view.
    WTLU_MessageEvent::Send(job, JOBMSG_SHOW_PALETTE, ID_WINDOW_MEASUREMENT);
    EXPECT_FALSE(measurement.isHidden());
    EXPECT_TRUE(job->Action(ID_WINDOW_MEASUREMENT)->isChecked());

    // A palette that goes away takes its command with it.
    job->SetPalette(ID_WINDOW_MEASUREMENT, nullptr);
    EXPECT_FALSE(Enabled(job, ID_WINDOW_MEASUREMENT));
}

// Flip Sheet turns only to a surface that has inks: a one-sided sheet cannot be flipped to an
// empty back, and a sheet with only a back can be turned to it but not back to its empty front.
TEST_F(SheetWindowCommands, FlipSheet_OnlyTowardsASurfaceWithInks)
{
    const auto oneSided = [this](std::uint16_t surface)
    {
        WKRN_TestSheetSpec spec = OnePageSpec();
        spec.workStyle = 1;
        spec.surfaces = {WKRN_TestSurface{surface, "Black", 4, {}}};
        return Open(sheets.Make(spec));
    };
    WKRN_SheetWindow* front = oneSided(0);
    EXPECT_FALSE(Enabled(front, ID_SHEET_FLIP));
    front->Execute(ID_SHEET_FLIP);
    EXPECT_FALSE(front->View()->IsFlipped());

    WKRN_SheetWindow* back = oneSided(1);
    ASSERT_TRUE(Enabled(back, ID_SHEET_FLIP));
    back->Execute(ID_SHEET_FLIP);
    EXPECT_TRUE(back->View()->IsFlipped());
    EXPECT_FALSE(Enabled(back, ID_SHEET_FLIP));

    EXPECT_TRUE(Enabled(Open(Sheet()), ID_SHEET_FLIP));
}
