#include "IMPN/IMPN_SurfaceRenderer.h"

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_CoverageKernel.h"
#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Pyramid.h"
#include "IMPN/IMPN_WorkerPool.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>

namespace
{
constexpr int kUnit = IMPN_RenderLevel::kUnitLevel;
constexpr int kFirstPyramidLevel = 7;

// Source tiles larger than this per tile are refused: a one-bit tile of 16384 x 16384 pixels is
// already far beyond what a preview file holds (512 x 512).
constexpr std::uint64_t kMaxSourceTileBytes = std::uint64_t(32) << 20;

// Eight one-byte lanes of 0 or 1, most significant bit first.
struct BitLanes
{
    std::uint64_t lanes[256];
    BitLanes()
    {
        for (unsigned b = 0; b < 256; ++b)
        {
            std::uint8_t v[8];
            for (unsigned k = 0; k < 8; ++k)
                v[k] = (b >> (7 - k)) & 1u;
            std::memcpy(&lanes[b], v, 8);
        }
    }
};

const BitLanes& GetBitLanes()
{
    static const BitLanes table;
    return table;
}

void FillColour(std::uint8_t* dst, std::size_t pixels, const std::uint8_t colour[3])
{
    for (std::size_t i = 0; i < pixels; ++i)
        std::memcpy(dst + 3 * i, colour, 3);
}
} // namespace

// One source-reading tile for a worker: everything it needs, copied on the owner's thread.
struct IMPN_SurfaceRenderer::Job
{
    int level = 0;
    IMPN_RenderTile geometry; // position and size only
    std::uint32_t stamp = 0;
    std::uint64_t generation = 0;
    std::uint64_t serial = 0;
    std::uint64_t key = 0;
    std::vector<InkState> inks;
    std::uint8_t paper[3] = {255, 255, 255};
    // (ink << 48 | source tile row << 24 | column) to the class the owner knew.
    std::unordered_map<std::uint64_t, std::uint8_t> known;
};

struct IMPN_SurfaceRenderer::Result
{
    int level = 0;
    std::uint32_t stamp = 0;
    std::uint64_t generation = 0;
    std::uint64_t serial = 0;
    std::uint64_t key = 0;
    IMPN_RenderTile tile;
    std::vector<LearnedClass> learned;
    std::string failure; // why the tile was not made, when it was not
};

// A worker's readers and scratch buffers; one task uses it at a time.
struct IMPN_SurfaceRenderer::WorkerSlot
{
    std::vector<std::unique_ptr<IMPN_RenderInk>> readers;
    Maker maker;
    std::chrono::steady_clock::time_point lastUsed;
};

/* What the renderer and its queued tasks share. The tasks hold it, not the renderer: a task that
   starts after the renderer has gone finds `closed` set and ends without touching it, and the
   renderer's destructor waits for the tasks already running (`running`). Finished tiles wait in
   `done` for the owner's CollectResults; room for every result owed is reserved before its task
   is queued, so that handing one over never fails.

   Slots (a set of readers each) are opened when a task finds none idle, up to `slotLimit`, so a
   surface holds descriptors for the tiles being made at once, not for every worker of the pool.
   A slot returned when it is over the limit or after the renderer's end is closed instead of
   kept; idle slots are closed by the owner after a while (CloseIdleReaders). Slots
   are closed outside the lock. */
struct IMPN_SurfaceRenderer::WorkerShare
{
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::unique_ptr<WorkerSlot>> idle;
    std::size_t slotCount = 0; // idle, in use and being opened
    std::size_t slotLimit = 0;
    std::size_t running = 0;
    bool closed = false;
    std::uint64_t cancelledBelow = 0; // jobs with a lower serial not started yet are skipped
    std::vector<Result> done;
    std::size_t owed = 0; // results of queued tasks not collected yet

    void ReturnSlot(std::unique_ptr<WorkerSlot> slot)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (closed || slotCount > slotLimit)
                --slotCount;
            else
            {
                slot->lastUsed = std::chrono::steady_clock::now();
                idle.push_back(std::move(slot));
            }
        }
        changed.notify_all();
        // A slot not kept closes its readers here, outside the lock.
    }

    // Takes the idle slots beyond `keep` and those idle since before `before` out of the share;
    // the caller closes them.
    std::vector<std::unique_ptr<WorkerSlot>> TakeIdle(std::size_t keep,
                                                      std::chrono::steady_clock::time_point before)
    {
        std::vector<std::unique_ptr<WorkerSlot>> out;
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::unique_ptr<WorkerSlot>> kept;
        // The most recently used come last: they are the ones kept.
        std::stable_sort(idle.begin(), idle.end(),
                         [](const auto& a, const auto& b) { return a->lastUsed < b->lastUsed; });
        const std::size_t surplus = slotCount > keep ? slotCount - keep : 0;
        for (auto& slot : idle)
        {
            if (out.size() < surplus || slot->lastUsed <= before)
                out.push_back(std::move(slot));
            else
                kept.push_back(std::move(slot));
        }
        idle.swap(kept);
        slotCount -= out.size();
        return out;
    }
};

IMPN_SurfaceRenderer::IMPN_SurfaceRenderer(std::vector<std::unique_ptr<IMPN_RenderInk>> inks,
                                           const std::uint8_t* paperColour)
    : m_Inks(std::move(inks)), m_InkUsable(m_Inks.size(), false), m_Paper(paperColour)
{
    // Fill the shared tables now rather than inside the first tile.
    GetBitLanes();
    std::uint8_t probe = 0;
    IMPN_CoverageKernel::Reduce(8, &probe, 1, 0, 0, 0, 0, &probe, 1);

    std::uint32_t w = 0, l = 0, tw = 0, tl = 0;
    bool geometry = !m_Inks.empty() && m_Inks[0]->GetImageInfo(w, l, tw, tl);
    // One-bit tiles are read whole and reduced in byte steps, so tile sizes must be multiples of
    // 16 as TIFF requires; anything else is not drawn.
    if (geometry && (tw == 0 || tl == 0 || tw % 16 != 0 || tl % 16 != 0 ||
                     std::uint64_t(tw / 8) * tl > kMaxSourceTileBytes))
        geometry = false;
    if (geometry)
    {
        m_ImageWidth = w;
        m_ImageLength = l;
        m_SourceTileWidth = tw;
        m_SourceTileLength = tl;
        m_SourceTilesAcross = static_cast<std::uint32_t>((std::uint64_t(w) + tw - 1) / tw);
        m_SourceTilesDown = static_cast<std::uint32_t>((std::uint64_t(l) + tl - 1) / tl);
        m_SourceRowBytes = tw / 8;
        m_SourceTileBytes = m_SourceRowBytes * tl;
        m_Maker.bits.resize(m_SourceTileBytes);
        for (std::size_t k = 0; k < m_Inks.size(); ++k)
        {
            std::uint32_t kw = 0, kl = 0, ktw = 0, ktl = 0;
            m_InkUsable[k] = m_Inks[k]->GetImageInfo(kw, kl, ktw, ktl) && ktw == tw && ktl == tl;
        }
        IMPN_RenderLevel::Compute(w, l, tw, tl, m_Levels);
    }
    else
    {
        IMPN_RenderLevel::Compute(0, 0, 0, 0, m_Levels);
    }

    for (int i = kUnit; i < IMPN_RenderLevel::kLevelCount; ++i)
        if (!m_Tiles.OpenLevel(i, m_Levels[i]))
            m_Levels[i].width = m_Levels[i].height = m_Levels[i].tilesAcross =
                m_Levels[i].tilesDown = 0;
    // The magnified levels are made from level 3: without it they have nothing to show.
    if (!m_Tiles.IsLevelOpen(kUnit))
        for (int i = 0; i < kUnit; ++i)
            m_Levels[i].width = m_Levels[i].height = m_Levels[i].tilesAcross =
                m_Levels[i].tilesDown = 0;
    m_Maker.coverage.resize(std::size_t(IMPN_RenderLevel::kMaxTileSize) *
                            IMPN_RenderLevel::kMaxTileSize);
    for (const auto& ink : m_Inks)
        m_Maker.sources.push_back(ink.get());
    m_Share = std::make_shared<WorkerShare>();
    RebuildPalette();
}

