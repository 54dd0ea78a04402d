#pragma once
// A surface's picture made from the 8-bit reduced images of its separations instead of their
// one-bit tiles: what the view shows at once while the exact tiles are still being made. Each
// visible ink's reduced values are averaged to coverage at one level of the surface's picture
// and mixed in its current display colour and opacity over the paper, as the renderer mixes
// counted coverage; the coarser levels follow by the renderer's 2 x 2 averaging.
//
// The finest level held is the first one at or below the scale of the reduced images whose
// picture stays within kMaxPixels, so that a large sheet's overview costs a bounded amount of
// memory whatever its reduced images hold. The overview is made once and never updated: the
// view makes a new one when the separations' change stamp or the paper colour moves on.

#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_RenderLevel.h"
#include "IMPN/IMPN_RenderTile.h"

#include <cstdint>
#include <vector>

struct IMPN_Raster;
class IMPN_Surface;

class IMPN_WorkerPool;

class IMPN_OverviewImage
{
public:
    // Pixels of the finest level held, at most (24 MB of colour).
    static constexpr std::int64_t kMaxPixels = std::int64_t(8) << 20;
    // Bytes of one reduced image read at once: a band of its rows.
    static constexpr std::uint64_t kBandBytes = std::uint64_t(16) << 20;

    // Reads the reduced images of the surface's separations now, on the pool when one is given
    // (it is not kept). A surface without separations, renderer or readable reduced images gives
    // an overview with no level.
    explicit IMPN_OverviewImage(IMPN_Surface& surface, IMPN_WorkerPool* pool = nullptr);
    IMPN_OverviewImage(const IMPN_OverviewImage&) = delete;
    IMPN_OverviewImage& operator=(const IMPN_OverviewImage&) = delete;

    // The first level at or below the scale of the reduced images (1:8 for reduced images of
    // "Scale" 8); kLevelCount when they are finer than 1:1 allows or none was read.
    int GetFirstLevel() const { return m_FirstLevel; }
    // The finest level held; kLevelCount when none is.
    int GetBaseLevel() const { return m_BaseLevel; }
    // The whole picture of a level from the base level on, as one colour tile at (0, 0); null
    // for finer levels and levels outside 0..12.
    const IMPN_RenderTile* Picture(int level) const;

    // Whether the overview shows the surface as it is now (separation stamps and paper colour).
    bool IsCurrent(const IMPN_Surface& surface) const;

    // The level at or below which a reduced image of the given scale (full-resolution pixels per
    // reduced pixel) stands in; kLevelCount for a scale beyond 1:512 or 0.
    static int FirstLevelOf(std::uint32_t scale);

    // One ink's coverage at a level of width x height pixels, each 2^shift full-resolution
    // pixels wide, from its reduced image (reducedWidth x reducedLength pixels of the raster,
    // each scale full-resolution pixels wide): each level pixel the rounded mean of the reduced
    // pixels it covers (at least one), 0 where the reduced image ends. Empty for a shift
    // outside 0..31, a scale of 0 or an empty size.
    // With a range of level rows only those are written (the plane sized for the whole level if
    // it is not), from a raster that may hold a band of the reduced image from its `top` row on:
    // the band must hold every reduced row of those level rows.
    static void AverageCoverage(const IMPN_Raster& raster, std::uint32_t reducedWidth,
                                std::uint32_t reducedLength, std::uint32_t scale, int shift,
                                std::int32_t width, std::int32_t height,
                                std::vector<std::uint8_t>& plane, std::int32_t firstRow = 0,
                                std::int32_t endRow = -1);

private:
    void Build(IMPN_Surface& surface, IMPN_WorkerPool* pool);

    IMPN_RenderTile m_Levels[IMPN_RenderLevel::kLevelCount];
    int m_FirstLevel = IMPN_RenderLevel::kLevelCount;
    int m_BaseLevel = IMPN_RenderLevel::kLevelCount;
    std::uint32_t m_Stamp = 0;
    IMPN_ColorBGR m_Paper{255, 255, 255};
};
