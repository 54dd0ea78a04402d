// The memory budget of a surface renderer: the finer levels' tiles are let go least recently used
// first, never one on screen or in use, the overview levels are kept, and a tile made again is the
// tile that was let go.

#include "IMPN_RenderTestInk.h"

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_TileStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
constexpr std::uint32_t kSourceTile = 64; // level tiles of 64 x 64 at 1:1: small and fast
constexpr int kUnit = 3;

// Two inks screened differently everywhere, so that no tile collapses to one value and every
// 1:1 tile costs the same.
struct Sheet
{
    std::uint8_t paper[3] = {255, 255, 255};
    std::vector<IMPN_RenderTestInk*> inks;
    std::unique_ptr<IMPN_SurfaceRenderer> renderer;

    Sheet(std::uint32_t width, std::uint32_t length)
    {
        std::vector<std::unique_ptr<IMPN_RenderInk>> owned;
        owned.push_back(std::make_unique<IMPN_RenderTestInk>(
            width, length,
            [](std::uint32_t x, std::uint32_t y) { return (7 * x + 3 * y) % 13 < 5; },
            kSourceTile));
        owned.push_back(std::make_unique<IMPN_RenderTestInk>(
            width, length,
            [](std::uint32_t x, std::uint32_t y) { return (x + 2 * y + x / 50) % 11 < 4; },
            kSourceTile));
        static_cast<IMPN_RenderTestInk&>(*owned[0]).colour[0] = 200; // blue-ish
        static_cast<IMPN_RenderTestInk&>(*owned[1]).colour[2] = 220; // red-ish
        for (auto& ink : owned)
            inks.push_back(static_cast<IMPN_RenderTestInk*>(ink.get()));
        renderer = std::make_unique<IMPN_SurfaceRenderer>(std::move(owned), paper);
    }

    int Reads() const { return inks[0]->reads + inks[1]->reads; }
};

std::vector<std::uint8_t> Pixels(const IMPN_RenderTile& tile)
{
    std::vector<std::uint8_t> out(std::size_t(tile.width) * tile.height * 3);
    for (std::int32_t y = 0; y < tile.height; ++y)
        tile.CopyRow(y, 0, tile.width, out.data() + std::size_t(y) * tile.width * 3);
    return out;
}

// What one mixed 1:1 tile counts against the budget.
std::size_t OneTileCharge()
{
    Sheet probe(kSourceTile, kSourceTile);
    probe.renderer->GetTile(0, 0, kUnit, IMPN_ChangeCounter::Next());
    return probe.renderer->GetBudgetedBytes();
}
} // namespace

