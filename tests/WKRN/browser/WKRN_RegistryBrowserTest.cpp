#include "WKRN_TestSupport.h"

#include "KRN_TestPreviewInfo.h"

#include "IMPN/IMPN_RegistryScan.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/browser/WKRN_RegistryBrowser.h"
#include "WKRN/browser/WKRN_RegistryItem.h"
#include "WKRN/browser/WKRN_RegistryWindow.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Signature.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;
using TextList = std::vector<std::wstring>;

struct Ink
{
    std::string title = "Brochure";
    std::uint16_t signature = 1;
    std::uint16_t surface = 0;
    std::string name = "Black";
    std::uint16_t code = 4;
    std::string printTime = "2003:12:31 10:00:00";
};

std::string Write(const fs::path& path, const Ink& ink)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::None;
    options.reducedScale = 4;
    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(32, 16, std::vector<std::uint8_t>(4 * 16, 0xF0));
    KRN_TestInfoSpec info;
    info.title = ink.title;
    info.signature = ink.signature;
    info.surface = ink.surface;
    info.workStyle = IMPN_Sheet::Sheetwise;
    info.orientation.reset();
    info.colorName = ink.name;
    info.color = ink.code;
    info.printTime = ink.printTime;
    info.pressSheetRight = 32;
    info.pressSheetBottom = 16;
    writer.SetDirectoryInfo(KRN_TestDirectoryInfo(info));
    writer.Write(path.string());
    return path.string();
}

// Records the scan messages the browser sends its window.
class MessageCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (WTLU_MessageEvent::IsMessage(event))
            messages.push_back(static_cast<WTLU_MessageEvent*>(event)->Message());
        return false;
    }
    int Count(int message) const
    {
        return int(std::count(messages.begin(), messages.end(), message));
    }
    std::vector<int> messages;
};

// Receives what job windows ask of the application window.
class Application : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (!WTLU_MessageEvent::IsMessage(event))
            return QObject::event(event);
        auto* message = static_cast<WTLU_MessageEvent*>(event);
        if (message->Message() == APPMSG_OPEN_JOB)
            if (const auto* sheet = std::any_cast<IMPN_SheetReference>(&message->Payload()))
                opened.push_back(*sheet);
        return true;
    }
    std::vector<IMPN_SheetReference> opened;
};

class RegistryBrowser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousChooser = WKRN_RegistryWindow::SetFolderChooser(
            [this](QWidget*, const QString& prompt, const QString&)
            {
                prompts.push_back(prompt);
                return chosen;
            });
        m_previousList = WKRN_RegistryWindow::SetFileListPresenter(
            [this](QWidget*, const QString&, const QString&,
                   const std::vector<WKRN_InvalidFile>& files) { listed = files; });
        WKRN_Preferences::Current().ShowEntireImpositionTree = false;
    }
    void TearDown() override
    {
        delete WKRN_RegistryWindow::Instance();
        WKRN_RegistryWindow::SetFolderChooser(m_previousChooser);
        WKRN_RegistryWindow::SetFileListPresenter(m_previousList);
        WKRN_Preferences::Current().ShowEntireImpositionTree = false;
    }

    fs::path At(const char* name) const { return folder.Path() / name; }

    // The Job Browser command, and the scan it starts, to its end.
    static WKRN_RegistryWindow* ShowAndScan(QWidget* requester, QObject* application)
    {
        WKRN_RegistryWindow* window = WKRN_RegistryWindow::ShowFor(requester, application);
        window->WaitForScan();
        return window;
    }
    // A rescan (or a scan of a folder) to its end.
    static void Rescan(WKRN_RegistryWindow* window)
    {
        window->ChooseAndScan();
        window->WaitForScan();
    }

    // Signature 2 arrives before signature 1; a second job differs only in letter case.
    void WriteJob()
    {
        Write(At("a_s2_front_k.tif"), {"Brochure", 2, 0, "Black", 4});
        Write(At("B_s2_back_k.TIF"), {"Brochure", 2, 1, "Black", 4});
        Write(At("c_s1_front_k.prv"), {"Brochure", 1, 0, "Black", 4});
        Write(At("d_s1_front_c.krn"), {"Brochure", 1, 0, "Cyan", 1});
        Write(At("e_lower.tif"), {"brochure", 1, 0, "Black", 4});
    }

    std::vector<std::wstring> Texts(WKRN_RegistryBrowser& browser, WMCT_ItemRef parent,
                                    int column = 0)
    {
        std::vector<std::wstring> texts;
        for (const WMCT_ItemRef& child : browser.Children(parent))
            texts.push_back(browser.ItemText(child, column));
        return texts;
    }

    WKRN_TestFolder folder;
    QString chosen;
    std::vector<QString> prompts;
    std::vector<WKRN_InvalidFile> listed;

