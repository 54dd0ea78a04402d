// The coverage report's text: what the command-line tool prints and the viewer exports.

#include "IMPN/IMPN_CoverageReport.h"

#include <gtest/gtest.h>

#include <clocale>

namespace
{
// Two inks over a 10 x 10 area in two zones of 4 and 6 columns.
IMPN_InkCoverageCounts TwoInks()
{
    IMPN_InkCoverageCounts c;
    c.area.width = 10;
    c.area.height = 10;
    c.columnEdges = {0, 4, 10};
    c.rowEdges = {0, 10};
    c.inked = {{40, 0}, {1, 59}}; // 40 %: zone 100 %, 0 %; 60 %: zone 2.5 %, 98.33 %
    c.unreadTiles = {0, 0};
    return c;
}
} // namespace

TEST(CoverageReport, LinesCarryTheInksInOrderThenTheirTotal)
{
    const IMPN_InkCoverageCounts c = TwoInks();
    EXPECT_EQ(IMPN_CoverageReport::Write({"Cyan", "PANTONE 185 C"}, c, false, false),
              "Cyan\t40.00\nPANTONE 185 C\t60.00\nTotal\t100.00\n");
    EXPECT_EQ(IMPN_CoverageReport::Write({"Cyan", "PANTONE 185 C"}, c, true, false),
              "Cyan\t100.00\t0.00\nPANTONE 185 C\t2.50\t98.33\nTotal\t102.50\t98.33\n");
}

TEST(CoverageReport, CsvHasAHeaderAndQuotesNamesThatNeedIt)
{
    const IMPN_InkCoverageCounts c = TwoInks();
    EXPECT_EQ(IMPN_CoverageReport::Write({"Gold, metallic", "Say \"red\""}, c, true, true),
              "Ink,Zone 1,Zone 2\n\"Gold, metallic\",100.00,0.00\n\"Say \"\"red\"\"\",2.50,98.33\n"
              "Total,102.50,98.33\n");
    EXPECT_EQ(IMPN_CoverageReport::Write({"Black", "Gloss"}, c, false, true, "Summe"),
              "Ink,Coverage\nBlack,40.00\nGloss,60.00\nSumme,100.00\n");
}

TEST(CoverageReport, PercentagesRoundToHundredthsWithAPointInAnyLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // may be missing; the result must not depend on it
    EXPECT_EQ(IMPN_CoverageReport::Percent(0.0), "0.00");
    EXPECT_EQ(IMPN_CoverageReport::Percent(12.345678), "12.35");
    EXPECT_EQ(IMPN_CoverageReport::Percent(99.994), "99.99");
    EXPECT_EQ(IMPN_CoverageReport::Percent(99.996), "100.00");
    EXPECT_EQ(IMPN_CoverageReport::Percent(800.0), "800.00");
    std::setlocale(LC_NUMERIC, saved.c_str());
}
