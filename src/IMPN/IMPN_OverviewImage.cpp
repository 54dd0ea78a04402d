#include "IMPN/IMPN_OverviewImage.h"

#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Pyramid.h"
#include "IMPN/IMPN_Raster.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
constexpr int kUnit = IMPN_RenderLevel::kUnitLevel;
constexpr int kLevels = IMPN_RenderLevel::kLevelCount;

void MakeColourPicture(IMPN_RenderTile& tile, std::int32_t width, std::int32_t height,
                       const IMPN_ColorBGR& paper)
{
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    tile.pixels.reset();
    tile.Allocate(pixels * 3);
    tile.rowBytes = static_cast<std::uint32_t>(std::size_t(width) * 3);
    tile.left = tile.top = 0;
    tile.width = width;
    tile.height = height;
    tile.kind = IMPN_TileKind::Colour;
    std::uint8_t* p = tile.pixels.get();
    for (std::size_t i = 0; i < pixels; ++i, p += 3)
        std::memcpy(p, paper.data(), 3);
}

/* Where each level pixel's reduced pixels start along one axis: level pixel i covers
   full-resolution pixels [i << shift, (i + 1) << shift), which fall into reduced pixels
   [start[i], start[i + 1]); at least one of them, limited to the reduced image. */
std::vector<std::uint32_t> ReducedStarts(std::int32_t levelSize, int shift, std::uint32_t scale,
                                         std::uint32_t reducedSize)
{
    std::vector<std::uint32_t> start(std::size_t(levelSize) + 1);
    for (std::int32_t i = 0; i <= levelSize; ++i)
        start[std::size_t(i)] = static_cast<std::uint32_t>(
            std::min<std::uint64_t>((std::uint64_t(i) << shift) / scale, reducedSize));
    return start;
}
} // namespace

IMPN_OverviewImage::IMPN_OverviewImage(IMPN_Surface& surface, IMPN_WorkerPool* pool)
{
    m_Stamp = surface.GetLatestChange();
    m_Paper = surface.PaperColor();
    Build(surface, pool);
}

int IMPN_OverviewImage::FirstLevelOf(std::uint32_t scale)
{
    if (scale == 0)
        return kLevels;
    for (int level = kUnit; level < kLevels; ++level)
        if ((std::uint64_t(1) << (level - kUnit)) >= scale)
            return level;
    return kLevels;
}

const IMPN_RenderTile* IMPN_OverviewImage::Picture(int level) const
{
    if (level < m_BaseLevel || level >= kLevels || !m_Levels[level].HasPixels())
        return nullptr;
    return &m_Levels[level];
}

bool IMPN_OverviewImage::IsCurrent(const IMPN_Surface& surface) const
{
    return surface.GetLatestChange() == m_Stamp && surface.PaperColor() == m_Paper;
}

namespace
{
} // namespace

/* Where every level pixel covers the same k x k reduced pixels (the level's scale a whole
   multiple of the reduced image's), rows are summed k at a time without looking the spans up; a
   reduced image of the level's own scale is copied. */
