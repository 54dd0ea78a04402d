#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN_RenderTestInk.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <vector>

namespace
{
using Bgr = std::array<std::uint8_t, 3>;
using BitFn = std::function<bool(std::uint32_t, std::uint32_t)>;

struct TestSurface
{
    std::uint8_t paper[3] = {255, 255, 255};
    std::vector<IMPN_RenderTestInk*> inks;
    std::unique_ptr<IMPN_SurfaceRenderer> renderer;

    TestSurface(std::uint32_t width, std::uint32_t length, const std::vector<BitFn>& bits,
                Bgr paperColour = {255, 255, 255}, std::uint32_t tileSize = 512)
    {
        std::memcpy(paper, paperColour.data(), 3);
        std::vector<std::unique_ptr<IMPN_RenderInk>> owned;
        for (const BitFn& fn : bits)
        {
            auto ink = std::make_unique<IMPN_RenderTestInk>(width, length, fn, tileSize);
            inks.push_back(ink.get());
            owned.push_back(std::move(ink));
        }
        renderer = std::make_unique<IMPN_SurfaceRenderer>(std::move(owned), paper);
    }

    // The stamp a view would pass: every change of a separation takes a new one.
    std::uint32_t Change() { return IMPN_ChangeCounter::Next(); }

    const IMPN_RenderTile* Tile(int level, std::int32_t top, std::int32_t left, std::uint32_t stamp)
    {
        return renderer->GetTile(top, left, level, stamp);
    }

    std::vector<std::uint8_t> Level(int level, std::uint32_t stamp)
    {
        const IMPN_RenderLevel& l = renderer->GetLevel(level);
        std::vector<std::uint8_t> out(std::size_t(l.width) * l.height * 3);
        IMPN_RenderComposite::Compose(*renderer, level, stamp, 0, 0, l.width, l.height, out.data(),
                                      std::size_t(l.width) * 3);
        return out;
    }
};

Bgr Pixel(const IMPN_RenderTile* tile, std::int32_t x, std::int32_t y)
{
    Bgr p{};
    tile->CopyRow(y, x, 1, p.data());
    return p;
}

Bgr Mixed(std::initializer_list<Bgr> inks, Bgr paper = {255, 255, 255})
{
    for (const Bgr& ink : inks)
        IMPN_InkMixing::MixOver(ink.data(), paper.data());
    return paper;
}

const BitFn kFull = [](std::uint32_t, std::uint32_t) { return true; };
const BitFn kNone = [](std::uint32_t, std::uint32_t) { return false; };

BitFn Screen(unsigned seed)
{
    return [seed](std::uint32_t x, std::uint32_t y)
    { return ((x * 7919u + y * 104729u + seed * 31u) ^ (x * y + seed)) % 5u < 2u; };
}
} // namespace

TEST(SurfaceRenderer, FullyInkedBlackTileIsUniformBlackAtOneToFourOnAnyPaper)
{
    for (Bgr paper : {Bgr{255, 255, 255}, Bgr{10, 200, 90}})
    {
        TestSurface s(512, 512, {kFull}, paper);
        const std::uint32_t stamp = s.Change();
        const IMPN_RenderTile* t = s.Tile(5, 0, 0, stamp);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->kind, IMPN_TileKind::UniformColour);
        EXPECT_EQ(Pixel(t, 17, 33), (Bgr{0, 0, 0}));
        // At 1:1 the same tile is one palette index whose entry is black.
        const IMPN_RenderTile* u = s.Tile(3, 0, 0, stamp);
        EXPECT_EQ(u->kind, IMPN_TileKind::UniformIndex);
        EXPECT_EQ(Pixel(u, 100, 100), (Bgr{0, 0, 0}));
        // Blank at 1:4 is the paper, uniform.
        TestSurface blank(512, 512, {kNone}, paper);
        const IMPN_RenderTile* b = blank.Tile(5, 0, 0, blank.Change());
        EXPECT_EQ(b->kind, IMPN_TileKind::UniformColour);
        EXPECT_EQ(Pixel(b, 0, 0), paper);
    }
}

TEST(SurfaceRenderer, HalfInkedFourByFourCellsCover127Or128ByTheirRows)
{
    // Rows 1-2 of each cell inked on the left half of the image, rows 3-4 on the right.
    TestSurface s(512, 512,
                  {[](std::uint32_t x, std::uint32_t y) { return (x < 256) == (y % 4 < 2); }});
    const IMPN_RenderTile* t = s.Tile(5, 0, 0, s.Change());
    ASSERT_EQ(t->kind, IMPN_TileKind::Colour);
    const std::uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
    Bgr at127{}, at128{};
    IMPN_InkMixing::InkAtPercentage(black, white, 100 * 127 / 255, at127.data());
    IMPN_InkMixing::InkAtPercentage(black, white, 100 * 128 / 255, at128.data());
    EXPECT_EQ(Pixel(t, 10, 10), Mixed({at127}));
    EXPECT_EQ(Pixel(t, 100, 10), Mixed({at128}));
    EXPECT_NE(at127, at128);
}

