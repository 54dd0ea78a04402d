// Two versions of a job compared: exact added and removed pixels against a pixel-by-pixel count
// of the two versions' own rules, the changed cells and their regions, which tiles are decoded,
// the versions that cannot be compared, undecodable tiles, and the report that `krn compare`
// prints. Every fixture is written at run time by the preview-file writer.

#include "IMPN_TreeTestFiles.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_CompareReport.h"
#include "IMPN/IMPN_DifferenceKernel.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_SeparationDifference.h"
#include "IMPN/IMPN_VersionMatch.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <fstream>
#include <functional>

namespace
{
using Rule = std::function<bool(std::uint32_t x, std::uint32_t y)>;
using Compression = TIFX_KRNWriterOptions::Compression;

// A screen-like pattern that every tile holds some of, so that no tile is blank or solid.
bool Screen(std::uint32_t x, std::uint32_t y)
{
    return (x * 7 + y * 13) % 11 < 5;
}

IMPN_TestPreview Version(const Rule& rule, std::uint32_t width = 600, std::uint32_t height = 400,
                         Compression compression = Compression::PackBits)
{
    IMPN_TestPreview p;
    p.width = width;
    p.height = height;
    p.options.compression = compression;
    p.fill = IMPN_TestFill(rule);
    return p;
}

// The screen with the pixels of `changed` inverted.
Rule Changed(std::function<bool(std::uint32_t, std::uint32_t)> changed)
{
    return [changed](std::uint32_t x, std::uint32_t y) { return Screen(x, y) != changed(x, y); };
}

std::unique_ptr<IMPN_SeparationDifference> Compared(const std::string& oldPath,
                                                    const std::string& newPath)
{
    auto difference = std::make_unique<IMPN_SeparationDifference>(oldPath, newPath);
    difference->Run();
    return difference;
}

std::string Box(const IMPN_Rect& r)
{
    return std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.width) +
           "," + std::to_string(r.height);
}

std::vector<std::string> Boxes(const std::vector<IMPN_Rect>& regions)
{
    std::vector<std::string> out;
    for (const IMPN_Rect& r : regions)
        out.push_back(Box(r));
    return out;
}

class CompareCodings : public ::testing::TestWithParam<std::tuple<Compression, bool>>
{
protected:
    IMPN_TestFolder m_Folder;
};
} // namespace

// Pictures that end inside their last tiles both ways; old and new differ in scattered pixels
// of every tile. The counts and the changed cells come from the rules, pixel by pixel.
TEST_P(CompareCodings, CountsAndCellsMatchAPixelByPixelCountOfBothVersions)
{
    const auto [compression, bigEndian] = GetParam();
    const std::uint32_t w = 1100, h = 700;
    const Rule older = Screen;
    const Rule newer = Changed([](std::uint32_t x, std::uint32_t y)
                               { return (x ^ y) % 97 == 0 || (x > 900 && y > 650 && x % 3 == 0); });
    IMPN_TestPreview a = Version(older, w, h, compression), b = Version(newer, w, h, compression);
    for (IMPN_TestPreview* p : {&a, &b})
        p->options.byteOrder = bigEndian ? TIFX_KRNWriterOptions::ByteOrder::BigEndian
                                         : TIFX_KRNWriterOptions::ByteOrder::LittleEndian;
    const std::string oldPath = m_Folder.Write("old.tif", a);
    const std::string newPath = m_Folder.Write("new.tif", b);

    std::uint64_t added = 0, removed = 0;
    std::vector<std::uint8_t> cells(std::size_t((w + 63) / 64) * ((h + 63) / 64), 0);
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x)
        {
            const bool o = older(x, y), n = newer(x, y);
            added += n && !o;
            removed += o && !n;
            if (o != n)
                cells[std::size_t(y / 64) * ((w + 63) / 64) + x / 64] = 1;
        }

    IMPN_WorkerPool pool(2);
    IMPN_SeparationDifference threaded(oldPath, newPath);
    ASSERT_EQ(threaded.Open(3), IMPN_SeparationDifference::Status::NotRun);
    ASSERT_EQ(threaded.Run(&pool), IMPN_SeparationDifference::Status::Compared);
    const auto single = Compared(oldPath, newPath);
    for (const IMPN_SeparationDifference* d : {single.get(), &threaded})
    {
        EXPECT_EQ(d->GetAdded(), added);
        EXPECT_EQ(d->GetRemoved(), removed);
        EXPECT_EQ(d->GetCells().cells, cells);
        EXPECT_TRUE(d->GetWarnings().empty());
    }
    // Swapping the versions swaps added and removed.
    const auto swapped = Compared(newPath, oldPath);
    EXPECT_EQ(swapped->GetAdded(), removed);
    EXPECT_EQ(swapped->GetRemoved(), added);
}

