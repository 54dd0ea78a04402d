// Exact coverage counts of one-bit separations. The expected numbers come from the pixel rule of
// each test ink, counted pixel by pixel here, never from the counter's own bit arithmetic.

#include "IMPN_RenderTestInk.h"
#include "IMPN_TreeTestFiles.h"

#include "IMPN/IMPN_InkCoverage.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace
{
using BitRule = std::function<bool(std::uint32_t, std::uint32_t)>;

// Every byte value 0..255 in turn along the rows, shifted from row to row, so that any run of
// bytes meets every pattern of set bits at both ends of a range.
bool EveryByte(std::uint32_t x, std::uint32_t y)
{
    const std::uint32_t byte = (x / 8 + y * 7) % 256;
    return (byte >> (7 - x % 8)) & 1u;
}

std::uint64_t Oracle(const BitRule& bit, std::int64_t left, std::int64_t top, std::int64_t right,
                     std::int64_t bottom)
{
    std::uint64_t n = 0;
    for (std::int64_t y = top; y < bottom; ++y)
        for (std::int64_t x = left; x < right; ++x)
            n += bit(std::uint32_t(x), std::uint32_t(y)) ? 1 : 0;
    return n;
}

struct Inks
{
    std::vector<IMPN_RenderTestInk*> raw;
    std::vector<std::unique_ptr<IMPN_RenderInk>> owned;

    IMPN_RenderTestInk& Add(std::uint32_t w, std::uint32_t h, const BitRule& bit,
                            std::uint32_t tile)
    {
        auto ink = std::make_unique<IMPN_RenderTestInk>(w, h, bit, tile);
        raw.push_back(ink.get());
        owned.push_back(std::move(ink));
        return *raw.back();
    }
    int Reads() const
    {
        int n = 0;
        for (auto* ink : raw)
            n += ink->reads;
        return n;
    }
};

IMPN_Rect Rect(std::int32_t top, std::int32_t left, std::int32_t width, std::int32_t height)
{
    IMPN_Rect r;
    r.top = top;
    r.left = left;
    r.width = width;
    r.height = height;
    return r;
}
} // namespace

TEST(InkCoverage, RectanglesOfEveryByteValueMatchAPixelCountAcrossTileAndPictureEdges)
{
    // 32-pixel tiles and a picture that ends inside its last tile in both directions.
    Inks inks;
    inks.Add(203, 117, EveryByte, 32);
    IMPN_InkCoverage counter(std::move(inks.owned), 0);
    ASSERT_EQ(counter.GetImageWidth(), 203u);

    std::mt19937 random(23);
    std::uniform_int_distribution<int> pos(-40, 240), size(1, 150);
    int checked = 0;
    for (int i = 0; i < 300; ++i)
    {
        const IMPN_Rect r = Rect(pos(random), pos(random), size(random), size(random));
        const std::int64_t left = std::max(r.left, 0), top = std::max(r.top, 0);
        const std::int64_t right = std::min(r.left + r.width, 203);
        const std::int64_t bottom = std::min(r.top + r.height, 117);
        IMPN_InkCoverageCounts counts;
        const bool inside = left < right && top < bottom;
        ASSERT_EQ(counter.CountColumns(r, 1, counts), inside) << r.left << "," << r.top;
        if (!inside)
            continue;
        ++checked;
        EXPECT_EQ(counts.area.left, left);
        EXPECT_EQ(counts.area.width, right - left);
        EXPECT_EQ(counts.area.height, bottom - top);
        ASSERT_EQ(counts.inked[0][0], Oracle(EveryByte, left, top, right, bottom))
            << "rect " << r.top << "," << r.left << "," << r.width << "," << r.height;
    }
    EXPECT_GT(checked, 100);

    // The whole picture: the bits the last tiles hold beyond the picture are not counted.
    IMPN_InkCoverageCounts whole;
    ASSERT_TRUE(counter.CountColumns(Rect(0, 0, 203, 117), 1, whole));
    const std::uint64_t expected = Oracle(EveryByte, 0, 0, 203, 117);
    EXPECT_EQ(whole.inked[0][0], expected);
    EXPECT_DOUBLE_EQ(whole.AreaPercent(0), 100.0 * double(expected) / (203.0 * 117.0));
}

