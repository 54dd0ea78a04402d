// The overview's averaging of a reduced image to a level of the picture, against a plain
// reference that walks every level pixel's span of reduced pixels.

#include "IMPN/IMPN_OverviewImage.h"
#include "IMPN/IMPN_Raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{

// Level pixel i covers full-resolution pixels [i << shift, (i + 1) << shift), that is reduced
// pixels [i 2^shift / scale, (i + 1) 2^shift / scale), at least one, within the reduced image.
std::vector<std::uint8_t> Reference(const IMPN_Raster& raster, std::uint32_t reducedWidth,
                                    std::uint32_t reducedLength, std::uint32_t scale, int shift,
                                    int width, int height)
{
    const std::uint64_t columns = std::min(reducedWidth, raster.rowLength);
    const std::uint64_t rows = std::min(reducedLength, raster.rows);
    const auto span = [&](std::uint64_t i, std::uint64_t size, std::uint64_t& a, std::uint64_t& b)
    {
        a = std::min((i << shift) / scale, size);
        b = std::max(std::min(((i + 1) << shift) / scale, size), a + 1);
    };
    std::vector<std::uint8_t> plane(std::size_t(width) * std::size_t(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            std::uint64_t x0, x1, y0, y1;
            span(std::uint64_t(x), columns, x0, x1);
            span(std::uint64_t(y), rows, y0, y1);
            if (x0 >= columns || y0 >= rows)
                continue;
            std::uint64_t sum = 0;
            for (std::uint64_t ry = y0; ry < y1; ++ry)
                for (std::uint64_t rx = x0; rx < x1; ++rx)
                    sum += raster.pixels[ry * raster.rowLength + rx];
            const std::uint64_t count = (x1 - x0) * (y1 - y0);
            plane[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                static_cast<std::uint8_t>((sum + count / 2) / count);
        }
    return plane;
}

// Whole multiples of the reduced scale (copied, or summed k at a time) and scales that are not
// (spans of varying width), with reduced images that end inside the level, stop short of its
// last pixels, or sit in a raster padded to whole tiles.
TEST(OverviewAverage, EveryLevelPixelIsTheRoundedMeanOfTheReducedPixelsItCovers)
{
    struct Case
    {
        std::uint32_t scale;
        int shift;
        std::uint32_t fullWidth, fullLength, padding;
    };
    const Case cases[] = {
        {8, 3, 800, 600, 0},   // the level of the reduced image: a copy
        {8, 3, 803, 597, 16},  // partial last reduced pixels, padded raster
        {8, 5, 800, 600, 0},   // 4 x 4 blocks
        {8, 5, 830, 610, 5},   // 4 x 4 blocks with a narrower tail
        {4, 6, 1000, 750, 0},  // 16 x 16 blocks
        {6, 3, 900, 700, 0},   // 1 or 2 reduced pixels per level pixel
        {3, 4, 500, 380, 7},   // 5 or 6 per level pixel
        {32, 5, 3000, 2250, 0} // one reduced pixel per level pixel at a large scale
    };
    std::uint32_t random = 2024;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << ", shift " << c.shift << ", "
                                        << c.fullWidth << " x " << c.fullLength);
        const std::uint32_t reducedWidth = (c.fullWidth + c.scale - 1) / c.scale;
        const std::uint32_t reducedLength = (c.fullLength + c.scale - 1) / c.scale;
        IMPN_Raster raster;
        raster.rowLength = reducedWidth + c.padding;
        raster.rows = reducedLength + c.padding;
        raster.pixels.resize(std::size_t(raster.rowLength) * raster.rows);
        for (std::uint8_t& value : raster.pixels)
        {
            random = random * 1664525u + 1013904223u;
            value = static_cast<std::uint8_t>(random >> 24);
        }
        const int width = int((c.fullWidth + (1u << c.shift) - 1) >> c.shift);
        const int height = int((c.fullLength + (1u << c.shift) - 1) >> c.shift);
        std::vector<std::uint8_t> plane;
        IMPN_OverviewImage::AverageCoverage(raster, reducedWidth, reducedLength, c.scale, c.shift,
                                            width, height, plane);
        const std::vector<std::uint8_t> reference =
            Reference(raster, reducedWidth, reducedLength, c.scale, c.shift, width, height);
        EXPECT_EQ(plane, reference);

        // The same a few level rows at a time, each from a band of the reduced rows it covers.
        std::vector<std::uint8_t> banded(plane.size(), 0xAB);
        const auto start = [&](int y)
        { return std::min<std::uint64_t>((std::uint64_t(y) << c.shift) / c.scale, reducedLength); };
        for (int y0 = 0; y0 < height; y0 += 3)
        {
            const int y1 = std::min(height, y0 + 3);
            const std::uint64_t r0 = start(y0);
            const std::uint64_t r1 =
                std::min<std::uint64_t>(std::max(start(y1), start(y1 - 1) + 1), reducedLength);
            IMPN_Raster band;
            band.rowLength = raster.rowLength;
            band.top = std::uint32_t(std::min(r0, std::uint64_t(reducedLength)));
            band.rows = std::uint32_t(r1 > r0 ? r1 - r0 : 0);
            band.pixels.assign(raster.pixels.begin() + std::ptrdiff_t(band.top * raster.rowLength),
                               raster.pixels.begin() +
                                   std::ptrdiff_t((band.top + band.rows) * raster.rowLength));
            IMPN_OverviewImage::AverageCoverage(band, reducedWidth, reducedLength, c.scale, c.shift,
                                                width, height, banded, y0, y1);
        }
        EXPECT_EQ(banded, reference);

        // A reduced image that holds fewer rows and columns than it claims: its end stays 0.
        IMPN_Raster cut = raster;
        cut.rowLength = reducedWidth / 2;
        cut.rows = reducedLength / 3;
        cut.pixels.resize(std::size_t(cut.rowLength) * cut.rows);
        IMPN_OverviewImage::AverageCoverage(cut, reducedWidth, reducedLength, c.scale, c.shift,
                                            width, height, plane);
        EXPECT_EQ(plane,
                  Reference(cut, reducedWidth, reducedLength, c.scale, c.shift, width, height));
    }
}

} // namespace
