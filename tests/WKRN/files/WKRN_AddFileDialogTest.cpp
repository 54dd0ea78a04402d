#include "WKRN_TestSupport.h"

#include "KRN_TestPreviewInfo.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/files/WKRN_AddFileDialog.h"
#include "WKRN/files/WKRN_AddFilePage.h"
#include "WKRN/files/WKRN_FileListTexts.h"
#include "WKRN/files/WKRN_PreviewFileBrowser.h"
#include "WKRN/files/WKRN_PreviewFileRow.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_Sheet.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "WTLU/WTLU_FileDialog.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
// A preview file of one ink; code is the file's process colour code (0 for spot inks).
std::string WriteInk(const std::filesystem::path& path, const std::string& ink, std::uint16_t code,
                     std::uint16_t surface = 0)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::None;
    options.reducedScale = 4;
    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(32, 16, std::vector<std::uint8_t>(4 * 16, 0xF0));
    KRN_TestInfoSpec info;
    info.title = "Brochure";
    info.surface = surface;
    info.workStyle = IMPN_Sheet::Sheetwise;
    info.orientation.reset();
    info.colorName = ink;
    info.color = code;
    info.printTime = "2004:01:15 09:30:00";
    info.pressSheetRight = 32;
    info.pressSheetBottom = 16;
    writer.SetDirectoryInfo(KRN_TestDirectoryInfo(info));
    writer.Write(path.string());
    return path.string();
}

// A well-formed TIFF without job information.
std::string WritePlainTiff(const std::filesystem::path& path)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::None;
    options.writeQuorIFD = false;
    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(32, 16, std::vector<std::uint8_t>(4 * 16, 0xFF));
    writer.Write(path.string());
    return path.string();
}

QString Q(const std::string& path)
{
    return QString::fromStdString(path);
}

// Answers the open-file dialog with fixed paths and remembers what it was asked.
class ChosenFiles
{
public:
    explicit ChosenFiles(QStringList files, QString folder = {})
    {
        m_previous = WTLU_FileDialog::SetChooser(
            [this, files, folder](const WTLU_FileDialogRequest& request)
            {
                requests.push_back(request);
                return WTLU_FileDialogResult{files, folder, {}};
            });
    }
    ~ChosenFiles() { WTLU_FileDialog::SetChooser(std::move(m_previous)); }
    std::vector<WTLU_FileDialogRequest> requests;

private:
    WTLU_FileDialog::Chooser m_previous;
};

// Stands in for the job window: keeps every message it is sent.
class MessageReceiver : public QWidget
{
public:
    struct Received
    {
        int message;
        qintptr lParam;
        IMPN_SheetReference sheet;
    };
    std::vector<Received> received;

protected:
    bool event(QEvent* event) override
    {
        if (WTLU_MessageEvent::IsMessage(event))
        {
            const auto* message = static_cast<WTLU_MessageEvent*>(event);
            const auto* sheet = std::any_cast<IMPN_SheetReference>(&message->Payload());
            received.push_back({message->Message(), message->LParam(),
                                sheet != nullptr ? *sheet : IMPN_SheetReference()});
            return true;
        }
        return QWidget::event(event);
    }
};

std::vector<std::string> InkNames(const IMPN_Surface& surface)
{
    std::vector<std::string> names;
    for (const auto& separation : surface.GetSeparations())
        names.push_back(separation->GetName());
    return names;
}

std::vector<QString> Column(const WKRN_PreviewFileBrowser& browser, int column)
{
    std::vector<QString> texts;
    for (int i = 0; i < browser.RowCount(); ++i)
        texts.push_back(browser.Row(i)->text(column));
    return texts;
}

void Select(WKRN_PreviewFileBrowser& browser, std::initializer_list<int> rows)
{
    browser.clearSelection();
    for (int row : rows)
        browser.Row(row)->setSelected(true);
}

