#pragma once
// The tile cache of one surface. It turns the surface's screened one-bit separations into tiles
// of its picture at the thirteen zoom levels, keeps the tiles it made (those of the finer levels
// within a memory budget, see IMPN_TileStore), and remakes a tile only when the separations
// changed after it was made or when it was evicted.
//
// At 1:1 and above, with at most eight separations, tiles hold palette indices (one bit per
// separation), so colour, opacity and visibility changes only rebuild the palette. Everywhere
// else tiles hold colour: ink coverage counted exactly from the one-bit data down to 1:8, then a
// 2 x 2 averaging pyramid. Tiles whose separations are all blank or solid keep one index or
// colour.
//
// Threads: the renderer, its tiles, its palette and its inks belong to the thread that made it
// (the owner). Only the tiles that read source tiles (1:1 and the coverage levels 1:2 to 1:8)
// are made on a worker pool, and a worker touches nothing the owner can change: it reads through
// its own readers of the separations (IMPN_RenderInk::OpenWorkerReader), with a copy of the ink
// colours and of the tile classes the owner knew, into a tile of its own. The owner adopts the
// finished tile (and the tile classes the worker found) into its store; the magnified and the
// pyramid levels are then made on the owner from those tiles, exactly as without workers, so the
// pictures never depend on the number of threads. Results come back tagged with the renderer's
// generation (ReleaseTiles starts a new one), the level, the tile and the change stamp they were
// asked for: one that no longer matches is dropped, never drawn. Indexed tiles hold no colour
// (the palette is attached when a tile is handed out), so only colour tiles carry the stamp.
//
// Workers read through slots of readers (one reader per separation) that the renderer opens as
// the tiles being made at once need them, never more than the pool has threads, and closes when
// they have been idle for a while (CloseIdleReaders), when the pool shrinks and when the renderer
// ends: a surface that is not being drawn holds no worker's file handles.
//
// A level tile is assembled from every source tile it covers, so source tiles of any size that
// is a multiple of 16 give the same picture; a part of a level tile with no source behind it
// shows the paper, and every pixel beyond the level picture is white.

#include "IMPN/IMPN_Palette.h"
#include "IMPN/IMPN_RenderInk.h"
#include "IMPN/IMPN_RenderLevel.h"
#include "IMPN/IMPN_RenderTile.h"
#include "IMPN/IMPN_RunCoverage.h"
#include "IMPN/IMPN_TileStore.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class IMPN_WorkerPool;

class IMPN_SurfaceRenderer
{
public:
    static constexpr std::size_t kMaxIndexedSeparations = 8;

    // inks in separation order (the first one's main image sets the geometry); paperColour points
    // at the surface's blue, green, red bytes and must outlive the renderer.
    IMPN_SurfaceRenderer(std::vector<std::unique_ptr<IMPN_RenderInk>> inks,
                         const std::uint8_t* paperColour);
    IMPN_SurfaceRenderer(const IMPN_SurfaceRenderer&) = delete;
    IMPN_SurfaceRenderer& operator=(const IMPN_SurfaceRenderer&) = delete;
    // Waits for the worker tasks running for it; those still queued find it gone and end.
    ~IMPN_SurfaceRenderer();

    // The tile at (top, left) of the level (level pixels; positions inside a tile give that
    // tile), made or remade for the surface's latest change stamp; null for a position outside
    // the level picture or a level outside 0..12. The tile stays owned by the renderer. It is
    // valid until the next GetTile, SetMemoryBudget, ReleaseTiles or the renderer's end; a tile
    // inside the visible tiles and one pinned stay valid across GetTile and SetMemoryBudget too,
    // as long as they are so.
    const IMPN_RenderTile* GetTile(std::int32_t top, std::int32_t left, int level,
                                   std::uint32_t stamp);

    // The tile at (top, left) of the level when it is already made and current for the stamp
    // (an indexed one also needs a current palette); null otherwise. Never makes a tile, so
    // that asking for a stand-in costs nothing.
    const IMPN_RenderTile* FindTile(std::int32_t top, std::int32_t left, int level,
                                    std::uint32_t stamp) const;