TEST(SurfaceRenderer, HidingAnInkAtOneToOneAndAboveRebuildsOnlyThePalette)
{
    TestSurface s(1024, 512, {Screen(1), Screen(2)});
    s.inks[1]->colour[0] = 255; // magenta-ish: blue and red full, no green
    s.inks[1]->colour[2] = 255;
    const std::uint32_t first = s.Change();
    std::vector<const IMPN_RenderTile*> tiles;
    std::vector<std::uint32_t> stamps;
    std::vector<const std::uint8_t*> stores;
    for (int level : {0, 1, 2, 3})
    {
        tiles.push_back(s.Tile(level, 0, 512, first));
        ASSERT_EQ(tiles.back()->kind, IMPN_TileKind::Indexed);
        stamps.push_back(tiles.back()->stamp);
        stores.push_back(tiles.back()->pixels.get());
    }
    const Bgr before = Pixel(tiles[3], 0, 0);
    const std::uint32_t paletteBefore = s.renderer->GetPalette().Stamp();
    const int readsBefore = s.inks[0]->reads + s.inks[1]->reads;

    s.inks[0]->visible = false;
    const std::uint32_t second = s.Change();
    for (std::size_t i = 0; i < tiles.size(); ++i)
    {
        const int level = int(i);
        EXPECT_EQ(s.Tile(level, 0, 512, second), tiles[i]);
        EXPECT_EQ(tiles[i]->stamp, stamps[i]) << level;
        EXPECT_EQ(tiles[i]->pixels.get(), stores[i]) << level;
    }
    EXPECT_GT(s.renderer->GetPalette().Stamp(), second);
    EXPECT_GT(s.renderer->GetPalette().Stamp(), paletteBefore);
    EXPECT_EQ(s.inks[0]->reads + s.inks[1]->reads, readsBefore);

    // What is left is ink 2 alone (or the paper) at every pixel.
    const bool ink2 = Screen(2)(512, 0);
    const Bgr expected = ink2 ? Mixed({Bgr{255, 0, 255}}) : Bgr{255, 255, 255};
    EXPECT_EQ(Pixel(tiles[3], 0, 0), expected);
    if (Screen(1)(512, 0))
    {
        EXPECT_NE(Pixel(tiles[3], 0, 0), before);
    }
}

TEST(SurfaceRenderer, NineSeparationsUseColourTilesAtEveryLevel)
{
    std::vector<BitFn> bits;
    for (unsigned k = 0; k < 9; ++k)
        bits.push_back(Screen(k));
    TestSurface s(600, 520, bits);
    s.inks[8]->colour[1] = 200;
    const std::uint32_t stamp = s.Change();
    for (int level = 0; level < IMPN_RenderLevel::kLevelCount; ++level)
    {
        EXPECT_FALSE(s.renderer->UsesIndexedTiles(level));
        const IMPN_RenderTile* t = s.Tile(level, 0, 0, stamp);
        ASSERT_NE(t, nullptr) << level;
        EXPECT_TRUE(t->kind == IMPN_TileKind::Colour || t->kind == IMPN_TileKind::UniformColour)
            << level;
    }
    // At 1:1 each pixel is its inks mixed in order; at 8:1 each is an 8 x 8 block of them.
    const IMPN_RenderTile* unit = s.Tile(3, 0, 0, stamp);
    const IMPN_RenderTile* big = s.Tile(0, 0, 0, stamp);
    const std::uint8_t white[3] = {255, 255, 255};
    for (std::uint32_t x : {0u, 1u, 17u, 40u, 63u})
    {
        Bgr expected{255, 255, 255};
        for (unsigned k = 0; k < 9; ++k)
            if (Screen(k)(x, 3))
            {
                Bgr ink{};
                IMPN_InkMixing::InkAtPercentage(s.inks[k]->colour, white, 100, ink.data());
                IMPN_InkMixing::MixOver(ink.data(), expected.data());
            }
        EXPECT_EQ(Pixel(unit, std::int32_t(x), 3), expected) << x;
        EXPECT_EQ(Pixel(big, std::int32_t(8 * x + 3), 8 * 3 + 7), expected) << x;
    }
}