void IMPN_OverviewImage::AverageCoverage(const IMPN_Raster& raster, std::uint32_t reducedWidth,
                                         std::uint32_t reducedLength, std::uint32_t scale,
                                         int shift, std::int32_t width, std::int32_t height,
                                         std::vector<std::uint8_t>& plane, std::int32_t firstRow,
                                         std::int32_t endRow)
{
    if (endRow < 0 || endRow > height)
        endRow = height;
    firstRow = std::max(firstRow, 0);
    const bool whole = firstRow == 0 && endRow == height;
    if (whole)
        plane.clear();
    if (width <= 0 || height <= 0 || scale == 0 || shift < 0 || shift > 31 || raster.rowLength == 0)
        return;
    const std::vector<std::uint32_t> xsFull = ReducedStarts(width, shift, scale, reducedWidth);
    const std::vector<std::uint32_t> ysFull = ReducedStarts(height, shift, scale, reducedLength);
    if (plane.size() != std::size_t(width) * std::size_t(height))
        plane.assign(std::size_t(width) * std::size_t(height), 0);
    else
        std::fill(plane.begin() + std::ptrdiff_t(firstRow) * width,
                  plane.begin() + std::ptrdiff_t(endRow) * width, std::uint8_t(0));
    const std::uint32_t columns = std::min(reducedWidth, raster.rowLength);
    // The reduced rows the raster holds: from its top row on.
    const std::uint32_t top = raster.top;
    const std::uint32_t rows = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        {reducedLength,
         std::uint64_t(top) +
             std::min<std::uint64_t>(raster.rows, raster.pixels.size() / raster.rowLength)}));
    // Each level column's span [x0, x1) of reduced columns, at least one wide, for the columns
    // that start inside the reduced image (the rest stay 0).
    std::vector<std::uint32_t> x0s, x1s;
    for (std::int32_t x = 0; x < width; ++x)
    {
        const std::uint32_t x0 = std::min(xsFull[std::size_t(x)], columns);
        if (x0 >= columns)
            break;
        x0s.push_back(x0);
        x1s.push_back(std::max(std::min(xsFull[std::size_t(x) + 1], columns), x0 + 1));
    }
    const std::size_t across = x0s.size();
    // The leading columns of one uniform span k: column x covers [x k, (x + 1) k).
    const std::uint32_t k = across > 0 ? x1s[0] - x0s[0] : 0;
    std::size_t uniform = 0;
    while (uniform < across && x0s[uniform] == uniform * k && x1s[uniform] == (uniform + 1) * k)
        ++uniform;

    std::vector<std::uint32_t> sums(across, 0);
    for (std::int32_t y = firstRow; y < endRow; ++y)
    {
        const std::uint32_t y0 = std::min(ysFull[std::size_t(y)], rows);
        if (y0 >= rows)
            break;
        if (y0 < top)
            continue; // not in this band of the reduced image
        const std::uint32_t y1 = std::max(std::min(ysFull[std::size_t(y) + 1], rows), y0 + 1);
        std::uint8_t* dst = plane.data() + std::size_t(y) * std::size_t(width);
        const std::uint8_t* first = raster.pixels.data() + std::size_t(y0 - top) * raster.rowLength;
        if (k == 1 && y1 - y0 == 1 && uniform == across)
        {
            std::memcpy(dst, first, across);
            continue;
        }
        std::fill(sums.begin(), sums.end(), 0u);
        for (std::uint32_t ry = y0; ry < y1; ++ry)
        {
            const std::uint8_t* src =
                raster.pixels.data() + std::size_t(ry - top) * raster.rowLength;
            for (std::size_t x = 0; x < uniform; ++x)
            {
                const std::uint8_t* block = src + x * k;
                std::uint32_t sum = 0;
                for (std::uint32_t j = 0; j < k; ++j)
                    sum += block[j];
                sums[x] += sum;
            }
            for (std::size_t x = uniform; x < across; ++x)
                for (std::uint32_t rx = x0s[x]; rx < x1s[x]; ++rx)
                    sums[x] += src[rx];
        }
        for (std::size_t x = 0; x < across; ++x)
        {
            const std::uint32_t count = (x1s[x] - x0s[x]) * (y1 - y0);
            dst[x] = static_cast<std::uint8_t>(std::min((sums[x] + count / 2) / count, 255u));
        }
    }
}

/* Coverage is averaged per ink before it is mixed, which is what the renderer does with counted
   coverage: an ink's reduced value is its coverage at the reduced image's scale (0 paper, 255 full
   ink). With a pool the reduced images are read and averaged a wave at a time (one per thread,
   each through a file handle of its own, opened here), else one at a time; the inks are mixed in
   their order either way, so the picture is the same. */