TEST(InkCoverage, RectanglesWhollyOutsideOrEmptyAreRefusedAndLeaveTheCountsAlone)
{
    Inks inks;
    inks.Add(100, 50, EveryByte, 32);
    IMPN_InkCoverage counter(std::move(inks.owned), 0);
    IMPN_InkCoverageCounts counts;
    counts.area = Rect(1, 2, 3, 4);
    EXPECT_FALSE(counter.CountColumns(Rect(50, 0, 10, 10), 1, counts));  // just below
    EXPECT_FALSE(counter.CountColumns(Rect(0, 100, 10, 10), 1, counts)); // just right
    EXPECT_FALSE(counter.CountColumns(Rect(-10, -10, 10, 10), 1, counts));
    EXPECT_FALSE(counter.CountColumns(Rect(0, 0, 0, 10), 1, counts));
    EXPECT_FALSE(counter.CountColumns(Rect(0, 0, 10, 10), 0, counts));
    EXPECT_FALSE(
        counter.CountColumns(Rect(INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX), 1, counts));
    EXPECT_EQ(counts.area, Rect(1, 2, 3, 4));
    EXPECT_TRUE(counter.CountColumns(Rect(49, 99, 10, 10), 1, counts)); // one pixel inside
    EXPECT_EQ(counts.area, Rect(49, 99, 1, 1));
}

TEST(InkCoverage, ZonesSplitAWidthThatTheZoneCountDoesNotDivide)
{
    // W = 100, N = 7: zone k starts at floor(k * 100 / 7), worked out by hand.
    const std::int32_t starts[] = {0, 14, 28, 42, 57, 71, 85, 100};
    // Ink only in the first and last column of each zone: a zone boundary off by one column moves
    // a whole column of ink into the neighbour.
    const BitRule edges = [&](std::uint32_t x, std::uint32_t)
    {
        for (int k = 0; k < 7; ++k)
            if (std::int32_t(x) == starts[k] || std::int32_t(x) == starts[k + 1] - 1)
                return true;
        return false;
    };
    Inks inks;
    inks.Add(100, 40, edges, 16);
    IMPN_InkCoverage counter(std::move(inks.owned), 0);
    IMPN_InkCoverageCounts counts;
    ASSERT_TRUE(counter.CountColumns(Rect(0, 0, 100, 40), 7, counts));
    ASSERT_EQ(counts.Columns(), 7u);
    for (std::size_t k = 0; k < 7; ++k)
    {
        EXPECT_EQ(counts.columnEdges[k], starts[k]);
        EXPECT_EQ(counts.CellPixels(0, k), std::uint64_t(starts[k + 1] - starts[k]) * 40);
        EXPECT_EQ(counts.inked[0][k], 80u) << "zone " << k;
        EXPECT_DOUBLE_EQ(counts.CellPercent(0, 0, k), 200.0 / (starts[k + 1] - starts[k]));
    }

    // More zones than columns: empty zones count nothing and report 0 %, every column is in
    // exactly one zone.
    Inks narrow;
    narrow.Add(
        5, 3, [](std::uint32_t, std::uint32_t) { return true; }, 16);
    IMPN_InkCoverage small(std::move(narrow.owned), 0);
    ASSERT_TRUE(small.CountColumns(Rect(0, 0, 5, 3), 8, counts));
    std::uint64_t sum = 0;
    for (std::size_t k = 0; k < 8; ++k)
    {
        sum += counts.inked[0][k];
        EXPECT_EQ(counts.inked[0][k], counts.CellPixels(0, k));
        if (counts.CellPixels(0, k) == 0)
        {
            EXPECT_EQ(counts.CellPercent(0, 0, k), 0.0);
        }
    }
    EXPECT_EQ(sum, 15u);
}