IMPN_SurfaceRenderer::~IMPN_SurfaceRenderer()
{
    std::vector<std::unique_ptr<WorkerSlot>> closing;
    {
        std::unique_lock<std::mutex> lock(m_Share->mutex);
        m_Share->closed = true;
        m_Share->changed.wait(lock, [this] { return m_Share->running == 0; });
        // Queued tasks may keep the share a while longer; the readers go now.
        closing.swap(m_Share->idle);
        m_Share->slotCount -= closing.size();
    }
}

const IMPN_RenderLevel& IMPN_SurfaceRenderer::GetLevel(int level) const
{
    return m_Levels[std::clamp(level, 0, IMPN_RenderLevel::kLevelCount - 1)];
}

bool IMPN_SurfaceRenderer::UsesIndexedTiles(int level) const
{
    return level >= 0 && level <= kUnit && m_Inks.size() <= kMaxIndexedSeparations;
}

std::size_t IMPN_SurfaceRenderer::GetCachedBytes() const
{
    return m_Tiles.CachedBytes();
}

std::size_t IMPN_SurfaceRenderer::GetTileRecordCount() const
{
    return m_Tiles.TileRecordCount();
}

void IMPN_SurfaceRenderer::ReleaseTiles()
{
    m_Tiles.Release();
    ++m_Generation;
    m_InFlight.clear();
}

void IMPN_SurfaceRenderer::Recolour()
{
    ReleaseTiles();
    RebuildPalette();
}

void IMPN_SurfaceRenderer::RebuildPalette()
{
    std::vector<IMPN_PaletteInk> inks(std::min(m_Inks.size(), kMaxIndexedSeparations));
    for (std::size_t k = 0; k < inks.size(); ++k)
    {
        inks[k].visible = m_Inks[k]->IsVisible();
        m_Inks[k]->GetInk(inks[k].colour, inks[k].background, inks[k].opacity);
    }
    m_Palette.Build(m_Paper, inks);
}

/* Holds the source tiles of a tile being made: asking for one source may evict what the budget
   no longer covers, and that must never be an earlier source of the same tile. */
class IMPN_SurfaceRenderer::SourcePins
{
public:
    SourcePins(IMPN_TileStore& store, int level) : m_Store(store), m_Level(level) {}
    SourcePins(const SourcePins&) = delete;
    SourcePins& operator=(const SourcePins&) = delete;
    ~SourcePins()
    {
        for (const IMPN_RenderTile* tile : m_Tiles)
            m_Store.Unpin(m_Level, *tile);
    }

    void Add(const IMPN_RenderTile* tile)
    {
        if (tile == nullptr)
            return;
        m_Tiles.reserve(m_Tiles.size() + 1);
        m_Store.Pin(m_Level, *tile);
        m_Tiles.push_back(tile);
    }

private:
    IMPN_TileStore& m_Store;
    int m_Level;
    std::vector<const IMPN_RenderTile*> m_Tiles;
};

const IMPN_RenderTile* IMPN_SurfaceRenderer::GetTile(std::int32_t top, std::int32_t left, int level,
                                                     std::uint32_t stamp)
{
    if (level < 0 || level >= IMPN_RenderLevel::kLevelCount)
        return nullptr;
    IMPN_RenderTile* tile = m_Tiles.Find(level, m_Levels[level], top, left);
    if (tile == nullptr)
        return nullptr;
    bool made = false;
    {
        // The tile itself is pinned while its sources are asked for.
        SourcePins self(m_Tiles, level);
        self.Add(tile);
        made = Refresh(*tile, level, stamp);
    }
    if (made)
        m_Tiles.Account(level, *tile);
    m_Tiles.Trim(m_MemoryBudget, tile);
    return tile;
}

bool IMPN_SurfaceRenderer::Refresh(IMPN_RenderTile& tile, int level, std::uint32_t stamp)
{
    bool made = false;
    if (UsesIndexedTiles(level))
    {
        // Indexed pixels depend on the one-bit data only; a change of colour, opacity or
        // visibility is a new palette.
        if (!tile.HasPixels())
        {
            if (level == kUnit)
            {
                SnapshotInks(m_Maker);
                MakeIndexedUnitTile(tile, m_Maker);
                tile.stamp = IMPN_ChangeCounter::Next();
            }
            else
                MakeMagnifiedTile(tile, level, stamp, true);
            made = true;
        }
        if (m_Palette.Stamp() < stamp)
            RebuildPalette();
        tile.palette = m_Palette.Entries();
        tile.paletteCount = m_Palette.Count();
        return made;
    }
    m_LatestStamp = std::max(m_LatestStamp, stamp);
    if (tile.HasPixels() && tile.stamp >= stamp)
        return false;
    // A uniform colour tile below 1:8 stood for several source tiles; it is always remade
    // through the pyramid, never from the class of one source tile.
    if (level < kUnit)
        MakeMagnifiedTile(tile, level, stamp, false);
    else if (level < kFirstPyramidLevel)
    {
        SnapshotInks(m_Maker);
        MakeCoverageTile(tile, level, m_Maker);
        tile.stamp = IMPN_ChangeCounter::Next();
    }
    else
        MakePyramidTile(tile, level, stamp);
    return true;
}

void IMPN_SurfaceRenderer::SetMemoryBudget(std::size_t bytes)
{
    m_MemoryBudget = bytes;
    m_Tiles.Trim(m_MemoryBudget);
}

void IMPN_SurfaceRenderer::SetVisibleTiles(int level, std::int32_t left, std::int32_t top,
                                           std::int32_t width, std::int32_t height)
{
    if (width <= 0 || height <= 0)
    {
        ClearVisibleTiles();
        return;
    }
    m_Tiles.SetOnScreen(
        level, left, top,
        std::int32_t(std::min<std::int64_t>(std::int64_t(left) + width, INT32_MAX)),
        std::int32_t(std::min<std::int64_t>(std::int64_t(top) + height, INT32_MAX)));
}

void IMPN_SurfaceRenderer::ClearVisibleTiles()
{
    m_Tiles.SetOnScreen(-1, 0, 0, 0, 0);
}

