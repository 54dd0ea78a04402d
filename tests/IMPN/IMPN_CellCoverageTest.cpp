// Set pixels per cell of a grid over one separation file. The expected counts come from the pixel
// rule that wrote the file, summed here through a table of running sums, never from the counter.

#include "IMPN/IMPN_CellCoverage.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNWriter.h"

#include "KRN_TestFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>

namespace
{
constexpr std::uint32_t kWidth = 1100, kLength = 700, kTile = 256; // 5 x 3 tiles, cut at the edges

// Every byte value along the rows, a solid block across a tile corner and a blank band.
bool Ink(std::uint32_t x, std::uint32_t y)
{
    if (x >= 240 && x < 530 && y >= 200 && y < 300)
        return true;
    if (y >= 520 && y < 600)
        return false;
    const std::uint32_t byte = (x / 8 + y * 7) % 256;
    return (byte >> (7 - x % 8)) & 1u;
}

// Running sums of Ink over [0, x) x [0, y).
struct Sums
{
    std::vector<std::uint64_t> table =
        std::vector<std::uint64_t>(std::size_t(kWidth + 1) * (kLength + 1));
    Sums()
    {
        for (std::uint32_t y = 0; y < kLength; ++y)
            for (std::uint32_t x = 0; x < kWidth; ++x)
                At(x + 1, y + 1) = At(x, y + 1) + At(x + 1, y) - At(x, y) + (Ink(x, y) ? 1 : 0);
    }
    std::uint64_t& At(std::uint32_t x, std::uint32_t y) { return table[y * (kWidth + 1) + x]; }
    std::uint64_t Between(std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1)
    {
        return At(x1, y1) - At(x0, y1) - At(x1, y0) + At(x0, y0);
    }
};

std::string WriteSeparation(const std::filesystem::path& folder, const char* name,
                            TIFX_KRNWriterOptions::Compression compression)
{
    TIFX_KRNWriterOptions options;
    options.compression = compression;
    options.tileSize = kTile;
    TIFX_KRNWriter writer(options);
    writer.SetMainImage(kWidth, kLength,
                        [](std::uint32_t x0, std::uint32_t y0, std::uint8_t* tile)
                        {
                            for (std::uint32_t y = 0; y < kTile; ++y)
                                for (std::uint32_t x = 0; x < kTile; ++x)
                                    if (x0 + x < kWidth && y0 + y < kLength && Ink(x0 + x, y0 + y))
                                        tile[y * (kTile / 8) + x / 8] |= 0x80u >> (x % 8);
                        });
    const std::string path = (folder / name).string();
    writer.Write(path);
    return path;
}

// Points tile `index` of the first directory past the end of the file (little-endian TIFF).
void LoseTile(const std::string& path, std::uint32_t index)
{
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    const auto read32 = [f](long at)
    {
        std::uint8_t b[4] = {};
        std::fseek(f, at, SEEK_SET);
        EXPECT_EQ(std::fread(b, 1, 4, f), 4u);
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
               std::uint32_t(b[3]) << 24;
    };
    const std::uint32_t ifd = read32(4);
    const std::uint32_t entries = read32(long(ifd)) & 0xFFFFu;
    for (std::uint32_t e = 0; e < entries; ++e)
    {
        const long entry = long(ifd) + 2 + long(e) * 12;
        if ((read32(entry) & 0xFFFFu) != 324) // TileOffsets, LONG
            continue;
        const std::uint8_t far[4] = {0xF0, 0xFF, 0xFF, 0x7F};
        std::fseek(f, long(read32(entry + 8)) + long(index) * 4, SEEK_SET);
        std::fwrite(far, 1, 4, f);
    }
    std::fclose(f);
}

struct GridCase
{
    const char* name;
    std::function<IMPN_CellGrid()> grid;
    std::optional<IMPN_Rect> rect;
};

const GridCase kGrids[] = {
    {"square4", [] { return IMPN_CellGrid::Square(kWidth, kLength, 4); }, std::nullopt},
    {"square47", [] { return IMPN_CellGrid::Square(kWidth, kLength, 47); }, std::nullopt},
    {"divided9x5", [] { return IMPN_CellGrid::Divided(kWidth, kLength, 9, 5); }, std::nullopt},
    {"oneCell", [] { return IMPN_CellGrid::Divided(kWidth, kLength, 1, 1); }, std::nullopt},
    {"thinEdges",
     []
     {
         IMPN_CellGrid g;
         g.columnEdges = {0, 1, 2, 255, 256, 257, 1099, kWidth};
         g.rowEdges = {0, 1, 511, 512, 699, kLength};
         return g;
     },
     std::nullopt},
    {"square47InRect", [] { return IMPN_CellGrid::Square(kWidth, kLength, 47); },
     IMPN_Rect{.top = 190, .left = 250, .width = 300, .height = 333}},
    {"divided9x5PastEdges", [] { return IMPN_CellGrid::Divided(kWidth, kLength, 9, 5); },
     IMPN_Rect{.top = 650, .left = -30, .width = 2000, .height = 400}},
};

class CellCoverage : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_Sums = new Sums; }
    static void TearDownTestSuite() { delete s_Sums; }
    static Sums* s_Sums;
    KRN_TestFolder m_Folder{"cell-coverage"};
};
Sums* CellCoverage::s_Sums = nullptr;

