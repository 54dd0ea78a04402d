// The order in which a separation's display colour is decided, and the completion of "PANTONE"
// names.

#include "IMPN/IMPN_ColorDecision.h"

#include <gtest/gtest.h>

namespace
{
using CMYK = std::array<std::uint16_t, 4>;

IMPN_ColorBGR RGB(int r, int g, int b)
{
    return IMPN_MakeColorBGR(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                             static_cast<std::uint8_t>(b));
}

class ColorDecision : public ::testing::Test
{
protected:
    ColorDecision()
    {
        IMPN_ColorDatabase library;
        named185c = IMPN_MakeColorBGR(200, 16, 46);
        named185u = IMPN_MakeColorBGR(230, 60, 80);
        library.Set("PANTONE 185 C", IMPN_ColorEntry::FromBGR(named185c));
        library.Set("PANTONE 185 U", IMPN_ColorEntry::FromBGR(named185u));
        library.Set("PANTONE Reflex Blue CVS", IMPN_ColorEntry::FromBGR(RGB(0, 20, 137)));
        databases.SetNamedColors(library);
        databases.StoreCustomColor("Varnish", RGB(11, 22, 33));
        databases.SetDefaultColor(RGB(153, 153, 153));
    }

    IMPN_ColorDatabases databases;
    IMPN_ColorBGR named185c{};
    IMPN_ColorBGR named185u{};
};
} // namespace

TEST(ColorDecisionNames, PantoneSuffixes)
{
    struct Case
    {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"PANTONE 185", "PANTONE 185 C"},
        {"PANTONE 185 C", "PANTONE 185 C"},
        {"PANTONE 185 U", "PANTONE 185 U"},
        {"PANTONE 185 CVS", "PANTONE 185 CVS"},
        {"PANTONE 185 CVU", "PANTONE 185 U"},
        {"PANTONE 185 CVC", "PANTONE 185 C"},
        {"PANTONE 185 CV", "PANTONE 185 C"},
        {"PANTONE 185 PC", "PANTONE 185 C"},
        {"PANTONE 185 EC", "PANTONE 185 C"},
        // Suffixes are compared exactly: a lower-case one is not a suffix.
        {"PANTONE 185 c", "PANTONE 185 c C"},
        {"PANTONE Warm Red", "PANTONE Warm Red C"},
        // No blank: the whole name is the suffix.
        {"PANTONE", "PANTONE C"},
        // Only the upper-case word triggers the completion.
        {"Pantone 185", "Pantone 185"},
        {"Cyan", "Cyan"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IMPN_ColorDecision::NormalizeName(c.in), c.out) << c.in;
}

TEST_F(ColorDecision, CMYKEquivalentWinsOverANamedColour)
{
    const auto r = IMPN_ColorDecision::Decide("PANTONE 185 C", CMYK{0, 65535, 0, 0},
                                              "PANTONE 185 C", databases);
    EXPECT_TRUE(r.hasCMYKEquivalent);
    EXPECT_EQ(r.cmykEquivalent, (CMYK{0, 65535, 0, 0}));
    EXPECT_EQ(r.color.color, RGB(237, 1, 141));
    EXPECT_EQ(r.color.name, "PANTONE 185 C");
    EXPECT_FALSE(r.color.isDefault);
    EXPECT_EQ(r.color.opacity, 100);
    EXPECT_EQ(r.color.background, RGB(255, 255, 255));
}

TEST_F(ColorDecision, CMYKEquivalentPercentagesAreTruncated)
{
    // 65534 is 99.998 %: 99 % cyan, not 100 %.
    const auto truncated =
        IMPN_ColorDecision::Decide("Ink", CMYK{65534, 0, 0, 0}, "Ink", databases);
    const auto full = IMPN_ColorDecision::Decide("Ink", CMYK{65535, 0, 0, 0}, "Ink", databases);
    EXPECT_EQ(full.color.color, RGB(0, 175, 240));
    EXPECT_NE(truncated.color.color, full.color.color);
}

TEST_F(ColorDecision, CMYKEquivalentWithoutInkNameDoesNotCount)
{
    const auto r =
        IMPN_ColorDecision::Decide(std::nullopt, CMYK{65535, 0, 0, 0}, "Mystery", databases);
    EXPECT_FALSE(r.hasCMYKEquivalent);
    EXPECT_TRUE(r.color.isDefault);
}