void IMPN_SurfaceRenderer::PinTile(int level, const IMPN_RenderTile& tile)
{
    m_Tiles.Pin(level, tile);
}

void IMPN_SurfaceRenderer::UnpinTile(int level, const IMPN_RenderTile& tile)
{
    m_Tiles.Unpin(level, tile);
}

bool IMPN_SurfaceRenderer::HoldsTile(std::int32_t top, std::int32_t left, int level) const
{
    return m_Tiles.Holds(level, top, left);
}

const IMPN_RenderTile* IMPN_SurfaceRenderer::FindTile(std::int32_t top, std::int32_t left,
                                                      int level, std::uint32_t stamp) const
{
    if (level < 0 || level >= IMPN_RenderLevel::kLevelCount)
        return nullptr;
    const IMPN_RenderTile* tile = m_Tiles.Peek(level, top, left);
    if (tile == nullptr || !tile->HasPixels())
        return nullptr;
    if (UsesIndexedTiles(level))
        return m_Palette.Stamp() < stamp || tile->palette != m_Palette.Entries() ? nullptr : tile;
    return tile->stamp >= stamp ? tile : nullptr;
}

void IMPN_SurfaceRenderer::SnapshotInks(Maker& maker) const
{
    maker.inks.resize(m_Inks.size());
    for (std::size_t k = 0; k < m_Inks.size(); ++k)
    {
        InkState& state = maker.inks[k];
        state.visible = m_Inks[k]->IsVisible();
        m_Inks[k]->GetInk(state.colour, state.background, state.opacity);
    }
    std::memcpy(maker.paper, m_Paper, 3);
}

std::vector<IMPN_SurfaceRenderer::SourceSpan>
IMPN_SurfaceRenderer::SourceSpans(std::int64_t x, std::int64_t y, std::int64_t width,
                                  std::int64_t height) const
{
    std::vector<SourceSpan> spans;
    if (m_SourceTileWidth == 0 || m_SourceTileLength == 0)
        return spans;
    const std::int64_t gridW = std::int64_t(m_SourceTilesAcross) * m_SourceTileWidth;
    const std::int64_t gridH = std::int64_t(m_SourceTilesDown) * m_SourceTileLength;
    const std::int64_t x0 = std::max<std::int64_t>(x, 0), y0 = std::max<std::int64_t>(y, 0);
    const std::int64_t x1 = std::min(x + width, gridW), y1 = std::min(y + height, gridH);
    if (x0 >= x1 || y0 >= y1)
        return spans;
    for (std::int64_t ty = y0 / m_SourceTileLength * m_SourceTileLength; ty < y1;
         ty += m_SourceTileLength)
        for (std::int64_t tx = x0 / m_SourceTileWidth * m_SourceTileWidth; tx < x1;
             tx += m_SourceTileWidth)
        {
            SourceSpan s;
            s.tileX = static_cast<std::uint32_t>(tx);
            s.tileY = static_cast<std::uint32_t>(ty);
            s.x0 = static_cast<std::uint32_t>(std::max(x0, tx));
            s.y0 = static_cast<std::uint32_t>(std::max(y0, ty));
            s.x1 = static_cast<std::uint32_t>(std::min<std::int64_t>(x1, tx + m_SourceTileWidth));
            s.y1 = static_cast<std::uint32_t>(std::min<std::int64_t>(y1, ty + m_SourceTileLength));
            spans.push_back(s);
        }
    return spans;
}

int IMPN_SurfaceRenderer::TileClassOf(Maker& maker, std::size_t k, std::uint32_t x,
                                      std::uint32_t y) const
{
    if (maker.known != nullptr)
    {
        const std::uint64_t key = (std::uint64_t(k) << 48) |
                                  (std::uint64_t(y / m_SourceTileLength) << 24) |
                                  std::uint64_t(x / m_SourceTileWidth);
        const auto found = maker.known->find(key);
        if (found != maker.known->end())
            return found->second;
    }
    return maker.sources[k]->GetTileClass(x, y);
}

int IMPN_SurfaceRenderer::ReadSource(Maker& maker, std::size_t k, std::uint32_t x,
                                     std::uint32_t y) const
{
    if (!m_InkUsable[k])
        return -1;
    IMPN_RenderInk& ink = *maker.sources[k];
    const int tileClass = TileClassOf(maker, k, x, y);
    switch (tileClass)
    {
    case 1:
        return 0;
    case 2:
        return 1;
    case 128:
        return -1;
    default:
        break;
    }
    std::vector<std::uint8_t>& bits = maker.bits;
    const std::int64_t got = ink.ReadTile(bits.data(), bits.size(), x, y);
    if (got < 0)
        return -1;
    if (maker.learned != nullptr && tileClass == 0)
        maker.learned->push_back({k, x, y, got == 1 ? (bits[0] == 0xFF ? 2 : 1) : 4});
    if (got == 1)
        return bits[0] == 0xFF ? 1 : 0;
    // A short read leaves the rest of the tile without ink rather than stale bits.
    if (std::uint64_t(got) < m_SourceTileBytes)
        std::memset(bits.data() + got, 0, m_SourceTileBytes - std::size_t(got));
    return 2;
}

int IMPN_SurfaceRenderer::ReadSourceCoverage(Maker& maker, std::size_t k, const SourceSpan& s,
                                             unsigned r, std::uint8_t* out,
                                             std::size_t outStride) const
{
    const std::uint32_t cw = (s.x1 - s.x0) / r, ch = (s.y1 - s.y0) / r;
    // Tiles already known blank or solid cost nothing either way.
    const int tileClass = m_InkUsable[k] ? TileClassOf(maker, k, s.tileX, s.tileY) : 128;
    if (tileClass == 1 || tileClass == 2 || tileClass == 128)
        return ReadSource(maker, k, s.tileX, s.tileY);
    if (r >= 2 && maker.runs.Begin(r, m_SourceTileWidth, m_SourceTileLength))
    {
        const int got = maker.sources[k]->ReadTileCoverage(maker.runs, maker.bits.data(),
                                                           maker.bits.size(), s.tileX, s.tileY);
        if (got != IMPN_RenderInk::kNotCounted)
        {
            if (maker.learned != nullptr && tileClass == 0 && got >= 0)
                maker.learned->push_back({k, s.tileX, s.tileY, got == 0 ? 1 : got == 1 ? 2 : 4});
            if (got == 2)
            {
                // The whole source tile was counted; the span's cells are a part of it.
                const std::uint32_t across = maker.runs.GetCellsAcross();
                const std::uint8_t* src = maker.runs.GetCells() +
                                          std::size_t((s.y0 - s.tileY) / r) * across +
                                          (s.x0 - s.tileX) / r;
                for (std::uint32_t y = 0; y < ch; ++y)
                    std::memcpy(out + y * outStride, src + std::size_t(y) * across, cw);
            }
            return got < 0 ? -1 : got;
        }
    }
    const int kind = ReadSource(maker, k, s.tileX, s.tileY);
    if (kind == 2)
        IMPN_CoverageKernel::Reduce(r, maker.bits.data(), m_SourceRowBytes, s.x0 - s.tileX,
                                    s.y0 - s.tileY, cw, ch, out, outStride);
    return kind;
}