INSTANTIATE_TEST_SUITE_P(
    Compare, CompareCodings,
    ::testing::Combine(::testing::Values(Compression::None, Compression::PackBits, Compression::LZW,
                                         Compression::Deflate, Compression::CCITTGroup4),
                       ::testing::Bool()));

TEST(CompareKernel, PixelsBeyondTheWidthAreNeverCountedNorMarked)
{
    // Rows of 128 pixels: the new version inks all of them, the old none.
    std::vector<std::uint8_t> older(16 * 3, 0x00), newer(16 * 3, 0xFF);
    for (std::uint32_t width : {1u, 7u, 63u, 64u, 65u, 70u, 128u})
    {
        IMPN_DifferenceKernel::Counts counts;
        std::uint8_t cells[2] = {0, 0};
        IMPN_DifferenceKernel::Compare(older.data(), newer.data(), 16, width, 3, counts, cells, 2);
        EXPECT_EQ(counts.added, 3u * width) << width;
        EXPECT_EQ(counts.removed, 0u);
        EXPECT_EQ(cells[1], width > 64 ? 1 : 0) << width;
        // A blank side stands for a version without the ink.
        IMPN_DifferenceKernel::Counts gone;
        IMPN_DifferenceKernel::Compare(newer.data(), nullptr, 16, width, 3, gone, cells, 2);
        EXPECT_EQ(gone.removed, 3u * width);
    }
}

TEST(CompareRegions, CellsTouchingAtCornersJoinAndTheLastCellsAreClippedToThePicture)
{
    IMPN_TestFolder folder;
    // Cells of 64 pixels over 1100 x 700: 18 across, 11 down, the last ones 12 and 60 pixels.
    const auto changed = [](std::uint32_t x, std::uint32_t y)
    {
        return (x == 10 && y == 10) || (x == 70 && y == 70) || // cells (0,0) and (1,1) meet
               (x == 300 && (y == 10 || y == 200)) ||          // (4,0) and (4,3) do not
               (y == 400 && x >= 500 && x <= 900) ||           // a row across 8 cells
               (x == 1099 && y == 699);                        // the last pixel
    };
    const std::string oldPath = folder.Write("old.tif", Version(Screen, 1100, 700));
    const std::string newPath = folder.Write("new.tif", Version(Changed(changed), 1100, 700));
    const auto d = Compared(oldPath, newPath);
    EXPECT_EQ(Boxes(d->GetRegions()),
              (std::vector<std::string>{"0,0,128,128", "0,256,64,64", "192,256,64,64",
                                        "384,448,512,64", "640,1088,12,60"}));
    EXPECT_EQ(d->GetAdded() + d->GetRemoved(), 2u + 2u + 401u + 1u);
}

TEST(CompareTiles, OnlyTilesWhoseStoredBytesDifferAreDecoded)
{
    IMPN_TestFolder folder;
    // Six tiles (3 x 2); three pixels change inside the middle tile of the second row.
    const auto patch = [](std::uint32_t x, std::uint32_t y)
    { return y == 520 && x >= 600 && x < 603; };
    for (Compression compression : {Compression::CCITTGroup4, Compression::LZW})
    {
        const std::string oldPath =
            folder.Write("old.tif", Version(Screen, 1100, 700, compression));
        const std::string newPath =
            folder.Write("new.tif", Version(Changed(patch), 1100, 700, compression));
        const auto d = Compared(oldPath, newPath);
        EXPECT_EQ(d->GetTilesDecoded(), 1u);
        EXPECT_EQ(d->GetTilesByBytes(), 5u);
        EXPECT_EQ(d->GetAdded() + d->GetRemoved(), 3u);
        EXPECT_EQ(Boxes(d->GetRegions()), std::vector<std::string>{"512,576,64,64"});
    }
    // The same pixels stored with another coding are equal too, but only by decoding.
    const std::string packed = folder.Write("packed.tif", Version(Screen, 1100, 700));
    const std::string g4 =
        folder.Write("g4.tif", Version(Screen, 1100, 700, Compression::CCITTGroup4));
    const auto d = Compared(packed, g4);
    EXPECT_EQ(d->GetStatus(), IMPN_SeparationDifference::Status::Compared);
    EXPECT_FALSE(d->HasDifferences());
    EXPECT_EQ(d->GetTilesDecoded(), 6u);
    EXPECT_TRUE(d->GetRegions().empty());
}

