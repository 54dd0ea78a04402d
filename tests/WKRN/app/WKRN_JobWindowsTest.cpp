#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Application.h"
#include "WKRN/app/WKRN_DataFolders.h"
#include "WKRN/app/WKRN_Help.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_CommandTable.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_CommandLine.h"
#include "GLIB/GLIB_MainGuard.h"
#include "IMPN/IMPN_Sheet.h"
#include "WTLU/WTLU_MessageEvent.h"
#include "WTLU/WTLU_WindowArrangement.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace
{
IMPN_SheetReference MakeSheet(const WKRN_TestFolder& folder, const std::string& title,
                              std::uint16_t signature)
{
    const std::string name = title + std::to_string(signature) + ".tif";
    const std::string path = folder.WritePreview(name, title, signature, 0, "Black");
    return IMPN_SheetReference(new IMPN_Sheet(std::vector<GFIL_FileSpec>{GFIL_FileSpec(path)}, {}));
}

GLIB_HandOverRecord::Record Line(const std::vector<std::wstring>& arguments,
                                 std::uint64_t tag = COMMAND_LINE_HANDOVER)
{
    GLIB_HandOverRecord::Record record;
    record.tag = tag;
    record.commandLine = GLIB_CommandLine::Join(arguments);
    record.wellFormed = true;
    return record;
}

std::vector<int> WindowMenuIds(WKRN_SheetWindow* job, std::vector<bool>* checked = nullptr)
{
    std::vector<int> ids;
    const QList<QAction*> items = job->Menu(6)->actions();
    for (qsizetype i = 11; i < items.size(); ++i)
    {
        ids.push_back(items[i]->data().toInt());
        if (checked != nullptr)
            checked->push_back(items[i]->isChecked());
    }
    return ids;
}

class JobWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<WKRN_Tressida>(QPixmap());
        app->SetQuitAction([this] { ++quits; });
        app->SetTickSource([this] { return now; });
        app->SetPreferencesPath(folder.File("Varnex.conf"));
    }
    void TearDown() override
    {
        app.reset();
        WKRN_ProcessEvents();
    }

    bool Enabled(WKRN_SheetWindow* job, int id) { return job->Action(id)->isEnabled(); }

    WKRN_TestFolder folder;
    std::unique_ptr<WKRN_Tressida> app;
    int quits = 0;
    std::uint32_t now = 5000;
};
} // namespace

TEST_F(JobWindows, EmptyJobWindow_EnablesOnlyWhatWorksWithoutASheet)
{
    WKRN_SheetWindow* job = app->OpenJobWindow({}, std::nullopt, true);
    for (int id : {ID_FILE_CLOSE,
                   ID_WINDOW_CLOSE_ALL,
                   ID_ZOOM_8_1,
                   ID_ZOOM_1_1,
                   ID_ZOOM_1_512,
                   ID_ZOOM_IN,
                   ID_ZOOM_OUT,
                   ID_ZOOM_FIT,
                   ID_SHEET_SHOW_IMPOSITION,
                   ID_SHEET_PRESS_SHEET_EDGE,
                   ID_SHEET_PAGE_NUMBERS,
                   ID_BACKUP_PAGES,
                   ID_SHEET_FLIP,
                   ID_SHEET_MORE_OPAQUE,
                   ID_TOOL_PAN,
                   ID_TOOL_MEASURE,
                   ID_WINDOW_NAVIGATION,
                   ID_WINDOW_MEASUREMENT,
                   ID_PALETTES_FLOAT_LEFT,
                   ID_PALETTES_DOCK_RIGHT,
                   ID_SHEET_CLIP_PATH,
                   ID_EDIT_UNDO,
                   ID_EDIT_CUT,
                   ID_EDIT_COPY,
                   ID_EDIT_PASTE})
        EXPECT_FALSE(Enabled(job, id)) << id;
    for (int id : {ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_WINDOW_CASCADE,
                   ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT, ID_HELP_CONTENTS, ID_APP_ABOUT})
        EXPECT_TRUE(Enabled(job, id)) << id;

    // The preview-file dialogs and the job browser are wired from the start. Other commands
    // carried out by dialogs are enabled in an empty window as soon as they are wired; job
    // commands stay off, and the edit commands never come on.
    EXPECT_TRUE(Enabled(job, ID_FILE_OPEN_PREVIEW));
    EXPECT_TRUE(Enabled(job, ID_FILE_ADD_PREVIEW));
    EXPECT_TRUE(Enabled(job, ID_FILE_JOB_BROWSER));
    EXPECT_TRUE(Enabled(job, ID_EDIT_CUSTOM_COLORS));
    EXPECT_TRUE(Enabled(job, ID_EDIT_PREFERENCES));
    for (int id : {ID_ZOOM_IN, ID_EDIT_UNDO})
    {
        EXPECT_FALSE(Enabled(job, id)) << id;
        job->SetCommandHandler(id, [] {});
    }
    for (int id : {ID_FILE_OPEN_PREVIEW, ID_FILE_ADD_PREVIEW, ID_FILE_JOB_BROWSER,
                   ID_EDIT_CUSTOM_COLORS, ID_EDIT_PREFERENCES})
        EXPECT_TRUE(Enabled(job, id)) << id;
    EXPECT_FALSE(Enabled(job, ID_ZOOM_IN));
    EXPECT_FALSE(Enabled(job, ID_EDIT_UNDO));

    job->ShowSheet(MakeSheet(folder, "Job", 1));
    EXPECT_TRUE(Enabled(job, ID_FILE_CLOSE));
    EXPECT_TRUE(Enabled(job, ID_WINDOW_CLOSE_ALL));
    EXPECT_TRUE(Enabled(job, ID_ZOOM_IN));
    EXPECT_FALSE(Enabled(job, ID_EDIT_UNDO));
}

