// The renderer on a worker pool: the same pictures at every level whatever the number of workers,
// results asked for before a change dropped, and the pool and the renderer ending cleanly with
// work still queued.

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "IMPN_RenderTestInk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace
{
using BitFn = std::function<bool(std::uint32_t, std::uint32_t)>;

// Screened areas, solid and blank source tiles side by side, and an edge that ends inside a
// source tile: every path from source tile to level tile is taken.
BitFn Pattern(unsigned seed)
{
    return [seed](std::uint32_t x, std::uint32_t y)
    {
        if (x >= 640 && x < 768)
            return seed % 2 == 0; // a column of solid or blank source tiles
        if (y >= 512)
            return false;
        return ((x * 7919u + y * 104729u + seed * 31u) ^ (x * y + seed)) % 7u < 3u;
    };
}

struct Surface
{
    std::uint8_t paper[3] = {235, 245, 250};
    std::vector<IMPN_RenderTestInk*> inks;
    std::unique_ptr<IMPN_SurfaceRenderer> renderer;

    explicit Surface(unsigned inkCount, bool workerReaders = true)
    {
        std::vector<std::unique_ptr<IMPN_RenderInk>> owned;
        for (unsigned k = 0; k < inkCount; ++k)
        {
            auto ink = std::make_unique<IMPN_RenderTestInk>(900, 700, Pattern(k), 128);
            ink->colour[k % 3] = std::uint8_t(40 * k);
            ink->opacity = 60 + 5 * k;
            ink->workerReaders = workerReaders;
            inks.push_back(ink.get());
            owned.push_back(std::move(ink));
        }
        renderer = std::make_unique<IMPN_SurfaceRenderer>(std::move(owned), paper);
    }
};

// The part of a level compared: the whole picture, or a corner of the magnified ones.
struct Window
{
    std::int32_t width, height;
};

Window WindowOf(const IMPN_SurfaceRenderer& renderer, int level)
{
    const IMPN_RenderLevel& l = renderer.GetLevel(level);
    return {std::min(l.width, 1100), std::min(l.height, 900)};
}

std::vector<std::uint8_t> Compose(IMPN_SurfaceRenderer& renderer, int level, std::uint32_t stamp,
                                  IMPN_WorkerPool* pool)
{
    const Window w = WindowOf(renderer, level);
    std::vector<std::uint8_t> out(std::size_t(w.width) * w.height * 3);
    IMPN_RenderComposite::Compose(renderer, level, stamp, 0, 0, w.width, w.height, out.data(),
                                  std::size_t(w.width) * 3, {}, pool);
    return out;
}

// Collects results until none is pending; false when that takes unreasonably long.
bool WaitForResults(IMPN_SurfaceRenderer& renderer, std::uint32_t stamp)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;)
    {
        renderer.CollectResults(stamp);
        if (renderer.GetPendingCount() == 0)
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Asks for every tile of the window as the viewer does, drawing none until each has arrived.
std::vector<std::uint8_t> ComposeAsync(IMPN_SurfaceRenderer& renderer, int level,
                                       std::uint32_t stamp, IMPN_WorkerPool& pool)
{
    const IMPN_RenderLevel& l = renderer.GetLevel(level);
    const Window w = WindowOf(renderer, level);
    for (int round = 0; round < 100; ++round)
    {
        bool all = true;
        for (std::int32_t top = 0; top < w.height; top += l.tileHeight)
            for (std::int32_t left = 0; left < w.width; left += l.tileWidth)
                if (renderer.RequestTile(top, left, level, stamp, pool) == nullptr)
                    all = false;
        if (all)
            break;
        EXPECT_TRUE(WaitForResults(renderer, stamp));
    }
    return Compose(renderer, level, stamp, nullptr);
}

// Holds the pool's workers until released, so that what is submitted after it stays queued.
struct Gate
{
    std::promise<void> promise;
    explicit Gate(IMPN_WorkerPool& pool, unsigned workers = 1)
    {
        std::shared_future<void> opened = promise.get_future().share();
        for (unsigned i = 0; i < workers; ++i)
            pool.Submit([opened] { opened.wait(); });
    }
    void Open()
    {
        if (!opened)
            promise.set_value();
        opened = true;
    }
    ~Gate() { Open(); }
    bool opened = false;
};

// Returns when a one-worker pool has run everything queued before.
void Drain(IMPN_WorkerPool& pool)
{
    std::promise<void> done;
    pool.Submit([&done] { done.set_value(); });
    done.get_future().wait();
}
} // namespace

