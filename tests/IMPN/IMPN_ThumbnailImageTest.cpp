// The surface thumbnail: its reduced size, the ink mixing of each separation over the paper, and
// whole thumbnails made from preview files.

#include "IMPN_TreeTestFiles.h"

#include "FILT/FILT_BicubicKernel.h"
#include "FILT/FILT_DownSampler.h"
#include "FILT/FILT_FilterBuffer.h"

#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_ThumbnailImage.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace
{

struct SizeCase
{
    std::int32_t width, height, newWidth, newHeight;
};

IMPN_ColorRecord Ink(std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    IMPN_ColorRecord record;
    record.color = {blue, green, red};
    return record;
}

IMPN_Raster Coverage(std::uint32_t width, std::uint32_t height, std::uint8_t value)
{
    IMPN_Raster raster;
    raster.rowLength = width;
    raster.rows = height;
    raster.size = std::uint64_t{width} * height;
    raster.pixels.assign(static_cast<std::size_t>(raster.size), value);
    return raster;
}

class ThumbnailTest : public ::testing::Test
{
protected:
    // A separation whose reduced image is width x height pixels at 1:scale, coverage from fill.
    void AddSeparation(const std::string& ink, std::uint32_t width, std::uint32_t height,
                       std::uint16_t scale,
                       std::function<std::uint8_t(std::uint32_t, std::uint32_t)> fill)
    {
        IMPN_TestPreview p;
        p.colorName = ink;
        p.width = width * scale;
        p.height = height * scale;
        p.pressSheetBottom = static_cast<std::int32_t>(p.height) - 1;
        p.pressSheetRight = static_cast<std::int32_t>(p.width) - 1;
        p.options.reducedScale = scale;
        TIFX_KRNWriter writer(p.options);
        writer.SetMainBitmap(
            p.width, p.height,
            std::vector<std::uint8_t>(std::size_t{(p.width + 7) / 8} * p.height, 0));
        std::vector<std::uint8_t> reduced(std::size_t{width} * height);
        for (std::uint32_t y = 0; y < height; ++y)
            for (std::uint32_t x = 0; x < width; ++x)
                reduced[std::size_t{y} * width + x] = fill(x, y);
        writer.SetReducedImage(std::move(reduced));
        writer.SetDirectoryInfo(IMPN_TestDirectoryInfo(p));
        const std::string path =
            (m_Folder.Path() / (ink + std::to_string(m_Count++) + ".tif")).string();
        writer.Write(path);
        TIFX_KRNFile file(path);
        file.Open();
        ASSERT_TRUE(file.IsValidPreviewFile()) << file.GetValidityFailure();
        m_Separations.push_back(std::make_unique<IMPN_Separation>(file));
        m_Separations.back()->Prepare();
    }

    static const std::uint8_t* PixelAt(const IMPN_ThumbnailImage& t, std::int32_t x, std::int32_t y)
    {
        return t.GetPixels() + static_cast<std::size_t>(y) * t.GetRowLength() + std::size_t(x) * 4;
    }

    IMPN_TestFolder m_Folder;
    int m_Count = 0;
    IMPN_ThumbnailImage::SeparationList m_Separations;
    IMPN_ColorBGR m_Paper{230, 240, 250};
};

} // namespace

TEST(IMPN_ThumbnailImage, ReducedSizeKeepsTheProportionInExactIntegers)
{
    const SizeCase cases[] = {
        {1000, 500, 350, 175}, {351, 100, 350, 99},  {700, 700, 350, 350}, {355, 497, 250, 350},
        {497, 355, 350, 250},  {350, 350, 350, 350}, {100, 20, 100, 20},   {350, 351, 349, 350},
        {1000, 2, 350, 1},     {2, 5000, 1, 350},
    };
    for (const SizeCase& c : cases)
    {
        std::int32_t w = 0;
        std::int32_t h = 0;
        IMPN_ThumbnailImage::ReducedSize(c.width, c.height, w, h);
        EXPECT_EQ(w, c.newWidth) << c.width << " x " << c.height;
        EXPECT_EQ(h, c.newHeight) << c.width << " x " << c.height;
    }
}

TEST(IMPN_ThumbnailImage, InkIsMixedOverThePixelAtItsTint)
{
    std::vector<std::uint8_t> pixels(4 * 4, 255);
    IMPN_ThumbnailImage::MixRaster(pixels.data(), 2, 2, Coverage(2, 2, 255), 2, 2, Ink(0, 0, 0));
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[1], 0);
    EXPECT_EQ(pixels[2], 0);

    std::fill(pixels.begin(), pixels.end(), 255);
    IMPN_ThumbnailImage::MixRaster(pixels.data(), 2, 2, Coverage(2, 2, 0), 2, 2, Ink(0, 0, 0));
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[2], 255);

    // Yellow at coverage 128 is tint 50: ink 0 + 127, 127 + 127, 127 + 127, mixed over white.
    std::fill(pixels.begin(), pixels.end(), 255);
    IMPN_ThumbnailImage::MixRaster(pixels.data(), 2, 2, Coverage(2, 2, 128), 2, 2,
                                   Ink(0, 255, 255));
    EXPECT_EQ(pixels[4], 127);
    EXPECT_EQ(pixels[5], 254);
    EXPECT_EQ(pixels[6], 254);
    EXPECT_EQ(pixels[7], 255); // the fourth byte is not touched
}