TEST_F(ColorDecision, NamedColourUsesTheInkNameOrAQuestionMark)
{
    auto r = IMPN_ColorDecision::Decide("PANTONE 185 C", std::nullopt, "PANTONE 185", databases);
    EXPECT_FALSE(r.hasCMYKEquivalent);
    EXPECT_EQ(r.color.color, named185c);
    EXPECT_EQ(r.color.name, "PANTONE 185 C");
    EXPECT_FALSE(r.color.isDefault);

    // No InkNames tag: the colour is found, the name is unknown.
    r = IMPN_ColorDecision::Decide(std::nullopt, std::nullopt, "PANTONE 185 CVU", databases);
    EXPECT_EQ(r.color.color, named185u);
    EXPECT_EQ(r.color.name, "?");

    r = IMPN_ColorDecision::Decide(std::nullopt, std::nullopt, "PANTONE 185 PC", databases);
    EXPECT_EQ(r.color.color, named185c);
    r = IMPN_ColorDecision::Decide(std::nullopt, std::nullopt, "PANTONE Reflex Blue CVS",
                                   databases);
    EXPECT_EQ(r.color.color, RGB(0, 20, 137));

    // A lower-case process ink finds the built-in.
    r = IMPN_ColorDecision::Decide("cyan", std::nullopt, "cyan", databases);
    EXPECT_EQ(r.color.color, RGB(0, 175, 240));
    EXPECT_EQ(r.color.name, "cyan");
}

TEST_F(ColorDecision, CustomThenDefault)
{
    auto r = IMPN_ColorDecision::Decide("VARNISH-INK", std::nullopt, "varnish", databases);
    EXPECT_EQ(r.color.color, RGB(11, 22, 33));
    // Found among the custom colours under the separation's own name.
    EXPECT_EQ(r.color.name, "varnish");
    EXPECT_FALSE(r.color.isDefault);

    databases.SetDefaultColor(RGB(1, 2, 3));
    r = IMPN_ColorDecision::Decide("Spot 7", std::nullopt, "Die Cut", databases);
    EXPECT_EQ(r.color.color, RGB(1, 2, 3));
    EXPECT_EQ(r.color.name, "Die Cut");
    EXPECT_TRUE(r.color.isDefault);
    EXPECT_EQ(r.color.opacity, 100);

    // Custom colours are looked up under the name as it is, not completed.
    databases.StoreCustomColor("PANTONE 9999", RGB(5, 5, 5));
    r = IMPN_ColorDecision::Decide(std::nullopt, std::nullopt, "PANTONE 9999", databases);
    EXPECT_EQ(r.color.color, RGB(5, 5, 5));
}

TEST(ColorDecisionLab, KnownOnlyWhenTheDecidingEntryIsLab)
{
    IMPN_ColorDatabase library;
    library.Set("PANTONE 185 C", *IMPN_ColorEntry::FromLab(47.9, 70.5, 36.5));
    library.Set("PANTONE 300 C", IMPN_ColorEntry::FromCMYKPercent(100, 44, 0, 0));
    library.Set("Varnish", *IMPN_ColorEntry::FromLab(95, 0, 2));
    IMPN_ColorDatabases databases;
    databases.SetNamedColors(library);
    databases.StoreCustomColor("Gold", RGB(200, 160, 40));

    const auto lab = IMPN_ColorDecision::KnownLab("PANTONE 185", false, databases);
    ASSERT_TRUE(lab);
    // The library keeps L in 1/655.35 and a, b in 1/256 steps.
    EXPECT_NEAR((*lab)[0], 47.9, 0.002);
    EXPECT_NEAR((*lab)[1], 70.5, 0.004);
    EXPECT_NEAR((*lab)[2], 36.5, 0.004);
    // The file's CMYK equivalent decides before any library.
    EXPECT_FALSE(IMPN_ColorDecision::KnownLab("PANTONE 185", true, databases));
    // Entries in other spaces, the built-in process inks (CMYK) and custom RGB colours.
    EXPECT_FALSE(IMPN_ColorDecision::KnownLab("PANTONE 300 C", false, databases));
    EXPECT_FALSE(IMPN_ColorDecision::KnownLab("Cyan", false, databases));
    EXPECT_FALSE(IMPN_ColorDecision::KnownLab("Gold", false, databases));
    EXPECT_FALSE(IMPN_ColorDecision::KnownLab("Unknown Ink", false, databases));
    EXPECT_TRUE(IMPN_ColorDecision::KnownLab("varnish", false, databases));
}
