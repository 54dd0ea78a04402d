#include "IMPN/IMPN_ThumbnailImage.h"

#include "FILT/FILT_BicubicKernel.h"
#include "FILT/FILT_DownSampleFactors.h"
#include "FILT/FILT_DownSampler.h"
#include "FILT/FILT_FilterBuffer.h"
#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

IMPN_ThumbnailImage::IMPN_ThumbnailImage(const SeparationList& separations,
                                         const IMPN_ColorBGR& paperColor, IMPN_WorkerPool* pool,
                                         std::uint64_t bandBytes)
    : m_Separations(&separations), m_PaperColor(&paperColor), m_Pool(pool), m_BandBytes(bandBytes)
{
    Build();
    // The pool serves this first picture only; Rebuild runs on the owner's thread.
    m_Pool = nullptr;
}

void IMPN_ThumbnailImage::Rebuild()
{
    Build();
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
// One ink at each coverage byte, at the ink's opacity, so that the pixel loop only looks up and
// mixes.
using Tints = IMPN_InkMixing::CoverageInks;

void MakeTints(const IMPN_ColorRecord& ink, Tints& tints)
{
    IMPN_InkMixing::BuildCoverageInks(ink.color.data(), ink.background.data(),
                                      static_cast<unsigned>(std::clamp(ink.opacity, 0, 100)),
                                      tints);
}

// Mixes rows [firstRow, endRow) of a raster into the composite (see MixRaster) of kPixelBytes
// a pixel (blue, green, red first).
template <std::size_t kPixelBytes>
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
    // No coverage over white leaves every pixel as it is.
    const bool skipBlank = tints[0][0] == 255 && tints[0][1] == 255 && tints[0][2] == 255;

    const std::size_t rowBytes = static_cast<std::size_t>(width) * kPixelBytes;
    for (std::uint64_t y = firstRow; y < rows; ++y)
    {
        const std::uint8_t* coverage = raster.pixels.data() + y * raster.rowLength;
        std::uint8_t* pixel = pixels + y * rowBytes;
        for (std::uint64_t x = 0; x < columns; ++x, pixel += kPixelBytes)
            if (coverage[x] != 0 || !skipBlank)
                IMPN_InkMixing::MixOver(tints[coverage[x]].data(), pixel);
    }
}
} // namespace

void IMPN_ThumbnailImage::MixRaster(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                    const IMPN_Raster& raster, std::uint32_t imageWidth,
                                    std::uint32_t imageHeight, const IMPN_ColorRecord& ink)
{
    Tints tints;
    MakeTints(ink, tints);
    MixRows<4>(pixels, width, height, raster, imageWidth, imageHeight, tints, 0,
               std::numeric_limits<std::uint64_t>::max());
}

namespace
{
// Rows of a band of a composite `width` pixels wide of `pixelBytes` a pixel when `rastersAtOnce`
// reduced images in tiles of tileWidth x tileLength are held beside it (their rows whole tiles
// wide): whole tile rows where they fit, so that every tile is decoded once.
std::uint32_t BandRows(std::uint64_t bandBytes, std::uint32_t width, std::uint32_t height,
                       std::size_t pixelBytes, std::uint32_t tileWidth, std::uint32_t tileLength,
                       std::size_t rastersAtOnce)
{
    const std::uint64_t rasterRow =
        tileWidth > 0 ? (std::uint64_t(width) + tileWidth - 1) / tileWidth * tileWidth : width;
    const std::uint64_t perRow = std::uint64_t(width) * pixelBytes + rasterRow * rastersAtOnce;
    std::uint64_t rows = std::max<std::uint64_t>(1, bandBytes / std::max<std::uint64_t>(perRow, 1));
    if (tileLength > 0 && rows >= tileLength)
        rows -= rows % tileLength;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(rows, height));
}

// The box of composite pixels averaged into one before the bicubic reduction: where the picture
// shrinks eight times or more, so that the reduction's filter, whose cost grows with every pixel
// it takes in, sees a picture at most about four times its output; 1 otherwise (no averaging).
std::uint32_t AveragingBox(std::uint32_t width, std::uint32_t height, std::int32_t newWidth,
                           std::int32_t newHeight)
{
    const std::uint32_t shrink = std::min(width / std::uint32_t(std::max(newWidth, 1)),
                                          height / std::uint32_t(std::max(newHeight, 1)));
    return shrink >= 8 ? shrink / 4 : 1;
}