void IMPN_SurfaceRenderer::CollapseIfUniform(IMPN_RenderTile& tile)
{
    const bool indexed = tile.kind == IMPN_TileKind::Indexed;
    const std::size_t pixelBytes = indexed ? 1 : 3;
    const std::size_t rowUsed = pixelBytes * std::size_t(tile.width);
    const std::uint8_t* first = tile.pixels.get();
    for (std::int32_t y = 0; y < tile.height; ++y)
    {
        const std::uint8_t* row = tile.pixels.get() + std::size_t(y) * tile.rowBytes;
        for (std::size_t x = 0; x < rowUsed; x += pixelBytes)
            if (std::memcmp(row + x, first, pixelBytes) != 0)
                return;
    }
    auto one = std::make_unique<std::uint8_t[]>(pixelBytes);
    std::memcpy(one.get(), first, pixelBytes);
    tile.pixels = std::move(one);
    tile.storeBytes = pixelBytes;
    tile.rowBytes = static_cast<std::uint32_t>(pixelBytes);
    tile.kind = indexed ? IMPN_TileKind::UniformIndex : IMPN_TileKind::UniformColour;
}

void IMPN_SurfaceRenderer::MakeIndexedUnitTile(IMPN_RenderTile& tile, Maker& maker) const
{
    const std::size_t w = std::size_t(tile.width), h = std::size_t(tile.height);
    tile.Allocate(w * h);
    std::memset(tile.pixels.get(), 0, w * h);
    tile.rowBytes = static_cast<std::uint32_t>(w);
    tile.kind = IMPN_TileKind::Indexed;

    const BitLanes& lanes = GetBitLanes();
    bool everyUniform = true;
    const std::vector<SourceSpan> spans = SourceSpans(tile.left, tile.top, tile.width, tile.height);
    const std::size_t inkCount = std::min(m_Inks.size(), kMaxIndexedSeparations);
    for (std::size_t k = 0; k < inkCount; ++k)
    {
        const std::uint8_t bit = static_cast<std::uint8_t>(1u << k);
        for (const SourceSpan& s : spans)
        {
            const int kind = ReadSource(maker, k, s.tileX, s.tileY);
            if (kind <= 0)
                continue;
            for (std::uint32_t y = s.y0; y < s.y1; ++y)
            {
                std::uint8_t* dst = tile.pixels.get() + std::size_t(y - tile.top) * w +
                                    (s.x0 - std::uint32_t(tile.left));
                const std::size_t n = s.x1 - s.x0;
                if (kind == 1)
                {
                    for (std::size_t i = 0; i < n; ++i)
                        dst[i] |= bit;
                    continue;
                }
                const std::uint8_t* src = maker.bits.data() +
                                          std::size_t(y - s.tileY) * m_SourceRowBytes +
                                          (s.x0 - s.tileX) / 8;
                // Spans start on 16-pixel boundaries and are whole bytes wide.
                for (std::size_t i = 0; i < n; i += 8, ++src)
                {
                    if (*src == 0)
                        continue;
                    std::uint64_t v;
                    std::memcpy(&v, dst + i, 8);
                    v |= lanes.lanes[*src] * bit;
                    std::memcpy(dst + i, &v, 8);
                }
            }
            if (kind == 2)
                everyUniform = false;
        }
    }
    if (everyUniform)
        CollapseIfUniform(tile);
}

void IMPN_SurfaceRenderer::MakeMagnifiedTile(IMPN_RenderTile& tile, int level, std::uint32_t stamp,
                                             bool indexed)
{
    const std::int32_t b = 1 << (kUnit - level);
    const std::size_t pixelBytes = indexed ? 1 : 3;
    std::vector<const IMPN_RenderTile*> sources;
    SourcePins pins(m_Tiles, kUnit);
    for (const Position& p : MagnifiedSources(tile, level))
    {
        sources.push_back(GetTile(p.top, p.left, kUnit, stamp));
        pins.Add(sources.back());
    }

    tile.stamp = IMPN_ChangeCounter::Next();
    const std::uint8_t white[3] = {255, 255, 255};
    if (sources.size() == 1 && sources[0] != nullptr && sources[0]->IsUniform())
    {
        tile.pixels.reset();
        tile.Allocate(pixelBytes);
        std::memcpy(tile.pixels.get(), sources[0]->pixels.get(), pixelBytes);
        tile.rowBytes = static_cast<std::uint32_t>(pixelBytes);
        tile.kind = indexed ? IMPN_TileKind::UniformIndex : IMPN_TileKind::UniformColour;
        return;
    }
    const std::size_t w = std::size_t(tile.width), h = std::size_t(tile.height);
    tile.Allocate(w * h * pixelBytes);
    tile.rowBytes = static_cast<std::uint32_t>(w * pixelBytes);
    tile.kind = indexed ? IMPN_TileKind::Indexed : IMPN_TileKind::Colour;
    if (indexed)
        std::memset(tile.pixels.get(), 0, w * h);
    else
        FillColour(tile.pixels.get(), w * h, white);

    for (const IMPN_RenderTile* src : sources)
    {
        if (src == nullptr || !src->HasPixels())
            continue;
        // The part of this tile that the level-3 tile covers, in this tile's pixels.
        const std::int32_t ox0 = std::max(src->left * b, tile.left) - tile.left;
        const std::int32_t oy0 = std::max(src->top * b, tile.top) - tile.top;
        const std::int32_t ox1 =
            std::min((src->left + src->width) * b, tile.left + tile.width) - tile.left;
        const std::int32_t oy1 =
            std::min((src->top + src->height) * b, tile.top + tile.height) - tile.top;
        for (std::int32_t y = oy0; y < oy1; ++y)
        {
            std::uint8_t* dst = tile.pixels.get() + std::size_t(y) * tile.rowBytes;
            const std::int32_t sy = (tile.top + y) / b - src->top;
            for (std::int32_t x = ox0; x < ox1;)
            {
                const std::int32_t sx = (tile.left + x) / b - src->left;
                const std::int32_t runEnd = std::min(ox1, (src->left + sx + 1) * b - tile.left);
                const std::uint8_t* p = src->IsUniform()
                                            ? src->pixels.get()
                                            : src->pixels.get() + std::size_t(sy) * src->rowBytes +
                                                  std::size_t(sx) * pixelBytes;
                if (indexed)
                    std::memset(dst + x, *p, std::size_t(runEnd - x));
                else
                    FillColour(dst + 3 * std::size_t(x), std::size_t(runEnd - x), p);
                x = runEnd;
            }
        }
    }
}

