// Placing files in the tree: which sheet, surface and separation a file lands in, the order of
// inks, the replacement of re-rendered inks, and the names the tree gives its nodes.

#include "IMPN_TreeTestFiles.h"

#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "TIFX/TIFX_KRNFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{
class TreeTest : public ::testing::Test
{
protected:
    // Writes a file and places it through the registry, as the viewer does.
    void Place(const IMPN_TestPreview& preview, const std::string& name = "")
    {
        const std::string fileName = name.empty() ? "f" + std::to_string(m_Count++) + ".tif" : name;
        TIFX_KRNFile file(m_Folder.Write(fileName, preview));
        file.Open();
        ASSERT_TRUE(file.IsValidPreviewFile()) << file.GetValidityFailure();
        m_Registry.AddFile(file);
    }

    static IMPN_TestPreview Ink(const std::string& name, std::uint16_t code,
                                std::uint16_t surface = 0)
    {
        IMPN_TestPreview p;
        p.colorName = name;
        p.color = code;
        p.surface = surface;
        return p;
    }

    std::vector<IMPN_Sheet*> Sheets()
    {
        std::vector<IMPN_Sheet*> sheets;
        m_Registry.CollectSheets(sheets);
        return sheets;
    }

    static std::vector<std::string> InkNames(const IMPN_Surface& surface)
    {
        std::vector<std::string> names;
        for (const auto& s : surface.GetSeparations())
            names.push_back(s->GetName());
        return names;
    }

    IMPN_TestFolder m_Folder;
    IMPN_Registry m_Registry;
    int m_Count = 0;
};

TEST_F(TreeTest, LaterPrintTimeReplacesSameInkAndEqualTimesKeepTheLastAdded)
{
    IMPN_TestPreview first = Ink("Cyan", 1);
    first.printTime = "2003:12:31 10:00:00";
    Place(first, "first.tif");
    IMPN_TestPreview later = first;
    later.printTime = "12/31/2003 10:00:01";
    Place(later, "later.tif");
    IMPN_TestPreview earlier = first;
    earlier.printTime = "2003:12:31 09:59:59";
    Place(earlier, "earlier.tif");

    ASSERT_EQ(Sheets().size(), 1u);
    const IMPN_Surface& front = Sheets()[0]->GetFrontSurface();
    ASSERT_EQ(front.GetSeparationCount(), 1u);
    EXPECT_EQ(front.GetSeparation(0)->GetPrintTime(), "12/31/2003 10:00:01");

    // The same instant written the other way round counts as equal: the last one added stays.
    IMPN_TestPreview same = later;
    same.printTime = "2003:12:31 10:00:01";
    Place(same, "same.tif");
    ASSERT_EQ(front.GetSeparationCount(), 1u);
    EXPECT_EQ(front.GetSeparation(0)->GetPrintTime(), "2003:12:31 10:00:01");
    EXPECT_NE(front.GetSeparation(0)->GetFile().GetPath().find("same.tif"), std::string::npos);
}

TEST_F(TreeTest, ReplacedInkKeepsItsPlaceInTheInkOrder)
{
    Place(Ink("Cyan", 1));
    Place(Ink("Black", 4));
    Place(Ink("PANTONE 185 C", 0));
    IMPN_TestPreview newerCyan = Ink("Cyan", 1);
    newerCyan.printTime = "2004:01:01 00:00:00";
    Place(newerCyan);
    const IMPN_Surface& front = Sheets()[0]->GetFrontSurface();
    EXPECT_EQ(InkNames(front), (std::vector<std::string>{"Cyan", "Black", "PANTONE 185 C"}));
    EXPECT_EQ(front.GetSeparation(0)->GetPrintTime(), "2004:01:01 00:00:00");
}

TEST_F(TreeTest, ProcessInksSortByCodeAndSpotInksKeepArrivalOrder)
{
    Place(Ink("Black", 4));
    Place(Ink("Spot A", 0));
    Place(Ink("Cyan", 1));
    Place(Ink("Spot B", 0));
    const IMPN_Surface& front = Sheets()[0]->GetFrontSurface();
    EXPECT_EQ(front.GetName(), "CK12");
    EXPECT_EQ(InkNames(front), (std::vector<std::string>{"Cyan", "Black", "Spot A", "Spot B"}));

    // Mixed arrival of every process code; equal codes keep their arrival order; Red, Green and
    // Blue add nothing to the name.
    Place(Ink("Blue", 7));
    Place(Ink("Yellow", 3));
    Place(Ink("Red", 5));
    Place(Ink("Magenta", 2));
    Place(Ink("Cyan 2", 1));
    Place(Ink("Green", 6));
    EXPECT_EQ(InkNames(front),
              (std::vector<std::string>{"Cyan", "Cyan 2", "Magenta", "Yellow", "Black", "Red",
                                        "Green", "Blue", "Spot A", "Spot B"}));
    EXPECT_EQ(front.GetName(), "CMYK12");
}