class CellCoverageGrids
    : public CellCoverage,
      public testing::WithParamInterface<std::tuple<TIFX_KRNWriterOptions::Compression, unsigned>>
{
};

// Runs (Group 4) and bits (LZW, none), alone and on a pool with fewer readers than threads: every
// cell of every grid holds the set pixels of its part inside the rectangle.
TEST_P(CellCoverageGrids, EveryCellHoldsItsSetPixelsWhateverTheGridRectangleAndThreads)
{
    const auto [compression, readers] = GetParam();
    const std::string path = WriteSeparation(m_Folder.Path(), "ink.tif", compression);
    IMPN_CellCoverage counter(path, readers);
    ASSERT_TRUE(counter.IsReadable()) << counter.GetProblem();
    IMPN_WorkerPool pool(3);
    for (const GridCase& c : kGrids)
    {
        SCOPED_TRACE(c.name);
        const IMPN_CellGrid grid = c.grid();
        IMPN_CellCounts counts;
        ASSERT_TRUE(counter.Count(grid, c.rect, readers > 1 ? &pool : nullptr, counts));
        EXPECT_TRUE(counts.failures.empty());
        const std::uint32_t ax0 = std::uint32_t(counts.area.left);
        const std::uint32_t ay0 = std::uint32_t(counts.area.top);
        const std::uint32_t ax1 = ax0 + std::uint32_t(counts.area.width);
        const std::uint32_t ay1 = ay0 + std::uint32_t(counts.area.height);
        std::uint64_t sum = 0;
        for (std::size_t r = 0; r < counts.Rows(); ++r)
            for (std::size_t col = 0; col < counts.Columns(); ++col)
            {
                const std::uint32_t x0 = std::max(grid.columnEdges[counts.firstColumn + col], ax0);
                const std::uint32_t x1 =
                    std::min(grid.columnEdges[counts.firstColumn + col + 1], ax1);
                const std::uint32_t y0 = std::max(grid.rowEdges[counts.firstRow + r], ay0);
                const std::uint32_t y1 = std::min(grid.rowEdges[counts.firstRow + r + 1], ay1);
                ASSERT_LT(x0, x1);
                ASSERT_LT(y0, y1);
                ASSERT_EQ(counts.CellPixels(col, r), std::uint64_t(x1 - x0) * (y1 - y0));
                ASSERT_EQ(counts.Inked(col, r), s_Sums->Between(x0, y0, x1, y1))
                    << "cell " << counts.firstColumn + col << "," << counts.firstRow + r;
                sum += counts.Inked(col, r);
            }
        EXPECT_EQ(sum, s_Sums->Between(ax0, ay0, ax1, ay1));
    }
}

std::string ParamName(const testing::TestParamInfo<CellCoverageGrids::ParamType>& info)
{
    static const char* const kNames[] = {"None", "PackBits", "LZW", "Deflate", "Group4"};
    return std::string(kNames[int(std::get<0>(info.param))]) + "_" +
           std::to_string(std::get<1>(info.param)) + "Readers";
}