    // Makes the tiles at the given level positions (level pixels, as for GetTile) and every
    // tile they are made from, the source-reading ones in parallel on the pool, a group at a
    // time within a quarter of the memory budget; returns when all are made. A later GetTile for
    // those positions only hands them out, as far as the budget kept them. Without a pool nothing
    // is done here and GetTile makes them.
    struct Position
    {
        std::int32_t top = 0;
        std::int32_t left = 0;
    };
    void MakeTiles(const std::vector<Position>& positions, int level, std::uint32_t stamp,
                   IMPN_WorkerPool* pool);

    // The tile as GetTile gives it when it can be handed out at once (made, or made on this
    // thread from finer tiles already made); otherwise the source-reading tiles it needs are
    // queued on the pool (once each) and null is returned: ask again after CollectResults.
    // Falls back to GetTile when the inks cannot be read from workers.
    const IMPN_RenderTile* RequestTile(std::int32_t top, std::int32_t left, int level,
                                       std::uint32_t stamp, IMPN_WorkerPool& pool);
    // Adopts the tiles the workers have finished, on the owner's thread; stamp is the surface's
    // latest change stamp. Results of an earlier generation, and colour tiles asked for an older
    // stamp, are dropped. Returns the tiles adopted.
    std::size_t CollectResults(std::uint32_t stamp);
    // Tiles queued on or being made by workers whose results have not been collected yet.
    std::size_t GetPendingCount() const { return m_InFlight.size(); }
    // Drops the requests the workers have not started yet (the view left their level or
    // region); tiles being made are still adopted. Asking again queues them anew.
    void CancelQueued();

    // Frees every tile of every level and starts a new generation: results of work asked for
    // before are dropped. Tiles are made again on request.
    void ReleaseTiles();
    // The inks' colours changed without a change stamp of the surface telling so (inks whose
    // colours come from elsewhere, as the comparison's do): every tile is made again and the
    // palette rebuilt.
    void Recolour();

    // Worker readers idle this long are closed by CloseIdleReaders.
    static constexpr std::chrono::milliseconds kReaderIdleDelay{4000};
    void SetReaderIdleDelay(std::chrono::milliseconds delay) { m_ReaderIdleDelay = delay; }
    // Closes the worker readers that have been idle for the idle delay; returns the slots
    // closed. The owner calls it now and then (the viewer once a second); readers open again
    // when tiles are asked of the pool.
    std::size_t CloseIdleReaders();
    // Slots of worker readers open (idle, in use or being opened); each holds one reader per
    // separation.
    std::size_t GetWorkerSlotCount() const;
    // Why the latest tile asked of a worker was not made there (a file that could not be opened
    // again, no memory); empty once a worker could read again. Each new failure is also logged.
    const std::string& GetWorkerFailure() const { return m_WorkerFailure; }

    // The budget of the tiles, in bytes of pixel stores plus a small charge per tile: past it,
    // GetTile evicts the least recently used of them that are neither visible nor pinned, those
    // of the finer levels (8:1 to 1:8) first; the overview levels (1:16 and below) keep up to half
    // of it (at least 16 MiB). Evicted tiles are made again, identical, when asked for.
    static constexpr std::size_t kDefaultMemoryBudget = std::size_t(256) << 20;
    // The range a user may choose from: below it a large screen's worth of tiles would be remade
    // over and over, above it no desktop holds the tiles.
    static constexpr std::size_t kMinMemoryBudget = std::size_t(16) << 20;
    static constexpr std::size_t kMaxMemoryBudget = std::size_t(64) << 30;
    void SetMemoryBudget(std::size_t bytes);
    std::size_t GetMemoryBudget() const { return m_MemoryBudget; }
    // What the finer levels' tiles and the overview levels' tiles count against the budget now.
    std::size_t GetBudgetedBytes() const { return m_Tiles.FinerBytes(); }
    std::size_t GetOverviewBytes() const { return m_Tiles.OverviewBytes(); }

    // The tiles of the level touching level pixels [left, left + width) x [top, top + height)
    // are on screen: never evicted while they stay so. One rectangle per renderer (a surface is
    // shown once); a new call replaces it, an empty rectangle or ClearVisibleTiles protects none.
    void SetVisibleTiles(int level, std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height);
    void ClearVisibleTiles();

    // Protects a tile handed out by GetTile from eviction until as many UnpinTile calls have come
    // (for a caller that holds several tiles at once).
    void PinTile(int level, const IMPN_RenderTile& tile);
    void UnpinTile(int level, const IMPN_RenderTile& tile);