TEST(IMPN_ThumbnailImage, RasterOfAnotherSizeStaysInsideTheComposite)
{
    // A 3 x 2 composite in a store with guard bytes behind it.
    std::vector<std::uint8_t> store(3 * 2 * 4 + 16, 255);
    IMPN_Raster big = Coverage(8, 8, 255);
    IMPN_ThumbnailImage::MixRaster(store.data(), 3, 2, big, 8, 8, Ink(0, 0, 0));
    for (std::size_t i = 0; i < 24; i += 4)
        EXPECT_EQ(store[i], 0) << i;
    for (std::size_t i = 24; i < store.size(); ++i)
        EXPECT_EQ(store[i], 255) << i;

    // A smaller raster, and one whose own image is narrower than its whole tiles.
    std::fill(store.begin(), store.end(), 255);
    IMPN_ThumbnailImage::MixRaster(store.data(), 3, 2, Coverage(4, 4, 255), 1, 1, Ink(0, 0, 0));
    EXPECT_EQ(store[0], 0);
    EXPECT_EQ(store[4], 255);
    EXPECT_EQ(store[12], 255);
}

TEST_F(ThumbnailTest, LargeSurfaceIsReducedTo350AndItsScaleUpdated)
{
    // Left half full ink, right half none.
    AddSeparation("Black", 1000, 500, 2,
                  [](std::uint32_t x, std::uint32_t) { return x < 500 ? 255 : 0; });
    IMPN_ThumbnailImage thumbnail(m_Separations, m_Paper);
    ASSERT_EQ(thumbnail.GetWidth(), 350);
    ASSERT_EQ(thumbnail.GetHeight(), 175);
    EXPECT_EQ(thumbnail.GetRowLength(), 350u * 4);
    EXPECT_NEAR(thumbnail.GetScale(), 2.0 * 1000 / 350, 1e-9);
    EXPECT_EQ(thumbnail.GetPixelFormat(), IMPN_Raster::FormatColor32);

    // Full coverage over the paper shows the ink itself; no coverage shows the paper.
    const IMPN_ColorBGR ink = m_Separations[0]->GetDecidedColor().color;
    for (std::int32_t y : {0, 87, 174})
    {
        const std::uint8_t* left = PixelAt(thumbnail, 10, y);
        const std::uint8_t* right = PixelAt(thumbnail, 340, y);
        for (int c = 0; c < 3; ++c)
        {
            EXPECT_EQ(left[c], (ink[c] * (m_Paper[c] + 1)) >> 8) << "channel " << c;
            EXPECT_EQ(right[c], m_Paper[c]) << "channel " << c;
        }
        EXPECT_EQ(left[3], 0);
        EXPECT_EQ(right[3], 0);
    }

    // A rebuild takes a new stamp and picks up the paper colour of the moment.
    const std::uint32_t stamp = thumbnail.GetChangeStamp();
    m_Paper = {255, 255, 255};
    thumbnail.Rebuild();
    EXPECT_GT(thumbnail.GetChangeStamp(), stamp);
    EXPECT_EQ(PixelAt(thumbnail, 340, 100)[0], 255);
    EXPECT_EQ(thumbnail.GetWidth(), 350);
}

TEST_F(ThumbnailTest, SmallSurfaceKeepsItsSizeAndSeparationsOfOtherSizesAreClipped)
{
    AddSeparation("Cyan", 300, 200, 4, [](std::uint32_t, std::uint32_t) { return 0; });
    AddSeparation("Black", 400, 100, 4, [](std::uint32_t, std::uint32_t) { return 255; });
    IMPN_ThumbnailImage thumbnail(m_Separations, m_Paper);
    ASSERT_EQ(thumbnail.GetWidth(), 300);
    ASSERT_EQ(thumbnail.GetHeight(), 200);
    EXPECT_DOUBLE_EQ(thumbnail.GetScale(), 4.0);
    const IMPN_ColorBGR black = m_Separations[1]->GetDecidedColor().color;
    EXPECT_EQ(PixelAt(thumbnail, 299, 99)[0], (black[0] * (m_Paper[0] + 1)) >> 8);
    EXPECT_EQ(PixelAt(thumbnail, 299, 100)[0], m_Paper[0]);
}