TEST(WorkerPool, ParallelForRunsEveryIndexOnceAndRethrowsTheFirstFailure)
{
    IMPN_WorkerPool pool(3);
    EXPECT_EQ(pool.GetWorkerCount(), 3u);
    std::vector<std::atomic<int>> runs(1000);
    pool.ParallelFor(runs.size(), [&](std::size_t i) { runs[i].fetch_add(1); });
    for (std::size_t i = 0; i < runs.size(); ++i)
        ASSERT_EQ(runs[i].load(), 1) << i;

    std::atomic<int> ran{0};
    EXPECT_THROW(pool.ParallelFor(50,
                                  [&](std::size_t i)
                                  {
                                      ran.fetch_add(1);
                                      if (i == 7)
                                          throw std::runtime_error("tile");
                                  }),
                 std::runtime_error);
    EXPECT_EQ(ran.load(), 50); // the others still ran
    EXPECT_GE(IMPN_WorkerPool::DefaultWorkerCount(), 1u);
}

TEST(WorkerPool, EndingWithWorkQueuedDropsItAndReleasesWhatItHeld)
{
    auto held = std::make_shared<int>(0);
    std::atomic<int> ran{0};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::thread opener;
    {
        IMPN_WorkerPool pool(2);
        for (int i = 0; i < 2; ++i)
            pool.Submit([released] { released.wait(); });
        for (int i = 0; i < 100; ++i)
            pool.Submit([held, &ran] { ran.fetch_add(1); });
        EXPECT_GE(pool.GetQueuedCount(), 100u);
        // The workers are freed only while the pool is ending, after it has dropped the queue.
        opener = std::thread(
            [&release]
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                release.set_value();
            });
    }
    opener.join();
    EXPECT_LT(ran.load(), 100);
    EXPECT_EQ(held.use_count(), 1);
}

// Indexed 1:1 tiles and their magnified levels (three inks), colour tiles at every level (nine),
// the coverage levels and the pyramid: made on one, two and three workers, fork-join and one
// request at a time, every level equals the picture made without workers byte for byte.
TEST(RendererThreads, EveryLevelIsTheSameWithAnyNumberOfWorkers)
{
    for (unsigned inkCount : {3u, 9u})
    {
        Surface reference(inkCount);
        const std::uint32_t stamp = IMPN_ChangeCounter::Next();
        for (unsigned workers : {1u, 2u, 3u})
        {
            IMPN_WorkerPool pool(workers);
            Surface batch(inkCount), async(inkCount);
            for (int level = 0; level < IMPN_RenderLevel::kLevelCount; ++level)
            {
                const std::vector<std::uint8_t> expected =
                    Compose(*reference.renderer, level, stamp, nullptr);
                ASSERT_FALSE(expected.empty());
                EXPECT_TRUE(Compose(*batch.renderer, level, stamp, &pool) == expected)
                    << inkCount << " inks, " << workers << " workers, level " << level;
                EXPECT_TRUE(ComposeAsync(*async.renderer, level, stamp, pool) == expected)
                    << inkCount << " inks, " << workers << " workers, level " << level
                    << " (requests)";
            }
            // The owner's inks decoded nothing the workers had decoded for them.
            EXPECT_EQ(batch.inks[0]->reads, 0);
            EXPECT_GT(batch.inks[0]->notedClasses, 0);
        }
    }
}

// A coverage tile asked for before a colour change shows the old colour: it is dropped, asked for
// again and then shows the new one.
TEST(RendererThreads, ColourTileAskedForBeforeAChangeIsDropped)
{
    IMPN_WorkerPool pool(1);
    Surface s(2);
    const std::uint32_t before = IMPN_ChangeCounter::Next();
    Gate gate(pool);
    EXPECT_EQ(s.renderer->RequestTile(0, 0, 5, before, pool), nullptr);
    EXPECT_EQ(s.renderer->GetPendingCount(), 1u);

    s.inks[1]->colour[0] = 250; // a new colour, and with it a new stamp of the surface
    const std::uint32_t after = IMPN_ChangeCounter::Next();
    gate.Open();
    Drain(pool);
    EXPECT_EQ(s.renderer->CollectResults(after), 0u);
    EXPECT_EQ(s.renderer->GetPendingCount(), 0u);

    EXPECT_EQ(s.renderer->RequestTile(0, 0, 5, after, pool), nullptr); // asked for again
    Drain(pool);
    EXPECT_EQ(s.renderer->CollectResults(after), 1u);
    ASSERT_NE(s.renderer->RequestTile(0, 0, 5, after, pool), nullptr);

    Surface changed(2), unchanged(2);
    changed.inks[1]->colour[0] = 250;
    const std::uint32_t now = IMPN_ChangeCounter::Next();
    const std::vector<std::uint8_t> got = Compose(*s.renderer, 5, after, nullptr);
    EXPECT_TRUE(got == Compose(*changed.renderer, 5, now, nullptr));
    EXPECT_FALSE(got == Compose(*unchanged.renderer, 5, now, nullptr));
}

