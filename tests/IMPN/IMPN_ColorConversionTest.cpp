// Colour arithmetic pinned with values worked out from the formulas by hand (CMYK) and by an
// independent double-precision evaluation (L*a*b*).

#include "IMPN/IMPN_ColorConversion.h"
#include "IMPN/IMPN_ColorEntry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
struct RGB
{
    int red, green, blue;
};

void ExpectRGB(const IMPN_ColorBGR& bgr, RGB expected)
{
    EXPECT_EQ(bgr[2], expected.red);
    EXPECT_EQ(bgr[1], expected.green);
    EXPECT_EQ(bgr[0], expected.blue);
}

struct CMYKCase
{
    int c, m, y, k;
    RGB rgb;
};

class ColorConversion_CMYK : public ::testing::TestWithParam<CMYKCase>
{
};
} // namespace

TEST_P(ColorConversion_CMYK, MatchesHandWorkedValue)
{
    const CMYKCase& p = GetParam();
    ExpectRGB(IMPN_ColorConversion::CMYKToRGB(p.c, p.m, p.y, p.k), p.rgb);
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, ColorConversion_CMYK,
    ::testing::Values(
        // Paper stays paper.
        CMYKCase{0, 0, 0, 0, {255, 255, 255}},
        // Pure cyan: C 255 alone; the correction adds 80 of magenta and 15 of yellow.
        CMYKCase{100, 0, 0, 0, {0, 175, 240}},
        // Pure magenta: 18 of cyan and 114 of yellow are added, magenta loses one step.
        CMYKCase{0, 100, 0, 0, {237, 1, 141}},
        // Full black must be black: with 100 x 2.55 in floating point it would come out 1, 1, 1.
        CMYKCase{0, 0, 0, 100, {0, 0, 0}},
        // A mid grey: equal channels leave the correction weights at 0.
        CMYKCase{0, 0, 0, 50, {128, 128, 128}},
        // Values above 100 % are full ink, not a wrap-around.
        CMYKCase{0, 0, 0, 250, {0, 0, 0}}));

TEST(ColorConversion, CMYKEquivalentPercentIsExactAtTheEnds)
{
    EXPECT_EQ(IMPN_ColorConversion::CMYKEquivalentToPercent(0), 0);
    EXPECT_EQ(IMPN_ColorConversion::CMYKEquivalentToPercent(65535), 100);
    // 655 x 100 / 65535 = 0.9995...: truncated, not rounded.
    EXPECT_EQ(IMPN_ColorConversion::CMYKEquivalentToPercent(655), 0);
    EXPECT_EQ(IMPN_ColorConversion::CMYKEquivalentToPercent(656), 1);
    EXPECT_EQ(IMPN_ColorConversion::CMYKEquivalentToPercent(32767), 49);
}

namespace
{
struct LabCase
{
    double l, a, b;
    std::uint16_t lUnits, aUnits, bUnits;
    RGB rgb;
};

class ColorConversion_Lab : public ::testing::TestWithParam<LabCase>
{
};
} // namespace

TEST_P(ColorConversion_Lab, UnitsAndDisplayColor)
{
    const LabCase& p = GetParam();
    const auto entry = IMPN_ColorEntry::FromLab(p.l, p.a, p.b);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->Space(), IMPN_ColorSpace::Lab);
    EXPECT_EQ(entry->LabUnits()[0], p.lUnits);
    EXPECT_EQ(entry->LabUnits()[1], p.aUnits);
    EXPECT_EQ(entry->LabUnits()[2], p.bUnits);
    ExpectRGB(entry->DisplayColor(), p.rgb);
    ExpectRGB(IMPN_ColorConversion::LabToRGB(p.lUnits, p.aUnits, p.bUnits), p.rgb);
}