TEST(TileMemory, PanningAtOneToOneStaysInTheBudgetKeepsScreenTilesAndRemakesThemIdentically)
{
    const std::uint32_t across = 48, down = 30;
    Sheet sheet(across * kSourceTile, down * kSourceTile);
    Sheet reference(across * kSourceTile, down * kSourceTile);
    reference.renderer->SetMemoryBudget(IMPN_SurfaceRenderer::kMaxMemoryBudget);
    const std::size_t charge = OneTileCharge();
    const std::size_t budget = 40 * charge;
    sheet.renderer->SetMemoryBudget(budget);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();

    // A screen of 6 x 4 tiles pans along every other row band, left to right and back.
    const std::int32_t screenW = 6, screenH = 4, tile = std::int32_t(kSourceTile);
    bool leftward = false;
    int positions = 0;
    for (std::int32_t row = 0; row + screenH <= std::int32_t(down); row += 3, leftward = !leftward)
        for (std::int32_t step = 0; step + screenW <= std::int32_t(across); step += 2)
        {
            const std::int32_t col = leftward ? std::int32_t(across) - screenW - step : step;
            sheet.renderer->SetVisibleTiles(kUnit, col * tile, row * tile, screenW * tile,
                                            screenH * tile);
            std::vector<const IMPN_RenderTile*> shown;
            for (std::int32_t y = row; y < row + screenH; ++y)
                for (std::int32_t x = col; x < col + screenW; ++x)
                    shown.push_back(sheet.renderer->GetTile(y * tile, x * tile, kUnit, stamp));
            ++positions;
            ASSERT_LE(sheet.renderer->GetBudgetedBytes(), budget) << "at position " << positions;
            ASSERT_LE(sheet.renderer->GetCachedBytes(), budget);
            // Every tile of the screen is still there, as made, after all of it was asked for.
            for (const IMPN_RenderTile* t : shown)
            {
                ASSERT_NE(t, nullptr);
                ASSERT_TRUE(sheet.renderer->HoldsTile(t->top, t->left, kUnit));
                ASSERT_EQ(Pixels(*t),
                          Pixels(*reference.renderer->GetTile(t->top, t->left, kUnit, stamp)))
                    << "tile at " << t->left << "," << t->top;
            }
        }
    ASSERT_GT(positions, 100);

    // The first screen was let go long ago; asked for again it is made again, the same.
    ASSERT_FALSE(sheet.renderer->HoldsTile(0, 0, kUnit));
    const int readsBefore = sheet.Reads();
    sheet.renderer->SetVisibleTiles(kUnit, 0, 0, screenW * tile, screenH * tile);
    for (std::int32_t y = 0; y < screenH; ++y)
        for (std::int32_t x = 0; x < screenW; ++x)
        {
            const IMPN_RenderTile* t = sheet.renderer->GetTile(y * tile, x * tile, kUnit, stamp);
            ASSERT_EQ(Pixels(*t),
                      Pixels(*reference.renderer->GetTile(y * tile, x * tile, kUnit, stamp)));
        }
    EXPECT_GT(sheet.Reads(), readsBefore);
}

TEST(TileMemory, TheLeastRecentlyUsedTileGoesFirstAndAUseMakesATileRecentAgain)
{
    Sheet sheet(8 * kSourceTile, kSourceTile);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    const std::int32_t t = std::int32_t(kSourceTile);
    const std::size_t charge = OneTileCharge();
    sheet.renderer->SetMemoryBudget(3 * charge);

    for (std::int32_t x : {0, 1, 2}) // A, B, C
        sheet.renderer->GetTile(0, x * t, kUnit, stamp);
    sheet.renderer->GetTile(0, 0, kUnit, stamp);     // A again: B is now the oldest
    sheet.renderer->GetTile(0, 3 * t, kUnit, stamp); // D pushes one out
    EXPECT_TRUE(sheet.renderer->HoldsTile(0, 0, kUnit));
    EXPECT_FALSE(sheet.renderer->HoldsTile(0, t, kUnit));
    EXPECT_TRUE(sheet.renderer->HoldsTile(0, 2 * t, kUnit));
    EXPECT_TRUE(sheet.renderer->HoldsTile(0, 3 * t, kUnit));

    sheet.renderer->GetTile(0, 4 * t, kUnit, stamp); // E: C is the oldest now
    EXPECT_FALSE(sheet.renderer->HoldsTile(0, 2 * t, kUnit));
    EXPECT_TRUE(sheet.renderer->HoldsTile(0, 0, kUnit));

    // A smaller budget takes effect at once.
    sheet.renderer->SetMemoryBudget(charge);
    EXPECT_LE(sheet.renderer->GetBudgetedBytes(), charge);
    EXPECT_TRUE(sheet.renderer->HoldsTile(0, 4 * t, kUnit)); // the most recent one stays
}