TEST_F(TreeTest, SurfaceNumberChoosesWebAndSide)
{
    Place(Ink("Cyan", 1, 5));
    const auto sheets = Sheets();
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0]->GetWebNumber(), 3u);
    EXPECT_FALSE(sheets[0]->GetFrontSurface().HasSeparations());
    EXPECT_EQ(sheets[0]->GetBackSurface().GetSeparationCount(), 1u);
    EXPECT_EQ(sheets[0]->GetName(), "Web 3 B[C] - SW - UP");

    // Web 3 is surfaces 4 (front) and 5 (back); surface 1 is the back of web 1.
    Place(Ink("Cyan", 1, 4));
    ASSERT_EQ(Sheets().size(), 1u);
    EXPECT_EQ(sheets[0]->GetName(), "Web 3 F[C] B[C] - SW - UP");
    Place(Ink("Cyan", 1, 1));
    ASSERT_EQ(Sheets().size(), 2u);
    EXPECT_EQ(Sheets()[1]->GetWebNumber(), 1u);
}

TEST_F(TreeTest, WorkAndTumblePutsEveryFileOnBothSurfaces)
{
    for (auto [name, code] : {std::pair{"Cyan", 1}, {"Magenta", 2}, {"Yellow", 3}, {"Black", 4}})
    {
        IMPN_TestPreview p = Ink(name, static_cast<std::uint16_t>(code), 0);
        p.workStyle = IMPN_Sheet::WorkAndTumble;
        Place(p);
    }
    const auto sheets = Sheets();
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(InkNames(sheets[0]->GetFrontSurface()), InkNames(sheets[0]->GetBackSurface()));
    EXPECT_EQ(sheets[0]->GetBackSurface().GetSeparationCount(), 4u);
    EXPECT_EQ(sheets[0]->GetName(), "Web 1 F[CMYK] B[CMYK] - WNTumble - UP");
    // Both surfaces got the geometry of the file, though it arrived once.
    EXPECT_EQ(sheets[0]->GetBackSurface().GetPages(), sheets[0]->GetFrontSurface().GetPages());
    EXPECT_EQ(sheets[0]->GetBackSurface().GetPressSheet(),
              sheets[0]->GetFrontSurface().GetPressSheet());
}

TEST_F(TreeTest, SheetNamesCarryWorkstyleAndOrientationLabels)
{
    struct Case
    {
        std::uint16_t workStyle, orientation;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, "Web 1 F[K] - SS - UP"},       {1, 1, "Web 1 F[K] - SW - DOWN"},
        {2, 2, "Web 1 F[K] - PF - LEFT"},     {3, 3, "Web 1 F[K] B[K] - WNTurn - RIGHT"},
        {4, 4, "Web 1 F[K] B[K] - WNTumble"}, {7, 0, "Web 1 F[K] - UP"},
    };
    std::uint16_t signature = 1;
    for (const Case& c : cases)
    {
        IMPN_TestPreview p = Ink("Black", 4);
        p.signature = signature++;
        p.workStyle = c.workStyle;
        p.orientation = c.orientation;
        Place(p);
        EXPECT_EQ(Sheets().back()->GetName(), c.expected);
    }
}

TEST_F(TreeTest, ImpositionAndSignatureNamesCountTheirChildren)
{
    IMPN_Imposition empty("Empty");
    EXPECT_EQ(empty.GetName(), "Empty [0 Signatures]");

    IMPN_TestPreview p = Ink("Black", 4);
    p.title = "Brochure";
    p.signature = 2;
    Place(p);
    IMPN_Imposition* imposition = m_Registry.FindImposition("Brochure");
    ASSERT_NE(imposition, nullptr);
    EXPECT_EQ(imposition->GetName(), "Brochure [1 Signature]");
    EXPECT_EQ(imposition->GetSignatures()[0]->GetName(), "Signature 2 [1 Web]");
    p.surface = 2;
    Place(p);
    EXPECT_EQ(imposition->GetSignatures()[0]->GetName(), "Signature 2 [2 Webs]");
    p.signature = 1;
    Place(p);
    EXPECT_EQ(imposition->GetName(), "Brochure [2 Signatures]");
    EXPECT_EQ(m_Registry.GetName(), "IMPN_Node");
}