TEST_F(JobWindows, MenusAndToolbar_CarryTheCommandTable)
{
    WKRN_SheetWindow* job = app->OpenJobWindow({}, std::nullopt, true);
    // The shortcut beside the label comes from the key sequence, translated with Qt's texts.
    EXPECT_EQ(job->Action(ID_FILE_OPEN_PREVIEW)->text(), QStringLiteral("&Open Preview Files ..."));
    EXPECT_EQ(job->Action(ID_FILE_OPEN_PREVIEW)->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(job->Action(ID_PALETTES_FLOAT_RIGHT)->shortcuts().size(), 2);
    EXPECT_EQ(job->Action(ID_ZOOM_IN)->shortcuts().size(), 2); // main and keypad plus
    EXPECT_EQ(job->Action(ID_EDIT_UNDO)->shortcuts().size(), 2);
    // Every shortcut a label shows is one the item answers to.
    for (const WKRN_CommandInfo& info : WKRN_CommandTable::Entries())
    {
        const QString written = QString::fromUtf8(info.text).section(QLatin1Char('\t'), 1);
        if (info.id == 0 || written.isEmpty())
            continue;
        ASSERT_NE(job->Action(info.id), nullptr) << info.id;
        EXPECT_EQ(job->Action(info.id)->shortcut(), QKeySequence(written.trimmed())) << info.id;
        EXPECT_FALSE(job->Action(info.id)->text().contains(QLatin1Char('\t'))) << info.id;
    }
    EXPECT_EQ(job->Action(ID_SHEET_CLIP_PATH)->statusTip(),
              QStringLiteral("Display or hide source clip paths (if present)"));
    EXPECT_EQ(job->Action(ID_SHEET_CLIP_PATH)->toolTip(), QStringLiteral("Source Clip Path"));

    std::vector<int> toolbar;
    for (QAction* action : job->ToolBar()->actions())
        toolbar.push_back(action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(toolbar,
              (std::vector<int>{ID_FILE_JOB_BROWSER, 0, ID_FILE_OPEN_PREVIEW, ID_FILE_ADD_PREVIEW,
                                0, ID_ZOOM_FIT, ID_ZOOM_OUT, ID_ZOOM_IN, 0,
                                ID_SHEET_SHOW_IMPOSITION, ID_SHEET_PRESS_SHEET_EDGE,
                                ID_SHEET_BLEED_EDGE, ID_SHEET_PAGE_EDGE, ID_SHEET_PAGE_NUMBERS, 0,
                                ID_TOOL_PAN, ID_TOOL_MEASURE, ID_TOOL_ZOOM, ID_TOOL_DENSITOMETER}));

    // The Window menu keeps its eleven fixed items ahead of the job windows.
    const QList<QAction*> items = job->Menu(6)->actions();
    ASSERT_GE(items.size(), 11);
    EXPECT_EQ(items[0]->data().toInt(), ID_WINDOW_NAVIGATION);
    EXPECT_NE(items[3]->menu(), nullptr);
    EXPECT_EQ(items[5]->data().toInt(), ID_WINDOW_CASCADE);
    EXPECT_EQ(items[9]->data().toInt(), ID_WINDOW_CLOSE_ALL);
    EXPECT_TRUE(items[10]->isSeparator());
}

TEST_F(JobWindows, ToolbarToggle_BelongsToItsOwnWindow)
{
    WKRN_SheetWindow* first = app->OpenJobWindow({}, std::nullopt, true);
    WKRN_SheetWindow* second = app->OpenJobWindow({}, std::nullopt, true);
    first->Execute(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(first->ToolBar()->isHidden());
    EXPECT_FALSE(first->Action(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_FALSE(second->ToolBar()->isHidden());
    EXPECT_TRUE(second->Action(ID_VIEW_TOOLBAR)->isChecked());
}

TEST_F(JobWindows, WindowMenu_ListsEveryJobWindowAfterOpensAndCloses)
{
    const int firstId = app->NextJobIdentity();
    WKRN_SheetWindow* a = app->OpenJobWindow(MakeSheet(folder, "Alpha", 1), std::nullopt, true);
    WKRN_SheetWindow* b = app->OpenJobWindow(MakeSheet(folder, "Beta", 2), std::nullopt, true);
    WKRN_SheetWindow* c = app->OpenJobWindow({}, std::nullopt, true);
    EXPECT_EQ(a->Identity(), firstId);
    EXPECT_EQ(b->Identity(), firstId + 1);
    EXPECT_EQ(c->Identity(), firstId + 2);
    EXPECT_EQ(a->windowTitle(), QStringLiteral("Quor KRN - Alpha: Signature 1 Web 1"));

    for (WKRN_SheetWindow* job : {a, b, c})
    {
        std::vector<bool> checked;
        EXPECT_EQ(WindowMenuIds(job, &checked),
                  (std::vector<int>{firstId, firstId + 1, firstId + 2}));
        EXPECT_EQ(std::count(checked.begin(), checked.end(), true), 1);
        EXPECT_TRUE(job->Action(job->Identity())->isChecked());
    }
    EXPECT_EQ(a->Action(firstId + 1)->text(), QStringLiteral("Beta: Signature 2 Web 1"));

    b->close();
    WKRN_ProcessEvents();
    EXPECT_EQ(app->JobWindows().size(), 2u);
    EXPECT_EQ(WindowMenuIds(a), (std::vector<int>{firstId, firstId + 2}));
    EXPECT_EQ(WindowMenuIds(c), (std::vector<int>{firstId, firstId + 2}));
    EXPECT_EQ(quits, 0);
}

// Filling an empty job window or renaming a job changes what every Window menu says: each lists
// every window once, under its current name, with only its own item checked.
TEST_F(JobWindows, WindowMenu_FollowsEveryChangeOfAJobsName)
{
    WKRN_SheetWindow* a = app->OpenJobWindow({}, std::nullopt, true);
    WKRN_SheetWindow* b = app->OpenJobWindow(MakeSheet(folder, "Beta", 2), std::nullopt, true);
    const int aId = a->Identity(), bId = b->Identity();
    EXPECT_EQ(b->Action(aId)->text(), QStringLiteral("Quor KRN"));

    WTLU_MessageEvent::Send(a, JOBMSG_SHOW_SHEET, 0, 0, MakeSheet(folder, "Alpha", 1));
    for (WKRN_SheetWindow* job : {a, b})
    {
        std::vector<bool> checked;
        EXPECT_EQ(WindowMenuIds(job, &checked), (std::vector<int>{aId, bId}));
        EXPECT_EQ(std::count(checked.begin(), checked.end(), true), 1);
        EXPECT_TRUE(job->Action(job->Identity())->isChecked());
        EXPECT_EQ(job->Action(aId)->text(), QStringLiteral("Alpha: Signature 1 Web 1"));
    }

    // Adding files that belong to another signature renames the job.
    WTLU_MessageEvent::Send(a, JOBMSG_SHEET_REBUILT, 0, 0, MakeSheet(folder, "Gamma", 3));
    for (WKRN_SheetWindow* job : {a, b})
    {
        EXPECT_EQ(WindowMenuIds(job), (std::vector<int>{aId, bId}));
        EXPECT_EQ(job->Action(aId)->text(), QStringLiteral("Gamma: Signature 3 Web 1"));
    }
}

TEST_F(JobWindows, CloseJob_LeavesAnEmptyJobWindowAtTheSameRectangle)
{
    WKRN_SheetWindow* job =
        app->OpenJobWindow(MakeSheet(folder, "Job", 1), QRect(40, 50, 500, 400), true);
    const QRect before = job->geometry();
    job->Execute(ID_FILE_CLOSE);
    WKRN_ProcessEvents();
    const auto jobs = app->JobWindows();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_NE(jobs[0], job);
    EXPECT_FALSE(jobs[0]->ShowsSheet());
    EXPECT_EQ(jobs[0]->geometry(), before);
    EXPECT_FALSE(app->CloseReplacePending());
    EXPECT_EQ(quits, 0);

    // Closing that window with its close box ends the run and writes the preferences.
    jobs[0]->close();
    WKRN_ProcessEvents();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(QFileInfo(folder.File("Varnex.conf")).isFile());
}

// The first job window fills the work area, frame and all; each further one opens a step right
// and down from the last, inside the work area, never exactly over another.
TEST_F(JobWindows, NewJobWindows_CascadeFromTheLastInsideTheWorkArea)
{
    const QRect area = WTLU_WindowArrangement::WorkArea(app.get());
    std::vector<QRect> outers;
    for (const char* title : {"A", "B", "C"})
    {
        WKRN_SheetWindow* job = app->OpenJobWindow(MakeSheet(folder, title, 1), std::nullopt, true);
        WKRN_ProcessEvents();
        outers.push_back(WTLU_WindowArrangement::OuterRect(job));
    }
    EXPECT_EQ(outers[0], area);
    for (std::size_t i = 1; i < outers.size(); ++i)
    {
        EXPECT_TRUE(area.contains(outers[i])) << i;
        EXPECT_EQ(outers[i].topLeft(),
                  outers[i - 1].topLeft() + QPoint(WTLU_WindowArrangement::kCascadeStep,
                                                   WTLU_WindowArrangement::kCascadeStep))
            << i;
    }
}

TEST_F(JobWindows, CloseAllJobs_FromTheThirdOfThree_LeavesOneEmptyWindowAtItsRectangle)
{
    app->OpenJobWindow(MakeSheet(folder, "A", 1), QRect(10, 10, 300, 200), true);
    app->OpenJobWindow(MakeSheet(folder, "B", 1), QRect(20, 20, 310, 210), true);
    WKRN_SheetWindow* third =
        app->OpenJobWindow(MakeSheet(folder, "C", 1), QRect(30, 30, 320, 220), true);
    third->Execute(ID_WINDOW_CLOSE_ALL);
    WKRN_ProcessEvents();
    const auto jobs = app->JobWindows();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_FALSE(jobs[0]->ShowsSheet());
    EXPECT_EQ(jobs[0]->geometry(), QRect(30, 30, 320, 220));
    EXPECT_FALSE(app->CloseAllPending());
    EXPECT_EQ(quits, 0);
}

TEST_F(JobWindows, Exit_WritesThePreferencesAndQuits)
{
    WKRN_SheetWindow* job = app->OpenJobWindow({}, std::nullopt, true);
    WKRN_Preferences::Current().LinearUnitPrecision = 4;
    job->Execute(ID_APP_EXIT);
    WKRN_ProcessEvents();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(WKRN_Preferences::Read(folder.File("Varnex.conf")).LinearUnitPrecision, 4);
    WKRN_Preferences::Current() = WKRN_PreferenceValues();
}

// The session's changes live nowhere else: a store that cannot be written is named at quit, with
// the reason, before the program ends.
TEST_F(JobWindows, Exit_WithAStoreThatCannotBeWritten_SaysSoAndStillQuits)
{
    const QString store = folder.File("Varnex.conf");
    ASSERT_TRUE(QDir().mkpath(store));
    app->SetPreferencesPath(store);
    WKRN_RecordedBoxes boxes;
    WKRN_SheetWindow* job = app->OpenJobWindow({}, std::nullopt, true);
    job->Execute(ID_APP_EXIT);
    WKRN_ProcessEvents();
    EXPECT_EQ(quits, 1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const WTLU_MessageBoxRequest& box = boxes.Boxes()[0];
    EXPECT_TRUE(box.caption.contains(WKRN_StringTable::Load(IDS_PREFERENCES_NOT_SAVED)));
    EXPECT_TRUE(box.body.contains(WKRN_StringTable::Load(IDS_PREFERENCES_LOST_AT_QUIT)));
    EXPECT_TRUE(box.body.contains(store)) << box.body.toStdString();
    EXPECT_TRUE(QFileInfo(store).isDir());
}

TEST_F(JobWindows, SecondSheetForAWindow_OpensANewWindow)
{
    WKRN_SheetWindow* job = app->OpenJobWindow(MakeSheet(folder, "A", 1), std::nullopt, true);
    WTLU_MessageEvent::Send(job, JOBMSG_SHOW_SHEET, 0, 0, MakeSheet(folder, "B", 1));
    WKRN_ProcessEvents();
    const auto jobs = app->JobWindows();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0]->JobName(), QStringLiteral("A: Signature 1 Web 1"));
    EXPECT_EQ(jobs[1]->JobName(), QStringLiteral("B: Signature 1 Web 1"));
    // The first window's view keeps its own sheet.
    ASSERT_NE(jobs[0]->View(), nullptr);
    EXPECT_EQ(jobs[0]->View()->GetSheet(), jobs[0]->Sheet().Get());
    EXPECT_EQ(jobs[0]->centralWidget(), jobs[0]->View());
}

TEST_F(JobWindows, TileHorizontally_PutsTheRequestingWindowFirst)
{
    app->OpenJobWindow({}, QRect(0, 0, 100, 100), true);
    app->OpenJobWindow({}, QRect(0, 0, 100, 100), true);
    WKRN_SheetWindow* third = app->OpenJobWindow({}, QRect(0, 0, 100, 100), true);
    third->Execute(ID_WINDOW_TILE_HORZ);
    WKRN_ProcessEvents();
    const auto jobs = app->JobWindows();
    EXPECT_LT(third->geometry().top(), jobs[0]->geometry().top());
    EXPECT_LT(jobs[0]->geometry().top(), jobs[1]->geometry().top());
    EXPECT_EQ(third->geometry().width(), jobs[0]->geometry().width());
}

TEST_F(JobWindows, ColoursChanged_ReachesEveryJobWindow)
{
    WKRN_SheetWindow* a = app->OpenJobWindow({}, std::nullopt, true);
    WKRN_SheetWindow* b = app->OpenJobWindow({}, std::nullopt, true);
    QSignalSpy spyA(a, &WKRN_SheetWindow::ColoursChanged);
    QSignalSpy spyB(b, &WKRN_SheetWindow::ColoursChanged);
    WTLU_MessageEvent::Send(a, JOBMSG_CUSTOM_COLOUR_STORED);
    WKRN_ProcessEvents();
    WTLU_MessageEvent::Post(app.get(), APPMSG_CUSTOM_COLOURS_EDITED);
    WKRN_ProcessEvents();
    EXPECT_EQ(spyA.count(), 2);
    EXPECT_EQ(spyB.count(), 2);
}

TEST_F(JobWindows, HandOversOfSingleFiles_OpenAsOneBatch)
{
    std::vector<std::vector<std::wstring>> batches;
    app->SetOpener(
        [&batches](const std::vector<std::wstring>& paths)
        {
            batches.push_back(paths);
            return WKRN_OpenResult();
        });
    for (int i = 0; i < 5; ++i)
    {
        now = 5000 + 50u * std::uint32_t(i);
        EXPECT_TRUE(app->ReceiveHandOver(Line({L"quorkrn", L"/f" + std::to_wstring(i)})));
    }
    EXPECT_TRUE(app->CollectTimerRunning());
    now = 5200 + 1000;
    app->CollectTimerFired();
    EXPECT_TRUE(batches.empty());
    now = 5200 + 2000;
    app->CollectTimerFired();
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].size(), 5u);
    EXPECT_FALSE(app->CollectTimerRunning());
    // Nothing opened and no job window: one empty job window.
    EXPECT_EQ(app->JobWindows().size(), 1u);
}

TEST_F(JobWindows, MultiFileHandOver_DuringACollection_ReplacesIt)
{
    std::vector<std::vector<std::wstring>> batches;
    app->SetOpener(
        [&batches](const std::vector<std::wstring>& paths)
        {
            batches.push_back(paths);
            return WKRN_OpenResult();
        });
    app->ReceiveHandOver(Line({L"quorkrn", L"/single"}));
    now += 30;
    app->ReceiveHandOver(Line({L"quorkrn", L"/x y", L"/z"}));
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0], (std::vector<std::wstring>{L"/x y", L"/z"}));
    EXPECT_FALSE(app->CollectTimerRunning());
    now += 5000;
    app->CollectTimerFired();
    EXPECT_EQ(batches.size(), 1u);
}

