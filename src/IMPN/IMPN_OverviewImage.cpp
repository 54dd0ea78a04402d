#include "IMPN/IMPN_OverviewImage.h"

#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Pyramid.h"
#include "IMPN/IMPN_Raster.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"

#include <algorithm>
#include <cstring>
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

IMPN_OverviewImage::IMPN_OverviewImage(IMPN_Surface& surface)
{
    m_Stamp = surface.GetLatestChange();
    m_Paper = surface.PaperColor();
    Build(surface);
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

/* Coverage is averaged per ink before it is mixed, which is what the renderer does with counted
   coverage: an ink's reduced value is its coverage at the reduced image's scale (0 paper, 255 full
   ink). Reduced images are read one at a time, so only one of them is held at once. */
void IMPN_OverviewImage::Build(IMPN_Surface& surface)
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
    // A picture missing an ink would mislead: one unreadable reduced image and there is none.
    bool complete = true;
    IMPN_InkMixing::CoverageInks inks;
    std::vector<std::uint32_t> sums;
    for (const auto& separation : separations)
    {
        if (!separation || !separation->IsVisible())
            continue;
        std::uint32_t inkWidth = 0, inkLength = 0, tileWidth = 0, tileLength = 0;
        separation->GetImageInfo(inkWidth, inkLength, tileWidth, tileLength);
        // The renderer leaves out inks of another geometry; so does their stand-in.
        if (inkWidth != width || inkLength != length)
            continue;
        std::uint32_t reducedWidth = 0, reducedLength = 0;
        separation->GetThumbnailInfo(reducedWidth, reducedLength, tileWidth, tileLength);
        IMPN_Raster raster;
        if (reducedWidth == 0 || reducedLength == 0 || separation->ReadThumbnail(raster) < 0 ||
            raster.rowLength == 0)
        {
            complete = false;
            break;
        }
        const std::uint32_t scale = separation->GetThumbnailScale();
        const std::uint32_t columns = std::min(reducedWidth, raster.rowLength);
        const std::uint32_t rows = static_cast<std::uint32_t>(std::min<std::uint64_t>(
            {reducedLength, raster.rows, raster.pixels.size() / raster.rowLength}));
        const std::vector<std::uint32_t> xs = ReducedStarts(record.width, shift, scale, columns);
        const std::vector<std::uint32_t> ys = ReducedStarts(record.height, shift, scale, rows);

        std::uint8_t colour[3], background[3];
        const IMPN_ColorRecord& current = separation->GetCurrentColor();
        std::memcpy(colour, current.color.data(), 3);
        std::memcpy(background, current.background.data(), 3);
        IMPN_InkMixing::BuildCoverageInks(
            colour, background, static_cast<unsigned>(std::clamp(current.opacity, 0, 100)), inks);

        sums.assign(std::size_t(record.width), 0);
        for (std::int32_t y = 0; y < record.height; ++y)
        {
            std::uint32_t y0 = ys[std::size_t(y)], y1 = ys[std::size_t(y) + 1];
            if (y0 >= rows)
                break;
            y1 = std::max(y1, y0 + 1);
            std::fill(sums.begin(), sums.end(), 0u);
            for (std::uint32_t ry = y0; ry < y1; ++ry)
            {
                const std::uint8_t* src = raster.pixels.data() + std::size_t(ry) * raster.rowLength;
                for (std::int32_t x = 0; x < record.width; ++x)
                {
                    const std::uint32_t x0 = xs[std::size_t(x)];
                    const std::uint32_t x1 = std::max(xs[std::size_t(x) + 1], x0 + 1);
                    if (x0 >= columns)
                        break;
                    for (std::uint32_t rx = x0; rx < x1; ++rx)
                        sums[std::size_t(x)] += src[rx];
                }
            }
            std::uint8_t* dst = picture.pixels.get() + std::size_t(y) * picture.rowBytes;
            for (std::int32_t x = 0; x < record.width; ++x, dst += 3)
            {
                const std::uint32_t x0 = xs[std::size_t(x)];
                if (x0 >= columns)
                    break;
                const std::uint32_t count =
                    (std::max(xs[std::size_t(x) + 1], x0 + 1) - x0) * (y1 - y0);
                const std::uint32_t coverage = (sums[std::size_t(x)] + count / 2) / count;
                if (coverage != 0)
                    IMPN_InkMixing::MixOver(inks[std::min(coverage, 255u)].data(), dst);
            }
        }
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
