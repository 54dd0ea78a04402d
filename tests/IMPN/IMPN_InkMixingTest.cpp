#include "IMPN/IMPN_InkMixing.h"

#include <gtest/gtest.h>

TEST(InkMixing, InkAtPercentageOverWhiteAndMixing)
{
    const std::uint8_t cyan[3] = {255, 255, 0}, white[3] = {255, 255, 255};
    std::uint8_t ink[3];
    IMPN_InkMixing::InkAtPercentage(cyan, white, 50, ink);
    EXPECT_EQ(ink[0], 254); // 127 + 127
    EXPECT_EQ(ink[1], 254);
    EXPECT_EQ(ink[2], 127); // 0 + 127
    std::uint8_t pixel[3] = {255, 255, 255};
    IMPN_InkMixing::MixOver(ink, pixel);
    EXPECT_EQ(pixel[2], 127);
    EXPECT_EQ(pixel[0], 254);

    IMPN_InkMixing::InkAtPercentage(cyan, white, 0, ink);
    EXPECT_EQ(ink[2], 255);
    IMPN_InkMixing::InkAtPercentage(cyan, white, 250, ink); // clamped to 100
    EXPECT_EQ(ink[2], 0);

    // White ink leaves every value as it was; black ink takes every value to 0.
    for (unsigned v = 0; v < 256; ++v)
    {
        EXPECT_EQ(IMPN_InkMixing::MixChannel(255, std::uint8_t(v)), v);
        EXPECT_EQ(IMPN_InkMixing::MixChannel(0, std::uint8_t(v)), 0);
    }
}

TEST(InkMixing, CoverageInksFollowOpacityTimesCoverage)
{
    const std::uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
    IMPN_InkMixing::CoverageInks inks;
    IMPN_InkMixing::BuildCoverageInks(black, white, 60, inks);
    EXPECT_EQ(inks[0][0], 255);
    EXPECT_EQ(inks[255][0], 102); // 60 %: 255 x 40 / 100
    EXPECT_EQ(inks[128][1], 178); // floor(60 x 128 / 255) = 30 %: 255 x 70 / 100 = 178.5
}