private:
    WKRN_RegistryWindow::FolderChooser m_previousChooser;
    WKRN_RegistryWindow::FileListPresenter m_previousList;
};

} // namespace

TEST_F(RegistryBrowser, Listing_CaseInsensitiveOrderCandidatesOnlyWorkingDirectoryKept)
{
    for (const char* name : {"b.tif", "a.TIF", "C.prv", "d.KrN", "e.txt", ".hidden.tif", "tif"})
        folder.WriteText(name, "x");
    fs::create_directory(At("f.tif"));
    fs::create_directory(At("sub"));
    folder.WriteText("sub/g.tif", "x");
    char before[4096];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    std::vector<std::string> files;
    std::string error;
    ASSERT_TRUE(IMPN_RegistryScan::ListFolder(folder.Path().string(), files, error));
    std::vector<std::string> names;
    for (const std::string& file : files)
        names.push_back(fs::path(file).filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"a.TIF", "b.tif", "C.prv", "d.KrN"}));
    char after[4096];
    ASSERT_NE(getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(before, after);

    EXPECT_FALSE(IMPN_RegistryScan::ListFolder((folder.Path() / "missing").string(), files, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(RegistryBrowser, Scan_BadFilesNeverEndItAndEachKeepsItsReason)
{
    WriteJob();
    folder.WriteText("notes.tif", "not a picture");
    ASSERT_EQ(mkfifo(At("x.tif").c_str(), 0600), 0);
    fs::create_symlink(At("nowhere.tif"), At("dangling.prv"));
    TIFX_KRNWriterOptions noPrivate;
    noPrivate.writeQuorIFD = false;
    TIFX_KRNWriter plain(noPrivate);
    plain.SetMainBitmap(32, 16, std::vector<std::uint8_t>(64, 0));
    plain.Write(At("plain.tif").string());

    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    int calls = 0;
    ASSERT_TRUE(IMPN_RegistryScan::Scan(folder.Path().string(), registry, record,
                                        [&](int done, int total)
                                        {
                                            ++calls;
                                            EXPECT_EQ(done, calls);
                                            EXPECT_EQ(total, 9);
                                        }));
    EXPECT_EQ(calls, 9);
    EXPECT_EQ(record.validCount, 5);
    EXPECT_EQ(record.invalidCount, 4);
    ASSERT_EQ(record.invalidFiles.size(), 4u);
    ASSERT_EQ(record.reasons.size(), 4u);
    std::map<std::string, std::string> reasons;
    for (std::size_t i = 0; i < 4; ++i)
        reasons[fs::path(record.invalidFiles[i]).filename().string()] = record.reasons[i];
    EXPECT_EQ(reasons["x.tif"], IMPN_RegistryScan::NotRegularReason);
    EXPECT_EQ(reasons["plain.tif"], IMPN_RegistryScan::MissingTagReason);
    EXPECT_FALSE(reasons["notes.tif"].empty());
    EXPECT_FALSE(reasons["dangling.prv"].empty());
    EXPECT_EQ(registry.GetImpositions().size(), 2u);
}

TEST_F(RegistryBrowser, Compare_ThreeWayOnFullTimesAndInkRules)
{
    // Five minutes apart: 3e9 ticks, which a difference narrowed to 32 bits turns negative.
    Write(At("1.tif"), {"T", 1, 0, "Black", 4, "2003:12:31 10:00:00"});
    Write(At("2.tif"), {"T", 1, 2, "Black", 4, "2003:12:31 10:05:00"});
    Write(At("3.tif"), {"T", 1, 4, "Black", 4, "not a time"});
    Write(At("4.tif"), {"T", 1, 4, "Warm Red", 0});
    Write(At("5.tif"), {"T", 1, 4, "blue 072", 0});
    Write(At("6.tif"), {"T", 1, 4, "Cyan", 1});
    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    ASSERT_TRUE(IMPN_RegistryScan::Scan(folder.Path().string(), registry, record));
    const auto& sheets = registry.GetImpositions()[0]->GetSignatures()[0]->GetSheets();
    ASSERT_EQ(sheets.size(), 3u);
    using S = IMPN_RegistryScan;
    EXPECT_LT(S::Compare(S::Sheet, *sheets[0], *sheets[1], 1, 1), 0);
    EXPECT_GT(S::Compare(S::Sheet, *sheets[1], *sheets[0], 1, 1), 0);
    EXPECT_GT(S::Compare(S::Sheet, *sheets[0], *sheets[1], 1, -1), 0);
    EXPECT_EQ(S::Compare(S::Sheet, *sheets[0], *sheets[1], 2, 1), 0);

    // Process inks by code, then spot inks by name without case; an unreadable time is none,
    // and the surface's time is that of the inks whose time can be read.
    std::vector<std::string> order;
    IMPN_Surface& surface = sheets[2]->GetFrontSurface();
    for (const S::Child& child : S::SortedChildren(S::Surface, surface, true))
        order.push_back(ToNarrow(S::ItemText(child.kind, *child.node, {})));
    EXPECT_EQ(order, (std::vector<std::string>{"Cyan", "Black", "blue 072", "Warm Red"}));
    const IMPN_Node& unreadable = *surface.FindSeparation("Black");
    EXPECT_EQ(S::FormatTicks(S::PrintTicks(S::Separation, unreadable)), "----");
    EXPECT_EQ(S::FormatTicks(S::PrintTicks(S::Surface, surface)), "2003-12-31 10:00:00");
    EXPECT_EQ(S::FormatTicks(S::PrintTicks(S::Sheet, *sheets[1])), "2003-12-31 10:05:00");
    EXPECT_EQ(S::FormatTicks(
                  S::PrintTicks(S::Signature, *registry.GetImpositions()[0]->GetSignatures()[0])),
              "----");
}

TEST_F(RegistryBrowser, Tree_ImpositionsWithCountsSignaturesAscendingPrintTimes)
{
    WriteJob();
    chosen = QString::fromStdString(folder.Path().string());
    WKRN_RecordedBoxes boxes;
    QObject application;
    WKRN_RegistryWindow* window = ShowAndScan(nullptr, &application);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(
        prompts[0],
        QStringLiteral("Select a folder containing the preview files you would like to view"));
    EXPECT_EQ(WKRN_Preferences::Current().PreviousFolderPath, chosen);
    EXPECT_TRUE(boxes.Boxes().empty());

    WKRN_RegistryBrowser& browser = *window->Browser();
    const std::vector<WMCT_ItemRef> top = browser.Children({});
    EXPECT_EQ(Texts(browser, {}),
              (TextList{L"Brochure [2 Signatures]", L"brochure [1 Signature]"}));
    EXPECT_EQ(Texts(browser, {}, 1), (TextList{L"----", L"----"}));
    EXPECT_EQ(browser.SelectedItem(), top[0]);
    EXPECT_TRUE(window->OpenButton()->isEnabled());
    EXPECT_TRUE(window->OpenButton()->isDefault());
    EXPECT_FALSE(window->ProgressBar()->isVisible());

    browser.ExpandItem(top[0]);
    EXPECT_EQ(Texts(browser, top[0]), (TextList{L"Signature 1 [1 Web]", L"Signature 2 [1 Web]"}));
    const WMCT_ItemRef signature2 = browser.Children(top[0])[1];
    browser.ExpandItem(signature2);
    const std::vector<WMCT_ItemRef> sheets = browser.Children(signature2);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(browser.ItemText(sheets[0]).rfind(L"Web 1 F[K] B[K]", 0), 0u);
    const QString time = QString::fromStdWString(browser.ItemText(sheets[0], 1));
    EXPECT_TRUE(
        time.startsWith(QLocale::system().toString(QDate(2003, 12, 31), QLocale::LongFormat)))
        << time.toStdString();
    // Without the entire tree the sheets are the last level.
    EXPECT_TRUE(browser.Children(sheets[0]).empty());
}

TEST_F(RegistryBrowser, Tree_EntireTreeShowsBackSurfaceFirstThenInks)
{
    WriteJob();
    WKRN_Preferences::Current().ShowEntireImpositionTree = true;
    chosen = QString::fromStdString(folder.Path().string());
    QObject application;
    WKRN_RegistryBrowser& browser = *ShowAndScan(nullptr, &application)->Browser();
    const WMCT_ItemRef brochure = browser.Children({})[0];
    browser.ExpandItem(brochure);
    const WMCT_ItemRef signature2 = browser.Children(brochure)[1];
    browser.ExpandItem(signature2);
    const WMCT_ItemRef sheet = browser.Children(signature2)[0];
    browser.ExpandItem(sheet);
    EXPECT_EQ(Texts(browser, sheet), (TextList{L"K", L"K"}));
    const std::vector<WMCT_ItemRef> surfaces = browser.Children(sheet);
    browser.ExpandItem(surfaces[0]);
    EXPECT_EQ(Texts(browser, surfaces[0]), (TextList{L"Black"}));
    // Open on a separation opens nothing and keeps the browser.
    WKRN_RegistryWindow* window = WKRN_RegistryWindow::Instance();
    browser.SelectItem(browser.Children(surfaces[0])[0]);
    window->Open();
    WKRN_ProcessEvents();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RegistryBrowser, Report_EveryBadFileWithItsReasonSingularAndPlural)
{
    WriteJob();
    folder.WriteText("one.tif", "text");
    chosen = QString::fromStdString(folder.Path().string());
    {
        WKRN_RecordedBoxes boxes(WTLU_IDNO);
        QObject application;
        WKRN_RegistryWindow* window = ShowAndScan(nullptr, &application);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        const WTLU_MessageBoxRequest& box = boxes.Boxes()[0];
        EXPECT_EQ(box.caption, QStringLiteral("Quor KRN - Invalid Preview Files Encountered"));
        EXPECT_TRUE(box.body.startsWith(QStringLiteral(
            "One file in this folder was ignored since it is not a valid preview file.")));
        EXPECT_TRUE(box.body.contains(QStringLiteral(
            "This file is missing job information or it does not appear to be a TIFF file.\r\n\r\n"
            "Would you like to see detailed information?")));
        EXPECT_EQ(box.style & WTLU_MB_BUTTONMASK, unsigned(WTLU_MB_YESNO));
        EXPECT_EQ(box.style & WTLU_MB_DEFMASK, unsigned(WTLU_MB_DEFBUTTON2));
        EXPECT_TRUE(listed.empty());
        EXPECT_EQ(window->Folder().invalidCount, 1);
    }
    folder.WriteText("two.prv", "text");
    WKRN_RecordedBoxes boxes(WTLU_IDYES);
    Rescan(WKRN_RegistryWindow::Instance());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].body.startsWith(QStringLiteral(
        "2 files in this folder were ignored since they are not valid preview files.")));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_TRUE(listed[0].file.endsWith(QStringLiteral("one.tif")));
    EXPECT_TRUE(listed[1].file.endsWith(QStringLiteral("two.prv")));
    EXPECT_FALSE(listed[0].reason.isEmpty());
}

TEST_F(RegistryBrowser, Scan_EmptyUnreadableAndCancelledFolders)
{
    chosen = QString::fromStdString(folder.Path().string());
    WKRN_RecordedBoxes boxes;
    QObject application;
    WKRN_RegistryWindow* window = ShowAndScan(nullptr, &application);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(window->Browser()->Children({}).empty());
    EXPECT_EQ(window->ProgressBar()->value(), 100);
    EXPECT_EQ(window->StatusText()->text(), QStringLiteral("Processed 0 of 0 Files"));
    EXPECT_FALSE(window->OpenButton()->isEnabled());
    EXPECT_TRUE(window->RescanButton()->isEnabled());

    WriteJob();
    Rescan(window);
    ASSERT_EQ(window->Browser()->Children({}).size(), 2u);
    // A cancelled chooser leaves the tree.
    chosen.clear();
    Rescan(window);
    EXPECT_EQ(window->Browser()->Children({}).size(), 2u);

    window->ScanFolder(QString::fromStdString((folder.Path() / "gone").string()));
    window->WaitForScan();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].body.startsWith(QStringLiteral("The folder cannot be read.")));
    EXPECT_TRUE(window->Browser()->Children({}).empty());
    EXPECT_TRUE(window->Browser()->Registry().GetImpositions().empty());
}

