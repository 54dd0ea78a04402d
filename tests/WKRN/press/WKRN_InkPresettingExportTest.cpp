// File > Export Ink Presetting (CIP3 PPF)... on a sheetwise sheet of 800 x 600 pixels at 600 dpi:
// Cyan solid on the left half of the front, Black solid on the right half of the back. What the
// command writes is read back by Ghostscript; an export held at its first step is cancelled from
// the status bar, and one that cannot write says why in a message box.

#include "KRN_Ghostscript.h"
#include "WKRN_JobWindowFixture.h"

#include "WKRN/press/WKRN_InkPresettingExport.h"

#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
using Export = WKRN_InkPresettingExport;

class InkPresettingExport : public WKRN_JobWindowTest
{
protected:
    void SetUp() override
    {
        WKRN_JobWindowTest::SetUp();
        WKRN_TestSheetSpec spec = OnePageSpec();
        spec.workStyle = 1;
        spec.surfaces = {
            WKRN_TestSurface{0, "Cyan", 1, [](std::uint32_t x, std::uint32_t) { return x < 400; }},
            WKRN_TestSurface{1, "Black", 4,
                             [](std::uint32_t x, std::uint32_t) { return x >= 400; }},
        };
        job = Open(sheets.Make(spec));
        ASSERT_NE(job, nullptr);
    }
    void TearDown() override
    {
        Export::SetFileChooser({});
        Export::SetProgressPause({});
        WKRN_JobWindowTest::TearDown();
    }

    // Runs the export to path and waits for its end.
    Export::Result Run(const QString& path)
    {
        std::optional<Export::Result> result;
        QObject::connect(job->InkPresetting(), &Export::Finished, job,
                         [&result](Export::Result r, const QString&) { result = r; });
        EXPECT_TRUE(job->InkPresetting()->Start(path));
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
        return result.value_or(Export::Result::Failed);
    }

    static std::string Contents(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    WKRN_SheetWindow* job = nullptr;
    KRN_TestFolder folder{"wkrn-ppf"};
};
} // namespace

TEST_F(InkPresettingExport, TheMenuItemWritesTheShownSheetWithBothSurfacesInTheFolderUsedLast)
{
    WKRN_SheetWindow* empty = Open({});
    EXPECT_FALSE(Enabled(empty, ID_FILE_EXPORT_INK_PRESETTING));
    EXPECT_TRUE(Enabled(job, ID_FILE_EXPORT_INK_PRESETTING));

    QStringList suggested;
    const QString target = QString::fromStdString((folder.Path() / "press.ppf").string());
    Export::SetFileChooser(
        [&](QWidget*, const QString&, const QString& start, const QString& filter)
        {
            suggested << start;
            EXPECT_TRUE(filter.contains(QStringLiteral("*.ppf")));
            return target;
        });
    std::optional<Export::Result> result;
    QObject::connect(job->InkPresetting(), &Export::Finished, job,
                     [&result](Export::Result r, const QString&) { result = r; });
    job->Execute(ID_FILE_EXPORT_INK_PRESETTING);
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
    EXPECT_EQ(*result, Export::Result::Written);
    EXPECT_TRUE(job->statusBar()->currentMessage().contains(target));
    EXPECT_EQ(job->statusBar()->findChild<QPushButton*>(QStringLiteral("WKRN_PpfCancel")), nullptr);
    EXPECT_EQ(WKRN_Preferences::Current().InkPresettingFolder,
              QString::fromStdString(folder.Path().string()));

    // The next dialog opens where this file went, with a name from the job and the sheet.
    result.reset();
    job->Execute(ID_FILE_EXPORT_INK_PRESETTING);
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
    ASSERT_EQ(suggested.size(), 2);
    EXPECT_EQ(suggested[1],
              QString::fromStdString((folder.Path() / "View Signature 1 Web 1.ppf").string()));

    if (!KRN_GhostscriptAvailable())
        GTEST_SKIP() << "Ghostscript (gs) is not installed: the file is not read back";
    const KRN_PpfFile file = KRN_ReadPpfWithGhostscript(target.toStdString());
    ASSERT_TRUE(file.parsed) << file.output.substr(0, 2000);
    EXPECT_EQ(file.sheet.at("job"), "View");
    EXPECT_EQ(file.sheet.at("sheetname"), "Signature 1 Web 1");
    EXPECT_EQ(file.sheet.at("software").rfind("Quor KRN ", 0), 0u);
    EXPECT_EQ(file.sheet.at("extent"), "96 72"); // 800 x 600 pixels at 600 dpi
    ASSERT_EQ(file.surfaces.size(), 2u);
    EXPECT_EQ(file.surfaces[0].names, std::vector<std::string>{"Cyan"});
    EXPECT_EQ(file.surfaces[1].names, std::vector<std::string>{"Black"});
    for (const KRN_PpfSurface& surface : file.surfaces)
    {
        ASSERT_EQ(surface.separations.size(), 1u);
        const KRN_PpfSeparation& s = surface.separations[0];
        // 800 x 50.8 / 600 = 67.7 and 600 x 50.8 / 600 = 50.8.
        ASSERT_EQ(s.samples.size(), 68u * 51u);
        // Not mirrored: the front's ink on the left, the back's on the right, as the files hold
        // them.
        const bool front = surface.side == "front";
        EXPECT_EQ(s.samples.front(), front ? 0 : 255);
        EXPECT_EQ(s.samples[67], front ? 255 : 0);
    }
}