    // Whether the renderer keeps a record of the tile at (top, left) of the level, made or not.
    bool HoldsTile(std::int32_t top, std::int32_t left, int level) const;

    const IMPN_RenderLevel& GetLevel(int level) const;
    bool UsesIndexedTiles(int level) const;
    const IMPN_Palette& GetPalette() const { return m_Palette; }
    std::size_t GetSeparationCount() const { return m_Inks.size(); }

    // Main-image geometry of the first separation.
    std::uint32_t GetImageWidth() const { return m_ImageWidth; }
    std::uint32_t GetImageLength() const { return m_ImageLength; }

    // Bytes held by all tiles (pixel stores only).
    std::size_t GetCachedBytes() const;
    // Tiles the renderer keeps a record of: those asked for so far and those they were made
    // from, however large the picture.
    std::size_t GetTileRecordCount() const;

private:
    struct SourceSpan
    {
        std::uint32_t tileX, tileY;   // source tile origin
        std::uint32_t x0, y0, x1, y1; // part of the source rectangle inside it
    };
    // Display state of one ink, copied on the owner's thread for the tile being made.
    struct InkState
    {
        bool visible = true;
        std::uint8_t colour[3] = {0, 0, 0};
        std::uint8_t background[3] = {255, 255, 255};
        unsigned opacity = 100;
    };
    struct LearnedClass
    {
        std::size_t ink;
        std::uint32_t x, y;
        int tileClass;
    };
    // What one thread needs to make source-reading tiles. On the owner it reads the inks
    // themselves (their tile classes included); on a worker, its own readers, the owner's tile
    // classes copied into `known`, and it lists the classes it finds.
    struct Maker
    {
        std::vector<IMPN_RenderInk*> sources;
        std::vector<InkState> inks;
        std::uint8_t paper[3] = {255, 255, 255};
        const std::unordered_map<std::uint64_t, std::uint8_t>* known = nullptr;
        std::vector<LearnedClass>* learned = nullptr;
        std::vector<std::uint8_t> bits;     // one source tile
        std::vector<std::uint8_t> coverage; // one level tile of coverage values
        IMPN_RunCoverage runs;              // one source tile counted from run lengths
    };
    struct Job;
    struct Result;
    struct WorkerSlot;
    struct WorkerShare;

    class SourcePins;

    // Makes the tile when it has no pixels or, for colour tiles, is older than stamp; true when
    // it made it.
    bool Refresh(IMPN_RenderTile& tile, int level, std::uint32_t stamp);
    void RebuildPalette();
    void SnapshotInks(Maker& maker) const;
    void MakeIndexedUnitTile(IMPN_RenderTile& tile, Maker& maker) const;
    void MakeMagnifiedTile(IMPN_RenderTile& tile, int level, std::uint32_t stamp, bool indexed);
    void MakeCoverageTile(IMPN_RenderTile& tile, int level, Maker& maker) const;
    void MakePyramidTile(IMPN_RenderTile& tile, int level, std::uint32_t stamp);
    void WhitenOutside(IMPN_RenderTile& tile, int level) const;
    static void CollapseIfUniform(IMPN_RenderTile& tile);

