#pragma once
// The small colour picture of one surface that the navigation palette shows: every visible
// separation's reduced 8-bit image mixed in its current display colour and opacity over the
// surface's paper colour (the inks as the view shows them; until the user changes them, the
// colours decided from the files), then reduced to at most 350 pixels on its longer side. Pixels
// are 4 bytes, blue, green, red and 0, rows packed top to bottom.
//
// The thumbnail reads the surface's separation list and paper colour through pointers; the
// surface owns all three and destroys the thumbnail before the separations.

#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Raster.h"

#include <cstdint>
#include <memory>
#include <vector>

class IMPN_Separation;
class IMPN_WorkerPool;
class TIFX_KRNFile;

class IMPN_ThumbnailImage
{
public:
    using SeparationList = std::vector<std::unique_ptr<IMPN_Separation>>;

    // The longer side of a reduced thumbnail.
    static constexpr std::int32_t kMaxSide = 350;
    // A composite larger than this is not made (the thumbnail stays empty). It is never held
    // whole: it is made and reduced a band of rows at a time.
    static constexpr std::uint64_t kMaxCompositeBytes = 512ULL << 20;

    // Makes the pixels at once, holding at most bandBytes besides them. With a pool (not owned;
    // used only while the pixels are made), the reduced images are decoded on its workers through
    // readers of their own, a few at a time; they are still mixed in separation order, so the
    // picture is the same.
    // bandBytes: what a band of the composite and the reduced rows mixed into it may hold.
    static constexpr std::uint64_t kBandBytes = 64ULL << 20;
    IMPN_ThumbnailImage(const SeparationList& separations, const IMPN_ColorBGR& paperColor,
                        IMPN_WorkerPool* pool = nullptr, std::uint64_t bandBytes = kBandBytes);
    IMPN_ThumbnailImage(const IMPN_ThumbnailImage&) = delete;
    IMPN_ThumbnailImage& operator=(const IMPN_ThumbnailImage&) = delete;

    // Makes the pixels again from the separations, e.g. after their colours or visibility changed.
    void Rebuild();

    std::int32_t GetWidth() const { return m_Width; }
    std::int32_t GetHeight() const { return m_Height; }
    const std::uint8_t* GetPixels() const { return m_Pixels.empty() ? nullptr : m_Pixels.data(); }
    std::uint32_t GetRowLength() const { return m_RowLength; }
    std::uint32_t GetChangeStamp() const { return m_ChangeStamp; }
    std::uint32_t GetLeft() const { return m_Left; }
    std::uint32_t GetTop() const { return m_Top; }
    std::uint32_t GetPixelFormat() const { return m_PixelFormat; }
    // Full-resolution separation pixels per thumbnail pixel.
    double GetScale() const { return m_Scale; }

    // The size a width x height composite is reduced to: the longer side becomes 350 and the
    // other keeps the proportion, truncated, computed exactly in integers (355 x 497 gives
    // 250 x 350) and never below 1. Sizes within 350 x 350 stay as they are.
    static void ReducedSize(std::int32_t width, std::int32_t height, std::int32_t& newWidth,
                            std::int32_t& newHeight);

    // Mixes one separation's raster into a composite of width x height pixels (4 bytes each):
    // each coverage byte g becomes the ink at tint floor(g x opacity / 255) mixed over the pixel.
    // Only the part of the raster inside both the composite and its own image (imageWidth x
    // imageHeight, within the raster's rows) is used.
    static void MixRaster(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                          const IMPN_Raster& raster, std::uint32_t imageWidth,
                          std::uint32_t imageHeight, const IMPN_ColorRecord& ink);

private:
    // One separation as the composite mixes it.
    struct Ink
    {
        IMPN_Separation* separation = nullptr;
        std::uint32_t width = 0, height = 0;  // of its reduced image
        IMPN_InkMixing::CoverageInks tints{}; // its current ink at every coverage byte
        std::unique_ptr<TIFX_KRNFile> reader; // a reader of its own, for the pool
    };

    void Build();
    // Mixes rows [y0, y0 + rows) of every separation over the paper into pixels (the band,
    // width x rows pixels of pixelBytes, 3 or 4, blue, green and red first).
    void MixBand(std::vector<Ink>& inks, std::uint8_t* pixels, std::size_t pixelBytes,
                 std::uint32_t width, std::uint32_t y0, std::uint32_t rows, bool onPool);

    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::vector<std::uint8_t> m_Pixels;
    std::uint32_t m_RowLength = 0;
    std::uint32_t m_ChangeStamp = 0;
    std::uint32_t m_Left = 0;
    std::uint32_t m_Top = 0;
    std::uint32_t m_PixelFormat = IMPN_Raster::FormatColor32;
    double m_Scale = 1.0;
    const SeparationList* m_Separations;
    const IMPN_ColorBGR* m_PaperColor;
    IMPN_WorkerPool* m_Pool = nullptr;
    std::uint64_t m_BandBytes = kBandBytes;
};
