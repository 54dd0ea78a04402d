#include "WTLU/WTLU_WindowArrangement.h"

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
