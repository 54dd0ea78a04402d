// A job window comparing its sheet with another version: Compare With... through the open-file
// dialog, the picture on the canvas, the counts in the status bar, the marks in the Navigation
// palette, Next and Previous Difference, hidden inks, the colours of the Preferences, Compare Off,
// and the messages for a version that cannot be compared.
//
// The window's version: Cyan on the left half (x < 400), Black in a band at the bottom. The other
// version: Cyan only left of x = 300, the same Black, and a Black block at (600, 100) that the
// window's version lacks. So x 300..399 is added Cyan, the block is removed Black.

#include "WKRN_JobWindowFixture.h"

#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/compare/WKRN_CompareMode.h"
#include "WKRN/palettes/WKRN_NavigationWindow.h"
#include "WKRN/preferences/WKRN_PreferencesApplied.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WTLU/WTLU_FileDialog.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QTest>

#include <filesystem>

namespace
{
std::size_t OpenDescriptors()
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

WKRN_TestSheetSpec Version(std::uint32_t cyanEdge, bool block, std::uint16_t surface = 0)
{
    WKRN_TestSheetSpec spec;
    spec.workStyle = 1;
    spec.pages = {WKRN_TestSheets::Page(1, 0, 100, 100, 400, 300)};
    spec.surfaces = {
        WKRN_TestSurface{surface, "Cyan", 1,
                         [cyanEdge](std::uint32_t x, std::uint32_t) { return x < cyanEdge; }},
        WKRN_TestSurface{surface, "Black", 4,
                         [block](std::uint32_t x, std::uint32_t y) {
                             return y >= 560 ||
                                    (block && x >= 600 && x < 620 && y >= 100 && y < 120);
                         }},
    };
    return spec;
}

QStringList FilesOf(const IMPN_SheetReference& sheet)
{
    QStringList files;
    for (const auto& separation : sheet->GetFrontSurface().GetSeparations())
        files << QString::fromStdString(separation->GetFilePath());
    return files;
}

class CompareModeTest : public WKRN_JobWindowTest
{
protected:
    void SetUp() override
    {
        WKRN_JobWindowTest::SetUp();
        job = app->OpenJobWindow(sheets.Make(Version(400, false)), QRect(20, 20, 700, 560), true);
        ASSERT_NE(job, nullptr);
        view = job->View();
        view->SetTilePause({});
        view->ZoomToLevel(3, true);
        view->ScrollTo(0, 0, true);
        Settle();
        compare = job->Compare();
    }
    void Settle()
    {
        view->viewport()->repaint();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !view->IsPaintingTimerActive(); }, 15000));
        WKRN_ProcessEvents();
    }
    QColor At(int x, int y) const { return view->Canvas().pixelColor(x, y); }
    // Chooses the files in the open-file dialog of Compare With....
    void CompareThroughTheMenu(const QStringList& files)
    {
        const WTLU_FileDialog::Chooser previous = WTLU_FileDialog::SetChooser(
            [files](const WTLU_FileDialogRequest&)
            {
                WTLU_FileDialogResult result;
                result.files = files;
                return result;
            });
        job->Execute(ID_SHEET_COMPARE_WITH);
        WTLU_FileDialog::SetChooser(previous);
    }
    WKRN_NavigationWindow* Navigation() const
    {
        return qobject_cast<WKRN_NavigationWindow*>(job->Palette(ID_WINDOW_NAVIGATION));
    }

    WKRN_TestSheets others;
    WKRN_SheetWindow* job = nullptr;
    WKRN_SheetView* view = nullptr;
    WKRN_CompareMode* compare = nullptr;
};
} // namespace