    // Origins of the level-3 tiles a magnified tile is drawn from, and of the previous level's
    // tiles a pyramid tile is averaged from.
    std::vector<Position> MagnifiedSources(const IMPN_RenderTile& tile, int level) const;
    std::vector<Position> PyramidSources(const IMPN_RenderTile& tile, int level) const;
    // Whether GetTile would make (or remake) the tile.
    bool IsStale(const IMPN_RenderTile& tile, int level, std::uint32_t stamp) const;
    // Adds to `out` the source-reading tiles that must be made before the tile at (top, left)
    // can be handed out; `seen` keeps each tile from being listed twice.
    struct Needed
    {
        int level;
        IMPN_RenderTile* tile;
        std::uint64_t key;
    };
    void CollectNeeded(std::int32_t top, std::int32_t left, int level, std::uint32_t stamp,
                       std::vector<Needed>& out, std::unordered_map<std::uint64_t, bool>& seen);
    // Makes the source-reading tiles a group of positions needs on the pool, then the group's
    // tiles from them.
    void MakeGroup(const std::vector<Position>& group, const std::vector<Needed>& needed, int level,
                   std::uint32_t stamp, IMPN_WorkerPool& pool);
    // What one group's source-reading tiles may take at least, however small the budget.
    static constexpr std::size_t kMinGroupBytes = std::size_t(1) << 20;
    Job PrepareJob(const Needed& needed, std::uint32_t stamp);
    void RunJob(const Job& job, WorkerSlot& slot, Result& result) const;
    // Makes the job's tile on the calling thread through a slot of worker readers; throws
    // nothing, a failure ends in the result.
    void RunTask(const Job& job, Result& result) const noexcept;
    // A task queued by RequestTile.
    void RunQueued(const std::shared_ptr<WorkerShare>& share, const Job& job) const noexcept;
    // A slot of readers: null when an ink cannot be read from workers; throws when a reader
    // cannot be opened.
    std::unique_ptr<WorkerSlot> OpenSlot() const;
    // A slot for a task (see the definition); null, with the reason, when none can be had.
    std::unique_ptr<WorkerSlot> TakeSlot(std::string& failure) const;
    static void CloseSlots(std::vector<std::unique_ptr<WorkerSlot>> slots);
    // Moves a finished tile into the store; false when it is no longer wanted.
    bool Adopt(Result& result);
    void NoteWorkerFailure(const std::string& failure);
    // Allows up to `count` slots of worker readers, closing idle ones beyond it, and opens the
    // first; false when the tiles are to be made on the owner's thread.
    bool EnsureWorkerSlots(std::size_t count);
    static std::size_t SlotsFor(const IMPN_WorkerPool& pool);
    static std::uint64_t TileKey(int level, const IMPN_RenderTile& tile,
                                 const IMPN_RenderLevel& record);

    // Source tiles overlapping the main-image rectangle, clipped to the source tile grid.
    std::vector<SourceSpan> SourceSpans(std::int64_t x, std::int64_t y, std::int64_t width,
                                        std::int64_t height) const;
    // Reads one source tile of ink k: returns 0 blank, 1 solid, 2 mixed (bits in maker.bits),
    // -1 when nothing can be drawn from it.
    int ReadSource(Maker& maker, std::size_t k, std::uint32_t x, std::uint32_t y) const;
    // The class of the source tile as the thread making a tile knows it (see GetTileClass).
    int TileClassOf(Maker& maker, std::size_t k, std::uint32_t x, std::uint32_t y) const;
    // Coverage of the cells of span s of ink k at reduction r, written to out (rows outStride
    // apart): counted from the decoder's run lengths where the ink can (r of 2 to 8), else
    // reduced from the tile's bits. Returns as ReadSource; the cells are written for 2 only.
    int ReadSourceCoverage(Maker& maker, std::size_t k, const SourceSpan& s, unsigned r,
                           std::uint8_t* out, std::size_t outStride) const;

    std::vector<std::unique_ptr<IMPN_RenderInk>> m_Inks;
    std::vector<bool> m_InkUsable; // same tile geometry as the first separation
    const std::uint8_t* m_Paper;
    IMPN_RenderLevel m_Levels[IMPN_RenderLevel::kLevelCount];

    std::uint32_t m_ImageWidth = 0, m_ImageLength = 0;
    std::uint32_t m_SourceTileWidth = 0, m_SourceTileLength = 0;
    std::uint32_t m_SourceTilesAcross = 0, m_SourceTilesDown = 0;
    std::size_t m_SourceRowBytes = 0, m_SourceTileBytes = 0;

    IMPN_Palette m_Palette;
    IMPN_TileStore m_Tiles;
    std::size_t m_MemoryBudget = kDefaultMemoryBudget;

    Maker m_Maker; // the owner's

    // Work handed to the pool: what the tasks share with the renderer, the tiles queued (tile
    // key to job serial), the generation and the latest stamp asked for.
    std::shared_ptr<WorkerShare> m_Share;
    struct Queued
    {
        std::uint64_t serial;
        std::uint32_t stamp;
    };
    std::unordered_map<std::uint64_t, Queued> m_InFlight;
    std::uint64_t m_Generation = 1;
    std::uint64_t m_NextSerial = 1;
    std::uint32_t m_LatestStamp = 0;
    bool m_WorkersUnusable = false;
    std::chrono::milliseconds m_ReaderIdleDelay = kReaderIdleDelay;
    std::string m_WorkerFailure;
};