TEST(CompareTiles, VersionsOfAnotherSizeOrResolutionAreNotComparable)
{
    IMPN_TestFolder folder;
    const std::string base = folder.Write("base.tif", Version(Screen));
    const std::string wider = folder.Write("wider.tif", Version(Screen, 640, 400));
    IMPN_TestPreview finer = Version(Screen);
    finer.options.resolution = 1200.0f;
    const std::string fine = folder.Write("fine.tif", finer);
    const struct
    {
        std::string other, problem;
    } cases[] = {
        {wider, "the old version is 600 x 400 pixels, the new 640 x 400"},
        {fine, "the old version has 600 x 600 dpi, the new 1200 x 1200 dpi"},
    };
    for (const auto& c : cases)
    {
        IMPN_SeparationDifference d(base, c.other);
        EXPECT_EQ(d.Open(), IMPN_SeparationDifference::Status::NotComparable);
        EXPECT_EQ(d.Run(), IMPN_SeparationDifference::Status::NotComparable);
        EXPECT_EQ(d.GetProblem(), c.problem);
    }
    IMPN_SeparationDifference missing(base, (folder.Path() / "gone.tif").string());
    EXPECT_EQ(missing.Open(), IMPN_SeparationDifference::Status::Unreadable);
    EXPECT_NE(missing.GetProblem().find("gone.tif"), std::string::npos);
}