void IMPN_SurfaceRenderer::MakeCoverageTile(IMPN_RenderTile& tile, int level, Maker& maker) const
{
    const unsigned r = 1u << (level - kUnit);
    const std::size_t w = std::size_t(tile.width), h = std::size_t(tile.height);
    tile.pixels.reset();
    tile.Allocate(w * h * 3);
    tile.rowBytes = static_cast<std::uint32_t>(w * 3);
    tile.kind = IMPN_TileKind::Colour;
    std::uint8_t* px = tile.pixels.get();
    FillColour(px, w * h, maker.paper);

    const std::int64_t sx = std::int64_t(tile.left) * r, sy = std::int64_t(tile.top) * r;
    const std::vector<SourceSpan> spans =
        SourceSpans(sx, sy, std::int64_t(tile.width) * r, std::int64_t(tile.height) * r);
    bool everyUniform = true;
    IMPN_InkMixing::CoverageInks inks;
    for (std::size_t k = 0; k < m_Inks.size(); ++k)
    {
        const InkState& state = maker.inks[k];
        if (!m_InkUsable[k] || !state.visible)
            continue;
        const std::uint8_t* colour = state.colour;
        const std::uint8_t* background = state.background;
        const unsigned opacity = state.opacity;
        bool inksBuilt = false;
        for (const SourceSpan& s : spans)
        {
            const int kind = ReadSourceCoverage(maker, k, s, r, maker.coverage.data(), w);
            if (kind <= 0)
                continue;
            const std::uint32_t cx0 = std::uint32_t((s.x0 - sx) / r);
            const std::uint32_t cy0 = std::uint32_t((s.y0 - sy) / r);
            const std::uint32_t cw = (s.x1 - s.x0) / r, ch = (s.y1 - s.y0) / r;
            if (kind == 1)
            {
                std::uint8_t full[3];
                IMPN_InkMixing::InkAtPercentage(colour, background, opacity, full);
                for (std::uint32_t y = 0; y < ch; ++y)
                {
                    std::uint8_t* p =
                        px + (cy0 + y) * std::size_t(tile.rowBytes) + 3 * std::size_t(cx0);
                    for (std::uint32_t x = 0; x < cw; ++x, p += 3)
                        IMPN_InkMixing::MixOver(full, p);
                }
                continue;
            }
            everyUniform = false;
            if (!inksBuilt)
            {
                IMPN_InkMixing::BuildCoverageInks(colour, background, opacity, inks);
                inksBuilt = true;
            }
            for (std::uint32_t y = 0; y < ch; ++y)
            {
                const std::uint8_t* cov = maker.coverage.data() + y * w;
                std::uint8_t* p =
                    px + (cy0 + y) * std::size_t(tile.rowBytes) + 3 * std::size_t(cx0);
                for (std::uint32_t x = 0; x < cw; ++x, p += 3)
                    if (cov[x] != 0)
                        IMPN_InkMixing::MixOver(inks[cov[x]].data(), p);
            }
        }
    }
    const IMPN_RenderLevel& l = m_Levels[level];
    const bool edge = tile.left + tile.width > l.width || tile.top + tile.height > l.height;
    WhitenOutside(tile, level);
    if (everyUniform && !edge)
        CollapseIfUniform(tile);
}

void IMPN_SurfaceRenderer::MakePyramidTile(IMPN_RenderTile& tile, int level, std::uint32_t stamp)
{
    const IMPN_RenderLevel& prev = m_Levels[level - 1];
    const IMPN_RenderLevel& l = m_Levels[level];
    const std::int64_t rx0 = 2 * std::int64_t(tile.left), ry0 = 2 * std::int64_t(tile.top);
    const std::int64_t rx1 = std::min<std::int64_t>(rx0 + 2 * std::int64_t(tile.width), prev.width);
    const std::int64_t ry1 =
        std::min<std::int64_t>(ry0 + 2 * std::int64_t(tile.height), prev.height);

    std::vector<const IMPN_RenderTile*> sources;
    SourcePins pins(m_Tiles, level - 1);
    for (const Position& p : PyramidSources(tile, level))
    {
        sources.push_back(GetTile(p.top, p.left, level - 1, stamp));
        pins.Add(sources.back());
    }

    tile.stamp = IMPN_ChangeCounter::Next();
    const bool edge = tile.left + tile.width > l.width || tile.top + tile.height > l.height;
    const bool covered =
        rx1 == rx0 + 2 * std::int64_t(tile.width) && ry1 == ry0 + 2 * std::int64_t(tile.height);

    // Uniform neighbours average to one colour only when they all share it; differing ones keep
    // their own quadrants below.
    bool sameUniform = !sources.empty() && covered && !edge;
    for (const IMPN_RenderTile* s : sources)
        if (s == nullptr || s->kind != IMPN_TileKind::UniformColour ||
            std::memcmp(s->pixels.get(), sources[0]->pixels.get(), 3) != 0)
            sameUniform = false;
    if (sameUniform)
    {
        tile.pixels.reset();
        tile.Allocate(3);
        std::memcpy(tile.pixels.get(), sources[0]->pixels.get(), 3);
        tile.rowBytes = 3;
        tile.kind = IMPN_TileKind::UniformColour;
        return;
    }

    const std::size_t w = std::size_t(tile.width), h = std::size_t(tile.height);
    tile.pixels.reset();
    tile.Allocate(w * h * 3);
    tile.rowBytes = static_cast<std::uint32_t>(w * 3);
    tile.kind = IMPN_TileKind::Colour;
    std::uint8_t* px = tile.pixels.get();
    FillColour(px, w * h, m_Paper);

    for (const IMPN_RenderTile* s : sources)
    {
        if (s == nullptr || !s->HasPixels())
            continue;
        // The part of the region this source tile holds inside the previous level's picture;
        // tile origins and widths are even, so no 2 x 2 block straddles two tiles.
        const std::int64_t ox0 = std::max<std::int64_t>(s->left, rx0);
        const std::int64_t oy0 = std::max<std::int64_t>(s->top, ry0);
        const std::int64_t ox1 = std::min<std::int64_t>(std::int64_t(s->left) + s->width, rx1);
        const std::int64_t oy1 = std::min<std::int64_t>(std::int64_t(s->top) + s->height, ry1);
        if (ox0 >= ox1 || oy0 >= oy1)
            continue;
        const std::int32_t dx = std::int32_t((ox0 - rx0) / 2), dy = std::int32_t((oy0 - ry0) / 2);
        const std::int32_t outW =
            std::min<std::int32_t>(std::int32_t((ox1 - ox0 + 1) / 2), tile.width - dx);
        const std::int32_t outH =
            std::min<std::int32_t>(std::int32_t((oy1 - oy0 + 1) / 2), tile.height - dy);
        std::uint8_t* dst = px + std::size_t(dy) * tile.rowBytes + 3 * std::size_t(dx);
        if (s->kind == IMPN_TileKind::UniformColour)
        {
            for (std::int32_t y = 0; y < outH; ++y)
                FillColour(dst + std::size_t(y) * tile.rowBytes, std::size_t(outW),
                           s->pixels.get());
            continue;
        }
        const std::uint8_t* src = s->pixels.get() + std::size_t(oy0 - s->top) * s->rowBytes +
                                  3 * std::size_t(ox0 - s->left);
        IMPN_Pyramid::Halve(src, s->rowBytes, std::int32_t(ox1 - ox0), std::int32_t(oy1 - oy0), dst,
                            tile.rowBytes, outW, outH);
    }
    WhitenOutside(tile, level);
    if (!edge)
        CollapseIfUniform(tile);
}