TEST_F(CompareModeTest, ChangesShowInTheirColoursCountedMarkedAndVisitedInOrder)
{
    const QColor cyan = At(100, 50), white(255, 255, 255);
    const std::size_t descriptors = OpenDescriptors();
    EXPECT_FALSE(Enabled(job, ID_SHEET_NEXT_DIFFERENCE));
    EXPECT_FALSE(Enabled(job, ID_SHEET_COMPARE_OFF));

    CompareThroughTheMenu(FilesOf(others.Make(Version(300, true))));
    ASSERT_TRUE(compare->IsOn());
    ASSERT_TRUE(QTest::qWaitFor([&] { return compare->IsCounted(); }, 15000));
    WKRN_ProcessEvents();
    Settle();

    // The picture: added Cyan in blue, the removed Black block in orange, Cyan both versions
    // print faded, paper white.
    EXPECT_EQ(At(350, 50), QColor(0, 90, 255));
    EXPECT_EQ(At(610, 110), QColor(255, 140, 0));
    const QColor faded = At(100, 50);
    EXPECT_NE(faded, cyan);
    EXPECT_NE(faded, white);
    EXPECT_GE(faded.red(), cyan.red());
    EXPECT_EQ(At(500, 300), white);

    // Counts and regions: 100 x 600 pixels added, 20 x 20 removed.
    const QLocale locale;
    EXPECT_EQ(compare->GetSummary().added, 60000u);
    EXPECT_EQ(compare->GetSummary().removed, 400u);
    EXPECT_TRUE(compare->StatusPane()->isVisible());
    EXPECT_TRUE(compare->StatusPane()->text().contains(locale.toString(60000)));
    ASSERT_EQ(Navigation()->RegionMarks().size(), 2u);
    EXPECT_EQ(Navigation()->CurrentMark(), -1);

    // At 2:1 the view scrolls: the second region (the block) comes to the middle.
    view->ZoomToLevel(2, true);
    Settle();
    ASSERT_TRUE(Enabled(job, ID_SHEET_NEXT_DIFFERENCE));
    job->Execute(ID_SHEET_NEXT_DIFFERENCE);
    EXPECT_EQ(compare->CurrentRegion(), 0);
    job->Execute(ID_SHEET_NEXT_DIFFERENCE);
    EXPECT_EQ(compare->CurrentRegion(), 1);
    EXPECT_EQ(Navigation()->CurrentMark(), 1);
    std::array<double, 4> shown = view->VisibleFractions();
    EXPECT_NEAR(shown[1] + shown[2] / 2, 608.0 / 800.0, 0.01);
    job->Execute(ID_SHEET_PREVIOUS_DIFFERENCE);
    job->Execute(ID_SHEET_PREVIOUS_DIFFERENCE);
    EXPECT_EQ(compare->CurrentRegion(), 1); // round to the last
    view->ZoomToLevel(3, true);
    view->ScrollTo(0, 0, true);
    Settle();

    // Hiding Cyan leaves only the block, in the picture and in the counts.
    IMPN_Separation* cyanInk = job->Sheet()->GetFrontSurface().GetSeparation(0);
    cyanInk->SetVisible(false);
    WTLU_MessageEvent::Send(job, JOBMSG_SEPARATION_VISIBILITY, 0, 0);
    Settle();
    EXPECT_EQ(At(350, 50), white);
    EXPECT_EQ(compare->GetSummary().added, 0u);
    EXPECT_EQ(Navigation()->RegionMarks().size(), 1u);
    cyanInk->SetVisible(true);
    WTLU_MessageEvent::Send(job, JOBMSG_SEPARATION_VISIBILITY, 0, 0);
    Settle();

    // Colours chosen in the Preferences apply at once.
    WKRN_Preferences::Current().CompareAddedColor = {0, 200, 0};
    WKRN_PreferencesApplied::Notify();
    Settle();
    EXPECT_EQ(At(350, 50), QColor(0, 200, 0));

    job->Execute(ID_SHEET_COMPARE_OFF);
    Settle();
    EXPECT_FALSE(compare->IsOn());
    EXPECT_EQ(At(350, 50), cyan);
    EXPECT_EQ(At(610, 110), white);
    EXPECT_FALSE(compare->StatusPane()->isVisible());
    EXPECT_TRUE(Navigation()->RegionMarks().empty());
    EXPECT_FALSE(Enabled(job, ID_SHEET_NEXT_DIFFERENCE));
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST_F(CompareModeTest, AVersionWithoutThisSheetOrWithoutPreviewFilesIsRefusedWithAMessage)
{
    WKRN_RecordedBoxes boxes;
    // Surface 2 is the front of web 2: another sheet of the job.
    EXPECT_FALSE(compare->CompareWith(FilesOf(others.Make(Version(300, true, 2)))));
    const std::filesystem::path text = KRN_TestUniqueFolder("wkrn-compare") / "notes.tif";
    KRN_TestWriteBytes(text, "not a preview file");
    EXPECT_FALSE(compare->CompareWith({QString::fromStdString(text.string())}));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_TRUE(boxes.Boxes()[0].body.contains(QStringLiteral("View: Signature 1 Web 1")));
    EXPECT_FALSE(compare->IsOn());
    EXPECT_FALSE(compare->StatusPane()->isVisible());
    KRN_TestRemoveFolder(text.parent_path());
}

TEST_F(CompareModeTest, AnUnchangedVersionSaysSoAndAFolderMayStandForItsFiles)
{
    const IMPN_SheetReference same = others.Make(Version(400, false));
    const QString folder = QFileInfo(FilesOf(same)[0]).absolutePath();
    // The dialog lets the folder be chosen whole, not a folder without preview files.
    const KRN_TestFolder empty("wkrn-compare-empty");
    bool offered = false;
    const WTLU_FileDialog::Chooser previous = WTLU_FileDialog::SetChooser(
        [&](const WTLU_FileDialogRequest& request)
        {
            offered = request.folderChoice && request.folderChoice(folder) &&
                      !request.folderChoice(QString::fromStdString(empty.Path().string()));
            WTLU_FileDialogResult result;
            if (offered)
                result.files = QStringList{folder};
            return result;
        });
    job->Execute(ID_SHEET_COMPARE_WITH);
    WTLU_FileDialog::SetChooser(previous);
    EXPECT_TRUE(offered);
    ASSERT_TRUE(compare->IsOn());
    ASSERT_TRUE(QTest::qWaitFor([&] { return compare->IsCounted(); }, 15000));
    WKRN_ProcessEvents();
    EXPECT_TRUE(compare->GetSummary().regions.empty());
    EXPECT_TRUE(
        compare->StatusPane()->text().contains(WKRN_StringTable::Load(IDS_COMPARE_NO_DIFFERENCE)));
    // Another sheet in the window ends the comparison.
    WTLU_MessageEvent::Send(job, JOBMSG_SHEET_REBUILT, 0, 0, sheets.Make(Version(100, false)));
    EXPECT_FALSE(compare->IsOn());
    EXPECT_FALSE(Enabled(job, ID_SHEET_COMPARE_OFF));
}