// The reduction of the whole composite, fed a band of rows of blue, green and red at a time
// (rows a multiple of the averaging box, but for the last band): boxes of box x box pixels are
// averaged, then the bicubic filter reduces. The fourth byte of the thumbnail's pixels is 0 before
// and after, and is added at the end.
class BandReduction
{
public:
    BandReduction(std::uint32_t width, std::uint32_t height, std::int32_t newWidth,
                  std::int32_t newHeight, std::uint32_t box)
        : m_Box(box), m_Width(width), m_Across((width + box - 1) / box),
          m_Out(std::size_t(newWidth) * std::size_t(newHeight) * 3),
          m_Buffer(m_Out.data(), static_cast<std::uint32_t>(m_Out.size()), false)
    {
        m_Sampler.SetSamplesPerPixel(3);
        m_Sampler.SetInputWidth(m_Across);
        m_Sampler.SetInputHeight((height + box - 1) / box);
        m_Sampler.SetOutputWidth(static_cast<std::uint32_t>(newWidth));
        m_Sampler.SetOutputHeight(static_cast<std::uint32_t>(newHeight));
        m_Sampler.SetKernel(std::make_unique<FILT_BicubicKernel>());
        if (box > 1)
            m_Sums.resize(std::size_t(m_Across) * 3);
    }

    // What the sampler is given on a side: at most what it can take.
    static bool Fits(std::uint32_t width, std::uint32_t height, std::uint32_t box)
    {
        return (width + box - 1) / box <= FILT_DownSampleFactors::kMaxSize &&
               (height + box - 1) / box <= FILT_DownSampleFactors::kMaxSize;
    }

    // False when the band was not taken whole.
    bool Feed(std::uint8_t* rows, std::uint32_t rowCount, bool last)
    {
        if (m_Box == 1)
            return Give(rows, std::size_t(m_Width) * 3 * rowCount, last);
        m_Lines.clear();
        for (std::uint32_t y = 0; y < rowCount; ++y)
        {
            const std::uint8_t* p = rows + std::size_t(y) * m_Width * 3;
            std::uint32_t* sum = m_Sums.data();
            for (std::uint32_t x = 0; x < m_Width; x += m_Box, sum += 3)
            {
                std::uint32_t s0 = 0, s1 = 0, s2 = 0;
                for (const std::uint8_t* end = p + 3 * std::min(m_Box, m_Width - x); p != end;
                     p += 3)
                {
                    s0 += p[0];
                    s1 += p[1];
                    s2 += p[2];
                }
                sum[0] += s0;
                sum[1] += s1;
                sum[2] += s2;
            }
            if (++m_RowsInBox == m_Box || (last && y + 1 == rowCount))
                AverageLine();
        }
        return Give(m_Lines.data(), m_Lines.size(), last);
    }

    // The reduced picture, 4 bytes a pixel, once every band was fed; empty when it is not whole.
    std::vector<std::uint8_t> Take()
    {
        if (m_Buffer.DataAvailable() != m_Out.size() || !m_Buffer.EndOfData())
            return {};
        std::vector<std::uint8_t> pixels(m_Out.size() / 3 * 4, 0);
        for (std::size_t i = 0, o = 0; i < m_Out.size(); i += 3, o += 4)
            std::memcpy(pixels.data() + o, m_Out.data() + i, 3);
        return pixels;
    }

private:
    bool Give(std::uint8_t* bytes, std::size_t size, bool last)
    {
        FILT_FilterBuffer in(bytes, static_cast<std::uint32_t>(size), false);
        in.Produce(static_cast<std::uint32_t>(size));
        in.SetEndOfData(last);
        m_Sampler.ProcessBytes(in, m_Buffer);
        return in.DataAvailable() == 0;
    }