class AddFileDialog : public ::testing::Test
{
protected:
    void SetUp() override { savedPreferences = WKRN_Preferences::Current(); }
    void TearDown() override
    {
        WKRN_Preferences::Current() = savedPreferences;
        WKRN_ProcessEvents();
    }
    std::filesystem::path At(const std::string& name) const { return folder.Path() / name; }

    WKRN_TestFolder folder;
    WKRN_RecordedBoxes boxes;
    MessageReceiver jobWindow;
    WKRN_PreferenceValues savedPreferences;
};

TEST_F(AddFileDialog, ThreeFilesOneOfThemPlainTiff_AddsTwoRowsAndReportsOneFile)
{
    const QStringList chosen = {Q(WriteInk(At("cyan.prv"), "Cyan", 1)),
                                Q(WritePlainTiff(At("scan.tif"))),
                                Q(WriteInk(At("black.prv"), "Black", 4))};
    ChosenFiles files(chosen);
    WKRN_AddFileDialog dialog(&jobWindow, QStringLiteral("Open Separation Files"));
    WKRN_AddFilePage& page = *dialog.FrontPage();
    QTest::mouseClick(page.AddButton(), Qt::LeftButton);

    ASSERT_EQ(page.RowCount(), 2);
    EXPECT_EQ(Column(*page.Browser(), WKRN_PreviewFileRow::kFileNameColumn),
              (std::vector<QString>{"cyan.prv", "black.prv"}));
    EXPECT_TRUE(page.Browser()->FileRow(0)->OwnsSeparation());
    EXPECT_EQ(dialog.BackPage()->RowCount(), 0);

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const WTLU_MessageBoxRequest& box = boxes.Boxes()[0];
    EXPECT_EQ(box.caption, "Quor KRN - Invalid Preview Files Encountered");
    EXPECT_EQ(box.body, "One file was not added to this surface since it is not a valid preview "
                        "file.\nThis file is missing job information or it does not appear to be "
                        "a TIFF file.");
    EXPECT_EQ(box.style & WTLU_MB_ICONMASK, unsigned(WTLU_MB_ICONEXCLAMATION));
}

TEST_F(AddFileDialog, SeveralRefusedFiles_OneMessageWithCountAndEachReason)
{
    WKRN_AddFilePage page;
    const std::string plain = WritePlainTiff(At("plain.tif"));
    const std::string text = folder.WriteText("notes.prv", "not a tiff at all");
    const std::string missing = (folder.Path() / "gone.prv").string();
    const auto rejected =
        page.AddFiles({Q(plain), Q(WriteInk(At("k.prv"), "Black", 4)), Q(text), Q(missing)});

    EXPECT_EQ(page.RowCount(), 1);
    ASSERT_EQ(rejected.size(), 3u);
    EXPECT_EQ(rejected[0].path, std::filesystem::path(plain).wstring());
    EXPECT_EQ(rejected[0].reason, "Required TIFF tag is either missing or invalid");
    // Files the reader cannot read carry the reader's own text, not the missing-tag reason.
    for (std::size_t i : {1u, 2u})
    {
        EXPECT_FALSE(rejected[i].reason.isEmpty());
        EXPECT_NE(rejected[i].reason, rejected[0].reason);
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].body,
              "3 files were not added to this surface since they are not valid preview files.\n"
              "These files are missing job information or they do not appear to be TIFF files.");
}

