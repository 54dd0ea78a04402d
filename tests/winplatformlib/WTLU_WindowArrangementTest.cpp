#include "WTLU/WTLU_WindowArrangement.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace
{
// Tiles cover the area exactly: no overlap, no gap.
void ExpectExactCover(const std::vector<QRect>& tiles, const QRect& area)
{
    long long sum = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i)
    {
        EXPECT_TRUE(area.contains(tiles[i])) << i;
        sum += 1LL * tiles[i].width() * tiles[i].height();
        for (std::size_t j = i + 1; j < tiles.size(); ++j)
            EXPECT_FALSE(tiles[i].intersects(tiles[j])) << i << "," << j;
    }
    EXPECT_EQ(sum, 1LL * area.width() * area.height());
}
} // namespace

TEST(WTLU_WindowArrangement, TileHorizontally_StacksUpToThreeWindowsFirstOnTop)
{
    const QRect area(5, 5, 1270, 950);
    const auto tiles =
        WTLU_WindowArrangement::Tiles(3, area, WTLU_WindowArrangement::Kind::TileHorizontally);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[0].topLeft(), area.topLeft());
    for (const QRect& tile : tiles)
        EXPECT_EQ(tile.width(), area.width());
    EXPECT_LT(tiles[0].top(), tiles[1].top());
    ExpectExactCover(tiles, area);
}

TEST(WTLU_WindowArrangement, TileVertically_PutsWindowsSideBySide)
{
    const QRect area(0, 0, 1001, 700);
    const auto tiles =
        WTLU_WindowArrangement::Tiles(2, area, WTLU_WindowArrangement::Kind::TileVertically);
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[0].height(), 700);
    EXPECT_EQ(tiles[0].left(), 0);
    EXPECT_LT(tiles[0].left(), tiles[1].left());
    ExpectExactCover(tiles, area);
}

TEST(WTLU_WindowArrangement, ManyWindows_FormAGridThatCoversTheArea)
{
    const QRect area(10, 20, 997, 601);
    for (int count : {4, 5, 7, 10, 17})
        for (auto kind : {WTLU_WindowArrangement::Kind::TileHorizontally,
                          WTLU_WindowArrangement::Kind::TileVertically})
        {
            const auto tiles = WTLU_WindowArrangement::Tiles(count, area, kind);
            ASSERT_EQ(int(tiles.size()), count);
            ExpectExactCover(tiles, area);
        }
    EXPECT_TRUE(WTLU_WindowArrangement::Tiles(0, area, WTLU_WindowArrangement::Kind::TileVertically)
                    .empty());
}

TEST(WTLU_WindowArrangement, Cascade_FirstWindowDeepestAndAllInside)
{
    const QRect area(0, 0, 1200, 900);
    const auto rects = WTLU_WindowArrangement::Cascade(3, area, 26);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[2].topLeft(), QPoint(0, 0));
    EXPECT_EQ(rects[1].topLeft(), QPoint(26, 26));
    EXPECT_EQ(rects[0].topLeft(), QPoint(52, 52));
    for (const QRect& r : rects)
        EXPECT_TRUE(area.contains(r));
    // A long cascade starts over instead of leaving the area.
    for (const QRect& r : WTLU_WindowArrangement::Cascade(60, area, 26))
        EXPECT_TRUE(area.contains(r));
}

struct CascadeCase
{
    const char* name;
    QRect previous;
    QRect expected;
};

class NextCascadeTable : public ::testing::TestWithParam<CascadeCase>
{
};

TEST_P(NextCascadeTable, StepsFromThePreviousWindowAndStaysInTheArea)
{
    const QRect area(5, 5, 1590, 990);
    const CascadeCase& c = GetParam();
    const QRect next = WTLU_WindowArrangement::NextCascade(c.previous, area, 26);
    EXPECT_EQ(next, c.expected);
    EXPECT_TRUE(area.contains(next));
    EXPECT_NE(next, c.previous);
}

INSTANTIATE_TEST_SUITE_P(
    WTLU_WindowArrangement, NextCascadeTable,
    ::testing::Values(
        // The first job window fills the area: the next is cut at the right and bottom edges.
        CascadeCase{"FromAWindowFillingTheArea", QRect(5, 5, 1590, 990), QRect(31, 31, 1564, 964)},
        CascadeCase{"FromASmallWindow", QRect(200, 100, 600, 400), QRect(226, 126, 600, 400)},
        // Cut to less than two thirds of the area's width: back to the top-left corner.
        CascadeCase{"StartsAgainWhenCutTooFar", QRect(560, 40, 1030, 900), QRect(5, 5, 1030, 900)},
        // A window that lies partly off the area (moved by the user) still gives one inside.
        CascadeCase{"FromAWindowLargerThanTheArea", QRect(-50, -40, 1800, 1200),
                    QRect(5, 5, 1590, 990)},
        CascadeCase{"FromBelowTheArea", QRect(300, 990, 800, 600), QRect(5, 5, 800, 600)}),
    [](const auto& info) { return std::string(info.param.name); });

// A window is placed by its frame: where the window system reports none yet, the default frame is
// kept clear of the rectangle's edges, so the title bar can never land above the area.
TEST(WTLU_WindowArrangement, PlaceOuter_LeavesRoomForTheFrame)
{
    QWidget window;
    const QRect outer(5, 5, 1000, 700);
    WTLU_WindowArrangement::PlaceOuter(&window, outer);
    EXPECT_GE(window.geometry().top() - outer.top(), WTLU_WindowArrangement::kDefaultFrame.top());
    EXPECT_EQ(WTLU_WindowArrangement::OuterRect(&window), outer);
}
