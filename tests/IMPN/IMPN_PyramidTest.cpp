#include "IMPN/IMPN_Pyramid.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Pyramid, AveragesBlocksAndCountsOnlyPixelsInsideAnOddPicture)
{
    // 3 x 3 source: 2 x 2 output; the last column and row average only inside pixels.
    const std::uint8_t v[3][3] = {{0, 100, 30}, {40, 200, 90}, {60, 10, 255}};
    std::vector<std::uint8_t> src(3 * 3 * 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            for (int c = 0; c < 3; ++c)
                src[(y * 3 + x) * 3 + c] = v[y][x];
    std::vector<std::uint8_t> dst(2 * 2 * 3 + 3, 7);
    IMPN_Pyramid::Halve(src.data(), 9, 3, 3, dst.data(), 6, 2, 2);
    EXPECT_EQ(dst[0], (0 + 100 + 40 + 200) >> 2);
    EXPECT_EQ(dst[3], (30 + 90) / 2);
    EXPECT_EQ(dst[6], (60 + 10) / 2);
    EXPECT_EQ(dst[9], 255);
    EXPECT_EQ(dst[12], 7); // nothing written past the output
}