// Indexed tiles hold no colour, so a colour change keeps them; releasing the tiles starts a new
// generation, and what was asked for before is dropped.
TEST(RendererThreads, IndexedTileSurvivesAColourChangeButNotAReleaseOfTiles)
{
    IMPN_WorkerPool pool(1);
    Surface s(2);
    const std::uint32_t before = IMPN_ChangeCounter::Next();
    {
        Gate gate(pool);
        EXPECT_EQ(s.renderer->RequestTile(0, 0, 3, before, pool), nullptr);
        s.inks[0]->colour[2] = 99;
    }
    const std::uint32_t after = IMPN_ChangeCounter::Next();
    Drain(pool);
    EXPECT_EQ(s.renderer->CollectResults(after), 1u);
    Surface changed(2);
    changed.inks[0]->colour[2] = 99;
    EXPECT_TRUE(Compose(*s.renderer, 3, after, nullptr) ==
                Compose(*changed.renderer, 3, IMPN_ChangeCounter::Next(), nullptr));

    {
        Gate gate(pool);
        EXPECT_EQ(s.renderer->RequestTile(0, 0, 4, after, pool), nullptr);
        s.renderer->ReleaseTiles();
        EXPECT_EQ(s.renderer->GetPendingCount(), 0u);
    }
    Drain(pool);
    EXPECT_EQ(s.renderer->CollectResults(after), 0u);
    EXPECT_EQ(s.renderer->GetCachedBytes(), 0u);
}

// Requests the workers have not started when the view moves on are skipped, and asking again
// makes them.
TEST(RendererThreads, CancelledRequestsAreNotMadeAndCanBeAskedForAgain)
{
    IMPN_WorkerPool pool(1);
    Surface s(2), reference(2);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    {
        Gate gate(pool);
        for (std::int32_t top : {0, 128})
            for (std::int32_t left : {0, 128})
                EXPECT_EQ(s.renderer->RequestTile(top, left, 4, stamp, pool), nullptr);
        EXPECT_EQ(s.renderer->GetPendingCount(), 4u);
        s.renderer->CancelQueued();
    }
    Drain(pool);
    EXPECT_EQ(s.renderer->CollectResults(stamp), 0u);
    EXPECT_EQ(s.renderer->GetPendingCount(), 0u);
    EXPECT_EQ(s.renderer->GetCachedBytes(), 0u);
    EXPECT_TRUE(ComposeAsync(*s.renderer, 4, stamp, pool) ==
                Compose(*reference.renderer, 4, stamp, nullptr));
}

// A renderer (a sheet) that goes while its tiles are queued leaves the pool working; its queued
// tasks end without touching it.
TEST(RendererThreads, RendererEndingWithWorkQueuedLeavesThePoolWorking)
{
    IMPN_WorkerPool pool(2);
    {
        Gate gate(pool, 2);
        Surface s(3);
        const std::uint32_t stamp = IMPN_ChangeCounter::Next();
        for (std::int32_t top = 0; top < 700; top += 128)
            for (std::int32_t left = 0; left < 900; left += 128)
                EXPECT_EQ(s.renderer->RequestTile(top, left, 3, stamp, pool), nullptr);
        EXPECT_GT(s.renderer->GetPendingCount(), 10u);
        gate.Open();
        // The renderer ends here, some of its tasks running, the rest still queued.
    }
    std::atomic<int> ran{0};
    pool.ParallelFor(8, [&](std::size_t) { ran.fetch_add(1); });
    EXPECT_EQ(ran.load(), 8);
}

// Inks that cannot be read from another thread are drawn as before, at once.
TEST(RendererThreads, InksWithoutWorkerReadersAreMadeOnTheCallingThread)
{
    IMPN_WorkerPool pool(2);
    Surface s(2, false), reference(2);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    EXPECT_NE(s.renderer->RequestTile(0, 0, 6, stamp, pool), nullptr);
    EXPECT_EQ(s.renderer->GetPendingCount(), 0u);
    EXPECT_TRUE(Compose(*s.renderer, 4, stamp, &pool) ==
                Compose(*reference.renderer, 4, stamp, nullptr));
}

