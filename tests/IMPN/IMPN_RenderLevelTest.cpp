#include "IMPN/IMPN_RenderLevel.h"

#include <gtest/gtest.h>

TEST(RenderLevel, ScaleRoundsHalvesToEvenSymmetrically)
{
    EXPECT_EQ(IMPN_RenderLevel::Scale(3, 0), 24);
    EXPECT_EQ(IMPN_RenderLevel::Scale(-3, 1), -12);
    EXPECT_EQ(IMPN_RenderLevel::Scale(24, 7), 2); // 1.5
    EXPECT_EQ(IMPN_RenderLevel::Scale(40, 7), 2); // 2.5
    EXPECT_EQ(IMPN_RenderLevel::Scale(56, 7), 4); // 3.5
    EXPECT_EQ(IMPN_RenderLevel::Scale(-40, 7), -2);
    EXPECT_EQ(IMPN_RenderLevel::Scale(-56, 7), -4);
    EXPECT_EQ(IMPN_RenderLevel::Scale(41, 7), 3);
    EXPECT_EQ(IMPN_RenderLevel::Scale(255, 12), 0); // just below half of 512
    EXPECT_EQ(IMPN_RenderLevel::Scale(257, 12), 1);
    EXPECT_EQ(IMPN_RenderLevel::Scale(0x7FFFFFFF, 12), 4194304);
}

TEST(RenderLevel, TileSizesAreLimitedAndMergeFactorsDoubleBelowOneToEight)
{
    IMPN_RenderLevel levels[IMPN_RenderLevel::kLevelCount];
    IMPN_RenderLevel::Compute(16384, 10000, 512, 512, levels);
    const int tile[] = {512, 512, 512, 512, 256, 128, 64, 64, 64, 64, 64, 64, 64};
    const int merge[] = {1, 1, 1, 1, 1, 1, 1, 2, 4, 8, 16, 32, 64};
    for (int i = 0; i < IMPN_RenderLevel::kLevelCount; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(levels[i].tileWidth, tile[i]);
        EXPECT_EQ(levels[i].tileHeight, tile[i]);
        EXPECT_EQ(levels[i].mergeFactor, merge[i]);
        EXPECT_EQ(levels[i].width, IMPN_RenderLevel::Scale(16384, i));
        EXPECT_EQ(levels[i].height, IMPN_RenderLevel::Scale(10000, i));
        EXPECT_EQ(levels[i].tilesAcross, (levels[i].width + tile[i] - 1) / tile[i]);
        EXPECT_EQ(levels[i].tilesDown, (levels[i].height + tile[i] - 1) / tile[i]);
    }
    EXPECT_EQ(levels[6].width, 2048);
    EXPECT_EQ(levels[6].tilesAcross, 32);
    EXPECT_EQ(levels[12].width, 32);
    EXPECT_EQ(levels[12].height, 20); // 19.53 rounds up
    EXPECT_EQ(levels[12].tilesAcross, 1);
}

TEST(RenderLevel, EmptyOrUnaddressablePicturesHaveNoTiles)
{
    IMPN_RenderLevel levels[IMPN_RenderLevel::kLevelCount];
    IMPN_RenderLevel::Compute(0, 100, 512, 512, levels);
    for (const IMPN_RenderLevel& l : levels)
        EXPECT_EQ(l.tilesAcross * l.tilesDown, 0);
    // 2^30 pixels across do not fit 32 bits at 8:1, 4:1 and 2:1.
    IMPN_RenderLevel::Compute(std::int64_t(1) << 30, 512, 512, 512, levels);
    EXPECT_EQ(levels[0].tilesAcross, 0);
    EXPECT_EQ(levels[1].tilesAcross, 0);
    EXPECT_EQ(levels[3].width, 1 << 30);
    // A picture just inside 32 bits whose last tile would reach past it is not addressed.
    IMPN_RenderLevel::Compute(268435455, 512, 512, 512, levels);
    EXPECT_EQ(levels[0].tilesAcross, 0);
    EXPECT_EQ(levels[1].width, 1073741820);
}