void IMPN_SurfaceRenderer::WhitenOutside(IMPN_RenderTile& tile, int level) const
{
    const IMPN_RenderLevel& l = m_Levels[level];
    const std::int32_t insideW = std::clamp(l.width - tile.left, 0, tile.width);
    const std::int32_t insideH = std::clamp(l.height - tile.top, 0, tile.height);
    for (std::int32_t y = 0; y < tile.height; ++y)
    {
        std::uint8_t* row = tile.pixels.get() + std::size_t(y) * tile.rowBytes;
        if (y >= insideH)
            std::memset(row, 255, 3 * std::size_t(tile.width));
        else if (insideW < tile.width)
            std::memset(row + 3 * std::size_t(insideW), 255, 3 * std::size_t(tile.width - insideW));
    }
}

std::vector<IMPN_SurfaceRenderer::Position>
IMPN_SurfaceRenderer::MagnifiedSources(const IMPN_RenderTile& tile, int level) const
{
    const std::int32_t b = 1 << (kUnit - level);
    const IMPN_RenderLevel& unit = m_Levels[kUnit];
    const std::int32_t x3 = tile.left / b, y3 = tile.top / b;
    const std::int32_t x3end = (tile.left + tile.width + b - 1) / b;
    const std::int32_t y3end = (tile.top + tile.height + b - 1) / b;
    std::vector<Position> sources;
    for (std::int32_t ty = y3 / unit.tileHeight * unit.tileHeight; ty < y3end;
         ty += unit.tileHeight)
        for (std::int32_t tx = x3 / unit.tileWidth * unit.tileWidth; tx < x3end;
             tx += unit.tileWidth)
            sources.push_back({ty, tx});
    return sources;
}

std::vector<IMPN_SurfaceRenderer::Position>
IMPN_SurfaceRenderer::PyramidSources(const IMPN_RenderTile& tile, int level) const
{
    const IMPN_RenderLevel& prev = m_Levels[level - 1];
    const std::int64_t rx0 = 2 * std::int64_t(tile.left), ry0 = 2 * std::int64_t(tile.top);
    const std::int64_t rx1 = std::min<std::int64_t>(rx0 + 2 * std::int64_t(tile.width), prev.width);
    const std::int64_t ry1 =
        std::min<std::int64_t>(ry0 + 2 * std::int64_t(tile.height), prev.height);
    std::vector<Position> sources;
    for (std::int64_t ty = ry0 / prev.tileHeight * prev.tileHeight; ty < ry1; ty += prev.tileHeight)
        for (std::int64_t tx = rx0 / prev.tileWidth * prev.tileWidth; tx < rx1;
             tx += prev.tileWidth)
            sources.push_back({std::int32_t(ty), std::int32_t(tx)});
    return sources;
}

bool IMPN_SurfaceRenderer::IsStale(const IMPN_RenderTile& tile, int level,
                                   std::uint32_t stamp) const
{
    if (UsesIndexedTiles(level))
        return !tile.HasPixels();
    return !(tile.HasPixels() && tile.stamp >= stamp);
}

std::uint64_t IMPN_SurfaceRenderer::TileKey(int level, const IMPN_RenderTile& tile,
                                            const IMPN_RenderLevel& record)
{
    const std::uint64_t number =
        std::uint64_t(tile.top / record.tileHeight) * std::uint64_t(record.tilesAcross) +
        std::uint64_t(tile.left / record.tileWidth);
    return (std::uint64_t(level) << 56) | number;
}

/* Follows GetTile's own way down: a tile that GetTile would hand out as it is needs nothing, a
   magnified tile needs its level-3 tiles, a pyramid tile the previous level's; only the tiles
   that read source tiles are listed. */
void IMPN_SurfaceRenderer::CollectNeeded(std::int32_t top, std::int32_t left, int level,
                                         std::uint32_t stamp, std::vector<Needed>& out,
                                         std::unordered_map<std::uint64_t, bool>& seen)
{
    IMPN_RenderTile* tile = m_Tiles.Find(level, m_Levels[level], top, left);
    if (tile == nullptr || !IsStale(*tile, level, stamp))
        return;
    if (level < kUnit)
    {
        for (const Position& p : MagnifiedSources(*tile, level))
            CollectNeeded(p.top, p.left, kUnit, stamp, out, seen);
        return;
    }
    if (level >= kFirstPyramidLevel)
    {
        for (const Position& p : PyramidSources(*tile, level))
            CollectNeeded(p.top, p.left, level - 1, stamp, out, seen);
        return;
    }
    const std::uint64_t key = TileKey(level, *tile, m_Levels[level]);
    if (seen.emplace(key, true).second)
        out.push_back({level, tile, key});
}

IMPN_SurfaceRenderer::Job IMPN_SurfaceRenderer::PrepareJob(const Needed& needed,
                                                           std::uint32_t stamp)
{
    Job job;
    job.level = needed.level;
    job.geometry.top = needed.tile->top;
    job.geometry.left = needed.tile->left;
    job.geometry.width = needed.tile->width;
    job.geometry.height = needed.tile->height;
    job.stamp = stamp;
    job.generation = m_Generation;
    job.serial = m_NextSerial++;
    job.key = needed.key;
    SnapshotInks(m_Maker);
    job.inks = m_Maker.inks;
    std::memcpy(job.paper, m_Maker.paper, 3);
    // The classes the owner's inks know spare the worker decoding blank and solid tiles again.
    const std::int64_t r = std::int64_t(1) << (needed.level - kUnit);
    const std::vector<SourceSpan> spans =
        SourceSpans(std::int64_t(job.geometry.left) * r, std::int64_t(job.geometry.top) * r,
                    std::int64_t(job.geometry.width) * r, std::int64_t(job.geometry.height) * r);
    for (std::size_t k = 0; k < m_Inks.size(); ++k)
    {
        if (!m_InkUsable[k])
            continue;
        for (const SourceSpan& span : spans)
        {
            const int tileClass = m_Inks[k]->GetTileClass(span.tileX, span.tileY);
            if (tileClass != 0)
                job.known.emplace((std::uint64_t(k) << 48) |
                                      (std::uint64_t(span.tileY / m_SourceTileLength) << 24) |
                                      std::uint64_t(span.tileX / m_SourceTileWidth),
                                  static_cast<std::uint8_t>(tileClass));
        }
    }
    return job;
}

void IMPN_SurfaceRenderer::RunJob(const Job& job, WorkerSlot& slot, Result& result) const
{
    Maker& maker = slot.maker;
    maker.inks = job.inks;
    std::memcpy(maker.paper, job.paper, 3);
    maker.known = &job.known;
    maker.learned = &result.learned;
    try
    {
        if (UsesIndexedTiles(job.level))
            MakeIndexedUnitTile(result.tile, maker);
        else
            MakeCoverageTile(result.tile, job.level, maker);
    }
    catch (...)
    {
        // Out of memory: the tile stays unmade, and the owner makes it when asked again.
        result.tile.Release();
        result.learned.clear();
        result.failure = GLIB_DescribeException(std::current_exception());
    }
    maker.known = nullptr;
    maker.learned = nullptr;
}

/* Whatever happens on the way (no slot, no memory), the result names the job, so that the owner
   stops waiting for it, and says why it holds no tile. */