TEST_F(AddFileDialog, AddUsesTheFileDialogAndRemembersItsFolder)
{
    WKRN_Preferences::Current().PreviousFolderPath = Q(folder.Path().string());
    const std::filesystem::path sub = folder.Path() / "job 7";
    std::filesystem::create_directories(sub);
    ChosenFiles files({Q(WriteInk(sub / "y.KRN", "Yellow", 3))});
    WKRN_AddFilePage page;
    page.ChooseFiles();

    ASSERT_EQ(files.requests.size(), 1u);
    const WTLU_FileDialogRequest& request = files.requests[0];
    EXPECT_EQ(request.title, "Add Separation Files");
    // Every preview extension first, so that a folder of TIFF previews does not look empty;
    // the two named filters as they were; any file last.
    EXPECT_EQ(request.nameFilters,
              (QStringList{"All Preview Files (*.KRN *.krn *.PRV *.prv *.TIF *.tif)",
                           "Preview File (*.PRV *.prv *.KRN *.krn)", "Corvane TIFF (*.TIF *.tif)",
                           "All Files (*)"}));
    EXPECT_TRUE(request.selectedFilter.isEmpty());
    EXPECT_EQ(request.folder, Q(folder.Path().string()));
    EXPECT_TRUE(request.multiple);
    EXPECT_EQ(page.RowCount(), 1);
    EXPECT_EQ(WKRN_Preferences::Current().PreviousFolderPath, Q(sub.string()));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(AddFileDialog, ChosenFilterIsOfferedAgainNextTime)
{
    const QString tiffFilter = QStringLiteral("Corvane TIFF (*.TIF *.tif)");
    std::vector<WTLU_FileDialogRequest> requests;
    WTLU_FileDialog::Chooser previous = WTLU_FileDialog::SetChooser(
        [&](const WTLU_FileDialogRequest& request)
        {
            requests.push_back(request);
            WTLU_FileDialogResult result;
            result.files = {Q(WriteInk(At(requests.size() == 1 ? "a.tif" : "b.tif"), "Cyan", 1))};
            result.filter = requests.size() == 1 ? tiffFilter : QStringLiteral("made up (*)");
            return result;
        });
    WKRN_AddFilePage page;
    page.ChooseFiles();
    page.ChooseFiles(); // a filter the dialog never offered is not remembered
    page.ChooseFiles();
    WTLU_FileDialog::SetChooser(std::move(previous));
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].selectedFilter, tiffFilter);
    EXPECT_EQ(requests[2].selectedFilter, tiffFilter);
}

// A full ink name and a full file name can be read without widening the dialog by hand.
TEST_F(AddFileDialog, OpensWideEnoughForFullInkAndFileNames)
{
    const std::string ink = "PANTONE Reflex Blue Metallic 8541 C";
    const std::string file = "Brochure_Spring_2026_S12_back_Reflex.prv";
    WKRN_AddFileDialog dialog(nullptr, QStringLiteral("Open"), IMPN_SheetReference());
    dialog.FrontPage()->AddFiles({Q(WriteInk(At(file), ink, 0))});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const WKRN_PreviewFileBrowser& browser = *dialog.FrontPage()->Browser();
    const QFontMetrics metrics(browser.font());
    const int inkColumn = browser.columnWidth(WKRN_PreviewFileRow::kColorColumn);
    EXPECT_GT(inkColumn, metrics.horizontalAdvance(QString::fromStdString(ink)));
    const int fileColumn = browser.viewport()->width() -
                           browser.columnViewportPosition(WKRN_PreviewFileRow::kFileNameColumn);
    EXPECT_GT(fileColumn, metrics.horizontalAdvance(QString::fromStdString(file)));
}