TEST(TileMemory, TilesOnScreenOrPinnedSurviveANilBudgetUntilTheyAreNoLonger)
{
    Sheet sheet(8 * kSourceTile, 2 * kSourceTile);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    const std::int32_t t = std::int32_t(kSourceTile);
    sheet.renderer->SetMemoryBudget(0);

    // The screen shows the first two tiles of the top row at 1:1; the same place at 1:2 is not
    // on screen.
    sheet.renderer->SetVisibleTiles(kUnit, 0, 0, 2 * t, t);
    const IMPN_RenderTile* a = sheet.renderer->GetTile(0, 0, kUnit, stamp);
    const IMPN_RenderTile* b = sheet.renderer->GetTile(0, t, kUnit, stamp);
    const IMPN_RenderTile* held = sheet.renderer->GetTile(t, 5 * t, kUnit, stamp);
    sheet.renderer->PinTile(kUnit, *held);
    const std::vector<std::uint8_t> heldPixels = Pixels(*held);
    sheet.renderer->GetTile(0, 0, kUnit + 1, stamp);
    for (std::int32_t x = 2; x < 8; ++x)
        sheet.renderer->GetTile(t, x * t, kUnit, stamp);

    EXPECT_TRUE(sheet.renderer->HoldsTile(0, 0, kUnit));
    EXPECT_TRUE(sheet.renderer->HoldsTile(0, t, kUnit));
    EXPECT_TRUE(sheet.renderer->HoldsTile(t, 5 * t, kUnit));
    EXPECT_FALSE(sheet.renderer->HoldsTile(0, 0, kUnit + 1));
    EXPECT_FALSE(sheet.renderer->HoldsTile(t, 2 * t, kUnit));
    EXPECT_EQ(Pixels(*held), heldPixels);
    EXPECT_TRUE(a->HasPixels() && b->HasPixels());

    // Off screen and unpinned, they go with the next request.
    sheet.renderer->UnpinTile(kUnit, *held);
    sheet.renderer->SetVisibleTiles(kUnit, 6 * t, t, t, t);
    sheet.renderer->GetTile(t, 6 * t, kUnit, stamp);
    EXPECT_FALSE(sheet.renderer->HoldsTile(0, 0, kUnit));
    EXPECT_FALSE(sheet.renderer->HoldsTile(t, 5 * t, kUnit));
    EXPECT_TRUE(sheet.renderer->HoldsTile(t, 6 * t, kUnit));
}

// With nothing allowed for the finer levels, every source of a coarser tile would be let go as
// the next one is asked for, unless the sources in use are held: the overview and the magnified
// levels come out exactly as with room for everything, and the overview levels stay.
TEST(TileMemory, OverviewLevelsAreKeptAndTilesMadeFromEvictableSourcesAreExact)
{
    const std::uint32_t w = 40 * kSourceTile, h = 24 * kSourceTile;
    Sheet sheet(w, h);
    Sheet reference(w, h);
    reference.renderer->SetMemoryBudget(IMPN_SurfaceRenderer::kMaxMemoryBudget);
    sheet.renderer->SetMemoryBudget(0);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();

    auto compose =
        [stamp](IMPN_SurfaceRenderer& r, int level, std::int32_t width, std::int32_t height)
    {
        std::vector<std::uint8_t> bgr(std::size_t(width) * height * 3);
        EXPECT_TRUE(IMPN_RenderComposite::Compose(r, level, stamp, 0, 0, width, height, bgr.data(),
                                                  std::size_t(width) * 3));
        return bgr;
    };
    for (int level = 12; level >= 7; --level)
    {
        const IMPN_RenderLevel& l = sheet.renderer->GetLevel(level);
        EXPECT_EQ(compose(*sheet.renderer, level, l.width, l.height),
                  compose(*reference.renderer, level, l.width, l.height))
            << "level " << level;
    }
    for (int level = 7; level < IMPN_RenderLevel::kLevelCount; ++level)
    {
        const IMPN_RenderLevel& l = sheet.renderer->GetLevel(level);
        for (std::int32_t y = 0; y < l.height; y += l.tileHeight)
            for (std::int32_t x = 0; x < l.width; x += l.tileWidth)
                EXPECT_TRUE(sheet.renderer->HoldsTile(y, x, level)) << "level " << level;
    }
    EXPECT_FALSE(sheet.renderer->HoldsTile(0, 0, 6));

    // 8:1 and 2:1 over a corner, each tile made from 1:1 tiles that go as soon as they may.
    for (int level : {0, 1, 2})
        EXPECT_EQ(compose(*sheet.renderer, level, 1100, 700),
                  compose(*reference.renderer, level, 1100, 700))
            << "level " << level;
    // Of the finer levels only the last tile handed out (a 2:1 one) is left.
    const IMPN_RenderLevel& two = sheet.renderer->GetLevel(2);
    EXPECT_LE(sheet.renderer->GetBudgetedBytes(),
              std::size_t(two.tileWidth) * std::size_t(two.tileHeight) +
                  IMPN_TileStore::kRecordCharge);
}