void IMPN_SurfaceRenderer::RunTask(const Job& job, Result& result) const noexcept
{
    result.level = job.level;
    result.stamp = job.stamp;
    result.generation = job.generation;
    result.serial = job.serial;
    result.key = job.key;
    result.tile.top = job.geometry.top;
    result.tile.left = job.geometry.left;
    result.tile.width = job.geometry.width;
    result.tile.height = job.geometry.height;
    std::unique_ptr<WorkerSlot> slot;
    try
    {
        slot = TakeSlot(result.failure);
        if (slot)
            RunJob(job, *slot, result);
    }
    catch (...)
    {
        result.tile.Release();
        result.learned.clear();
        try
        {
            result.failure = GLIB_DescribeException(std::current_exception());
        }
        catch (...)
        {
        }
    }
    if (slot)
        m_Share->ReturnSlot(std::move(slot));
}

std::unique_ptr<IMPN_SurfaceRenderer::WorkerSlot> IMPN_SurfaceRenderer::OpenSlot() const
{
    auto slot = std::make_unique<WorkerSlot>();
    for (std::size_t k = 0; k < m_Inks.size(); ++k)
    {
        std::unique_ptr<IMPN_RenderInk> reader;
        if (m_InkUsable[k])
        {
            reader = m_Inks[k]->OpenWorkerReader();
            if (!reader)
                return nullptr;
        }
        slot->maker.sources.push_back(reader.get());
        slot->readers.push_back(std::move(reader));
    }
    slot->maker.bits.resize(m_SourceTileBytes);
    slot->maker.coverage.resize(std::size_t(IMPN_RenderLevel::kMaxTileSize) *
                                IMPN_RenderLevel::kMaxTileSize);
    return slot;
}

/* An idle slot if there is one, else a new one while the limit allows, else the next one
   returned. A slot that cannot be opened (no descriptor left) leaves the task to wait for one of
   the others; with none left it fails, saying why. */
std::unique_ptr<IMPN_SurfaceRenderer::WorkerSlot>
IMPN_SurfaceRenderer::TakeSlot(std::string& failure) const
{
    WorkerShare& share = *m_Share;
    bool mayOpen = true;
    for (;;)
    {
        {
            std::unique_lock<std::mutex> lock(share.mutex);
            share.changed.wait(lock,
                               [&]
                               {
                                   return !share.idle.empty() ||
                                          (mayOpen ? share.slotCount < share.slotLimit
                                                   : share.slotCount == 0);
                               });
            if (!share.idle.empty())
            {
                std::unique_ptr<WorkerSlot> slot = std::move(share.idle.back());
                share.idle.pop_back();
                return slot;
            }
            if (!mayOpen)
                return nullptr;
            ++share.slotCount;
        }
        std::unique_ptr<WorkerSlot> slot;
        try
        {
            slot = OpenSlot();
            if (!slot)
                failure = "A separation cannot be read from a worker thread";
        }
        catch (...)
        {
            failure = GLIB_DescribeException(std::current_exception());
        }
        if (slot)
            return slot;
        {
            std::lock_guard<std::mutex> lock(share.mutex);
            --share.slotCount;
        }
        share.changed.notify_all();
        mayOpen = false;
    }
}

bool IMPN_SurfaceRenderer::Adopt(Result& result)
{
    const auto queued = m_InFlight.find(result.key);
    if (queued != m_InFlight.end() && queued->second.serial == result.serial)
        m_InFlight.erase(queued);
    if (!result.failure.empty())
        NoteWorkerFailure(result.failure);
    if (result.generation != m_Generation || !result.tile.HasPixels())
        return false;
    const bool indexed = UsesIndexedTiles(result.level);
    // A colour tile asked for before the latest change shows colours that are no longer shown.
    if (!indexed && result.stamp < m_LatestStamp)
        return false;
    IMPN_RenderTile* tile =
        m_Tiles.Find(result.level, m_Levels[result.level], result.tile.top, result.tile.left);
    if (tile == nullptr || !IsStale(*tile, result.level, result.stamp))
        return false;
    for (const LearnedClass& learned : result.learned)
        m_Inks[learned.ink]->NoteTileClass(learned.x, learned.y, learned.tileClass);
    tile->pixels = std::move(result.tile.pixels);
    tile->storeBytes = result.tile.storeBytes;
    tile->rowBytes = result.tile.rowBytes;
    tile->kind = result.tile.kind;
    // A colour tile is current for exactly the stamp it was made for, so that any change after
    // it was asked for makes it again.
    tile->stamp = indexed ? IMPN_ChangeCounter::Next() : result.stamp;
    m_Tiles.Account(result.level, *tile);
    return true;
}

void IMPN_SurfaceRenderer::NoteWorkerFailure(const std::string& failure)
{
    // Said once, not for every tile of a screen that fails the same way.
    if (failure == m_WorkerFailure)
        return;
    m_WorkerFailure = failure;
    LogMessage(GLIB_SEVERITY_WARNING, "A tile could not be made on a worker: " + failure, __FILE__,
               __LINE__);
}

/* The first slot is opened here, on the owner's thread: it tells whether the inks can be read
   from workers at all (else every tile is made here, as without a pool), and a failure to open
   it (no descriptor left) has tiles made here this time. Further slots open on the workers as
   they need them. */
bool IMPN_SurfaceRenderer::EnsureWorkerSlots(std::size_t count)
{
    if (m_WorkersUnusable)
        return false;
    {
        std::lock_guard<std::mutex> lock(m_Share->mutex);
        m_Share->slotLimit = count;
    }
    // A smaller pool needs fewer readers: the surplus idle ones close at once, those in use
    // when they come back.
    CloseSlots(m_Share->TakeIdle(count, std::chrono::steady_clock::time_point::min()));
    {
        std::lock_guard<std::mutex> lock(m_Share->mutex);
        if (m_Share->slotCount > 0 || count == 0)
            return count > 0;
    }
    std::unique_ptr<WorkerSlot> first;
    try
    {
        first = OpenSlot();
    }
    catch (...)
    {
        NoteWorkerFailure(GLIB_DescribeException(std::current_exception()));
        return false;
    }
    if (!first)
    {
        m_WorkersUnusable = true;
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_Share->mutex);
        ++m_Share->slotCount;
    }
    m_Share->ReturnSlot(std::move(first));
    m_WorkerFailure.clear();
    return true;
}

void IMPN_SurfaceRenderer::CloseSlots(std::vector<std::unique_ptr<WorkerSlot>> slots)
{
    // The readers close as the slots go.
    slots.clear();
}

std::size_t IMPN_SurfaceRenderer::CloseIdleReaders()
{
    std::vector<std::unique_ptr<WorkerSlot>> idle =
        m_Share->TakeIdle(SIZE_MAX, std::chrono::steady_clock::now() - m_ReaderIdleDelay);
    const std::size_t closed = idle.size();
    CloseSlots(std::move(idle));
    return closed;
}

std::size_t IMPN_SurfaceRenderer::GetWorkerSlotCount() const
{
    std::lock_guard<std::mutex> lock(m_Share->mutex);
    return m_Share->slotCount;
}

/* Positions are taken a group at a time: the source-reading tiles of a group are made together on
   the pool and adopted, and the group's own tiles are made from them at once, before a later group
   could push them out of the budget. A group's source-reading tiles take at most a quarter of the
   budget, so that a wide picture is not made ahead whole; a pyramid position that alone needs
   more is made from its sources one level finer first. */