void IMPN_OverviewImage::Build(IMPN_Surface& surface, IMPN_WorkerPool* pool)
{
    const IMPN_SurfaceRenderer* renderer = surface.GetRenderer();
    const IMPN_Surface::SeparationList& separations = surface.GetSeparations();
    if (!renderer || separations.empty() || !separations[0])
        return;
    const std::uint32_t width = renderer->GetImageWidth();
    const std::uint32_t length = renderer->GetImageLength();
    if (width == 0 || length == 0)
        return;

    m_FirstLevel = FirstLevelOf(separations[0]->GetThumbnailScale());
    int base = m_FirstLevel;
    while (base < kLevels)
    {
        const IMPN_RenderLevel& level = renderer->GetLevel(base);
        if (level.width > 0 && level.height > 0 &&
            std::int64_t(level.width) * level.height <= kMaxPixels)
            break;
        ++base;
    }
    if (base >= kLevels)
        return;
    const IMPN_RenderLevel& record = renderer->GetLevel(base);
    IMPN_RenderTile& picture = m_Levels[base];
    MakeColourPicture(picture, record.width, record.height, m_Paper);

    const int shift = base - kUnit;
    // The inks the picture mixes: shown, and of the renderer's geometry (it leaves out the others).
    // The scale is read here: a worker touches its own reader and these values, never the
    // separation, whose file handle belongs to this thread.
    struct Ink
    {
        IMPN_Separation* separation;
        std::uint32_t reducedWidth, reducedLength, scale;
        std::uint64_t rowBytes; // of its reduced rows as read: whole tiles wide
        std::unique_ptr<TIFX_KRNFile> reader;
    };
    std::vector<Ink> inks;
    // A picture missing an ink would mislead: one unreadable reduced image and there is none.
    bool complete = true;
    for (const auto& separation : separations)
    {
        if (!separation || !separation->IsVisible())
            continue;
        std::uint32_t inkWidth = 0, inkLength = 0, tileWidth = 0, tileLength = 0;
        separation->GetImageInfo(inkWidth, inkLength, tileWidth, tileLength);
        if (inkWidth != width || inkLength != length)
            continue;
        Ink ink{separation.get(), 0, 0, separation->GetThumbnailScale(), 0, nullptr};
        separation->GetThumbnailInfo(ink.reducedWidth, ink.reducedLength, tileWidth, tileLength);
        if (ink.reducedWidth == 0 || ink.reducedLength == 0 || tileWidth == 0)
            complete = false;
        else
            ink.rowBytes =
                (std::uint64_t(ink.reducedWidth) + tileWidth - 1) / tileWidth * tileWidth;
        inks.push_back(std::move(ink));
    }
    bool onPool = pool != nullptr && complete && inks.size() > 1;
    for (Ink& ink : inks)
        if (onPool && !(ink.reader = ink.separation->OpenReducedImageReader()))
            onPool = false;

    const std::size_t wave = onPool ? IMPN_Separation::ReducedImagesAtOnce(
                                          std::size_t(pool->GetWorkerCount()) + 1, kBandBytes)
                                    : 1;
    for (std::size_t first = 0; complete && first < inks.size(); first += wave)
    {
        const std::size_t count = std::min(wave, inks.size() - first);
        std::vector<std::vector<std::uint8_t>> planes(count);
        std::vector<char> read(count, 0);
        // Each reduced image is read a band of rows at a time, as many as kBandBytes holds (at
        // least those of one level row): a large one is never held whole.
        const auto average = [&](std::size_t i)
        {
            Ink& ink = inks[first + i];
            std::vector<std::uint8_t>& plane = planes[i];
            plane.assign(std::size_t(record.width) * std::size_t(record.height), 0);
            const std::vector<std::uint32_t> starts =
                ReducedStarts(record.height, shift, ink.scale, ink.reducedLength);
            // The reduced rows after the last one of level row y.
            const auto endOf = [&](std::int32_t y)
            {
                const std::size_t at = std::size_t(y);
                return std::min(std::max(starts[at + 1], starts[at] + 1), ink.reducedLength);
            };
            const std::uint64_t bandRows =
                std::max<std::uint64_t>(1, kBandBytes / std::max<std::uint64_t>(ink.rowBytes, 1));
            for (std::int32_t y0 = 0; y0 < record.height;)
            {
                const std::uint32_t r0 = starts[std::size_t(y0)];
                if (r0 >= ink.reducedLength)
                    break; // the rest of the level lies past the reduced image: no ink
                std::int32_t y1 = y0 + 1;
                while (y1 < record.height && endOf(y1) - r0 <= bandRows)
                    ++y1;
                const std::uint32_t r1 = endOf(y1 - 1);
                IMPN_Raster raster;
                const std::int64_t got =
                    ink.reader ? IMPN_Separation::ReadReducedRows(*ink.reader, r0, r1 - r0, raster)
                               : ink.separation->ReadThumbnailRows(r0, r1 - r0, raster);
                if (got < 0 || raster.rowLength == 0)
                    return;
                AverageCoverage(raster, ink.reducedWidth, ink.reducedLength, ink.scale, shift,
                                record.width, record.height, plane, y0, y1);
                y0 = y1;
            }
            read[i] = 1;
        };
        if (onPool)
            pool->ParallelFor(count, average);
        else
            average(0);
        if (std::find(read.begin(), read.end(), 0) != read.end())
        {
            complete = false;
            break;
        }
        std::vector<IMPN_InkMixing::CoverageInks> mixes(count);
        for (std::size_t i = 0; i < count; ++i)
        {
            const IMPN_ColorRecord& current = inks[first + i].separation->GetCurrentColor();
            std::uint8_t colour[3], background[3];
            std::memcpy(colour, current.color.data(), 3);
            std::memcpy(background, current.background.data(), 3);
            IMPN_InkMixing::BuildCoverageInks(
                colour, background, static_cast<unsigned>(std::clamp(current.opacity, 0, 100)),
                mixes[i]);
        }
        // Bands of rows, each mixed by one thread with the wave's inks in their order.
        const std::size_t threads = onPool ? std::size_t(pool->GetWorkerCount()) + 1 : 1;
        const std::size_t bands = std::min<std::size_t>(std::size_t(record.height), threads * 4);
        const auto mixBand = [&](std::size_t band)
        {
            const std::size_t y0 = band * std::size_t(record.height) / bands;
            const std::size_t y1 = (band + 1) * std::size_t(record.height) / bands;
            for (std::size_t i = 0; i < count; ++i)
                for (std::size_t y = y0; y < y1; ++y)
                {
                    const std::uint8_t* coverage = planes[i].data() + y * std::size_t(record.width);
                    std::uint8_t* row = picture.pixels.get() + y * picture.rowBytes;
                    for (std::int32_t x = 0; x < record.width; ++x)
                        if (coverage[x] != 0)
                            IMPN_InkMixing::MixOver(mixes[i][coverage[x]].data(),
                                                    row + 3 * std::size_t(x));
                }
        };
        if (onPool)
            pool->ParallelFor(bands, mixBand);
        else
            for (std::size_t band = 0; band < bands; ++band)
                mixBand(band);
    }
    if (!complete)
    {
        picture = IMPN_RenderTile{};
        return;
    }
    m_BaseLevel = base;

    for (int level = base + 1; level < kLevels; ++level)
    {
        const IMPN_RenderLevel& coarser = renderer->GetLevel(level);
        const IMPN_RenderTile& finer = m_Levels[level - 1];
        if (coarser.width <= 0 || coarser.height <= 0 || !finer.HasPixels())
            break;
        IMPN_RenderTile& halved = m_Levels[level];
        MakeColourPicture(halved, coarser.width, coarser.height, m_Paper);
        IMPN_Pyramid::Halve(finer.pixels.get(), finer.rowBytes, finer.width, finer.height,
                            halved.pixels.get(), halved.rowBytes,
                            std::min(coarser.width, (finer.width + 1) / 2),
                            std::min(coarser.height, (finer.height + 1) / 2));
    }
}