INSTANTIATE_TEST_SUITE_P(
    RunsAndBits, CellCoverageGrids,
    testing::Combine(testing::Values(TIFX_KRNWriterOptions::Compression::CCITTGroup4,
                                     TIFX_KRNWriterOptions::Compression::LZW,
                                     TIFX_KRNWriterOptions::Compression::None),
                     testing::Values(1u, 2u)),
    ParamName);

// A tile whose data lies past the end of the file is reported with its file and place and counts
// as no ink; the other tiles still count, in both decoding paths.
TEST_F(CellCoverage, AnUnreadableTileIsReportedAndCountsAsNoInk)
{
    for (const auto compression :
         {TIFX_KRNWriterOptions::Compression::CCITTGroup4, TIFX_KRNWriterOptions::Compression::LZW})
    {
        const std::string path = WriteSeparation(m_Folder.Path(), "lost.tif", compression);
        LoseTile(path, 6); // column 1, row 1 of the tiles: pixels 256..511 x 256..511
        IMPN_CellCoverage counter(path, 2);
        ASSERT_TRUE(counter.IsReadable());
        IMPN_WorkerPool pool(1);
        IMPN_CellCounts counts;
        ASSERT_TRUE(counter.Count(IMPN_CellGrid::Divided(kWidth, kLength, 2, 1), std::nullopt,
                                  &pool, counts));
        ASSERT_EQ(counts.failures.size(), 1u);
        EXPECT_EQ(counts.failures[0], (IMPN_TileFailure{path, 256, 256}));
        EXPECT_NE(counts.failures[0].Describe().find(path), std::string::npos);
        EXPECT_EQ(counts.Inked(0, 0),
                  s_Sums->Between(0, 0, 550, kLength) - s_Sums->Between(256, 256, 512, 512));
        EXPECT_EQ(counts.Inked(1, 0), s_Sums->Between(550, 0, kWidth, kLength));
    }
}

// What cannot be counted is refused with the counts emptied, and a count stopped by its
// progress ends early without counts.
TEST_F(CellCoverage, RefusalsAndAStoppedCountLeaveNoCounts)
{
    const std::string path =
        WriteSeparation(m_Folder.Path(), "ink.tif", TIFX_KRNWriterOptions::Compression::None);
    IMPN_CellCoverage counter(path);
    const IMPN_CellGrid good = IMPN_CellGrid::Square(kWidth, kLength, 100);
    IMPN_CellGrid shortGrid = good;
    shortGrid.columnEdges.back() = kWidth - 1;
    const struct
    {
        const char* name;
        IMPN_CellGrid grid;
        std::optional<IMPN_Rect> rect;
    } refusals[] = {
        {"edges short of the width", shortGrid, std::nullopt},
        {"more columns than pixels", IMPN_CellGrid::Divided(kWidth, kLength, kWidth + 1, 1),
         std::nullopt},
        {"no cells", IMPN_CellGrid::Square(kWidth, kLength, 0), std::nullopt},
        {"rectangle outside", good,
         IMPN_Rect{.top = 0, .left = int(kWidth), .width = 10, .height = 10}},
        {"empty rectangle", good, IMPN_Rect{.top = 10, .left = 10, .width = 0, .height = 10}},
    };
    for (const auto& r : refusals)
    {
        IMPN_CellCounts counts;
        counts.inked = {1};
        EXPECT_FALSE(counter.Count(r.grid, r.rect, nullptr, counts)) << r.name;
        EXPECT_TRUE(counts.inked.empty()) << r.name;
    }

    std::uint64_t calls = 0, lastTotal = 0;
    IMPN_CellCounts counts;
    EXPECT_FALSE(counter.Count(good, std::nullopt, nullptr, counts,
                               [&](std::uint64_t done, std::uint64_t total)
                               {
                                   ++calls;
                                   lastTotal = total;
                                   return done < 4;
                               }));
    EXPECT_EQ(calls, 4u);
    EXPECT_EQ(lastTotal, 15u);
    EXPECT_TRUE(counts.inked.empty());

    IMPN_CellCoverage missing((m_Folder.Path() / "missing.tif").string());
    EXPECT_FALSE(missing.IsReadable());
    EXPECT_FALSE(missing.GetProblem().empty());
    EXPECT_FALSE(missing.Count(good, std::nullopt, nullptr, counts));
}
} // namespace