TEST_F(ThumbnailTest, SurfaceTooWideToReduceKeepsTheFullSizePicture)
{
    // The reduction works on at most 32767 pixels a line, so the full-size composite stays; its
    // rows are wider than 16 bits of pixels and must still be laid out whole.
    AddSeparation("Black", 65600, 4, 1,
                  [](std::uint32_t x, std::uint32_t) { return x % 2 ? 255 : 0; });
    IMPN_ThumbnailImage thumbnail(m_Separations, m_Paper);
    ASSERT_EQ(thumbnail.GetWidth(), 65600);
    ASSERT_EQ(thumbnail.GetHeight(), 4);
    EXPECT_EQ(thumbnail.GetRowLength(), 65600u * 4);
    EXPECT_DOUBLE_EQ(thumbnail.GetScale(), 1.0);
    const IMPN_ColorBGR ink = m_Separations[0]->GetDecidedColor().color;
    for (std::int32_t y = 0; y < 4; ++y)
    {
        EXPECT_EQ(PixelAt(thumbnail, 65598, y)[0], m_Paper[0]);
        EXPECT_EQ(PixelAt(thumbnail, 65599, y)[0], (ink[0] * (m_Paper[0] + 1)) >> 8);
    }
}

// Five inks on two workers and this thread: two waves, mixed in separation order (the later ink
// over the earlier), so the picture equals the one made on this thread alone.
TEST_F(ThumbnailTest, ReducedImagesDecodedOnWorkersMakeTheSamePicture)
{
    const char* const inks[] = {"Cyan", "Magenta", "Yellow", "Black", "PANTONE 185 C"};
    for (unsigned k = 0; k < 5; ++k)
        AddSeparation(inks[k], 420, 260, 2,
                      [k](std::uint32_t x, std::uint32_t y)
                      { return std::uint8_t((x * (k + 1) + y * (5 - k)) % 256); });
    IMPN_WorkerPool pool(2);
    IMPN_ThumbnailImage alone(m_Separations, m_Paper);
    IMPN_ThumbnailImage pooled(m_Separations, m_Paper, &pool);
    ASSERT_EQ(pooled.GetWidth(), alone.GetWidth());
    ASSERT_EQ(pooled.GetHeight(), alone.GetHeight());
    const std::size_t bytes = std::size_t(alone.GetRowLength()) * std::size_t(alone.GetHeight());
    EXPECT_EQ(std::memcmp(pooled.GetPixels(), alone.GetPixels(), bytes), 0);
    // Not the paper alone: the inks reached the picture.
    EXPECT_NE(PixelAt(pooled, 200, 100)[0], m_Paper[0]);
}

// The picture shows the inks as the view does, on workers as on this thread: a hidden ink leaves
// it, a recoloured one shows in its new colour at its opacity.
TEST_F(ThumbnailTest, HiddenInksLeaveThePictureAndRecolouredInksShowAsChosen)
{
    AddSeparation("Black", 200, 100, 2,
                  [](std::uint32_t x, std::uint32_t) { return x < 100 ? 255 : 0; });
    AddSeparation("Cyan", 200, 100, 2,
                  [](std::uint32_t x, std::uint32_t) { return x < 100 ? 0 : 255; });
    m_Separations[0]->SetVisible(false);
    IMPN_ColorRecord red = m_Separations[1]->GetCurrentColor();
    red.color = IMPN_MakeColorBGR(200, 0, 0);
    red.opacity = 50;
    m_Separations[1]->SetCurrentColor(red);
    // Red at 50 % over white is (227, 127, 127); mixed over the paper (250, 240, 230) as
    // (ink x (paper + 1)) >> 8 per channel, blue first.
    const std::uint8_t expected[3] = {114, 119, 222};
    IMPN_WorkerPool pool(2);
    for (IMPN_WorkerPool* workers : {static_cast<IMPN_WorkerPool*>(nullptr), &pool})
    {
        IMPN_ThumbnailImage thumbnail(m_Separations, m_Paper, workers);
        ASSERT_EQ(thumbnail.GetWidth(), 200);
        for (int c = 0; c < 3; ++c)
        {
            EXPECT_EQ(PixelAt(thumbnail, 10, 50)[c], m_Paper[c]) << "channel " << c;
            EXPECT_EQ(PixelAt(thumbnail, 150, 50)[c], expected[c]) << "channel " << c;
        }
    }
}

