// A closed job window gives back what showing its sheet took, whoever else keeps the sheet (a
// palette, the job browser, a message on its way): four jobs zoomed to 1:4, painted on the
// window's pool and closed one after another leave the descriptors as they were.

#include "KRN_TestDescriptors.h"
#include "WKRN_JobWindowFixture.h"

#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "WKRN/sheet/WKRN_SheetView.h"

#include <QTest>

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