TEST(SurfaceRenderer, PixelsBeyondTheLevelPictureAreWhite)
{
    // 1000 x 600 pixels: 125 x 75 at 1:8, so the second tile column holds 61 pixels inside.
    TestSurface s(1000, 600, {kNone}, Bgr{50, 60, 70});
    const std::uint32_t stamp = s.Change();
    EXPECT_EQ(s.renderer->GetLevel(6).width, 125);
    const IMPN_RenderTile* last = s.Tile(6, 0, 64, stamp);
    ASSERT_EQ(last->kind, IMPN_TileKind::Colour);
    EXPECT_EQ(Pixel(last, 60, 10), (Bgr{50, 60, 70}));
    EXPECT_EQ(Pixel(last, 61, 10), (Bgr{255, 255, 255}));
    EXPECT_EQ(Pixel(last, 63, 63), (Bgr{255, 255, 255}));
    const IMPN_RenderTile* bottom = s.Tile(6, 64, 0, stamp);
    EXPECT_EQ(Pixel(bottom, 5, 10), (Bgr{50, 60, 70}));
    EXPECT_EQ(Pixel(bottom, 5, 11), (Bgr{255, 255, 255}));
    EXPECT_EQ(s.Tile(6, 0, 128, stamp), nullptr);
    EXPECT_EQ(s.Tile(6, 75, 0, stamp), nullptr);
    EXPECT_EQ(s.Tile(6, -1, 0, stamp), nullptr);
    EXPECT_EQ(s.Tile(13, 0, 0, stamp), nullptr);
}

TEST(SurfaceRenderer, ColourTilesAreRemadeOnlyWhenStale)
{
    TestSurface s(512, 512, {Screen(3)});
    const std::uint32_t first = s.Change();
    const IMPN_RenderTile* t = s.Tile(4, 0, 0, first);
    const std::uint32_t made = t->stamp;
    EXPECT_GT(made, first);
    EXPECT_EQ(s.Tile(4, 0, 0, first)->stamp, made);
    const Bgr black = Pixel(t, 0, 0);
    s.inks[0]->colour[0] = 255; // blue ink
    const std::uint32_t second = s.Change();
    EXPECT_EQ(s.Tile(4, 0, 0, second), t);
    EXPECT_GT(t->stamp, second);
    const Bgr blue = Pixel(t, 0, 0);
    EXPECT_EQ(blue[1], black[1]);
    EXPECT_GE(blue[0], black[0]);
    // Mixed source tiles are read again for the remake; nothing else is.
    EXPECT_EQ(s.inks[0]->reads, 2);
}

TEST(SurfaceRenderer, BlankAndSolidSourceTilesAreReadOnce)
{
    TestSurface s(1024, 512, {[](std::uint32_t x, std::uint32_t) { return x < 512; }});
    std::uint32_t stamp = s.Change();
    for (int level = 3; level < IMPN_RenderLevel::kLevelCount; ++level)
        s.Level(level, stamp);
    s.inks[0]->colour[2] = 255;
    stamp = s.Change();
    for (int level = 3; level < IMPN_RenderLevel::kLevelCount; ++level)
        s.Level(level, stamp);
    EXPECT_EQ(s.inks[0]->reads, 2);
}

