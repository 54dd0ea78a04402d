// The dense benchmark plate: every tile of every ink, decoded from the file written, carries a
// mid-tone screen between 45 and 55 %, and the reduced image measures the same rows.

#include "KRN_SampleJob.h"
#include "KRN_SamplePresets.h"
#include "KRN_TestFolder.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <bit>
#include <memory>

namespace
{
struct TiffCloser
{
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

TEST(KRN_SampleDense, EveryTileOfEveryInkIsAMidToneScreen)
{
    KRN_TestFolder folder("krn-sample-dense");
    KRN_SamplePresets::Settings settings;
    settings.inks = 8;
    settings.width = 1536 + 100; // and a partial tile column at the right
    settings.height = 1024;
    settings.content = KRN_SampleContent::Dense;
    const std::vector<std::string> files = KRN_SampleJob::Write(
        KRN_SamplePresets::Make("large", settings), folder.Path().string(), 1, {});
    ASSERT_EQ(files.size(), 8u);

    for (const std::string& path : files)
    {
        std::unique_ptr<TIFF, TiffCloser> tif(TIFFOpen(path.c_str(), "r"));
        ASSERT_TRUE(tif) << path;
        std::uint32_t width = 0, height = 0, tile = 0;
        TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
        TIFFGetField(tif.get(), TIFFTAG_TILEWIDTH, &tile);
        ASSERT_EQ(width, settings.width);
        ASSERT_EQ(tile, 512u);
        std::vector<std::uint8_t> buffer(TIFFTileSize(tif.get()));
        std::uint64_t inked = 0, total = 0;
        for (std::uint32_t y0 = 0; y0 < height; y0 += tile)
        {
            for (std::uint32_t x0 = 0; x0 < width; x0 += tile)
            {
                ASSERT_GE(TIFFReadTile(tif.get(), buffer.data(), x0, y0, 0, 0), 0);
                const std::uint32_t columns = std::min(tile, width - x0);
                const std::uint32_t rows = std::min(tile, height - y0);
                std::uint64_t bits = 0;
                for (std::uint32_t r = 0; r < rows; ++r)
                    for (std::uint32_t c = 0; c < columns; ++c)
                        bits += (buffer[r * (tile / 8) + c / 8] >> (7 - c % 8)) & 1u;
                const double coverage = double(bits) / (double(columns) * rows);
                // A tile cut off at the sheet's edge holds a few columns of dots only, whose
                // share depends on where the cut falls in the screen; whole tiles hold the tone.
                if (columns == tile && rows == tile)
                {
                    EXPECT_GE(coverage, 0.45) << path << " tile " << x0 << "," << y0;
                    EXPECT_LE(coverage, 0.55) << path << " tile " << x0 << "," << y0;
                }
                inked += bits;
                total += std::uint64_t{columns} * rows;
            }
        }

        // The reduced image, averaged, says the same as the bits.
        ASSERT_TRUE(TIFFSetDirectory(tif.get(), 1));
        std::uint32_t rw = 0, rh = 0, rt = 0;
        TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &rw);
        TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &rh);
        TIFFGetField(tif.get(), TIFFTAG_TILEWIDTH, &rt);
        std::vector<std::uint8_t> reduced(TIFFTileSize(tif.get()));
        std::uint64_t sum = 0;
        for (std::uint32_t y0 = 0; y0 < rh; y0 += rt)
        {
            for (std::uint32_t x0 = 0; x0 < rw; x0 += rt)
            {
                ASSERT_GE(TIFFReadTile(tif.get(), reduced.data(), x0, y0, 0, 0), 0);
                for (std::uint32_t r = 0; r < rt && y0 + r < rh; ++r)
                    for (std::uint32_t c = 0; c < rt && x0 + c < rw; ++c)
                        sum += reduced[r * rt + c];
            }
        }
        const double bitsMean = double(inked) / double(total);
        const double reducedMean = double(sum) / (255.0 * rw * rh);
        EXPECT_NEAR(reducedMean, bitsMean, 0.01) << path;
    }
}

TEST(KRN_SampleDense, DenseIsOfferedForTheLargePresetOnly)
{
    KRN_SamplePresets::Settings settings;
    settings.content = KRN_SampleContent::Dense;
    EXPECT_THROW(KRN_SamplePresets::Make("brochure", settings), std::invalid_argument);
}
} // namespace