TEST_F(RegistryBrowser, Progress_AfterEveryFileValidOrNot)
{
    WriteJob();
    folder.WriteText("bad1.tif", "x");
    folder.WriteText("bad2.tif", "x");
    WKRN_RecordedBoxes boxes(WTLU_IDNO);
    WKRN_RegistryWindow window;
    MessageCounter counter;
    window.installEventFilter(&counter);
    window.ScanFolder(QString::fromStdString(folder.Path().string()));
    window.WaitForScan();
    EXPECT_EQ(counter.Count(BROWSERMSG_SCAN_STARTED), 1);
    EXPECT_EQ(counter.Count(BROWSERMSG_FILE_PROCESSED), 7);
    EXPECT_EQ(counter.Count(BROWSERMSG_SCAN_FINISHED), 1);
    EXPECT_EQ(window.StatusText()->text(), QStringLiteral("Processed 7 of 7 Files"));
}

TEST_F(RegistryBrowser, Open_SheetsShowInTheJobWindowOnceAndInNewWindowsWhenItIsGone)
{
    WriteJob();
    chosen = QString::fromStdString(folder.Path().string());
    Application application;
    auto job = std::make_unique<WKRN_SheetWindow>(WKRN_FIRST_JOB_ID + 70, &application);
    WKRN_RegistryWindow* window = ShowAndScan(job.get(), &application);
    EXPECT_EQ(window->Target(), job.get());
    WKRN_RegistryBrowser& browser = *window->Browser();
    const WMCT_ItemRef brochure = browser.Children({})[0];
    browser.ExpandItem(brochure);
    const WMCT_ItemRef signature1 = browser.Children(brochure)[0];
    browser.ExpandItem(signature1);
    browser.SelectItem(browser.Children(signature1)[0]);
    window->Open();
    EXPECT_FALSE(window->isVisible());
    WKRN_ProcessEvents();
    ASSERT_TRUE(job->ShowsSheet());
    EXPECT_EQ(job->Sheet()->GetSignatureNumber(), 1u);
    EXPECT_TRUE(application.opened.empty());

    // The same sheet again: the window that shows it is enough.
    ShowAndScan(job.get(), &application);
    EXPECT_EQ(prompts.size(), 1u); // shown again as it was, no new folder
    window->Open();
    WKRN_ProcessEvents();
    EXPECT_TRUE(application.opened.empty());

    // The job window closes while the browser stays: with no window showing either sheet, the
    // whole imposition goes to new job windows through the application window.
    job.reset();
    browser.SelectItem(brochure);
    window->Open();
    WKRN_ProcessEvents();
    ASSERT_EQ(application.opened.size(), 2u);
    for (const IMPN_SheetReference& sheet : application.opened)
        EXPECT_GE(sheet->GetReferenceCount(), 2); // the registry's and the message's
}