INSTANTIATE_TEST_SUITE_P(
    Evaluated, ColorConversion_Lab,
    ::testing::Values(
        // D50 white lands a hair below 1.0 in blue.
        LabCase{100, 0, 0, 65535, 32768, 32768, {255, 255, 254}},
        LabCase{0, 0, 0, 0, 32768, 32768, {0, 0, 0}},
        // 50 x 655.35 is 32767.4999...: truncated to 32767.
        LabCase{50, 0, 0, 32767, 32768, 32768, {118, 118, 118}},
        LabCase{49.5, 72.25, 43.5, 32439, 51264, 43904, {231, 25, 48}},
        // Out of gamut: negative green clamped to 0, blue above 1 clamped to 255.
        LabCase{50, 80, -100, 32767, 53248, 7168, {179, 0, 255}},
        LabCase{90, -100, 100, 58981, 7168, 58368, {0, 255, 0}},
        LabCase{30, 100, 100, 19660, 58368, 58368, {198, 0, 0}}));

TEST(ColorConversion, LabUnitsClampInsteadOfWrapping)
{
    // L above 100 would wrap past 65535 into a dark colour; a and b beyond +-128 likewise.
    const auto bright = IMPN_ColorEntry::FromLab(101, 200, -300);
    ASSERT_TRUE(bright.has_value());
    EXPECT_EQ(bright->LabUnits()[0], 65535);
    EXPECT_EQ(bright->LabUnits()[1], 65535);
    EXPECT_EQ(bright->LabUnits()[2], 0);
    const auto below = IMPN_ColorEntry::FromLab(-5, 0, 0);
    ASSERT_TRUE(below.has_value());
    EXPECT_EQ(below->LabUnits()[0], 0);
    const auto infinite = IMPN_ColorEntry::FromLab(std::numeric_limits<double>::infinity(), 0, 0);
    ASSERT_TRUE(infinite.has_value());
    EXPECT_EQ(infinite->LabUnits()[0], 65535);

    EXPECT_FALSE(IMPN_ColorEntry::FromLab(std::nan(""), 0, 0).has_value());
    EXPECT_FALSE(IMPN_ColorEntry::FromCMYK(0, 0, std::nan(""), 0).has_value());
    EXPECT_FALSE(IMPN_ColorEntry::FromRGB(0, std::nan(""), 0).has_value());
}

TEST(ColorConversion, CMYKAndRGBRealsTruncateAndClamp)
{
    const auto cmyk = IMPN_ColorEntry::FromCMYK(99.9, -3, 250, 0.5);
    ASSERT_TRUE(cmyk.has_value());
    EXPECT_EQ(cmyk->CMYKPercent(), (std::array<std::uint8_t, 4>{99, 0, 100, 0}));
    const auto rgb = IMPN_ColorEntry::FromRGB(255.9, 300, -1);
    ASSERT_TRUE(rgb.has_value());
    ExpectRGB(rgb->BGR(), {255, 255, 0});
    // An RGB entry is shown as it is.
    ExpectRGB(IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(12, 34, 56)).DisplayColor(), {12, 34, 56});
}

TEST(ColorConversion, ShownAtOpacityOverWhite)
{
    const IMPN_ColorBGR white{255, 255, 255};
    const IMPN_ColorBGR color = IMPN_MakeColorBGR(200, 100, 0);
    ExpectRGB(IMPN_ColorConversion::ShownAtOpacity(color, 100, white), {200, 100, 0});
    ExpectRGB(IMPN_ColorConversion::ShownAtOpacity(color, 0, white), {255, 255, 255});
    // 200 x 33 / 100 = 66, 255 x 67 / 100 = 170.85 -> 170: each product truncated on its own.
    ExpectRGB(IMPN_ColorConversion::ShownAtOpacity(color, 33, white), {236, 203, 170});
    // Out-of-range opacities are taken as the nearest end.
    ExpectRGB(IMPN_ColorConversion::ShownAtOpacity(color, 150, white), {200, 100, 0});
    ExpectRGB(IMPN_ColorConversion::ShownAtOpacity(color, -1, white), {255, 255, 255});

    IMPN_ColorRecord record;
    record.color = color;
    record.opacity = 50;
    // 200/2 + 127, 100/2 + 127, 0 + 127.
    ExpectRGB(record.Shown(), {227, 177, 127});
}
