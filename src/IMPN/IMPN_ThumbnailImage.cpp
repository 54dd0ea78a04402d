#include "IMPN/IMPN_ThumbnailImage.h"

#include "FILT/FILT_BicubicKernel.h"
#include "FILT/FILT_DownSampler.h"
#include "FILT/FILT_FilterPipe.h"
#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNFile.h"

#include <algorithm>
#include <limits>

IMPN_ThumbnailImage::IMPN_ThumbnailImage(const SeparationList& separations,
                                         const IMPN_ColorBGR& paperColor, IMPN_WorkerPool* pool)
    : m_Separations(&separations), m_PaperColor(&paperColor), m_Pool(pool)
{
    Build();
    // The pool serves this first picture only; Rebuild runs on the owner's thread.
    m_Pool = nullptr;
}

void IMPN_ThumbnailImage::Rebuild()
{
    Build();
}

void IMPN_ThumbnailImage::Build()
{
    Composite();
    Reduce();
}

void IMPN_ThumbnailImage::ReducedSize(std::int32_t width, std::int32_t height,
                                      std::int32_t& newWidth, std::int32_t& newHeight)
{
    newWidth = width;
    newHeight = height;
    if (width <= 0 || height <= 0 || (width <= kMaxSide && height <= kMaxSide))
        return;
    // trunc(350 / (width / height)) and trunc((width / height) x 350) in exact arithmetic: a
    // floating ratio lands a hair below whole results such as 350 x 355 / 497 = 250.
    const std::int64_t w = width;
    const std::int64_t h = height;
    if (height < width)
    {
        newWidth = kMaxSide;
        newHeight = static_cast<std::int32_t>(std::max<std::int64_t>(1, kMaxSide * h / w));
    }
    else
    {
        newWidth = static_cast<std::int32_t>(std::max<std::int64_t>(1, kMaxSide * w / h));
        newHeight = kMaxSide;
    }
}

namespace
{
// One ink at each coverage value, at the ink's opacity, so that the pixel loop only looks up and
// mixes.
using Tints = IMPN_InkMixing::CoverageInks;

void MakeTints(const IMPN_ColorRecord& ink, Tints& tints)
{
    IMPN_InkMixing::BuildCoverageInks(ink.color.data(), ink.background.data(),
                                      static_cast<unsigned>(std::clamp(ink.opacity, 0, 100)),
                                      tints);
}

// Mixes rows [firstRow, endRow) of a raster into the composite (see MixRaster).
void MixRows(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
             const IMPN_Raster& raster, std::uint32_t imageWidth, std::uint32_t imageHeight,
             const Tints& tints, std::uint64_t firstRow, std::uint64_t endRow)
{
    if (!pixels || width <= 0 || height <= 0 || raster.rowLength == 0)
        return;
    const std::uint64_t rasterRows =
        std::min<std::uint64_t>(raster.rows, raster.pixels.size() / raster.rowLength);
    const std::uint64_t columns =
        std::min<std::uint64_t>({static_cast<std::uint64_t>(width), imageWidth, raster.rowLength});
    const std::uint64_t rows = std::min<std::uint64_t>(
        {static_cast<std::uint64_t>(height), imageHeight, rasterRows, endRow});

    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (std::uint64_t y = firstRow; y < rows; ++y)
    {
        const std::uint8_t* coverage = raster.pixels.data() + y * raster.rowLength;
        std::uint8_t* pixel = pixels + y * rowBytes;
        for (std::uint64_t x = 0; x < columns; ++x, pixel += 4)
            IMPN_InkMixing::MixOver(tints[coverage[x]].data(), pixel);
    }
}

// The separations the picture shows: hidden ones are left out, as the view leaves them out.
bool Shown(const std::unique_ptr<IMPN_Separation>& separation)
{
    return separation && separation->IsVisible();
}
} // namespace

void IMPN_ThumbnailImage::MixRaster(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                    const IMPN_Raster& raster, std::uint32_t imageWidth,
                                    std::uint32_t imageHeight, const IMPN_ColorRecord& ink)
{
    Tints tints;
    MakeTints(ink, tints);
    MixRows(pixels, width, height, raster, imageWidth, imageHeight, tints, 0,
            std::numeric_limits<std::uint64_t>::max());
}