TEST_F(AddFileDialog, CancelledFileDialog_AddsNothingAndKeepsTheFolder)
{
    WKRN_Preferences::Current().PreviousFolderPath = QStringLiteral("/nowhere/at/all");
    ChosenFiles files({});
    WKRN_AddFilePage page;
    page.ChooseFiles();
    ASSERT_EQ(files.requests.size(), 1u);
    // A remembered folder that no longer exists is not offered as the start.
    EXPECT_TRUE(files.requests[0].folder.isEmpty());
    EXPECT_EQ(page.RowCount(), 0);
    EXPECT_EQ(WKRN_Preferences::Current().PreviousFolderPath, "/nowhere/at/all");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(AddFileDialog, RemoveAndPathFieldFollowTheSelection)
{
    WKRN_AddFilePage page;
    const std::string first = WriteInk(At("c.prv"), "Cyan", 1);
    page.AddFiles(
        {Q(first), Q(WriteInk(At("m.prv"), "Magenta", 2)), Q(WriteInk(At("v.prv"), "Varnish", 0))});
    page.show();
    WKRN_PreviewFileBrowser& browser = *page.Browser();

    EXPECT_TRUE(page.AddButton()->isEnabled());
    EXPECT_FALSE(page.RemoveButton()->isEnabled());
    EXPECT_TRUE(page.PathField()->text().isEmpty());
    EXPECT_TRUE(page.PathField()->isReadOnly());

    Select(browser, {0});
    EXPECT_TRUE(page.RemoveButton()->isEnabled());
    EXPECT_EQ(page.PathField()->text(), Q(first));

    Select(browser, {0, 2});
    EXPECT_TRUE(page.RemoveButton()->isEnabled());
    EXPECT_TRUE(page.PathField()->text().isEmpty());

    QTest::mouseClick(page.RemoveButton(), Qt::LeftButton);
    EXPECT_EQ(Column(browser, WKRN_PreviewFileRow::kFileNameColumn),
              (std::vector<QString>{"m.prv"}));
    EXPECT_FALSE(page.RemoveButton()->isEnabled());
    EXPECT_TRUE(page.PathField()->text().isEmpty());
}

TEST_F(AddFileDialog, SortingByColourAndByFileName)
{
    std::filesystem::create_directories(At("other"));
    WKRN_AddFilePage page;
    // Two files of the same name in different folders, and names differing only in case.
    const QStringList files = {
        Q(WriteInk(At("b.prv"), "Gold", 0)), Q(WriteInk(At("K.prv"), "Black", 4)),
        Q(WriteInk(At("other") / "b.prv", "Silver", 0)), Q(WriteInk(At("a.prv"), "Cyan", 1)),
        Q(WriteInk(At("B.prv"), "Yellow", 3))};
    page.AddFiles(files);
    WKRN_PreviewFileBrowser& browser = *page.Browser();
    const auto order = [&browser, &files]
    {
        std::vector<int> indices;
        for (int i = 0; i < browser.RowCount(); ++i)
            indices.push_back(
                int(files.indexOf(QString::fromStdWString(browser.FileRow(i)->Path()))));
        return indices;
    };

    // Process inks by code (Cyan 1, Yellow 3, Black 4), then spot inks as they came.
    browser.SortByColumn(WKRN_PreviewFileRow::kColorColumn);
    EXPECT_EQ(order(), (std::vector<int>{3, 4, 1, 0, 2}));

    // a, then the three b's in their current order, then K.
    browser.SortByColumn(WKRN_PreviewFileRow::kFileNameColumn);
    EXPECT_EQ(order(), (std::vector<int>{3, 4, 0, 2, 1}));
    browser.SortByColumn(WKRN_PreviewFileRow::kFileNameColumn);
    EXPECT_EQ(order(), (std::vector<int>{3, 4, 0, 2, 1}));
}

TEST_F(AddFileDialog, SwatchShowsTheDecidedColourButNotTheDefaultColour)
{
    IMPN_ColorRecord half;
    half.color = IMPN_MakeColorBGR(200, 0, 100);
    half.opacity = 50;
    const QImage swatch = WKRN_PreviewFileRow::Swatch(half).toImage();
    const IMPN_ColorBGR shown = half.Shown();
    EXPECT_EQ(swatch.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(swatch.pixelColor(15, 15).alpha(), 0);
    EXPECT_EQ(swatch.pixelColor(0, 1), QColor(shown[2], shown[1], shown[0]));
    EXPECT_EQ(swatch.pixelColor(15, 14), QColor(shown[2], shown[1], shown[0]));

    WKRN_AddFilePage page;
    page.AddFiles({Q(WriteInk(At("k.prv"), "Black", 4)), Q(WriteInk(At("v.prv"), "Varnish", 0))});
    const IMPN_ColorRecord& black = page.Browser()->FileRow(0)->Separation().GetDecidedColor();
    ASSERT_FALSE(black.isDefault);
    const QImage blackIcon = page.Browser()->Row(0)->icon(0).pixmap(16, 16).toImage();
    EXPECT_EQ(blackIcon.pixelColor(8, 8), QColor(black.Red(), black.Green(), black.Blue()));
    ASSERT_TRUE(page.Browser()->FileRow(1)->Separation().GetDecidedColor().isDefault);
    const QImage varnishIcon = page.Browser()->Row(1)->icon(0).pixmap(16, 16).toImage();
    for (int y = 0; y < varnishIcon.height(); ++y)
        for (int x = 0; x < varnishIcon.width(); ++x)
            ASSERT_EQ(varnishIcon.pixelColor(x, y).alpha(), 0) << x << "," << y;
}

TEST_F(AddFileDialog, OkWithBothListsEmpty_BuildsAndSendsNothing)
{
    WKRN_AddFileDialog dialog(&jobWindow, QStringLiteral("Open Separation Files"));
    dialog.Buttons()->button(QDialogButtonBox::Ok)->click();
    WKRN_ProcessEvents();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.BuiltSheet());
    EXPECT_TRUE(jobWindow.received.empty());
}

TEST_F(AddFileDialog, OpenMode_OkSendsTheNewSheetToShowOnce)
{
    WKRN_AddFileDialog dialog(&jobWindow, QStringLiteral("Open Separation Files"));
    EXPECT_FALSE(dialog.IsAddMode());
    EXPECT_EQ(dialog.windowTitle(), "Open Separation Files");
    EXPECT_EQ(dialog.Pages()->tabText(0), "Front Surface");
    EXPECT_EQ(dialog.Pages()->tabText(1), "Back Surface");
    dialog.FrontPage()->AddFiles(
        {Q(WriteInk(At("k.prv"), "Black", 4)), Q(WriteInk(At("c.prv"), "Cyan", 1))});
    dialog.BackPage()->AddFiles({Q(WriteInk(At("pms.prv"), "PANTONE 185 C", 0, 1))});

    dialog.accept();
    ASSERT_EQ(jobWindow.received.size(), 1u);
    const MessageReceiver::Received& sent = jobWindow.received[0];
    EXPECT_EQ(sent.message, JOBMSG_SHOW_SHEET);
    ASSERT_TRUE(sent.sheet);
    EXPECT_EQ(sent.sheet.Get(), dialog.BuiltSheet().Get());
    EXPECT_EQ(sent.lParam, reinterpret_cast<qintptr>(sent.sheet.Get()));
    // The surface orders its inks; the lists' order is only the order of arrival.
    EXPECT_EQ(InkNames(sent.sheet->GetFrontSurface()), (std::vector<std::string>{"Cyan", "Black"}));
    EXPECT_EQ(InkNames(sent.sheet->GetBackSurface()), (std::vector<std::string>{"PANTONE 185 C"}));
    EXPECT_EQ(sent.sheet->GetTitle(), "Brochure");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // The lists are turned into a sheet once.
    EXPECT_TRUE(dialog.Apply());
    EXPECT_EQ(jobWindow.received.size(), 1u);
}

TEST_F(AddFileDialog, AddMode_ListsStartWithTheSheetAndOkSendsTheRebuiltSheet)
{
    const std::string cyan = WriteInk(At("c.prv"), "Cyan", 1);
    const std::string black = WriteInk(At("k.prv"), "Black", 4);
    const std::string backBlack = WriteInk(At("kb.prv"), "Black", 4, 1);
    IMPN_SheetReference old(
        new IMPN_Sheet(std::vector<GFIL_FileSpec>{GFIL_FileSpec(black), GFIL_FileSpec(cyan)},
                       std::vector<GFIL_FileSpec>{GFIL_FileSpec(backBlack)}));
    WKRN_AddFileDialog dialog(&jobWindow, QStringLiteral("Add Separation Files"), old);
    ASSERT_TRUE(dialog.IsAddMode());

    WKRN_PreviewFileBrowser& front = *dialog.FrontPage()->Browser();
    EXPECT_EQ(Column(front, WKRN_PreviewFileRow::kFileNameColumn),
              (std::vector<QString>{"c.prv", "k.prv"}));
    EXPECT_FALSE(front.FileRow(0)->OwnsSeparation());
    EXPECT_EQ(&front.FileRow(0)->Separation(), old->GetFrontSurface().GetSeparation(0));
    EXPECT_EQ(dialog.BackPage()->RowCount(), 1);

    Select(front, {0});
    dialog.FrontPage()->RemoveSelected();
    dialog.FrontPage()->AddFiles({Q(WriteInk(At("spot.prv"), "Varnish", 0))});
    dialog.accept();

    ASSERT_EQ(jobWindow.received.size(), 1u);
    const MessageReceiver::Received& sent = jobWindow.received[0];
    EXPECT_EQ(sent.message, JOBMSG_SHEET_REBUILT);
    ASSERT_TRUE(sent.sheet);
    EXPECT_NE(sent.sheet.Get(), old.Get());
    EXPECT_EQ(InkNames(sent.sheet->GetFrontSurface()),
              (std::vector<std::string>{"Black", "Varnish"}));
    EXPECT_EQ(InkNames(sent.sheet->GetBackSurface()), (std::vector<std::string>{"Black"}));
    // The job's old sheet is left as it was until its window replaces it.
    EXPECT_EQ(InkNames(old->GetFrontSurface()), (std::vector<std::string>{"Cyan", "Black"}));
}

TEST_F(AddFileDialog, CancelSendsNothing)
{
    WKRN_AddFileDialog dialog(&jobWindow, QStringLiteral("Open Separation Files"));
    dialog.FrontPage()->AddFiles({Q(WriteInk(At("k.prv"), "Black", 4))});
    dialog.Buttons()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.BuiltSheet());
    EXPECT_TRUE(jobWindow.received.empty());
}