TEST_F(RegistryBrowser, Window_OneInstanceResizableNotBelowItsFirstSize)
{
    chosen = QString::fromStdString(folder.Path().string());
    QObject application;
    WKRN_RegistryWindow* first = ShowAndScan(nullptr, &application);
    first->close();
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(ShowAndScan(nullptr, &application), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Impositions"));
    EXPECT_TRUE(first->isSizeGripEnabled());
    first->resize(100, 100);
    EXPECT_GE(first->width(), WKRN_RegistryWindow::kWidth);
    EXPECT_GE(first->height(), WKRN_RegistryWindow::kHeight);
}

TEST_F(RegistryBrowser, Open_DoubleClickOnARowOpensItButNotRightAfterAnExpand)
{
    WriteJob();
    chosen = QString::fromStdString(folder.Path().string());
    Application application;
    WKRN_SheetWindow job(WKRN_FIRST_JOB_ID + 71, &application);
    WKRN_RegistryWindow* window = ShowAndScan(&job, &application);
    WKRN_RegistryBrowser& browser = *window->Browser();
    const WMCT_ItemRef lower = browser.Children({})[1]; // "brochure", one sheet
    browser.SelectItem(lower);
    const QPoint centre = browser.visualRect(browser.IndexOf(lower, 1)).center();
    browser.ExpandItem(lower);
    QTest::mouseDClick(browser.viewport(), Qt::LeftButton, {}, centre);
    WKRN_ProcessEvents();
    EXPECT_FALSE(job.ShowsSheet());
    EXPECT_TRUE(window->isVisible());

    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QTest::mouseDClick(browser.viewport(), Qt::LeftButton, {}, centre);
    WKRN_ProcessEvents();
    ASSERT_TRUE(job.ShowsSheet());
    EXPECT_EQ(job.Sheet()->GetTitle(), "brochure");
    EXPECT_FALSE(window->isVisible());
}

// A stop asked for during a scan (from any thread) ends it after the file being read, with what
// was read until then.
TEST_F(RegistryBrowser, Scan_StopEndsItAfterTheFileBeingRead)
{
    WriteJob();
    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    std::atomic<bool> stop{false};
    ASSERT_TRUE(IMPN_RegistryScan::Scan(
        folder.Path().string(), registry, record, [&](int done, int) { stop = done == 2; }, &stop));
    EXPECT_TRUE(record.stopped);
    EXPECT_EQ(record.total, 5);
    EXPECT_EQ(record.validCount + record.invalidCount, 2);
    EXPECT_EQ(registry.GetImpositions().size(), 1u);
}

// The scan runs apart from the window: the window answers at once, shows Stop while it runs and
// the folder's path when it is done. Closed during a scan, the window takes the scan with it:
// no question about invalid files, no tree of that folder, ever.
TEST_F(RegistryBrowser, Scan_RunsApartStopsOnRequestAndEndsWithTheWindow)
{
    WriteJob();
    folder.WriteText("bad.tif", "x");
    WKRN_RecordedBoxes boxes(WTLU_IDNO);
    WKRN_RegistryWindow window;
    window.show();
    const QString path = QString::fromStdString(folder.Path().string());
    window.ScanFolder(path);
    EXPECT_TRUE(window.IsScanning());
    EXPECT_TRUE(window.StopButton()->isVisibleTo(&window));
    EXPECT_FALSE(window.RescanButton()->isEnabled());
    window.StopScan();
    window.WaitForScan();
    EXPECT_FALSE(window.StopButton()->isVisibleTo(&window));
    EXPECT_TRUE(window.RescanButton()->isEnabled());
    EXPECT_EQ(window.FolderText()->toolTip(), path);
    // Read whole or stopped part way: the question comes only after a whole folder.
    EXPECT_EQ(boxes.Boxes().size(), window.Folder().stopped ? 0u : 1u);

    window.Browser()->Clear();
    const std::size_t asked = boxes.Boxes().size();
    window.ScanFolder(path);
    window.close();
    EXPECT_FALSE(window.IsScanning());
    QTest::qWait(50);
    WKRN_ProcessEvents();
    EXPECT_EQ(boxes.Boxes().size(), asked);
    EXPECT_TRUE(window.Browser()->Children({}).empty());
}

// Print times are never cut, and the columns take the window's width between them as it grows.
TEST_F(RegistryBrowser, Columns_FollowTheirTextsAndTheWindow)
{
    WriteJob();
    WKRN_RecordedBoxes boxes;
    WKRN_RegistryWindow window;
    window.show();
    window.ScanFolder(QString::fromStdString(folder.Path().string()));
    window.WaitForScan();
    WKRN_RegistryBrowser& browser = *window.Browser();
    const WMCT_ItemRef brochure = browser.Children({})[0];
    browser.ExpandItem(brochure);
    browser.ExpandItem(browser.Children(brochure)[1]); // its sheet has a print time
    WKRN_ProcessEvents();
    const auto columns = [&browser]
    {
        return std::pair{browser.columnWidth(WKRN_RegistryBrowser::kItemColumn),
                         browser.columnWidth(WKRN_RegistryBrowser::kPrintTimeColumn)};
    };
    const int timeText = browser.ContentWidth(WKRN_RegistryBrowser::kPrintTimeColumn);
    const QString time = QString::fromStdWString(
        browser.ItemText(browser.Children(browser.Children(brochure)[1])[0], 1));
    EXPECT_GT(timeText, browser.fontMetrics().horizontalAdvance(time));
    auto [item, printTime] = columns();
    EXPECT_GE(printTime, timeText);
    EXPECT_EQ(item + printTime, browser.viewport()->width());

    window.resize(window.width() + 150, window.height());
    WKRN_ProcessEvents();
    const auto [widerItem, widerTime] = columns();
    EXPECT_EQ(widerItem + widerTime, browser.viewport()->width());
    EXPECT_GT(widerItem + widerTime, item + printTime);
    EXPECT_GE(widerTime, timeText);
}