    // The boxes summed so far become one line of their rounded means (the last column's boxes
    // may be narrower, the last row's lower).
    void AverageLine()
    {
        const std::size_t start = m_Lines.size();
        m_Lines.resize(start + std::size_t(m_Across) * 3);
        for (std::uint32_t bx = 0; bx < m_Across; ++bx)
        {
            const std::uint32_t columns = std::min(m_Box, m_Width - bx * m_Box);
            const std::uint32_t count = columns * m_RowsInBox;
            for (int c = 0; c < 3; ++c)
            {
                std::uint32_t& sum = m_Sums[std::size_t(bx) * 3 + std::size_t(c)];
                m_Lines[start + std::size_t(bx) * 3 + std::size_t(c)] =
                    static_cast<std::uint8_t>((sum + count / 2) / count);
                sum = 0;
            }
        }
        m_RowsInBox = 0;
    }

    std::uint32_t m_Box;
    std::uint32_t m_Width;
    std::uint32_t m_Across;
    std::uint32_t m_RowsInBox = 0;
    std::vector<std::uint32_t> m_Sums;
    std::vector<std::uint8_t> m_Lines;
    std::vector<std::uint8_t> m_Out;
    FILT_FilterBuffer m_Buffer;
    FILT_DownSampler m_Sampler;
};
} // namespace

/* The composite is made and reduced a band of rows at a time, each separation's reduced image
   read only for the rows of the band, so that what is held besides the thumbnail stays within
   the band's bytes whatever the reduced images declare. A composite that the reduction cannot take
   (more than 32767 pixels on a side after averaging) is kept at full size where it fits in a band;
   else there is no thumbnail. */
void IMPN_ThumbnailImage::Build()
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
    std::uint32_t width = 0, height = 0, tileWidth = 0, tileLength = 0;
    first.GetThumbnailInfo(width, height, tileWidth, tileLength);
    const double scale = first.GetThumbnailScale();
    const std::uint64_t bytes = std::uint64_t{width} * height * 4;
    if (width == 0 || height == 0 || width > std::numeric_limits<std::int32_t>::max() / 4 ||
        height > std::numeric_limits<std::int32_t>::max() || bytes > kMaxCompositeBytes)
        return;

    std::int32_t newWidth = 0, newHeight = 0;
    ReducedSize(std::int32_t(width), std::int32_t(height), newWidth, newHeight);
    const bool reduce = newWidth != std::int32_t(width) || newHeight != std::int32_t(height);
    const std::uint32_t box = AveragingBox(width, height, newWidth, newHeight);
    std::unique_ptr<BandReduction> reduction;
    if (reduce && BandReduction::Fits(width, height, box))
        reduction = std::make_unique<BandReduction>(width, height, newWidth, newHeight, box);
    // Without a reduction the composite is the picture: it is held whole, where it fits.
    if (!reduction && bytes > m_BandBytes)
        return;

    std::vector<Ink> inks;
    // Hidden separations are left out, as the view leaves them out.
    for (const auto& separation : *m_Separations)
        if (separation && separation->IsVisible())
        {
            Ink& ink = inks.emplace_back();
            ink.separation = separation.get();
            std::uint32_t w = 0, l = 0;
            separation->GetThumbnailInfo(ink.width, ink.height, w, l);
            MakeTints(separation->GetCurrentColor(), ink.tints);
        }
    // With a pool each thread reads the band of one reduced image through a reader of its own,
    // opened here, on the owner's thread, which is where libtiff's process-wide tag registration
    // may run; without one (or when a file cannot be opened again) the separations' own readers
    // read them one by one.
    bool onPool = m_Pool != nullptr;
    for (Ink& ink : inks)
        if (onPool && !(ink.reader = ink.separation->OpenReducedImageReader()))
            onPool = false;
    const std::size_t threads = onPool ? std::size_t(m_Pool->GetWorkerCount()) + 1 : 1;
    const std::size_t pixelBytes = reduction ? 3 : 4;
    std::uint32_t bandRows =
        BandRows(m_BandBytes, width, height, pixelBytes, tileWidth, tileLength, threads);
    // Whole boxes in every band but the last.
    bandRows = std::min(height, std::max(bandRows - bandRows % box, box));

    std::vector<std::uint8_t> whole;
    std::vector<std::uint8_t> band;
    bool complete = true;
    try
    {
        if (!reduction)
            whole.resize(static_cast<std::size_t>(bytes));
        else
            band.resize(std::size_t(width) * 3 * bandRows);
        for (std::uint32_t y0 = 0; y0 < height && complete; y0 += bandRows)
        {
            const std::uint32_t rows = std::min(bandRows, height - y0);
            std::uint8_t* pixels =
                reduction ? band.data() : whole.data() + std::size_t(y0) * width * 4;
            MixBand(inks, pixels, pixelBytes, width, y0, rows, onPool);
            if (reduction)
                complete = reduction->Feed(pixels, rows, y0 + rows == height);
        }
    }
    catch (...)
    {
        complete = false;
    }
    if (reduction)
        whole = complete ? reduction->Take() : std::vector<std::uint8_t>();
    if (whole.empty())
        return;
    m_Pixels = std::move(whole);
    m_Width = reduction ? newWidth : std::int32_t(width);
    m_Height = reduction ? newHeight : std::int32_t(height);
    // The row length from the full 32-bit width: a width cut to 16 bits would misplace every
    // row of a composite of 65536 pixels or more.
    m_RowLength = static_cast<std::uint32_t>(m_Width) * 4;
    m_Scale = reduction ? scale * std::max(width, height) * 0.002857142857142857 : scale;
}