// A Deflate tile overwritten with bytes that do not inflate: the old version's pixels there
// count as removed, every other pixel of the tile as added, and the warning names file and tile.
TEST(CompareTiles, ATileThatCannotBeDecodedCountsAsChangedWithAWarning)
{
    IMPN_TestFolder folder;
    const std::string oldPath =
        folder.Write("old.tif", Version(Screen, 600, 400, Compression::Deflate));
    const std::string newPath =
        folder.Write("new.tif", Version(Screen, 600, 400, Compression::Deflate));
    {
        TIFF* tif = TIFFOpen(newPath.c_str(), "r");
        ASSERT_NE(tif, nullptr);
        const std::uint64_t offset = TIFFGetStrileOffset(tif, 1);
        const std::uint64_t count = TIFFGetStrileByteCount(tif, 1);
        TIFFClose(tif);
        std::fstream file(newPath, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(std::streamoff(offset));
        file << std::string(std::size_t(count), '\x5A');
    }
    // Tile 1 is the second of the first row: 88 x 400 pixels.
    std::uint64_t inked = 0;
    for (std::uint32_t y = 0; y < 400; ++y)
        for (std::uint32_t x = 512; x < 600; ++x)
            inked += Screen(x, y);
    const auto d = Compared(oldPath, newPath);
    EXPECT_EQ(d->GetRemoved(), inked);
    EXPECT_EQ(d->GetAdded(), 88u * 400u - inked);
    ASSERT_EQ(d->GetWarnings().size(), 1u);
    EXPECT_EQ(d->GetWarnings()[0],
              newPath +
                  ": tile 1 (column 1, row 0) cannot be decoded; its pixels count as changed");
    EXPECT_EQ(Boxes(d->GetRegions()), std::vector<std::string>{"0,512,88,400"});
}

namespace
{
// Two versions of a small job, placed as krn compare places them.
class CompareReportTest : public ::testing::Test
{
protected:
    static IMPN_TestPreview Ink(const std::string& name, std::uint16_t code,
                                std::uint16_t signature, std::uint16_t surface,
                                const Rule& rule = Screen, std::uint32_t width = 600)
    {
        IMPN_TestPreview p = Version(rule, width);
        p.colorName = name;
        p.color = code == 0 ? std::optional<std::uint16_t>() : std::optional<std::uint16_t>(code);
        p.signature = signature;
        p.surface = surface;
        return p;
    }

    void Place(IMPN_Registry& registry, const std::string& prefix,
               const std::vector<IMPN_TestPreview>& files)
    {
        for (std::size_t i = 0; i < files.size(); ++i)
            registry.AddFiles(
                {GFIL_FileSpec(m_Folder.Write(prefix + std::to_string(i) + ".tif", files[i]))},
                false);
    }

    void SetUp() override
    {
        const Rule threeMore = [](std::uint32_t x, std::uint32_t y)
        { return Screen(x, y) || (y == 5 && x >= 40 && x < 43); };
        Place(m_Old, "old",
              {Ink("Cyan", 1, 1, 0), Ink("Magenta", 2, 1, 0), Ink("cyan", 0, 1, 0),
               Ink("Gold", 0, 1, 0), Ink("Black", 4, 1, 1), Ink("Black", 4, 2, 0)});
        Place(m_New, "new",
              {Ink("Cyan", 1, 1, 0, threeMore), Ink("Magenta", 2, 1, 0, Screen, 640),
               Ink("CYAN", 0, 1, 0), Ink("Silver", 0, 1, 0), Ink("Black", 4, 3, 0)});
    }

    IMPN_CompareReport::Outcome Report(IMPN_CompareReport::Filter filter = {})
    {
        return IMPN_CompareReport::Run(m_Old, m_New, filter);
    }

    IMPN_TestFolder m_Folder;
    IMPN_Registry m_Old, m_New;
};

// The pixels the three-more rule adds in row 5.
std::uint64_t ThreeMore()
{
    std::uint64_t n = 0;
    for (std::uint32_t x = 40; x < 43; ++x)
        n += !Screen(x, 5);
    return n;
}
} // namespace

TEST_F(CompareReportTest, MatchedSeparationsComeFirstThenWhatHasNoPartnerInTheWalkOrder)
{
    const IMPN_CompareReport::Outcome outcome = Report();
    const std::string n = std::to_string(ThreeMore());
    EXPECT_EQ(outcome.text,
              "1\tfront\tCyan\t" + n +
                  "\t0\n"
                  "1\tfront\tcyan\t0\t0\n"
                  "not comparable\tJob\t1\t1\tfront\tMagenta\tthe old version is 600 x 400 pixels, "
                  "the new 640 x 400\n"
                  "only in old\tJob\t1\t1\tfront\tGold\n"
                  "only in new\tJob\t1\t1\tfront\tSilver\n"
                  "only in old\tJob\t1\t1\tback\n"
                  "only in old\tJob\t2\t1\n"
                  "only in new\tJob\t3\t1\n");
    EXPECT_TRUE(outcome.differs);
    EXPECT_TRUE(outcome.unreadable.empty());
}

TEST_F(CompareReportTest, FiltersShowOnlyWhatTheyNameAndDecideTheOutcomeAlone)
{
    struct Case
    {
        IMPN_CompareReport::Filter filter;
        std::string text;
        bool differs;
    };
    IMPN_CompareReport::Filter regions;
    regions.ink = "Cyan";
    regions.regions = true;
    const Case cases[] = {
        // A spot CYAN exists exactly: the process Cyan is not meant.
        {{0, -1, "CYAN", false}, "1\tfront\tcyan\t0\t0\n", false},
        // No ink is called "gold" exactly: the name is taken without regard to case.
        {{0, -1, "gold", false}, "only in old\tJob\t1\t1\tfront\tGold\n", true},
        {{2, -1, "", false}, "only in old\tJob\t2\t1\n", true},
        {{0, 1, "", false}, "only in old\tJob\t1\t1\tback\n", true},
        {regions, "1\tfront\tCyan\t" + std::to_string(ThreeMore()) + "\t0\n\t0,0,64,64\n", true},
        {{0, -1, "Black", false},
         "only in old\tJob\t1\t1\tback\nonly in old\tJob\t2\t1\n"
         "only in new\tJob\t3\t1\n",
         true},
    };
    for (const Case& c : cases)
    {
        const IMPN_CompareReport::Outcome outcome = Report(c.filter);
        EXPECT_EQ(outcome.text, c.text) << c.filter.ink << " sheet " << c.filter.sheet;
        EXPECT_EQ(outcome.differs, c.differs) << c.filter.ink << " sheet " << c.filter.sheet;
    }
}

TEST_F(CompareReportTest, ASeparationThatCannotBeReadStopsTheReportBeforeAnythingIsShown)
{
    std::filesystem::remove(m_Folder.Path() / "new2.tif"); // the new CYAN
    const IMPN_CompareReport::Outcome outcome = Report();
    EXPECT_TRUE(outcome.text.empty());
    EXPECT_NE(outcome.unreadable.find("new2.tif"), std::string::npos);
}

TEST(CompareReport, AWorkAndTurnSheetReportsBothSurfacesOfItsOneSetOfFiles)
{
    IMPN_TestFolder folder;
    IMPN_Registry versions[2];
    for (int v = 0; v < 2; ++v)
    {
        IMPN_TestPreview p = Version(
            v == 0 ? Rule(Screen)
                   : Changed([](std::uint32_t x, std::uint32_t y) { return x == 1 && y == 1; }));
        p.workStyle = 3;
        p.colorName = "Black";
        p.color = 4;
        versions[v].AddFiles({GFIL_FileSpec(folder.Write(std::to_string(v) + ".tif", p))}, false);
    }
    const IMPN_CompareReport::Outcome outcome =
        IMPN_CompareReport::Run(versions[0], versions[1], {});
    const std::string counts = Screen(1, 1) ? "0\t1" : "1\t0";
    EXPECT_EQ(outcome.text, "1\tfront\tBlack\t" + counts + "\n1\tback\tBlack\t" + counts + "\n");
}

TEST(CompareMatch, NamesEqualWithoutRegardToCaseFoldEveryScriptAndBytesThatAreNotText)
{
    const struct
    {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"PANTONE 185 C", "pantone 185 c", true},
        {"Grün", "GRÜN", true},
        {"Голубой", "ГОЛУБОЙ", true},
        {"Cyan", "Cyan 2", false},
        {"\xE9toile", "\xE9TOILE", true},  // not UTF-8: the ASCII letters alone fold
        {"\xE9toile", "\xC9TOILE", false}, // and the other bytes must be equal
        {"\xE9", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IMPN_VersionMatch::SameNameNoCase(c.a, c.b), c.same) << c.a << " / " << c.b;
}

// Old: process Cyan, spots cyan, Gold and Silver; new: process Cyan, spots CYAN, gold, SILVER and
// silver. The spot cyan takes CYAN, never the process Cyan; Silver takes the first loose match.
TEST(CompareMatch, InksPairByTheExactNameFirstThenLooselyAndNeverByPosition)
{
    IMPN_TestFolder folder;
    IMPN_Registry versions[2];
    const std::vector<std::pair<std::string, std::uint16_t>> inks[2] = {
        {{"Cyan", 1}, {"cyan", 0}, {"Gold", 0}, {"Silver", 0}},
        {{"SILVER", 0}, {"CYAN", 0}, {"silver", 0}, {"gold", 0}, {"Cyan", 1}},
    };
    for (int v = 0; v < 2; ++v)
        for (const auto& [name, code] : inks[v])
        {
            IMPN_TestPreview p = Version(Screen);
            p.colorName = name;
            p.color =
                code == 0 ? std::optional<std::uint16_t>() : std::optional<std::uint16_t>(code);
            versions[v].AddFiles(
                {GFIL_FileSpec(folder.Write(std::to_string(v) + name + ".tif", p))}, false);
        }
    const std::vector<IMPN_VersionMatch::SheetPair> sheets =
        IMPN_VersionMatch::Match(versions[0], versions[1]);
    ASSERT_EQ(sheets.size(), 1u);
    std::vector<std::string> pairs;
    for (const IMPN_VersionMatch::InkPair& ink : sheets[0].inks[0])
        pairs.push_back((ink.older ? ink.older->GetName() : "-") + "=" +
                        (ink.newer ? ink.newer->GetName() : "-"));
    EXPECT_EQ(pairs, (std::vector<std::string>{"Cyan=Cyan", "cyan=CYAN", "Gold=gold",
                                               "Silver=SILVER", "-=silver"}));
    EXPECT_TRUE(sheets[0].inks[1].empty());
}
