// Coverage counted from run lengths against the bit kernel on the same tile filled in: the two
// must agree cell for cell, whatever the runs.

#include "IMPN/IMPN_RunCoverage.h"
#include "IMPN/IMPN_CoverageKernel.h"

#include "KRN_TestRuns.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

namespace
{
// A tile given as rows of runs; rows missing at the end were never decoded.
struct RunTile
{
    std::uint32_t width = 0, length = 0;
    std::vector<std::vector<std::uint32_t>> rows;
};

RunTile FromBits(const std::vector<std::uint8_t>& bits, std::uint32_t width, std::uint32_t length)
{
    RunTile tile{width, length, {}};
    for (std::uint32_t y = 0; y < length; ++y)
        tile.rows.push_back(KRN_TestRowRuns(bits.data() + std::size_t(y) * width / 8, width));
    return tile;
}

// Counts the runs and compares every cell with Reduce over the filled tile, and the inked
// pixels with the filled tile's set bits.
void ExpectSameAsBits(const RunTile& tile, unsigned r, const char* what)
{
    const std::size_t rowBytes = tile.width / 8;
    std::vector<std::uint8_t> bits(rowBytes * tile.length, 0);
    for (std::size_t y = 0; y < tile.rows.size(); ++y)
        KRN_TestFillRow(bits.data() + y * rowBytes, tile.width, tile.rows[y].data(),
                        tile.rows[y].size());
    const std::uint32_t across = tile.width / r, down = tile.length / r;
    std::vector<std::uint8_t> expected(std::size_t(across) * down, 0);
    IMPN_CoverageKernel::Reduce(r, bits.data(), rowBytes, 0, 0, across, down, expected.data(),
                                across);
    std::uint64_t setBits = 0;
    for (std::uint8_t b : bits)
        setBits += std::popcount(unsigned(b));

    IMPN_RunCoverage counter;
    ASSERT_TRUE(counter.Begin(r, tile.width, tile.length));
    for (std::size_t y = 0; y < tile.rows.size(); ++y)
        counter.AddRow(std::uint32_t(y), tile.rows[y].data(), tile.rows[y].size(), tile.width);
    counter.Finish();
    ASSERT_EQ(counter.GetCellsAcross(), across);
    ASSERT_EQ(counter.GetCellsDown(), down);
    EXPECT_EQ(counter.GetInkedPixels(), setBits) << what << " r=" << r;
    for (std::uint32_t y = 0; y < down; ++y)
        for (std::uint32_t x = 0; x < across; ++x)
            ASSERT_EQ(counter.GetCells()[std::size_t(y) * across + x],
                      expected[std::size_t(y) * across + x])
                << what << " r=" << r << " cell " << x << "," << y;
}

// An amplitude-modulated screen: round dots on a grid of `period` pixels at `angle` degrees,
// sized for about `percent` coverage.
std::vector<std::uint8_t> Screen(std::uint32_t width, std::uint32_t length, double period,
                                 double angle, double percent)
{
    std::vector<std::uint8_t> bits(std::size_t(width / 8) * length, 0);
    const double c = std::cos(angle * M_PI / 180), s = std::sin(angle * M_PI / 180);
    const double radius = period * std::sqrt(percent / 100 / M_PI);
    for (std::uint32_t y = 0; y < length; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
        {
            const double u = (x * c + y * s) / period, v = (y * c - x * s) / period;
            const double du = (u - std::floor(u) - 0.5) * period;
            const double dv = (v - std::floor(v) - 0.5) * period;
            if (du * du + dv * dv < radius * radius)
                bits[std::size_t(y) * (width / 8) + x / 8] |= std::uint8_t(0x80u >> (x % 8));
        }
    return bits;
}
} // namespace

// Runs of every length mix: zero-length runs, runs far past the row's end, an odd or even count,
// rows that stop early and tiles whose last rows were never decoded.
TEST(RunCoverage, RandomRunsCountAsTheirFilledBits)
{
    std::mt19937 random(21);
    const std::uint32_t sizes[][2] = {{16, 16}, {64, 48}, {96, 32}, {512, 512}};
    for (unsigned r : {2u, 4u, 8u})
        for (const auto& size : sizes)
            for (int n = 0; n < 12; ++n)
            {
                RunTile tile{size[0], size[1], {}};
                const std::uint32_t rows =
                    n % 4 == 3 ? std::uniform_int_distribution<std::uint32_t>(0, size[1])(random)
                               : size[1];
                const std::uint32_t longest = n % 3 == 0 ? 3 : n % 3 == 1 ? 12 : 70;
                for (std::uint32_t y = 0; y < rows; ++y)
                {
                    std::vector<std::uint32_t> runs;
                    std::uint32_t sum = 0;
                    const bool stopEarly = random() % 16 == 0;
                    while (sum < size[0] && !(stopEarly && sum > size[0] / 2))
                    {
                        std::uint32_t length =
                            std::uniform_int_distribution<std::uint32_t>(0, longest)(random);
                        if (random() % 64 == 0)
                            length = size[0] * 2 + 5; // cut at the row's end
                        runs.push_back(length);
                        sum += length;
                    }
                    if (random() % 8 == 0)
                        runs.push_back(7); // past the end already
                    tile.rows.push_back(std::move(runs));
                }
                ExpectSameAsBits(tile, r, "random");
            }
}

TEST(RunCoverage, DenseScreensCountAsTheirBits)
{
    for (unsigned r : {2u, 4u, 8u})
        for (double percent : {45.0, 50.0, 55.0})
            for (double angle : {0.0, 15.0, 45.0, 75.0})
                ExpectSameAsBits(FromBits(Screen(512, 512, 7.3, angle, percent), 512, 512), r,
                                 "screen");
}

// Every byte value at the left and right edges of the tile and across the middle byte boundary,
// in every row of the first and the last row of cells, next to all-white and all-black rows.
TEST(RunCoverage, EveryBytePatternAtTheTileEdgesCountsAsItsBits)
{
    const std::uint32_t width = 64, length = 16, rowBytes = width / 8;
    for (unsigned r : {2u, 4u, 8u})
        for (std::uint32_t row : {0u, 1u, r - 1, length - r, length - 2, length - 1})
            for (unsigned b = 0; b < 256; ++b)
            {
                std::vector<std::uint8_t> bits(rowBytes * length, 0);
                std::uint8_t* p = bits.data() + row * rowBytes;
                p[0] = std::uint8_t(b);
                p[3] = std::uint8_t(~b);
                p[4] = std::uint8_t(b);
                p[rowBytes - 1] = std::uint8_t(b);
                // A neighbouring all-black row, and the rest white.
                const std::uint32_t other = row == 0 ? 1 : row - 1;
                for (std::uint32_t i = 0; i < rowBytes; ++i)
                    bits[other * rowBytes + i] = 0xFF;
                ExpectSameAsBits(FromBits(bits, width, length), r, "edge byte");
                if (::testing::Test::HasFailure())
                    return;
            }
}

TEST(RunCoverage, SolidAndBlankTilesAndRowsNeverDecoded)
{
    const std::uint32_t width = 32, length = 16;
    for (unsigned r : {2u, 4u, 8u})
    {
        IMPN_RunCoverage counter;
        ASSERT_TRUE(counter.Begin(r, width, length));
        const std::uint32_t solid[] = {0, width};
        for (std::uint32_t y = 0; y < length; ++y)
            counter.AddRow(y, solid, 2, width);
        counter.Finish();
        EXPECT_EQ(counter.GetInkedPixels(), counter.GetTilePixels());
        for (std::uint32_t i = 0; i < counter.GetCellsAcross() * counter.GetCellsDown(); ++i)
            ASSERT_EQ(counter.GetCells()[i], 255) << "r=" << r;

        // Nothing decoded: no ink at all, and what an earlier tile counted is gone.
        ASSERT_TRUE(counter.Begin(r, width, length));
        counter.Finish();
        EXPECT_EQ(counter.GetInkedPixels(), 0u);
        for (std::uint32_t i = 0; i < counter.GetCellsAcross() * counter.GetCellsDown(); ++i)
            ASSERT_EQ(counter.GetCells()[i], 0) << "r=" << r;

        // A row reported twice or out of order counts once; rows past the tile not at all.
        ASSERT_TRUE(counter.Begin(r, width, length));
        counter.AddRow(1, solid, 2, width);
        counter.AddRow(1, solid, 2, width);
        counter.AddRow(0, solid, 2, width);
        counter.AddRow(length, solid, 2, width);
        EXPECT_EQ(counter.GetInkedPixels(), width);
    }
}

TEST(RunCoverage, RefusesReductionsAndSizesItCannotCount)
{
    IMPN_RunCoverage counter;
    EXPECT_FALSE(counter.Begin(1, 64, 64));
    EXPECT_FALSE(counter.Begin(16, 64, 64));
    EXPECT_FALSE(counter.Begin(8, 60, 64));
    EXPECT_FALSE(counter.Begin(8, 72, 64)); // an odd number of cells across
    EXPECT_FALSE(counter.Begin(4, 64, 0));
    const std::uint32_t runs[] = {0, 64};
    counter.AddRow(0, runs, 2, 64); // ignored, nothing begun
    EXPECT_EQ(counter.GetInkedPixels(), 0u);
    EXPECT_TRUE(counter.Begin(8, 64, 64));
}