TEST_F(JobWindows, HandOverWithAnotherTag_IsNotHandledAndChangesNothing)
{
    int opened = 0;
    app->SetOpener(
        [&opened](const std::vector<std::wstring>&)
        {
            ++opened;
            return WKRN_OpenResult();
        });
    EXPECT_FALSE(app->ReceiveHandOver(Line({L"quorkrn", L"/a", L"/b"}, 0xB002)));
    // The program path alone opens nothing either, but is handled.
    EXPECT_TRUE(app->ReceiveHandOver(Line({L"quorkrn"})));
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(app->JobWindows().empty());
    EXPECT_FALSE(app->CollectTimerRunning());
}

TEST_F(JobWindows, RejectedFiles_AreReportedWithTheSingularOrPluralText)
{
    const std::wstring missing = (folder.Path() / "missing.tif").wstring();
    const std::wstring text =
        std::filesystem::path(folder.WriteText("notes.tif", "hello")).wstring();
    {
        WKRN_RecordedBoxes boxes;
        app->ReceiveHandOver(Line({L"quorkrn", missing, text}));
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption,
                  QStringLiteral("Quor KRN - Invalid Preview Files Encountered"));
        EXPECT_EQ(boxes.Boxes()[0].body,
                  QStringLiteral("2 files in this folder were ignored since they are not valid "
                                 "preview files.\nThese files are missing job information or "
                                 "they do not appear to be TIFF files."));
        EXPECT_EQ(boxes.Boxes()[0].style & WTLU_MB_ICONMASK, unsigned(WTLU_MB_ICONINFORMATION));
    }
    {
        WKRN_RecordedBoxes boxes;
        app->ReceiveHandOver(Line({L"quorkrn", missing, missing + L"2"}));
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].body.startsWith(QStringLiteral("2 files")));
    }
    {
        WKRN_RecordedBoxes boxes;
        now = 100;
        app->ReceiveHandOver(Line({L"quorkrn", text}));
        now = 1200;
        app->CollectTimerFired();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].body,
                  QStringLiteral("One file in this folder was ignored since it is not a valid "
                                 "preview file.\nThis file is missing job information or it does "
                                 "not appear to be a TIFF file."));
    }
    // Nothing valid was opened: one empty job window, however many batches failed.
    EXPECT_EQ(app->JobWindows().size(), 1u);
}