TEST_F(InkPresettingExport, CancellingFromTheStatusBarLeavesTheFileThatWasThere)
{
    const std::filesystem::path target = folder.Path() / "kept.ppf";
    KRN_TestWriteBytes(target, "the file of yesterday");
    std::atomic<bool> paused{false}, release{false};
    Export::SetProgressPause(
        [&]
        {
            paused = true;
            while (!release)
                std::this_thread::yield();
        });
    std::optional<Export::Result> result;
    QObject::connect(job->InkPresetting(), &Export::Finished, job,
                     [&result](Export::Result r, const QString&) { result = r; });
    ASSERT_TRUE(job->InkPresetting()->Start(QString::fromStdString(target.string())));
    EXPECT_FALSE(job->InkPresetting()->Start(QString::fromStdString(target.string())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return paused.load(); }, 20000));

    // The window answers while the export waits; the status bar offers to cancel.
    QTest::qWait(150);
    EXPECT_TRUE(job->statusBar()->currentMessage().contains(QStringLiteral("kept.ppf")));
    auto* cancel = job->statusBar()->findChild<QPushButton*>(QStringLiteral("WKRN_PpfCancel"));
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    release = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
    EXPECT_EQ(*result, Export::Result::Cancelled);
    EXPECT_EQ(Contents(target), "the file of yesterday");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1); // no temporary left behind
}

TEST_F(InkPresettingExport, AFileThatCannotBeWrittenIsAMessageNamingItAndTheReason)
{
    WKRN_RecordedBoxes boxes;
    const QString target =
        QString::fromStdString((folder.Path() / "no such folder" / "sheet.ppf").string());
    EXPECT_EQ(Run(target), Export::Result::Failed);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const WTLU_MessageBoxRequest& box = boxes.Boxes()[0];
    EXPECT_EQ(box.caption, QStringLiteral("Quor KRN - Export Ink Presetting"));
    EXPECT_TRUE(box.body.contains(target));
    EXPECT_TRUE(box.body.contains(QStringLiteral("No such file or directory")));
    EXPECT_EQ(box.style & WTLU_MB_ICONMASK, unsigned(WTLU_MB_ICONSTOP));
}

TEST_F(InkPresettingExport, ClosingTheWindowDuringAnExportEndsItWithoutAFile)
{
    const std::filesystem::path target = folder.Path() / "closed.ppf";
    std::atomic<bool> paused{false};
    Export::SetProgressPause([&] { paused = true; });
    ASSERT_TRUE(job->InkPresetting()->Start(QString::fromStdString(target.string())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return paused.load(); }, 20000));
    job->close();
    WKRN_ProcessEvents();
    // Either the export ended before the window went (a whole file) or it was cancelled (none):
    // never a cut-off file.
    if (std::filesystem::exists(target))
    {
        const std::string written = Contents(target);
        EXPECT_EQ(written.substr(written.size() - 16), "%%CIP3EndOfFile\n");
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().filename(), "closed.ppf");
}
