#include "IMPN/IMPN_BackupTables.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
TEST(BackupTables, RoundingTakesHalvesToTheEvenNeighbourSymmetrically)
{
    struct Case
    {
        long double value;
        std::int32_t expected;
    };
    const Case cases[] = {{0.5L, 0},   {1.5L, 2},   {2.5L, 2},     {3.5L, 4},  {-0.5L, 0},
                          {-1.5L, -2}, {-2.5L, -2}, {2.49L, 2},    {2.51L, 3}, {-2.51L, -3},
                          {0.0L, 0},   {7.0L, 7},   {-37.5L, -38}, {37.5L, 38}};
    for (const Case& c : cases)
        EXPECT_EQ(IMPN_BackupTables::Round(c.value), c.expected) << static_cast<double>(c.value);
    EXPECT_EQ(IMPN_BackupTables::Round(1e12L), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(IMPN_BackupTables::Round(-1e12L), std::numeric_limits<std::int32_t>::min());
}

TEST(BackupTables, FlipAxisFromWorkstyleAndOrientation)
{
    // Orientation codes: 0 Up, 1 Down, 2 Left, 3 Right; they add 0, 2, 1, 3.
    for (int orientation = 0; orientation < 5; ++orientation)
        EXPECT_EQ(IMPN_BackupTables::FlipAxis(0, orientation), 0);
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(1, 0), 1); // sheetwise, up: 1
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(1, 1), 1); // down: 1 + 2
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(1, 2), 2); // left: 1 + 1
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(1, 3), 2); // right: 1 + 3
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(2, 0), 2); // perfector
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(3, 0), 1); // work and turn
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(4, 0), 2); // work and tumble
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(4, 2), 1);
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(9, 0), 2); // unknown workstyle counts 0
    EXPECT_EQ(IMPN_BackupTables::FlipAxis(1, 7), 1); // unknown orientation counts 0
}

// Left-right mirror: W = 10000. Front press sheet centre x = 200 + 4500 = 4700, back 5000:
// dx = 10000 - 5000 - 4700 = 300; dy = (100 + 3500) - (300 + 3500) = -200. Pages bound
// 1000..8001: centre 4500.5, dx = 10000 - 9001 = 999, dy = 0.
TEST(BackupTables, LeftRightSheetWorkedByHand)
{
    const IMPN_Rect front = IMPN_Rect::FromEdges(100, 200, 7100, 9200);
    const IMPN_Rect back = IMPN_Rect::FromEdges(300, 500, 7300, 9500);
    IMPN_PageEntry p1, p2;
    p1.position = IMPN_Rect::FromEdges(1000, 1000, 4000, 4500);
    p2.position = IMPN_Rect::FromEdges(1000, 4500, 4000, 8001);
    IMPN_BackupTables tables;
    tables.Compute(1, 10000, 8000, front, back, {p1, p2});

    const IMPN_BackupTables::Table sheetDx = {2400, 1200, 600, 300, 150, 75, 38, 19, 9, 5, 2, 1, 1};
    const IMPN_BackupTables::Table sheetDy = {-1600, -800, -400, -200, -100, -50, -25,
                                              -12,   -6,   -3,   -2,   -1,   0};
    const IMPN_BackupTables::Table pageDx = {7992, 3996, 1998, 999, 500, 250, 125,
                                             62,   31,   16,   8,   4,   2};
    EXPECT_EQ(tables.PressSheetDx(), sheetDx);
    EXPECT_EQ(tables.PressSheetDy(), sheetDy);
    EXPECT_EQ(tables.PageDx(), pageDx);
    EXPECT_EQ(tables.PageDy(), IMPN_BackupTables::Table{});
    EXPECT_EQ(tables.PlateDx(), IMPN_BackupTables::Table{});
    EXPECT_EQ(tables.PlateDy(), IMPN_BackupTables::Table{});
    EXPECT_EQ(tables.Dx(IMPN_BackupTables::ModePressSheets, 3), 300);
    EXPECT_EQ(tables.Dy(IMPN_BackupTables::ModePressSheets, 12), 0);
    EXPECT_EQ(tables.Dx(IMPN_BackupTables::ModePages, 0), 7992);
    EXPECT_EQ(tables.Dx(IMPN_BackupTables::ModePressSheets, 13), 0);
    EXPECT_EQ(tables.Dx(3, 0), 0);
}

// Top-bottom mirror: L = 8000. Front centre (4700, 3600), back (4999.5, 3800.5):
// dx = 4700 - 4999.5 = -299.5, dy = 8000 - 3800.5 - 3600 = 599.5.
TEST(BackupTables, TopBottomSheetWorkedByHand)
{
    const IMPN_Rect front = IMPN_Rect::FromEdges(100, 200, 7100, 9200);
    const IMPN_Rect back = IMPN_Rect::FromEdges(301, 500, 7300, 9499);
    IMPN_BackupTables tables;
    tables.Compute(2, 10000, 8000, front, back, {});
    const IMPN_BackupTables::Table sheetDx = {-2396, -1198, -599, -300, -150, -75, -37,
                                              -19,   -9,    -5,   -2,   -1,   -1};
    const IMPN_BackupTables::Table sheetDy = {4796, 2398, 1199, 600, 300, 150, 75,
                                              37,   19,   9,    5,   2,   1};
    EXPECT_EQ(tables.PressSheetDx(), sheetDx);
    EXPECT_EQ(tables.PressSheetDy(), sheetDy);
    // No pages on the front: the page tables stay zero.
    EXPECT_EQ(tables.PageDx(), IMPN_BackupTables::Table{});
    EXPECT_EQ(tables.PageDy(), IMPN_BackupTables::Table{});
}

TEST(BackupTables, PageBoundsCoverEveryPage)
{
    EXPECT_EQ(IMPN_BackupTables::PageBounds({}), IMPN_Rect{});
    IMPN_PageEntry a, b;
    a.position = IMPN_Rect::FromEdges(50, 10, 100, 40);
    b.position = IMPN_Rect::FromEdges(20, 30, 80, 90);
    EXPECT_EQ(IMPN_BackupTables::PageBounds({a, b}), IMPN_Rect::FromEdges(20, 10, 100, 90));
}
} // namespace