// A composite larger than what is held at once is mixed and reduced a band of rows at a time:
// the picture is the one that the whole composite, mixed at once and reduced in one go, gives,
// on this thread and on a pool alike.
TEST_F(ThumbnailTest, CompositeLargerThanABandIsTheWholeCompositeReduced)
{
    const std::uint32_t w = 700, h = 1300;
    AddSeparation("Cyan", w, h, 1,
                  [](std::uint32_t x, std::uint32_t y)
                  { return std::uint8_t((x / 7 + y / 3) % 256); });
    AddSeparation("Black", w, h, 1,
                  [](std::uint32_t x, std::uint32_t y) { return y % 97 < 3 || x == y ? 255 : 0; });

    std::vector<std::uint8_t> whole(std::size_t(w) * h * 4);
    for (std::size_t i = 0; i < whole.size(); i += 4)
        std::memcpy(whole.data() + i, m_Paper.data(), 3), whole[i + 3] = 0;
    for (const auto& separation : m_Separations)
    {
        IMPN_Raster raster;
        ASSERT_GE(separation->ReadThumbnail(raster), 0);
        IMPN_ThumbnailImage::MixRaster(whole.data(), std::int32_t(w), std::int32_t(h), raster, w, h,
                                       separation->GetDecidedColor());
    }
    std::int32_t rw = 0, rh = 0;
    IMPN_ThumbnailImage::ReducedSize(std::int32_t(w), std::int32_t(h), rw, rh);
    std::vector<std::uint8_t> expected(std::size_t(rw) * rh * 4);
    FILT_DownSampler sampler;
    sampler.SetSamplesPerPixel(4);
    sampler.SetInputWidth(w);
    sampler.SetInputHeight(h);
    sampler.SetOutputWidth(std::uint32_t(rw));
    sampler.SetOutputHeight(std::uint32_t(rh));
    sampler.SetKernel(std::make_unique<FILT_BicubicKernel>());
    FILT_FilterBuffer in(whole.data(), std::uint32_t(whole.size()), false);
    in.Produce(std::uint32_t(whole.size()));
    in.SetEndOfData();
    FILT_FilterBuffer out(expected.data(), std::uint32_t(expected.size()), false);
    sampler.ProcessBytes(in, out);
    ASSERT_EQ(out.DataAvailable(), expected.size());

    // Bands of 97 rows, which cut through the reduced images' tiles, and of whole tile rows.
    IMPN_WorkerPool pool(2);
    for (const std::uint32_t rows : {97u, 1100u})
        for (IMPN_WorkerPool* p : {static_cast<IMPN_WorkerPool*>(nullptr), &pool})
        {
            const std::uint64_t threads = p ? 3 : 1;
            IMPN_ThumbnailImage thumbnail(m_Separations, m_Paper, p, w * (4 + threads) * rows);
            ASSERT_EQ(thumbnail.GetWidth(), rw);
            ASSERT_EQ(thumbnail.GetHeight(), rh);
            EXPECT_EQ(std::memcmp(thumbnail.GetPixels(), expected.data(), expected.size()), 0)
                << rows << " rows " << (p ? "on the pool" : "on this thread");
        }
}

// A picture shrinking eight times or more is averaged in boxes before the bicubic reduction, so
// that the reduction's cost stays bounded: uniform areas keep their exact colours, and bands and
// workers change nothing.
TEST_F(ThumbnailTest, StronglyReducedSurfaceKeepsItsColoursWhateverTheBands)
{
    const std::uint32_t w = 2810, h = 1405; // eight times 350 and more, with partial boxes
    AddSeparation("Black", w, h, 1,
                  [](std::uint32_t x, std::uint32_t) { return x < 1405 ? 255 : 0; });
    IMPN_WorkerPool pool(2);
    IMPN_ThumbnailImage whole(m_Separations, m_Paper);
    IMPN_ThumbnailImage banded(m_Separations, m_Paper, &pool, std::uint64_t(w) * 7 * 37);
    ASSERT_EQ(whole.GetWidth(), 350);
    ASSERT_EQ(whole.GetHeight(), 175);
    EXPECT_NEAR(whole.GetScale(), double(w) / 350, 1e-9);
    const IMPN_ColorBGR ink = m_Separations[0]->GetDecidedColor().color;
    for (std::int32_t y : {0, 90, 174})
        for (int c = 0; c < 3; ++c)
        {
            EXPECT_EQ(PixelAt(whole, 5, y)[c], (ink[c] * (m_Paper[c] + 1)) >> 8);
            EXPECT_EQ(PixelAt(whole, 345, y)[c], m_Paper[c]);
        }
    ASSERT_EQ(banded.GetWidth(), 350);
    EXPECT_EQ(std::memcmp(banded.GetPixels(), whole.GetPixels(), 350u * 175u * 4u), 0);
}

TEST(IMPN_ThumbnailImage, SurfaceWithoutSeparationsIsEmpty)
{
    IMPN_ThumbnailImage::SeparationList none;
    const IMPN_ColorBGR paper{255, 255, 255};
    IMPN_ThumbnailImage thumbnail(none, paper);
    EXPECT_EQ(thumbnail.GetWidth(), 0);
    EXPECT_EQ(thumbnail.GetPixels(), nullptr);
}