TEST_F(JobWindows, ValidFiles_GoToEmptyWindowsFirstThenToNewOnes)
{
    WKRN_SheetWindow* empty = app->OpenJobWindow({}, std::nullopt, true);
    const std::string one = folder.WritePreview("s1.tif", "Job", 1, 0, "Black");
    const std::string two = folder.WritePreview("s2.tif", "Job", 2, 0, "Black");
    WKRN_RecordedBoxes boxes;
    app->ReceiveHandOver(Line(
        {L"quorkrn", std::filesystem::path(one).wstring(), std::filesystem::path(two).wstring()}));
    EXPECT_TRUE(boxes.Boxes().empty());
    const auto jobs = app->JobWindows();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0], empty);
    EXPECT_EQ(jobs[0]->JobName(), QStringLiteral("Job: Signature 1 Web 1"));
    EXPECT_EQ(jobs[1]->JobName(), QStringLiteral("Job: Signature 2 Web 1"));
    EXPECT_EQ(WindowMenuIds(jobs[0]), (std::vector<int>{jobs[0]->Identity(), jobs[1]->Identity()}));
}

TEST_F(JobWindows, SplashEnd_OpensAnEmptyJobWindowOnlyWithoutArguments)
{
    QPixmap picture(40, 30);
    picture.fill(Qt::darkBlue);
    {
        WKRN_Tressida splash(picture);
        EXPECT_EQ(splash.size(), QSize(42, 32));
        splash.StartSplash(false);
        EXPECT_TRUE(splash.SplashShowing());
        EXPECT_TRUE(splash.isVisible());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&splash, &escape);
        EXPECT_FALSE(splash.SplashShowing());
        EXPECT_FALSE(splash.isVisible());
        EXPECT_EQ(splash.JobWindows().size(), 1u);
        // A second Escape does not add another window.
        QCoreApplication::sendEvent(&splash, &escape);
        EXPECT_EQ(splash.JobWindows().size(), 1u);
    }
    {
        WKRN_Tressida splash(picture);
        splash.StartSplash(true);
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&splash, &click);
        EXPECT_FALSE(splash.SplashShowing());
        EXPECT_TRUE(splash.JobWindows().empty());
    }
    // Without a splash picture the run still gets its application window and its empty job
    // window.
    WKRN_Tressida bare{QPixmap()};
    bare.StartSplash(false);
    EXPECT_FALSE(bare.isVisible());
    EXPECT_EQ(bare.JobWindows().size(), 1u);
    WKRN_ProcessEvents();
}