TEST_F(TreeTest, SignaturesAndSheetsKeepTheirArrivalOrder)
{
    IMPN_TestPreview p = Ink("Black", 4);
    p.signature = 2;
    p.surface = 2;
    Place(p);
    p.signature = 1;
    Place(p);
    p.signature = 2;
    p.surface = 0;
    Place(p);
    const auto& signatures = m_Registry.FindImposition("Job")->GetSignatures();
    ASSERT_EQ(signatures.size(), 2u);
    EXPECT_EQ(signatures[0]->GetNumber(), 2);
    EXPECT_EQ(signatures[1]->GetNumber(), 1);
    const auto sheets = Sheets();
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0]->GetSignatureNumber(), 2u);
    EXPECT_EQ(sheets[0]->GetWebNumber(), 2u);
    EXPECT_EQ(sheets[1]->GetSignatureNumber(), 2u);
    EXPECT_EQ(sheets[1]->GetWebNumber(), 1u);
    EXPECT_EQ(sheets[2]->GetSignatureNumber(), 1u);
}

TEST_F(TreeTest, SurfaceTakesGeometryFromItsFirstFile)
{
    IMPN_TestPreview p = Ink("Cyan", 1);
    KRNPageInfo second = IMPN_TestPreview::DefaultPage();
    second.pageNumber = 2;
    second.orientation = 1;
    second.posLeft = 300;
    second.posRight = 540;
    second.clipPaths = {{{310, 60}, {530, 60}, {530, 340}, {310, 340}}, {{400, 100}, {350, 200}}};
    p.pages.push_back(second);
    p.clipPaths = true;
    Place(p);
    IMPN_TestPreview other = Ink("Magenta", 2);
    other.pressSheetTop = 0;
    other.pages.clear();
    Place(other);

    const IMPN_Surface& front = Sheets()[0]->GetFrontSurface();
    EXPECT_EQ(front.GetPressSheet(), IMPN_Rect::FromEdges(10, 20, 390, 580));
    ASSERT_EQ(front.GetPages().size(), 2u);
    EXPECT_EQ(front.GetPages()[1].number, 2);
    EXPECT_EQ(front.GetPages()[1].orientation, 1);
    EXPECT_EQ(front.GetPages()[1].position, IMPN_Rect::FromEdges(50, 300, 350, 540));
    EXPECT_EQ(front.GetBleeds()[0], IMPN_Rect::FromEdges(45, 55, 355, 295));
    EXPECT_EQ(front.GetMaxBleeds()[0], IMPN_Rect::FromEdges(40, 50, 360, 300));
    ASSERT_TRUE(front.HasClipPaths());
    ASSERT_EQ(front.GetClipPaths().size(), 2u);
    EXPECT_TRUE(front.GetClipPaths()[0].empty());
    ASSERT_EQ(front.GetClipPaths()[1].size(), 2u);
    EXPECT_EQ(front.GetClipPaths()[1][0].bounds, IMPN_Rect::FromEdges(60, 310, 340, 530));
    EXPECT_EQ(front.GetClipPaths()[1][1].bounds, IMPN_Rect::FromEdges(100, 350, 200, 400));
    EXPECT_EQ(front.GetClipPaths()[1][1].points.size(), 2u);
}

TEST_F(TreeTest, DumpWritesTheDocumentedLines)
{
    IMPN_TestPreview p = Ink("Black", 4);
    p.title = "Dump Job";
    p.signature = 3;
    Place(p);
    std::ostringstream out;
    m_Registry.Dump(out, 0);
    const std::string rule(65, '=');
    const std::string expected = rule + "\nImposition Registry\n" + rule +
                                 "\n"
                                 "  Imposition<Dump Job>\n"
                                 "    Signature<3>\n"
                                 "      Sheet/Web<1>\n"
                                 "      Title            : Dump Job\n"
                                 "      Image Width      : 600\n"
                                 "      Image Length     : 400\n"
                                 "      Thumbnail Width  : 150\n"
                                 "      Thumbnail Length : 100\n"
                                 "        Front Surface :\n"
                                 "          Color          []\n"
                                 "          PressSheetEdge []\n"
                                 "          PageEdge       []\n"
                                 "          BleedEdge      []\n"
                                 "          MaxBleedEdge   []\n"
                                 "          Image          []\n"
                                 "          Thumbnail      []\n"
                                 "            Separation <Black>\n"
                                 "        Back Surface :\n";
    EXPECT_EQ(out.str(), expected);
}
} // namespace
