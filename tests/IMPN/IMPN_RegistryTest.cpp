// The registry: which files it takes, how it counts them, the order of impositions, clearing,
// and sheets that outlive the registry that built them.

#include "IMPN_TreeTestFiles.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
class RegistryTest : public ::testing::Test
{
protected:
    GFIL_FileSpec Write(const std::string& name, const IMPN_TestPreview& p)
    {
        return GFIL_FileSpec(m_Folder.Write(name, p));
    }

    static IMPN_TestPreview Titled(const std::string& title, const std::string& ink = "Black")
    {
        IMPN_TestPreview p;
        p.title = title;
        p.colorName = ink;
        p.color = ink == "Black" ? 4 : 0;
        return p;
    }

    IMPN_TestFolder m_Folder;
};

TEST_F(RegistryTest, TitlesDifferingInCaseFormTwoImpositions)
{
    IMPN_Registry registry;
    const int placed =
        registry.AddFiles({Write("a.tif", Titled("Brochure")), Write("b.tif", Titled("BROCHURE")),
                           Write("c.tif", Titled("Brochure", "Spot"))},
                          false);
    EXPECT_EQ(placed, 3);
    ASSERT_EQ(registry.GetImpositions().size(), 2u);
    EXPECT_EQ(registry.GetImpositions()[0]->GetTitle(), "Brochure");
    EXPECT_EQ(registry.GetImpositions()[1]->GetTitle(), "BROCHURE");
    EXPECT_EQ(registry.FindImposition("Brochure"), registry.GetImpositions()[0].get());
    EXPECT_EQ(registry.FindImposition("brochure"), nullptr);
    EXPECT_EQ(registry.FindImposition("Brochur"), nullptr);

    // An empty title is a title like any other.
    registry.AddFiles({Write("d.tif", Titled(""))}, false);
    ASSERT_EQ(registry.GetImpositions().size(), 3u);
    EXPECT_EQ(registry.FindImposition(""), registry.GetImpositions()[2].get());
}

TEST_F(RegistryTest, InvalidFilesAreSkippedAndExplained)
{
    IMPN_TestPreview noQuor = Titled("Job", "Cyan");
    noQuor.options.writeQuorIFD = false;
    IMPN_TestPreview smallTiles = Titled("Job", "Magenta");
    smallTiles.options.tileSize = 256;
    const std::vector<GFIL_FileSpec> files = {
        GFIL_FileSpec(m_Folder.WriteText("notes.tif", "This is not a TIFF file.\n")),
        Write("noquor.tif", noQuor),
        Write("good.tif", Titled("Job")),
        Write("tiles256.tif", smallTiles),
        GFIL_FileSpec((m_Folder.Path() / "missing.tif").string()),
    };
    IMPN_Registry registry;
    std::vector<IMPN_Registry::RejectedFile> rejected;
    EXPECT_EQ(registry.AddFiles(files, false, &rejected), 1);
    ASSERT_EQ(rejected.size(), 4u);
    EXPECT_EQ(rejected[0].reason, IMPN_Registry::RejectReason::CannotOpen);
    EXPECT_EQ(rejected[1].reason, IMPN_Registry::RejectReason::NotPreviewFile);
    EXPECT_EQ(rejected[2].reason, IMPN_Registry::RejectReason::NotPreviewFile);
    EXPECT_EQ(rejected[3].reason, IMPN_Registry::RejectReason::CannotOpen);
    EXPECT_NE(rejected[1].path.find(L"noquor.tif"), std::wstring::npos);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0]->GetFrontSurface().GetSeparation(0)->GetName(), "Black");

    // Without the list the count alone tells.
    IMPN_Registry quiet;
    EXPECT_EQ(quiet.AddFiles({files[0], files[1], files[2]}, false), 1);
}

TEST_F(RegistryTest, ClearFirstLeavesOnlyTheNewFiles)
{
    IMPN_Registry registry;
    registry.AddFiles({Write("a.tif", Titled("Old"))}, false);
    registry.AddFiles({Write("b.tif", Titled("Older"))}, false);
    ASSERT_EQ(registry.GetImpositions().size(), 2u);
    EXPECT_EQ(registry.AddFiles({Write("c.tif", Titled("New"))}, true), 1);
    ASSERT_EQ(registry.GetImpositions().size(), 1u);
    EXPECT_EQ(registry.GetImpositions()[0]->GetTitle(), "New");
    registry.Clear();
    EXPECT_TRUE(registry.GetImpositions().empty());
    std::vector<IMPN_Sheet*> sheets{nullptr};
    registry.CollectSheets(sheets);
    EXPECT_EQ(sheets.size(), 1u); // appends, never clears
}