void IMPN_ThumbnailImage::Composite()
{
    m_Pixels.clear();
    m_Pixels.shrink_to_fit();
    m_Width = 0;
    m_Height = 0;
    m_RowLength = 0;
    m_Left = 0;
    m_Top = 0;
    m_PixelFormat = IMPN_Raster::FormatColor32;
    m_Scale = 1.0;
    m_ChangeStamp = IMPN_ChangeCounter::Next();
    if (m_Separations->empty() || !(*m_Separations)[0])
        return;

    IMPN_Separation& first = *(*m_Separations)[0];
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t tileWidth = 0;
    std::uint32_t tileLength = 0;
    first.GetThumbnailInfo(width, height, tileWidth, tileLength);
    const double scale = first.GetThumbnailScale();
    const std::uint64_t bytes = std::uint64_t{width} * height * 4;
    if (width == 0 || height == 0 || width > std::numeric_limits<std::int32_t>::max() / 4 ||
        height > std::numeric_limits<std::int32_t>::max() || bytes > kMaxCompositeBytes)
        return;

    m_Width = static_cast<std::int32_t>(width);
    m_Height = static_cast<std::int32_t>(height);
    m_Scale = scale;
    // The row length from the full 32-bit width: a width cut to 16 bits would misplace every
    // row of a composite of 65536 pixels or more.
    m_RowLength = width * 4;
    m_Pixels.resize(static_cast<std::size_t>(bytes));
    const IMPN_ColorBGR& paper = *m_PaperColor;
    for (std::size_t i = 0; i < m_Pixels.size(); i += 4)
    {
        m_Pixels[i] = paper[0];
        m_Pixels[i + 1] = paper[1];
        m_Pixels[i + 2] = paper[2];
        m_Pixels[i + 3] = 0;
    }

    if (m_Pool != nullptr && CompositeOnPool())
        return;
    for (const auto& separation : *m_Separations)
    {
        if (!Shown(separation))
            continue;
        std::uint32_t sepWidth = 0;
        std::uint32_t sepHeight = 0;
        separation->GetThumbnailInfo(sepWidth, sepHeight, tileWidth, tileLength);
        IMPN_Raster raster;
        if (separation->ReadThumbnail(raster) < 0)
            continue;
        MixRaster(m_Pixels.data(), m_Width, m_Height, raster, sepWidth, sepHeight,
                  separation->GetCurrentColor());
    }
}

/* Waves of one reduced image per thread (fewer where they are large) bound the rasters held. The
   readers are opened here, on the owner's thread, which is where libtiff's process-wide tag
   registration may run. A wave's rasters are mixed in bands of rows, each band by one thread
   with the wave's inks in separation order, so that every pixel still takes the inks in that
   order. False, with nothing mixed yet, when a file cannot be opened again: the owner's own
   readers then do it all. */