TEST_F(JobWindows, Help_MissingFileIsExplained_PresentFileIsShown)
{
    WKRN_SheetWindow* job = app->OpenJobWindow({}, std::nullopt, true);
    WKRN_DataFolders::SetOverride({QString::fromStdString(folder.Path().string())});
    {
        WKRN_RecordedBoxes boxes;
        job->Execute(ID_HELP_CONTENTS);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, QStringLiteral("Quor KRN - Help Unavailable"));
        EXPECT_EQ(boxes.Boxes()[0].body,
                  QStringLiteral("Sorry, help is unavailable since the help file named "
                                 "\"QuorKRNHelp_en.html\" cannot be found."));
        EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
    }
    folder.WriteText("QuorKRNHelp_en.html", "<html><body><h1>Guide</h1></body></html>");
    {
        WKRN_RecordedBoxes boxes;
        job->Execute(ID_HELP_CONTENTS);
        EXPECT_TRUE(boxes.Boxes().empty());
        ASSERT_NE(WKRN_Help::Window(), nullptr);
        EXPECT_TRUE(WKRN_Help::Window()->toPlainText().contains(QStringLiteral("Guide")));
    }
    WKRN_Help::Shutdown();
    WKRN_DataFolders::SetOverride({});
}

TEST(WKRN_Application, EscapedFailure_IsReportedInTheWarningBoxWithoutOwner)
{
    WKRN_RecordedBoxes boxes;
    const int result = GLIB_RunMainGuarded(
        []() -> int { throw std::runtime_error("disk on fire"); }, &WKRN_Application::ShowFailure);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption,
              QStringLiteral("Quor KRN - Unhandled exception caught in main"));
    EXPECT_EQ(boxes.Boxes()[0].body, QStringLiteral("Caught a std::exception.\ndisk on fire"));
    EXPECT_EQ(boxes.Boxes()[0].style & WTLU_MB_ICONMASK, unsigned(WTLU_MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
}