TEST_F(AddFileDialog, FilesGoneBeforeOk_AreReportedAndNothingIsSentWhenNoneIsLeft)
{
    WKRN_AddFileDialog dialog(&jobWindow, QStringLiteral("Open Separation Files"));
    const std::string black = WriteInk(At("k.prv"), "Black", 4);
    const std::string cyan = WriteInk(At("c.prv"), "Cyan", 1);
    dialog.FrontPage()->AddFiles({Q(black), Q(cyan)});
    std::filesystem::remove(black);

    dialog.accept();
    ASSERT_EQ(jobWindow.received.size(), 1u);
    EXPECT_EQ(InkNames(jobWindow.received[0].sheet->GetFrontSurface()),
              (std::vector<std::string>{"Cyan"}));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].body.startsWith("One file was not added"));

    WKRN_AddFileDialog second(&jobWindow, QStringLiteral("Open Separation Files"));
    second.FrontPage()->AddFiles({Q(cyan)});
    std::filesystem::remove(cyan);
    second.show();
    second.accept();
    EXPECT_EQ(jobWindow.received.size(), 1u);
    EXPECT_FALSE(second.BuiltSheet());
    EXPECT_FALSE(second.IsApplied());
    // Left open so that the list can be mended.
    EXPECT_TRUE(second.isVisible());
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST_F(AddFileDialog, OpenModeIntoAnEmptyJobWindow_TheWindowShowsTheSheet)
{
    QObject application;
    WKRN_SheetWindow job(0xA001, &application);
    WKRN_AddFileDialog dialog(&job, QStringLiteral("Open Separation Files"));
    dialog.FrontPage()->AddFiles({Q(WriteInk(At("k.prv"), "Black", 4))});
    dialog.accept();
    ASSERT_TRUE(job.ShowsSheet());
    EXPECT_EQ(job.Sheet().Get(), dialog.BuiltSheet().Get());
    EXPECT_EQ(job.JobName(), "Brochure: Signature 1 Web 1");
}
} // namespace