// The overview levels are let go last and only beyond their share of the budget (half of it, at
// least the minimum): a picture declaring gigabytes at 1:16 cannot hold more than the budget, and
// a finer tile goes before any overview tile.
TEST(TileMemory, OverviewLevelsGiveWayOnlyAfterTheFinerLevelsAndBeyondTheirShare)
{
    IMPN_RenderLevel levels[IMPN_RenderLevel::kLevelCount];
    IMPN_RenderLevel::Compute(std::int64_t(1) << 22, 1 << 16, 512, 512, levels);
    IMPN_TileStore store;
    for (int level = kUnit; level < IMPN_RenderLevel::kLevelCount; ++level)
        ASSERT_TRUE(store.OpenLevel(level, levels[level]));
    const std::size_t mib = std::size_t(1) << 20;
    const auto add = [&](int level, std::int32_t column, std::size_t bytes)
    {
        IMPN_RenderTile* tile =
            store.Find(level, levels[level], 0, column * levels[level].tileWidth);
        // Counted, not held: the budget goes by what a tile says it holds.
        tile->storeBytes = bytes;
        store.Account(level, *tile);
        return tile;
    };
    const std::size_t budget = 100 * mib;
    for (std::int32_t i = 0; i < 10; ++i)
        add(7, i, 8 * mib); // 80 MiB of overview, oldest first
    for (std::int32_t i = 0; i < 4; ++i)
        add(5, i, 20 * mib); // 80 MiB of finer tiles, the most recent ones
    store.Trim(budget);
    // The overview keeps its share (50 MiB: six tiles); the finer tiles go as far as the budget
    // asks, though they were used last.
    EXPECT_LE(store.OverviewBytes(), IMPN_TileStore::OverviewAllowance(budget));
    EXPECT_GT(store.OverviewBytes(), IMPN_TileStore::OverviewAllowance(budget) - 8 * mib - mib);
    EXPECT_FALSE(store.Holds(7, 0, 0));
    EXPECT_TRUE(store.Holds(7, 0, 9 * levels[7].tileWidth));
    EXPECT_LE(store.FinerBytes() + store.OverviewBytes(), budget);
    EXPECT_FALSE(store.Holds(5, 0, 0));
    EXPECT_TRUE(store.Holds(5, 0, 3 * levels[5].tileWidth));

    // Finer tiles all on screen or pinned: the overview gives way down to the minimum only.
    store.SetOnScreen(5, 0, 0, 4 * levels[5].tileWidth, levels[5].tileHeight);
    const IMPN_RenderTile* pinned = add(6, 0, 60 * mib);
    store.Pin(6, *pinned);
    store.Trim(budget);
    EXPECT_TRUE(store.Holds(6, 0, 0));
    EXPECT_LE(store.OverviewBytes(), IMPN_TileStore::kMinOverviewAllowance);
    EXPECT_GT(store.OverviewBytes(), IMPN_TileStore::kMinOverviewAllowance - 8 * mib - mib);
    // An overview tile on screen stays whatever it costs.
    store.SetOnScreen(8, 0, 0, levels[8].tileWidth, levels[8].tileHeight);
    add(8, 0, 200 * mib);
    store.Trim(budget);
    EXPECT_TRUE(store.Holds(8, 0, 0));
    EXPECT_TRUE(store.Holds(6, 0, 0));
}
