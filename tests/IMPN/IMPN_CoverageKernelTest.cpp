#include "IMPN/IMPN_CoverageKernel.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

namespace
{
// The row weights by count of set bits, written out independently of the kernel's tables.
const unsigned kRow2Even[2][3] = {{0, 63, 127}, {0, 64, 128}}; // output pixels 0 and 2
const unsigned kRow2Odd[2][3] = {{0, 64, 128}, {0, 63, 127}};  // output pixels 1 and 3
const unsigned kRow4[4][5] = {
    {0, 16, 32, 47, 64}, {0, 16, 32, 48, 63}, {0, 15, 32, 48, 64}, {0, 16, 31, 48, 64}};

bool Bit(const std::vector<std::uint8_t>& data, std::size_t rowBytes, unsigned x, unsigned y)
{
    return (data[y * rowBytes + x / 8] >> (7 - x % 8)) & 1u;
}

// Coverage of one r x r cell counted bit by bit.
unsigned CountCell(const std::vector<std::uint8_t>& data, std::size_t rowBytes, unsigned r,
                   unsigned cx, unsigned cy)
{
    unsigned value = 0, total = 0;
    for (unsigned row = 0; row < r; ++row)
    {
        unsigned n = 0;
        for (unsigned col = 0; col < r; ++col)
            n += Bit(data, rowBytes, cx * r + col, cy * r + row);
        total += n;
        if (r == 2)
            value += (cx % 2 ? kRow2Odd : kRow2Even)[row][n];
        else if (r == 4)
            value += kRow4[row][n];
    }
    if (r == 1)
        return total ? 255 : 0;
    if (r == 8)
        return total * 255 >> 6;
    return value;
}

void ExpectMatchesBitCount(const std::vector<std::uint8_t>& data, std::size_t rowBytes,
                           unsigned rows, unsigned r)
{
    const unsigned cellsAcross = unsigned(rowBytes) * 8 / r, cellsDown = rows / r;
    std::vector<std::uint8_t> out(cellsAcross * cellsDown, 0xAA);
    IMPN_CoverageKernel::Reduce(r, data.data(), rowBytes, 0, 0, cellsAcross, cellsDown, out.data(),
                                cellsAcross);
    for (unsigned y = 0; y < cellsDown; ++y)
        for (unsigned x = 0; x < cellsAcross; ++x)
            ASSERT_EQ(out[y * cellsAcross + x], CountCell(data, rowBytes, r, x, y))
                << "r=" << r << " cell " << x << "," << y;
}
} // namespace

// Every byte value in every row position of a cell, for each reduction.
TEST(CoverageKernel, TablesMatchBitCountForEveryByteInEveryRow)
{
    for (unsigned r : {1u, 2u, 4u, 8u})
    {
        const unsigned rows = 8;
        const std::size_t rowBytes = 256; // byte value = column of the byte
        for (unsigned inkedRow = 0; inkedRow < rows; ++inkedRow)
        {
            std::vector<std::uint8_t> data(rowBytes * rows, 0);
            for (unsigned b = 0; b < 256; ++b)
                data[inkedRow * rowBytes + b] = std::uint8_t(b);
            ExpectMatchesBitCount(data, rowBytes, rows, r);
        }
    }
}

TEST(CoverageKernel, RandomScreensMatchBitCount)
{
    std::mt19937 random(7);
    for (unsigned r : {1u, 2u, 4u, 8u})
    {
        std::vector<std::uint8_t> data(64 * 64);
        for (auto& b : data)
            b = std::uint8_t(random());
        ExpectMatchesBitCount(data, 64, 64, r);
    }
}

TEST(CoverageKernel, FullCellIsOpaqueAndHalfCellLandsOn127Or128ByRows)
{
    for (unsigned r : {1u, 2u, 4u, 8u})
    {
        std::vector<std::uint8_t> data(8, 0xFF);
        std::uint8_t out = 0;
        IMPN_CoverageKernel::Reduce(r, data.data(), 1, 0, 0, 1, 1, &out, 1);
        EXPECT_EQ(out, 255) << "r=" << r;
    }
    // A 4 x 4 cell with 8 of its 16 pixels inked.
    auto cell = [](std::uint8_t r0, std::uint8_t r1, std::uint8_t r2, std::uint8_t r3)
    {
        std::uint8_t data[4] = {r0, r1, r2, r3}, out = 0;
        IMPN_CoverageKernel::Reduce(4, data, 1, 0, 0, 1, 1, &out, 1);
        return unsigned(out);
    };
    EXPECT_EQ(cell(0xF0, 0xF0, 0x00, 0x00), 127u);
    EXPECT_EQ(cell(0x00, 0x00, 0xF0, 0xF0), 128u);
    EXPECT_EQ(cell(0xC0, 0xC0, 0xC0, 0xC0), 127u);
    EXPECT_EQ(cell(0xF0, 0x00, 0xF0, 0x00), 128u);
}

// Offsets into the data and cell counts that are not a multiple of a byte's cells take the
// tail paths of the kernel.
TEST(CoverageKernel, OffsetsAndOddCellCountsStayInsideTheirCells)
{
    std::mt19937 random(11);
    const std::size_t rowBytes = 8;
    std::vector<std::uint8_t> data(rowBytes * 32);
    for (auto& b : data)
        b = std::uint8_t(random());
    for (unsigned r : {1u, 2u, 4u, 8u})
    {
        const unsigned x0 = 16, y0 = 8;
        const unsigned across = (64 - x0) / r - 1, down = 2;
        std::vector<std::uint8_t> out(across * down + 1, 0x5A);
        IMPN_CoverageKernel::Reduce(r, data.data(), rowBytes, x0, y0, across, down, out.data(),
                                    across);
        EXPECT_EQ(out.back(), 0x5A) << "wrote past its cells, r=" << r;
        for (unsigned y = 0; y < down; ++y)
            for (unsigned x = 0; x < across; ++x)
            {
                // The same cell counted from a copy that starts at the offset.
                std::vector<std::uint8_t> shifted(rowBytes * 32, 0);
                for (unsigned row = 0; row + y0 < 32; ++row)
                    for (unsigned b = 0; b + x0 / 8 < rowBytes; ++b)
                        shifted[row * rowBytes + b] = data[(row + y0) * rowBytes + b + x0 / 8];
                ASSERT_EQ(out[y * across + x], CountCell(shifted, rowBytes, r, x, y))
                    << "r=" << r << " cell " << x << "," << y;
            }
    }
}