TEST(InkCoverage, ZonesOfASubRectangleCountFromItsOwnLeftEdge)
{
    Inks inks;
    inks.Add(300, 64, EveryByte, 32);
    IMPN_InkCoverage counter(std::move(inks.owned), 0);
    IMPN_InkCoverageCounts counts;
    // Clipped to columns 5..299 (W = 295) and rows 0..63; 4 zones of 73, 74, 74, 74 columns.
    ASSERT_TRUE(counter.CountColumns(Rect(-3, 5, 400, 70), 4, counts));
    const std::int32_t starts[] = {5, 78, 152, 226, 300};
    for (std::size_t k = 0; k < 4; ++k)
    {
        EXPECT_EQ(counts.columnEdges[k], starts[k]);
        EXPECT_EQ(counts.inked[0][k], Oracle(EveryByte, starts[k], 0, starts[k + 1], 64));
    }
}

TEST(InkCoverage, EachSourceTileIsDecodedOncePerRequestAndKeptWhenCaching)
{
    const BitRule half = [](std::uint32_t x, std::uint32_t y) { return (x + y) % 2 == 0; };
    Inks inks;
    inks.Add(256, 128, half, 32);
    inks.Add(256, 128, EveryByte, 32);
    IMPN_InkCoverage counter(std::move(inks.owned), 0);
    IMPN_InkCoverageCounts counts;
    // 32 zones of 8 columns: four zones in every tile, and 4 x 8 mixed tiles per ink.
    ASSERT_TRUE(counter.CountColumns(Rect(0, 0, 256, 128), 32, counts));
    EXPECT_EQ(inks.Reads(), 2 * 32);
    ASSERT_TRUE(counter.CountCells(Rect(0, 0, 256, 128), 4, counts));
    EXPECT_EQ(inks.Reads(), 4 * 32);

    Inks cachedInks;
    cachedInks.Add(256, 128, half, 32);
    IMPN_InkCoverage cached(std::move(cachedInks.owned), 16);
    ASSERT_TRUE(cached.CountColumns(Rect(10, 10, 40, 40), 1, counts)); // 4 tiles
    EXPECT_EQ(cachedInks.Reads(), 4);
    ASSERT_TRUE(cached.CountColumns(Rect(20, 20, 30, 30), 1, counts));
    EXPECT_EQ(cachedInks.Reads(), 4);
    EXPECT_EQ(counts.inked[0][0], Oracle(half, 20, 20, 50, 50));
    // The cache holds 16 tiles: the whole picture (32) pushes the first ones out.
    ASSERT_TRUE(cached.CountColumns(Rect(0, 0, 256, 128), 1, counts));
    EXPECT_EQ(cachedInks.Reads(), 4 + 28);
    ASSERT_TRUE(cached.CountColumns(Rect(10, 10, 40, 40), 1, counts));
    EXPECT_EQ(cachedInks.Reads(), 4 + 28 + 4);
    EXPECT_EQ(counts.inked[0][0], Oracle(half, 10, 10, 50, 50));
}

TEST(InkCoverage, TotalAddsEveryInkHiddenOrNotAndCellsAddTheChosenOnes)
{
    // Cyan 75 % (3 of every 4 columns), magenta 50 % (every other row), a hidden black solid.
    const BitRule cyan = [](std::uint32_t x, std::uint32_t) { return x % 4 != 0; };
    const BitRule magenta = [](std::uint32_t, std::uint32_t y) { return y % 2 == 0; };
    Inks inks;
    inks.Add(64, 64, cyan, 32);
    inks.Add(64, 64, magenta, 32);
    inks.Add(
            64, 64, [](std::uint32_t, std::uint32_t) { return true; }, 32)
        .visible = false;
    IMPN_InkCoverage counter(std::move(inks.owned), 0);
    IMPN_InkCoverageCounts counts;
    ASSERT_TRUE(counter.CountColumns(Rect(0, 0, 64, 64), 1, counts));
    EXPECT_DOUBLE_EQ(counts.AreaPercent(0), 75.0);
    EXPECT_DOUBLE_EQ(counts.AreaPercent(1), 50.0);
    EXPECT_DOUBLE_EQ(counts.AreaPercent(2), 100.0);
    EXPECT_DOUBLE_EQ(counts.TotalPercent(), 225.0);

    // Cells of 6 pixels cut at the picture's edge (64 = 10 x 6 + 4).
    ASSERT_TRUE(counter.CountCells(Rect(0, 0, 64, 64), 6, counts));
    ASSERT_EQ(counts.Columns(), 11u);
    ASSERT_EQ(counts.Rows(), 11u);
    EXPECT_EQ(counts.CellPixels(10, 10), 16u);
    const std::vector<bool> visible = {true, true, false};
    const std::vector<bool> all = {true, true, true};
    for (std::size_t r = 0; r < 11; ++r)
        for (std::size_t c = 0; c < 11; ++c)
        {
            const std::int64_t x0 = 6 * c, y0 = 6 * r;
            const std::int64_t x1 = std::min<std::int64_t>(x0 + 6, 64);
            const std::int64_t y1 = std::min<std::int64_t>(y0 + 6, 64);
            const std::uint64_t expected =
                Oracle(cyan, x0, y0, x1, y1) + Oracle(magenta, x0, y0, x1, y1);
            ASSERT_EQ(counts.CellInked(r, c, visible), expected) << r << "," << c;
            ASSERT_EQ(counts.CellInked(r, c, all), expected + counts.CellPixels(r, c));
        }
}