// Worker readers open as the tiles being made at once need them, not a set for every worker of
// the pool; they close when idle for the idle delay and when a smaller pool asks for tiles, and
// open again for the next tiles, which come out the same.
TEST(RendererThreads, WorkerReadersOpenWhenNeededAndCloseWhenIdleOrThePoolShrinks)
{
    IMPN_WorkerPool wide(32);
    Surface s(3), reference(3);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    EXPECT_EQ(s.renderer->RequestTile(0, 0, 3, stamp, wide), nullptr);
    ASSERT_TRUE(WaitForResults(*s.renderer, stamp));
    EXPECT_EQ(s.renderer->GetWorkerSlotCount(), 1u);
    EXPECT_EQ(s.renderer->CloseIdleReaders(), 0u); // used a moment ago
    s.renderer->SetReaderIdleDelay(std::chrono::milliseconds(0));
    EXPECT_EQ(s.renderer->CloseIdleReaders(), 1u);
    EXPECT_EQ(s.renderer->GetWorkerSlotCount(), 0u);

    for (int level : {4, 5})
        EXPECT_TRUE(ComposeAsync(*s.renderer, level, stamp, wide) ==
                    Compose(*reference.renderer, level, stamp, nullptr))
            << level;
    EXPECT_GE(s.renderer->GetWorkerSlotCount(), 1u);
    EXPECT_LE(s.renderer->GetWorkerSlotCount(), 33u);

    // One worker and the calling thread need two sets at most.
    IMPN_WorkerPool narrow(1);
    s.renderer->ReleaseTiles();
    EXPECT_TRUE(Compose(*s.renderer, 4, stamp, &narrow) ==
                Compose(*reference.renderer, 4, stamp, nullptr));
    EXPECT_LE(s.renderer->GetWorkerSlotCount(), 2u);
}

// Readers that cannot be opened on the workers (no descriptor left) leave the tiles to the readers
// that are open; with none at all, to the calling thread. The picture is the same either way, and
// the renderer says why.
TEST(RendererThreads, ReadersThatCannotBeOpenedLeaveTheWorkToThoseThatCan)
{
    const std::thread::id owner = std::this_thread::get_id();
    IMPN_WorkerPool pool(4);
    Surface some(3), none(3), reference(3);
    some.inks[1]->openFailure = [owner]
    {
        if (std::this_thread::get_id() != owner)
            throw std::runtime_error("M.tif: Too many open files");
    };
    none.inks[2]->openFailure = [] { throw std::runtime_error("Y.tif: Too many open files"); };
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    for (int level : {3, 5})
    {
        const std::vector<std::uint8_t> expected =
            Compose(*reference.renderer, level, stamp, nullptr);
        EXPECT_TRUE(Compose(*some.renderer, level, stamp, &pool) == expected) << level;
        EXPECT_TRUE(ComposeAsync(*none.renderer, level, stamp, pool) == expected) << level;
    }
    EXPECT_GE(some.renderer->GetWorkerSlotCount(), 1u); // all opened on the calling thread
    EXPECT_EQ(none.renderer->GetWorkerSlotCount(), 0u);
    EXPECT_EQ(none.renderer->GetWorkerFailure(), "Y.tif: Too many open files");
}

// The tiles made ahead on the pool are made a group at a time within the memory budget: a coarse
// tile standing for more source-reading tiles than a group may hold is made from the level below
// first, still on the workers, and comes out as on this thread alone.
TEST(RendererThreads, CoarseTilesNeedingMoreThanAGroupAreMadeLevelByLevelOnThePool)
{
    IMPN_WorkerPool pool(2);
    const auto make = []
    {
        std::vector<std::unique_ptr<IMPN_RenderInk>> owned;
        for (unsigned k = 0; k < 2; ++k)
        {
            auto ink = std::make_unique<IMPN_RenderTestInk>(
                5120, 4608,
                [k](std::uint32_t x, std::uint32_t y)
                { return ((x / 3 + y / 5 + k) % 7) < 3 + (x / 640 + y / 512) % 3; },
                512);
            ink->colour[k] = 90;
            owned.push_back(std::move(ink));
        }
        return owned;
    };
    std::uint8_t paper[3] = {250, 250, 250};
    std::vector<std::unique_ptr<IMPN_RenderInk>> pooledInks = make();
    std::vector<IMPN_RenderTestInk*> pooled;
    for (auto& ink : pooledInks)
        pooled.push_back(static_cast<IMPN_RenderTestInk*>(ink.get()));
    IMPN_SurfaceRenderer onPool(std::move(pooledInks), paper);
    IMPN_SurfaceRenderer alone(make(), paper);
    // The smallest group: the 1:8 picture under one 1:512 tile is larger than it.
    onPool.SetMemoryBudget(0);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    for (int level = 12; level >= 9; --level)
        EXPECT_TRUE(Compose(onPool, level, stamp, &pool) == Compose(alone, level, stamp, nullptr))
            << "level " << level;
    for (const IMPN_RenderTestInk* ink : pooled)
        EXPECT_EQ(ink->reads, 0);
}
