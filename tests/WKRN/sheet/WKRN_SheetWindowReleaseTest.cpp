// A closed job window gives back what showing its sheet took, whoever else keeps the sheet (a
// palette, the job browser, a message on its way): four jobs zoomed to 1:4, painted on the
// window's pool and closed one after another leave the descriptors as they were.

#include "KRN_TestDescriptors.h"
#include "WKRN_JobWindowFixture.h"

#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "WKRN/files/WKRN_FileListWindow.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WTLU/WTLU_SortableListView.h"

#include <QLabel>
#include <QTest>

#include <filesystem>

TEST_F(WKRN_JobWindowTest, ClosedJobWindowsHoldNoFileOfTheirSheets)
{
    WKRN_TestSheetSpec spec = OnePageSpec();
    spec.workStyle = 1;
    const auto screen = [](std::uint32_t x, std::uint32_t y) { return (x / 3 + y / 5) % 2 == 0; };
    spec.surfaces = {{0, "Cyan", 1, screen}, {0, "Magenta", 2, screen}, {1, "Black", 4, screen}};
    std::vector<IMPN_SheetReference> kept;
    for (int i = 0; i < 5; ++i)
        kept.push_back(sheets.Make(spec));

    const auto showAndClose = [&](const IMPN_SheetReference& sheet)
    {
        WKRN_SheetWindow* job = Open(sheet);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(job));
        job->Execute(ID_ZOOM_1_4);
        WKRN_ProcessEvents();
        ASSERT_TRUE(
            QTest::qWaitFor([job] { return !job->View()->IsPaintingTimerActive(); }, 15000));
        const IMPN_SurfaceRenderer* renderer = sheet->GetFrontSurface().GetRenderer();
        ASSERT_NE(renderer, nullptr);
        EXPECT_GT(renderer->GetCachedBytes(), 0u);
        EXPECT_GT(renderer->GetWorkerSlotCount(), 0u);
        job->close();
        WKRN_ProcessEvents();
        EXPECT_EQ(sheet->GetFrontSurface().GetRenderer(), nullptr);
        EXPECT_EQ(sheet->GetBackSurface().GetRenderer(), nullptr);
    };
    // The first window also loads what every window shares (fonts, icons) for good.
    showAndClose(kept[0]);
    const std::size_t before = KRN_TestOpenDescriptors();
    for (std::size_t i = 1; i < kept.size(); ++i)
    {
        showAndClose(kept[i]);
        EXPECT_EQ(KRN_TestOpenDescriptors(), before) << "after job " << i;
    }
}

// Showing a sheet reads its files anew: one that has gone since the job was opened is named,
// with the reason, in a dialog over the job window, which shows the other inks meanwhile. With
// the file back, the next window on the sheet names nothing.
TEST_F(WKRN_JobWindowTest, AFileThatCannotBeReadWhenTheSheetIsShownIsNamed)
{
    WKRN_TestSheetSpec spec = OnePageSpec();
    spec.surfaces = {{0, "Cyan", 1, {}}, {0, "Magenta", 2, {}}};
    const IMPN_SheetReference sheet = sheets.Make(spec);
    const std::string path = sheet->GetFrontSurface().GetSeparation(1)->GetFilePath();
    std::filesystem::rename(path, path + ".away");

    WKRN_SheetWindow* job = Open(sheet);
    WKRN_FileListWindow* dialog = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (dialog = job->findChild<WKRN_FileListWindow*>()); }, 5000));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Unreadable Preview Files"));
    EXPECT_EQ(dialog->HeaderLine()->text(),
              QStringLiteral("One preview file of this sheet could not be read, so its ink may be "
                             "missing from the picture."));
    ASSERT_EQ(dialog->List()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog->List()->topLevelItem(0)->text(0), QString::fromStdString(path));
    EXPECT_EQ(dialog->List()->topLevelItem(0)->text(1),
              QStringLiteral("No such file or directory"));
    EXPECT_EQ(job->View()->GetSheet(), sheet.Get());
    dialog->close();
    job->close();
    WKRN_ProcessEvents();

    std::filesystem::rename(path + ".away", path);
    WKRN_SheetWindow* again = Open(sheet);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(again));
    WKRN_ProcessEvents();
    EXPECT_EQ(again->findChild<WKRN_FileListWindow*>(), nullptr);
}