// Two uniform neighbours of different colours must not blend into one grey tile.
TEST(SurfaceRenderer, UniformTilesOfDifferentColoursKeepTheirQuadrants)
{
    TestSurface s(1024, 1024, {[](std::uint32_t x, std::uint32_t) { return x < 512; }},
                  Bgr{200, 200, 200});
    const std::uint32_t stamp = s.Change();
    const IMPN_RenderTile* t = s.Tile(7, 0, 0, stamp);
    ASSERT_EQ(t->kind, IMPN_TileKind::Colour);
    EXPECT_EQ(Pixel(t, 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(Pixel(t, 31, 63), (Bgr{0, 0, 0}));
    EXPECT_EQ(Pixel(t, 32, 0), (Bgr{200, 200, 200}));
    // Neighbours of one colour do make one uniform tile.
    TestSurface solid(1024, 1024, {kFull});
    EXPECT_EQ(solid.Tile(7, 0, 0, solid.Change())->kind, IMPN_TileKind::UniformColour);
}

// A uniform tile below 1:8 stands for several source tiles: when it goes stale it is remade
// from the level above, not from the class of the one source tile at its corner.
TEST(SurfaceRenderer, StaleUniformTileBelowOneToEightIsRemadeThroughThePyramid)
{
    TestSurface s(1024, 1024,
                  {kFull, [](std::uint32_t x, std::uint32_t y) { return x < 512 && y < 512; }});
    s.inks[1]->colour[0] = 255;
    s.inks[1]->colour[1] = 255; // yellow
    s.inks[1]->visible = false;
    s.inks[0]->opacity = 40;
    std::uint32_t stamp = s.Change();
    const IMPN_RenderTile* t = s.Tile(7, 0, 0, stamp);
    ASSERT_EQ(t->kind, IMPN_TileKind::UniformColour);
    const Bgr grey = Pixel(t, 0, 0);

    s.inks[1]->visible = true;
    stamp = s.Change();
    t = s.Tile(7, 0, 0, stamp);
    ASSERT_EQ(t->kind, IMPN_TileKind::Colour);
    // Level 7 is one tile of 64 x 64 pixels of which the first 32 x 32 hold both inks.
    EXPECT_EQ(Pixel(t, 31, 31), Mixed({grey, Bgr{255, 255, 0}}, Bgr{255, 255, 255}));
    EXPECT_EQ(Pixel(t, 32, 0), grey);
    EXPECT_EQ(Pixel(t, 0, 32), grey);
}

// A previous level of odd width: the last pixel averages only the pixels inside that level.
TEST(SurfaceRenderer, PyramidEdgeAveragesOnlyPixelsInsideThePreviousLevel)
{
    TestSurface s(24, 24, {kFull});
    const std::uint32_t stamp = s.Change();
    EXPECT_EQ(s.renderer->GetLevel(6).width, 3);
    EXPECT_EQ(s.renderer->GetLevel(7).width, 2);
    const IMPN_RenderTile* t = s.Tile(7, 0, 0, stamp);
    EXPECT_EQ(Pixel(t, 1, 1), (Bgr{0, 0, 0}));
    EXPECT_EQ(Pixel(t, 2, 0), (Bgr{255, 255, 255}));
}

TEST(SurfaceRenderer, MagnifiedLevelsReplicateOneToOne)
{
    for (unsigned inks : {1u, 9u})
    {
        std::vector<BitFn> bits(inks, Screen(5));
        TestSurface s(300, 200, bits);
        const std::uint32_t stamp = s.Change();
        const std::vector<std::uint8_t> unit = s.Level(3, stamp);
        for (int level : {0, 1, 2})
        {
            const std::vector<std::uint8_t> big = s.Level(level, stamp);
            const int b = 1 << (3 - level);
            const int w = s.renderer->GetLevel(level).width;
            ASSERT_EQ(w, 300 * b);
            for (int y = 0; y < 200 * b; y += 3)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(big[(std::size_t(y) * w + x) * 3],
                              unit[(std::size_t(y / b) * 300 + x / b) * 3])
                        << "inks " << inks << " level " << level << " at " << x << "," << y;
        }
    }
}

// Source tiles of another size than the level tiles: a level tile is assembled from every
// source tile it covers, and the picture is the same as with one source tile per level tile.
TEST(SurfaceRenderer, SmallSourceTilesGiveTheSamePictureAtEveryLevel)
{
    const std::vector<BitFn> bits = {Screen(8), [](std::uint32_t x, std::uint32_t y)
                                     { return x > 300 && y < 200; }};
    TestSurface big(800, 640, bits, Bgr{240, 250, 255}, 512);
    TestSurface small(800, 640, bits, Bgr{240, 250, 255}, 128);
    big.inks[1]->colour[2] = 255;
    small.inks[1]->colour[2] = 255;
    const std::uint32_t stamp = big.Change();
    for (int level = 1; level < IMPN_RenderLevel::kLevelCount; ++level)
        EXPECT_EQ(big.Level(level, stamp), small.Level(level, stamp)) << level;
}

TEST(SurfaceRenderer, UnreadableSeparationsShowThePaperAndReleaseFreesTiles)
{
    TestSurface s(512, 512, {Screen(1)}, Bgr{1, 2, 3});
    s.inks[0]->failReads = true;
    const std::uint32_t stamp = s.Change();
    EXPECT_EQ(Pixel(s.Tile(4, 0, 0, stamp), 5, 5), (Bgr{1, 2, 3}));
    EXPECT_EQ(Pixel(s.Tile(3, 0, 0, stamp), 5, 5), (Bgr{1, 2, 3}));
    EXPECT_GT(s.renderer->GetCachedBytes(), 0u);
    s.renderer->ReleaseTiles();
    EXPECT_EQ(s.renderer->GetCachedBytes(), 0u);
    s.inks[0]->failReads = false;
    EXPECT_NE(s.Tile(3, 0, 0, stamp)->kind, IMPN_TileKind::UniformIndex);

    // No separations at all: nothing to draw, and no tile is made.
    std::uint8_t paper[3] = {255, 255, 255};
    IMPN_SurfaceRenderer empty({}, paper);
    EXPECT_EQ(empty.GetTile(0, 0, 3, stamp), nullptr);
    EXPECT_EQ(empty.GetPalette().Count(), 1);
}
