#include "IMPN/IMPN_Palette.h"
#include "IMPN/IMPN_InkMixing.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Palette, EntriesMixInksInSeparationOrderOverThePaper)
{
    const std::uint8_t paper[3] = {200, 220, 240};
    std::vector<IMPN_PaletteInk> inks(3);
    inks[0].colour[0] = 255;
    inks[0].colour[1] = 255;
    inks[0].colour[2] = 0; // cyan
    inks[1].colour[0] = 255;
    inks[1].colour[1] = 0;
    inks[1].colour[2] = 255; // magenta
    inks[2].opacity = 50;    // black at 50 %
    IMPN_Palette palette;
    palette.Build(paper, inks);
    EXPECT_EQ(palette.Count(), 8);
    const std::uint8_t* e = palette.Entries();
    EXPECT_EQ(e[0], 200);
    EXPECT_EQ(e[1], 220);
    EXPECT_EQ(e[2], 240);
    for (int i = 1; i < 8; ++i)
    {
        std::uint8_t expected[3] = {paper[0], paper[1], paper[2]};
        for (int k = 0; k < 3; ++k)
            if (i & (1 << k))
            {
                std::uint8_t shown[3];
                IMPN_InkMixing::InkAtPercentage(inks[k].colour, inks[k].background, inks[k].opacity,
                                                shown);
                IMPN_InkMixing::MixOver(shown, expected);
            }
        EXPECT_EQ(e[3 * i], expected[0]) << i;
        EXPECT_EQ(e[3 * i + 1], expected[1]) << i;
        EXPECT_EQ(e[3 * i + 2], expected[2]) << i;
    }
    EXPECT_EQ(e[3 * 3 + 2], 0); // cyan over magenta: no red left
}

// Mixing the paper colour over itself would darken coloured paper where a hidden ink has
// pixels; a hidden ink must leave its entries exactly as they are without it.
TEST(Palette, HiddenInkAddsNothingEvenOnColouredPaper)
{
    const std::uint8_t paper[3] = {128, 200, 64};
    std::vector<IMPN_PaletteInk> inks(2);
    inks[1].visible = false;
    IMPN_Palette palette;
    palette.Build(paper, inks);
    const std::uint8_t* e = palette.Entries();
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(e[3 * 2 + c], paper[c]); // only the hidden ink
        EXPECT_EQ(e[3 * 3 + c], e[3 * 1 + c]);
    }
    const std::uint32_t first = palette.Stamp();
    palette.Build(paper, inks);
    EXPECT_GT(palette.Stamp(), first);
}

TEST(Palette, NineInksAreLimitedTo256Entries)
{
    const std::uint8_t paper[3] = {255, 255, 255};
    IMPN_Palette palette;
    palette.Build(paper, std::vector<IMPN_PaletteInk>(9));
    EXPECT_EQ(palette.Count(), 256);
    EXPECT_EQ(palette.Entries()[3 * 255], 0);
    palette.Build(paper, {});
    EXPECT_EQ(palette.Count(), 1);
}
