// The total-ink limit over a measuring area on four-ink files. At 2540 dpi a 0.5 mm area is a
// cell of 50 pixels and 3 mm are 300 pixels, so a patch can be placed on whole cells.

#include "IMPN/IMPN_InkLimit.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNWriter.h"

#include "KRN_TestFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
constexpr std::uint32_t kWidth = 1000, kLength = 800; // 20 x 16 cells of 50 pixels

using Rule = std::function<bool(std::uint32_t x, std::uint32_t y, int ink)>;

// Every ink the same checkerboard of 4 x 4 blocks: each 4 x 4 cell is 400 % or paper, while any
// cell of 50 pixels holds 50 % (+- 0.1 %) of each ink, about 200 % in all.
bool Uniform(std::uint32_t x, std::uint32_t y, int)
{
    return ((x / 4 + y / 4) & 1u) == 0;
}

struct Job
{
    KRN_TestFolder folder{"ink-limit"};
    std::vector<std::unique_ptr<IMPN_CellCoverage>> inks;

    Job(const Rule& rule, unsigned readers)
    {
        for (int k = 0; k < 4; ++k)
        {
            TIFX_KRNWriterOptions options;
            options.resolution = 2540.0f;
            TIFX_KRNWriter writer(options);
            writer.SetMainImage(kWidth, kLength,
                                [&](std::uint32_t x0, std::uint32_t y0, std::uint8_t* tile)
                                {
                                    for (std::uint32_t y = 0; y < 512; ++y)
                                        for (std::uint32_t x = 0; x < 512; ++x)
                                            if (x0 + x < kWidth && y0 + y < kLength &&
                                                rule(x0 + x, y0 + y, k))
                                                tile[y * 64 + x / 8] |= 0x80u >> (x % 8);
                                });
            const std::string path =
                (folder.Path() / ("ink" + std::to_string(k) + ".tif")).string();
            writer.Write(path);
            inks.push_back(std::make_unique<IMPN_CellCoverage>(path, readers));
        }
    }
    std::vector<IMPN_CellCoverage*> Raw() const
    {
        std::vector<IMPN_CellCoverage*> raw;
        for (const auto& ink : inks)
            raw.push_back(ink.get());
        return raw;
    }
};
} // namespace

TEST(InkLimit, CellSideIsTheAreaInDevicePixelsHalvesUpAtLeastFour)
{
    const struct
    {
        int area;
        double resolution;
        std::uint32_t side;
    } cases[] = {
        {500, 2540, 50},
        {500, 2400, 47},
        {127, 2500, 13}, // 12.5 goes up
        {100, 600, 4},
        {5000, 2400, 472},
        {500, 600.5, 12},
        {500, 0, 0},
        {500, -2400, 0},
        {0, 2400, 0},
        {500, std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IMPN_InkLimit::CellSide(c.area, c.resolution), c.side)
            << c.area << " um at " << c.resolution << " dpi";
    // Exactly at the limit is not over it; one pixel more is.
    EXPECT_FALSE(IMPN_InkLimit::IsOver(2500, 1000, 25000));
    EXPECT_TRUE(IMPN_InkLimit::IsOver(2501, 1000, 25000));
    EXPECT_TRUE(IMPN_InkLimit::IsOver(std::uint64_t(8) << 40, std::uint64_t(1) << 40, 79999));
}

// A 200 % area under a 250 % limit has no cell over it, although its dots overlap to 400 % in
// half of its pixels; a 3 mm patch of 100 % in every ink puts exactly its own cells over.
TEST(InkLimit, AUniformScreenUnderTheLimitHasNoOverCellAndAPatchExactlyItsCells)
{
    IMPN_WorkerPool pool(2);
    Job uniform(Uniform, 3);
    IMPN_InkLimit::Map map;
    ASSERT_TRUE(IMPN_InkLimit::Count(uniform.Raw(), IMPN_InkLimit::CellSide(500, 2540),
                                     std::nullopt, 25000, &pool, map));
    EXPECT_EQ(map.columns, 20u);
    EXPECT_EQ(map.rows, 16u);
    EXPECT_EQ(map.overCells, 0u);
    EXPECT_TRUE(map.failures.empty());
    // Cells of a screen's own size are dot or paper: half of them read 400 %.
    ASSERT_TRUE(IMPN_InkLimit::Count(uniform.Raw(), 4, std::nullopt, 25000, &pool, map));
    EXPECT_EQ(map.overCells, 250u * 200u / 2u);

    // The patch: columns 200..499, rows 150..449, cells 4..9 across and 3..8 down.
    Job patched([](std::uint32_t x, std::uint32_t y, int ink)
                { return (x >= 200 && x < 500 && y >= 150 && y < 450) || Uniform(x, y, ink); },
                1);
    ASSERT_TRUE(IMPN_InkLimit::Count(patched.Raw(), 50, std::nullopt, 25000, nullptr, map));
    EXPECT_EQ(map.overCells, 36u);
    for (std::size_t r = 0; r < map.rows; ++r)
        for (std::size_t c = 0; c < map.columns; ++c)
            EXPECT_EQ(map.IsOverAt(c, r), c >= 4 && c < 10 && r >= 3 && r < 9) << c << "," << r;

    // Cells a patch covers in part are over when its share lifts them past the limit: 200 % +
    // 200 % x share > 250 % for a share above a quarter. Counted in a rectangle, the cells are
    // the grid's and the rectangle cuts those at its edges.
    Job shifted([](std::uint32_t x, std::uint32_t y, int ink)
                { return (x >= 215 && x < 515 && y >= 150 && y < 450) || Uniform(x, y, ink); },
                2);
    IMPN_Rect rect;
    rect.left = 150;
    rect.top = 100;
    rect.width = 400;
    rect.height = 400;
    ASSERT_TRUE(IMPN_InkLimit::Count(shifted.Raw(), 50, rect, 25000, &pool, map));
    EXPECT_EQ(map.firstColumn, 3u);
    EXPECT_EQ(map.firstRow, 2u);
    ASSERT_EQ(map.columns, 8u); // 150..199, 200..249, ... 500..549
    for (std::size_t c = 0; c < map.columns; ++c)
    {
        // Columns 200..249 hold 35 of the patch's (70 %), 500..549 hold 15 (30 %): both over.
        const bool over = c >= 1 && c <= 7;
        EXPECT_EQ(map.IsOverAt(c, 3), over) << c;
    }
    EXPECT_FALSE(map.IsOverAt(1, 0)); // rows 100..149: no patch

    // Inks of different sizes cannot be added up.
    KRN_TestFolder other("ink-limit-other");
    TIFX_KRNWriter small;
    small.SetMainImage(500, 400, [](std::uint32_t, std::uint32_t, std::uint8_t*) {});
    const std::string smallPath = (other.Path() / "small.tif").string();
    small.Write(smallPath);
    IMPN_CellCoverage smallInk(smallPath);
    std::vector<IMPN_CellCoverage*> mixed = uniform.Raw();
    mixed.push_back(&smallInk);
    EXPECT_FALSE(IMPN_InkLimit::Count(mixed, 50, std::nullopt, 25000, nullptr, map));
    EXPECT_TRUE(map.over.empty());
}