/* The band starts as paper; each separation's rows of it are mixed in separation order, a wave of
   one reduced image per thread at a time on the pool, each wave's rasters mixed in sub-bands of
   rows, each by one thread with the wave's inks in order, so that every pixel still takes the
   inks in that order. */
void IMPN_ThumbnailImage::MixBand(std::vector<Ink>& inks, std::uint8_t* pixels,
                                  std::size_t pixelBytes, std::uint32_t width, std::uint32_t y0,
                                  std::uint32_t rows, bool onPool)
{
    const IMPN_ColorBGR& paper = *m_PaperColor;
    const std::size_t count = std::size_t(width) * rows;
    for (std::uint8_t* p = pixels; p != pixels + pixelBytes * count; p += pixelBytes)
    {
        p[0] = paper[0];
        p[1] = paper[1];
        p[2] = paper[2];
        if (pixelBytes == 4)
            p[3] = 0;
    }
    const std::size_t wave = onPool ? std::size_t(m_Pool->GetWorkerCount()) + 1 : 1;
    for (std::size_t firstInk = 0; firstInk < inks.size(); firstInk += wave)
    {
        const std::size_t n = std::min(wave, inks.size() - firstInk);
        std::vector<IMPN_Raster> rasters(n);
        std::vector<std::int64_t> read(n, -1);
        const auto readOne = [&](std::size_t i)
        {
            Ink& ink = inks[firstInk + i];
            if (ink.height <= y0)
                return;
            const std::uint32_t inkRows = std::min(rows, ink.height - y0);
            read[i] = ink.reader
                          ? IMPN_Separation::ReadReducedRows(*ink.reader, y0, inkRows, rasters[i])
                          : ink.separation->ReadThumbnailRows(y0, inkRows, rasters[i]);
        };
        const auto mixRows = [&](std::uint64_t from, std::uint64_t to)
        {
            for (std::size_t i = 0; i < n; ++i)
            {
                const Ink& ink = inks[firstInk + i];
                if (read[i] < 0)
                    continue;
                if (pixelBytes == 3)
                    MixRows<3>(pixels, std::int32_t(width), std::int32_t(rows), rasters[i],
                               ink.width, ink.height - y0, ink.tints, from, to);
                else
                    MixRows<4>(pixels, std::int32_t(width), std::int32_t(rows), rasters[i],
                               ink.width, ink.height - y0, ink.tints, from, to);
            }
        };
        if (!onPool)
        {
            readOne(0);
            mixRows(0, rows);
            continue;
        }
        m_Pool->ParallelFor(n, readOne);
        const std::size_t parts = std::min<std::size_t>(rows, wave * 4);
        m_Pool->ParallelFor(parts, [&](std::size_t part)
                            { mixRows(part * rows / parts, (part + 1) * rows / parts); });
    }
}