void IMPN_SurfaceRenderer::MakeTiles(const std::vector<Position>& positions, int level,
                                     std::uint32_t stamp, IMPN_WorkerPool* pool)
{
    if (pool == nullptr || level < 0 || level >= IMPN_RenderLevel::kLevelCount)
        return;
    m_LatestStamp = std::max(m_LatestStamp, stamp);
    const std::size_t share = std::max(m_MemoryBudget / 4, kMinGroupBytes);
    const auto bytesOf = [](const std::vector<Needed>& list)
    {
        std::size_t bytes = 0;
        for (const Needed& n : list)
            bytes += std::size_t(n.tile->width) * std::size_t(n.tile->height) * 3;
        return bytes;
    };
    std::vector<Position> group;
    std::vector<Needed> needed;
    std::unordered_map<std::uint64_t, bool> seen;
    std::size_t groupBytes = 0;
    const auto flush = [&]
    {
        MakeGroup(group, needed, level, stamp, *pool);
        group.clear();
        needed.clear();
        seen.clear();
        groupBytes = 0;
    };
    for (const Position& p : positions)
    {
        std::vector<Needed> own;
        CollectNeeded(p.top, p.left, level, stamp, own, seen);
        std::size_t ownBytes = bytesOf(own);
        if (!group.empty() && groupBytes + ownBytes > share)
        {
            // The records just listed may go while the group is made: they are listed anew.
            flush();
            own.clear();
            CollectNeeded(p.top, p.left, level, stamp, own, seen);
            ownBytes = bytesOf(own);
        }
        if (ownBytes > share && level >= kFirstPyramidLevel)
        {
            seen.clear();
            const IMPN_RenderTile* tile = m_Tiles.Find(level, m_Levels[level], p.top, p.left);
            if (tile == nullptr)
                continue;
            MakeTiles(PyramidSources(*tile, level), level - 1, stamp, pool);
            GetTile(p.top, p.left, level, stamp);
            continue;
        }
        group.push_back(p);
        needed.insert(needed.end(), own.begin(), own.end());
        groupBytes += ownBytes;
    }
    if (!group.empty())
        flush();
}

void IMPN_SurfaceRenderer::MakeGroup(const std::vector<Position>& group,
                                     const std::vector<Needed>& needed, int level,
                                     std::uint32_t stamp, IMPN_WorkerPool& pool)
{
    // Even a single tile goes through a worker's readers: the owner's inks keep what they know,
    // and the owner decodes nothing a worker could.
    if (!needed.empty() && EnsureWorkerSlots(SlotsFor(pool)))
    {
        std::vector<Job> jobs;
        jobs.reserve(needed.size());
        for (const Needed& n : needed)
            jobs.push_back(PrepareJob(n, stamp));
        std::vector<Result> results(jobs.size());
        // RunTask throws nothing, so every job has its result when this returns.
        pool.ParallelFor(jobs.size(), [&](std::size_t i) { RunTask(jobs[i], results[i]); });
        for (Result& result : results)
            Adopt(result);
    }
    // What was just made stays until the group's tiles are made from it, whatever the budget.
    struct Held
    {
        IMPN_TileStore& store;
        const std::vector<Needed>& tiles;
        ~Held()
        {
            for (const Needed& n : tiles)
                store.Unpin(n.level, *n.tile);
        }
    } held{m_Tiles, needed};
    for (const Needed& n : needed)
        m_Tiles.Pin(n.level, *n.tile);
    for (const Position& p : group)
        GetTile(p.top, p.left, level, stamp);
}

std::size_t IMPN_SurfaceRenderer::SlotsFor(const IMPN_WorkerPool& pool)
{
    // The pool's workers, and the owner's thread, which takes a share of MakeTiles.
    return std::size_t(pool.GetWorkerCount()) + 1;
}

const IMPN_RenderTile* IMPN_SurfaceRenderer::RequestTile(std::int32_t top, std::int32_t left,
                                                         int level, std::uint32_t stamp,
                                                         IMPN_WorkerPool& pool)
{
    if (level < 0 || level >= IMPN_RenderLevel::kLevelCount)
        return nullptr;
    m_LatestStamp = std::max(m_LatestStamp, stamp);
    std::vector<Needed> needed;
    std::unordered_map<std::uint64_t, bool> seen;
    CollectNeeded(top, left, level, stamp, needed, seen);
    if (needed.empty() || !EnsureWorkerSlots(SlotsFor(pool)))
        return GetTile(top, left, level, stamp);
    for (const Needed& n : needed)
    {
        // A colour tile queued for an older stamp is queued again; its result will be dropped.
        const auto queued = m_InFlight.find(n.key);
        if (queued != m_InFlight.end() &&
            (UsesIndexedTiles(n.level) || queued->second.stamp >= stamp))
            continue;
        auto job = std::make_shared<Job>(PrepareJob(n, stamp));
        std::shared_ptr<WorkerShare> share = m_Share;
        {
            std::lock_guard<std::mutex> lock(share->mutex);
            if (share->done.capacity() < share->owed + 1)
                share->done.reserve(std::max(share->owed + 1, 2 * share->done.capacity()));
            ++share->owed;
        }
        try
        {
            pool.Submit([this, share, job] { RunQueued(share, *job); });
        }
        catch (...)
        {
            std::lock_guard<std::mutex> lock(share->mutex);
            --share->owed;
            throw;
        }
        m_InFlight[n.key] = Queued{job->serial, stamp};
    }
    return nullptr;
}

/* A queued task. Its result always reaches `done` (room for it was reserved when it was queued),
   so that the owner never waits for a tile that will not come. */
void IMPN_SurfaceRenderer::RunQueued(const std::shared_ptr<WorkerShare>& share,
                                     const Job& job) const noexcept
{
    {
        std::lock_guard<std::mutex> lock(share->mutex);
        if (share->closed)
            return;
        if (job.serial < share->cancelledBelow)
        {
            // An empty result, so that the owner stops waiting for it.
            Result skipped;
            skipped.key = job.key;
            skipped.serial = job.serial;
            share->done.push_back(std::move(skipped));
            return;
        }
        ++share->running;
    }
    Result result;
    RunTask(job, result);
    {
        std::lock_guard<std::mutex> lock(share->mutex);
        share->done.push_back(std::move(result));
        --share->running;
    }
    share->changed.notify_all();
}

void IMPN_SurfaceRenderer::CancelQueued()
{
    std::lock_guard<std::mutex> lock(m_Share->mutex);
    m_Share->cancelledBelow = m_NextSerial;
}

std::size_t IMPN_SurfaceRenderer::CollectResults(std::uint32_t stamp)
{
    m_LatestStamp = std::max(m_LatestStamp, stamp);
    std::vector<Result> done;
    {
        std::lock_guard<std::mutex> lock(m_Share->mutex);
        done.reserve(m_Share->owed);
        done.swap(m_Share->done);
        m_Share->owed -= done.size();
    }
    std::size_t adopted = 0;
    for (Result& result : done)
        if (Adopt(result))
            ++adopted;
    return adopted;
}
