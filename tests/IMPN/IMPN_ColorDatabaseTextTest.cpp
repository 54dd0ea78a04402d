// The text form of colour databases and the shipped spot-colour library built from it.

#include "IMPN/IMPN_ColorDatabaseText.h"
#include "IMPN/IMPN_ColorDecision.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
int ErrorLine(std::string_view text)
{
    try
    {
        IMPN_ColorDatabaseText::Parse(text);
    }
    catch (const IMPN_ColorDatabaseText::ParseError& e)
    {
        return e.Line();
    }
    return 0;
}

std::string ShippedLibraryText()
{
    const auto path =
        std::filesystem::path(KRN_SOURCE_DIR) / "data" / "colordb" / "Pantone.colordb.txt";
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(ColorDatabaseText, ParsesEntriesCommentsAndEscapes)
{
    const IMPN_ColorDatabase db =
        IMPN_ColorDatabaseText::Parse("# a library\n"
                                      "\n"
                                      "  \"PANTONE 185 C\"\tlab 47.8 73.8 44.7\r\n"
                                      "\"Warm \\\"Grey\\\"\" CMYK 0 10 20 40\n"
                                      "\"back\\\\slash\" Rgb 230 0 35.9\n"
                                      "\"tab\\x09here\" RGB 1 2 3");
    ASSERT_EQ(db.Size(), 4u);
    ASSERT_NE(db.Find("pantone 185 c"), nullptr);
    EXPECT_EQ(*db.Find("PANTONE 185 C"), *IMPN_ColorEntry::FromLab(47.8, 73.8, 44.7));
    EXPECT_EQ(*db.Find("Warm \"Grey\""), IMPN_ColorEntry::FromCMYKPercent(0, 10, 20, 40));
    EXPECT_EQ(*db.Find("back\\slash"), IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(230, 0, 35)));
    EXPECT_TRUE(db.Contains("tab\there"));
}

TEST(ColorDatabaseText, ReportsTheFirstBadLine)
{
    EXPECT_EQ(ErrorLine("\"ok\" RGB 1 2 3\nno quotes RGB 1 2 3\n"), 2);
    EXPECT_EQ(ErrorLine("\n\n\"open RGB 1 2 3\n"), 3);
    EXPECT_EQ(ErrorLine("\"x\" HSV 1 2 3"), 1);
    EXPECT_EQ(ErrorLine("\"x\""), 1);
    EXPECT_EQ(ErrorLine("\"x\" CMYK 1 2 3"), 1);
    EXPECT_EQ(ErrorLine("\"x\" RGB 1 2 3 4"), 1);
    EXPECT_EQ(ErrorLine("\"x\" RGB 1 two 3"), 1);
    EXPECT_EQ(ErrorLine("\"x\" RGB 1 2 3x"), 1);
    EXPECT_EQ(ErrorLine("\"x\" Lab nan 0 0"), 1);
    EXPECT_EQ(ErrorLine("\"x\" Lab inf 0 0"), 1);
    EXPECT_EQ(ErrorLine("\"bad\\x4\" RGB 1 2 3"), 1);
    EXPECT_EQ(ErrorLine("# only a comment\n\n"), 0);
}

TEST(ColorDatabaseText, FormatReadsBackExactly)
{
    IMPN_ColorDatabase db;
    db.Set("PANTONE 286 U", *IMPN_ColorEntry::FromLab(33.33, 17.1, -61.7));
    db.Set("Quote \" and \\", IMPN_ColorEntry::FromCMYKPercent(1, 2, 3, 4));
    db.Set(std::string("line\nbreak\0nul", 14), IMPN_ColorEntry::FromBGR({9, 8, 7}));
    db.Set("Lab extremes", IMPN_ColorEntry::FromLabUnits(65535, 0, 65535));
    const std::string text = IMPN_ColorDatabaseText::Format(db);
    // One line per entry, whatever the names hold.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(IMPN_ColorDatabaseText::Parse(text), db);
}

TEST(ShippedColorLibrary, HoldsCommonSpotInksInBothPaperForms)
{
    const std::string text = ShippedLibraryText();
    ASSERT_FALSE(text.empty()) << "the library source was not found beside the tests";
    const IMPN_ColorDatabase library = IMPN_ColorDatabaseText::Parse(text);
    EXPECT_GE(library.Size(), 30u);
    for (const auto& [name, entry] : library)
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(name.rfind("PANTONE ", 0), 0u);
        const std::string suffix = name.substr(name.rfind(' ') + 1);
        EXPECT_TRUE(suffix == "C" || suffix == "U");
        // Already in its completed form, so a separation finds it under any accepted spelling.
        EXPECT_EQ(IMPN_ColorDecision::NormalizeName(name), name);
    }

    IMPN_ColorDatabases databases;
    databases.SetNamedColors(library);
    // A bare number is taken as the coated ink; the red, blue and yellow inks look like it.
    const auto red =
        IMPN_ColorDecision::Decide(std::nullopt, std::nullopt, "PANTONE 185", databases);
    EXPECT_FALSE(red.color.isDefault);
    EXPECT_GT(red.color.Red(), 180);
    EXPECT_LT(red.color.Green(), 80);
    const auto blue = IMPN_ColorDecision::Decide(std::nullopt, std::nullopt,
                                                 "PANTONE Reflex Blue CVC", databases);
    EXPECT_FALSE(blue.color.isDefault);
    EXPECT_GT(blue.color.Blue(), 100);
    EXPECT_LT(blue.color.Red(), 60);
    const auto uncoated =
        IMPN_ColorDecision::Decide(std::nullopt, std::nullopt, "PANTONE 185 CVU", databases);
    EXPECT_FALSE(uncoated.color.isDefault);
    EXPECT_NE(uncoated.color.color, red.color.color);
    // The built-ins stay.
    EXPECT_TRUE(databases.LookUpNamedColor("Cyan").has_value());
}