TEST(InkCoverage, UnreadableTilesAndMisfitInksAreReportedNotCountedAsInk)
{
    const BitRule solid = [](std::uint32_t, std::uint32_t) { return true; };
    Inks inks;
    inks.Add(64, 64, solid, 32);
    inks.Add(64, 64, solid, 32).failReads = true;
    inks.Add(64, 64, solid, 16); // another tile size: cannot be aligned
    IMPN_InkCoverage counter(std::move(inks.owned), 0);
    IMPN_InkCoverageCounts counts;
    ASSERT_TRUE(counter.CountColumns(Rect(0, 0, 64, 64), 2, counts));
    EXPECT_EQ(counts.unreadTiles, (std::vector<std::uint64_t>{0, 4, 4}));
    EXPECT_DOUBLE_EQ(counts.AreaPercent(0), 100.0);
    EXPECT_EQ(counts.inked[1][0] + counts.inked[1][1], 0u);
    EXPECT_EQ(counts.inked[2][0] + counts.inked[2][1], 0u);

    // A stop from the progress callback ends the count without a result.
    int calls = 0;
    counts.area = Rect(7, 7, 7, 7);
    EXPECT_FALSE(counter.CountColumns(Rect(0, 0, 64, 64), 1, counts,
                                      [&](std::uint64_t done, std::uint64_t total)
                                      {
                                          ++calls;
                                          EXPECT_EQ(total, 4u);
                                          return done < 2;
                                      }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(counts.area, Rect(7, 7, 7, 7));

    IMPN_InkCoverage nothing({}, 0);
    EXPECT_FALSE(nothing.HasPicture());
    EXPECT_FALSE(nothing.CountColumns(Rect(0, 0, 10, 10), 1, counts));
}

TEST(InkCoverage, PreviewFilesAreCountedThroughReadersOfTheirOwn)
{
    // Tile (0, 0) solid, tile (1, 0) every other pixel, the rest blank; G4 compressed.
    IMPN_TestFolder folder;
    IMPN_TestPreview p;
    p.width = 1100;
    p.height = 600;
    p.fill = [](std::uint32_t x0, std::uint32_t y) -> std::uint8_t {
        return y >= 512 ? 0 : x0 < 512 ? 0xFF : x0 < 1024 ? 0xAA : 0x00;
    };
    p.options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
    const std::string path = folder.Write("cyan.tif", p);

    auto counter = IMPN_InkCoverage::FromFiles({path, (folder.Path() / "missing.tif").string()}, 0);
    ASSERT_EQ(counter->GetImageWidth(), 1100u);
    IMPN_InkCoverageCounts counts;
    ASSERT_TRUE(counter->CountColumns(Rect(0, 0, 1100, 600), 3, counts));
    // Zones 0..365, 366..732, 733..1099.
    EXPECT_EQ(counts.inked[0][0], 366u * 512);
    // Solid 366..511 (146 columns) and the even columns 512..732 (111).
    EXPECT_EQ(counts.inked[0][1], (146u + 111) * 512);
    // The even columns 734..1022 (145).
    EXPECT_EQ(counts.inked[0][2], 145u * 512);
    EXPECT_GT(counts.unreadTiles[1], 0u);
}