TEST_F(RegistryTest, CollectSheetsGroupsByImpositionThenSignature)
{
    IMPN_TestPreview a = Titled("A");
    IMPN_TestPreview b = Titled("B");
    IMPN_Registry registry;
    a.signature = 2;
    registry.AddFiles({Write("1.tif", a)}, false);
    b.signature = 1;
    registry.AddFiles({Write("2.tif", b)}, false);
    a.signature = 1;
    registry.AddFiles({Write("3.tif", a)}, false);
    a.signature = 2;
    a.surface = 3;
    registry.AddFiles({Write("4.tif", a)}, false);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    ASSERT_EQ(sheets.size(), 4u);
    std::vector<std::string> order;
    for (IMPN_Sheet* s : sheets)
        order.push_back(s->GetTitle() + "/" + std::to_string(s->GetSignatureNumber()) + "/" +
                        std::to_string(s->GetWebNumber()));
    EXPECT_EQ(order, (std::vector<std::string>{"A/2/1", "A/2/2", "A/1/1", "B/1/1"}));
}

TEST_F(RegistryTest, SheetsOutliveTheRegistryThroughTheirReferences)
{
    IMPN_SheetReference kept;
    {
        IMPN_Registry registry;
        registry.AddFiles({Write("a.tif", Titled("Job")), Write("b.tif", Titled("Job", "Spot"))},
                          false);
        std::vector<IMPN_Sheet*> sheets;
        registry.CollectSheets(sheets);
        ASSERT_EQ(sheets.size(), 1u);
        EXPECT_EQ(sheets[0]->GetReferenceCount(), 1);
        kept = IMPN_SheetReference(sheets[0]);
        EXPECT_EQ(sheets[0]->GetReferenceCount(), 2);
    }
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->GetReferenceCount(), 1);
    EXPECT_EQ(kept->GetName(), "Web 1 F[K1] - SW - UP");
    // Its separations still read their files.
    IMPN_Separation* black = kept->GetFrontSurface().GetSeparation(0);
    std::vector<std::uint8_t> tile(black->GetTileByteCount());
    EXPECT_EQ(black->ReadTile(tile.data(), tile.size(), 0, 0), 1);
    IMPN_SheetReference copy = kept;
    EXPECT_EQ(kept->GetReferenceCount(), 2);
    copy.Reset();
    EXPECT_EQ(kept->GetReferenceCount(), 1);
    kept.Reset(); // the last holder deletes the sheet; the sanitizer build checks that it did
    EXPECT_FALSE(kept);
}

TEST_F(RegistryTest, ReportTextsFillInTheCount)
{
    EXPECT_EQ(IMPN_Registry::ReportText(IMPN_Registry::ReportCase::Folder, 1),
              L"One file in this folder was ignored since it is not a valid preview file.");
    EXPECT_EQ(IMPN_Registry::ReportText(IMPN_Registry::ReportCase::Folder, 3),
              L"3 files in this folder were ignored since they are not valid preview files.");
    EXPECT_EQ(IMPN_Registry::ReportText(IMPN_Registry::ReportCase::Surface, 2),
              L"2 files were not added to this surface since they are not valid preview files.");
    EXPECT_EQ(IMPN_Registry::ReportText(IMPN_Registry::ReportCase::Details, 1),
              L"This file is missing job information or it does not appear to be a TIFF file.");
    EXPECT_EQ(IMPN_Registry::ReportText(IMPN_Registry::ReportCase::Details, 5),
              L"These files are missing job information or they do not appear to be TIFF "
              L"files.");
}

TEST_F(RegistryTest, SheetFromFileListsSkipsWhatIsNotAPreviewAndKeepsEveryInk)
{
    IMPN_TestPreview front = Titled("Lists", "Cyan");
    front.color = 1;
    front.signature = 4;
    front.surface = 6;
    IMPN_TestPreview again = front;
    again.printTime = "2001:01:01 00:00:00"; // older: the lists take it anyway
    IMPN_TestPreview back = Titled("Other title", "Black");
    back.surface = 1;
    const std::vector<GFIL_FileSpec> frontFiles = {
        GFIL_FileSpec(m_Folder.WriteText("junk.tif", "junk")),
        GFIL_FileSpec((m_Folder.Path() / "gone.tif").string()), Write("c1.tif", front),
        Write("c2.tif", again)};
    const std::vector<GFIL_FileSpec> backFiles = {Write("k.tif", back), GFIL_FileSpec()};
    IMPN_SheetReference sheet(new IMPN_Sheet(frontFiles, backFiles));
    EXPECT_EQ(sheet->GetTitle(), "Lists");
    EXPECT_EQ(sheet->GetSignatureNumber(), 4u);
    EXPECT_EQ(sheet->GetWebNumber(), 4u);
    EXPECT_EQ(sheet->GetFrontSurface().GetSeparationCount(), 2u);
    EXPECT_EQ(sheet->GetBackSurface().GetSeparationCount(), 1u);
    EXPECT_EQ(sheet->GetName(), "Web 4 F[C] B[K] - SW - UP");

    IMPN_SheetReference none(new IMPN_Sheet({}, {}));
    EXPECT_EQ(none->GetName(), "Web 0 - SS - UP");
    EXPECT_EQ(none->GetPrintTime(), 0);
}
} // namespace