bool IMPN_ThumbnailImage::CompositeOnPool()
{
    const SeparationList& separations = *m_Separations;
    std::vector<std::unique_ptr<TIFX_KRNFile>> readers(separations.size());
    for (std::size_t k = 0; k < separations.size(); ++k)
        if (Shown(separations[k]) && !(readers[k] = separations[k]->OpenReducedImageReader()))
            return false;
    std::uint64_t largest = 0;
    for (const auto& separation : separations)
        if (Shown(separation))
        {
            std::uint32_t w = 0, h = 0, tileWidth = 0, tileLength = 0;
            separation->GetThumbnailInfo(w, h, tileWidth, tileLength);
            largest = std::max(largest, std::uint64_t(w) * h);
        }
    const std::size_t wave =
        IMPN_Separation::ReducedImagesAtOnce(std::size_t(m_Pool->GetWorkerCount()) + 1, largest);
    for (std::size_t first = 0; first < separations.size(); first += wave)
    {
        const std::size_t count = std::min(wave, separations.size() - first);
        std::vector<IMPN_Raster> rasters(count);
        std::vector<std::int64_t> read(count, -1);
        m_Pool->ParallelFor(count,
                            [&](std::size_t i)
                            {
                                if (readers[first + i])
                                    read[i] = IMPN_Separation::ReadReducedImage(*readers[first + i],
                                                                                rasters[i]);
                            });
        struct Mix
        {
            const IMPN_Raster* raster;
            std::uint32_t width = 0, height = 0;
            Tints tints;
        };
        std::vector<Mix> mixes;
        mixes.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
        {
            IMPN_Separation* separation = separations[first + i].get();
            if (!Shown(separations[first + i]) || read[i] < 0)
                continue;
            Mix& mix = mixes.emplace_back();
            mix.raster = &rasters[i];
            std::uint32_t tileWidth = 0, tileLength = 0;
            separation->GetThumbnailInfo(mix.width, mix.height, tileWidth, tileLength);
            MakeTints(separation->GetCurrentColor(), mix.tints);
        }
        const std::uint64_t height = std::uint64_t(m_Height);
        const std::size_t bands = std::size_t(
            std::min<std::uint64_t>(height, (std::uint64_t(m_Pool->GetWorkerCount()) + 1) * 4));
        m_Pool->ParallelFor(bands,
                            [&](std::size_t band)
                            {
                                const std::uint64_t y0 = band * height / bands;
                                const std::uint64_t y1 = (band + 1) * height / bands;
                                for (const Mix& mix : mixes)
                                    MixRows(m_Pixels.data(), m_Width, m_Height, *mix.raster,
                                            mix.width, mix.height, mix.tints, y0, y1);
                            });
    }
    return true;
}

void IMPN_ThumbnailImage::Reduce()
{
    if (m_Width <= kMaxSide && m_Height <= kMaxSide)
        return;
    std::int32_t newWidth = 0;
    std::int32_t newHeight = 0;
    ReducedSize(m_Width, m_Height, newWidth, newHeight);
    const std::uint64_t inBytes = m_Pixels.size();
    const std::uint64_t outBytes = std::uint64_t(newWidth) * std::uint64_t(newHeight) * 4;
    if (inBytes > std::numeric_limits<std::uint32_t>::max())
        return;

    try
    {
        std::vector<std::uint8_t> reduced(static_cast<std::size_t>(outBytes));
        auto sampler = std::make_unique<FILT_DownSampler>();
        sampler->SetSamplesPerPixel(4);
        sampler->SetInputWidth(static_cast<std::uint32_t>(m_Width));
        sampler->SetInputHeight(static_cast<std::uint32_t>(m_Height));
        sampler->SetOutputWidth(static_cast<std::uint32_t>(newWidth));
        sampler->SetOutputHeight(static_cast<std::uint32_t>(newHeight));
        sampler->SetKernel(std::make_unique<FILT_BicubicKernel>());
        FILT_FilterPipe pipe;
        if (!pipe.AppendFilter(std::move(sampler)))
            return;

        FILT_FilterBuffer in(m_Pixels.data(), static_cast<std::uint32_t>(inBytes), false);
        in.Produce(static_cast<std::uint32_t>(inBytes));
        in.SetEndOfData();
        FILT_FilterBuffer out(reduced.data(), static_cast<std::uint32_t>(outBytes), false);
        pipe.ProcessBytes(in, out);
        // Anything short of the whole picture keeps the full-size one.
        if (out.DataAvailable() != outBytes || !out.EndOfData())
            return;

        m_Scale = m_Scale * std::max(m_Width, m_Height) * 0.002857142857142857;
        m_Width = newWidth;
        m_Height = newHeight;
        m_Pixels.swap(reduced);
        m_RowLength = static_cast<std::uint32_t>(m_Width) * 4;
        m_ChangeStamp = IMPN_ChangeCounter::Next();
        m_Left = 0;
        m_Top = 0;
        m_PixelFormat = IMPN_Raster::FormatColor32;
    }
    catch (...)
    {
        // The picture stays at full size; the navigation palette can still show it.
    }
}
