// Ink zones on a press's grid. The expected zone of every device column is worked out here
// column by column in exact fractions: zone = floor((x + 0.5 - left edge) / zone width).

#include "IMPN/IMPN_InkZones.h"
#include "IMPN/IMPN_CoverageReport.h"

#include <gtest/gtest.h>

namespace
{
using Wide = __int128;

// The zone of column x (-1 left of zone 0, count right of the last) for a resolution p / q dpi.
long long ZoneOf(std::int64_t x, const IMPN_InkZones::Geometry& g, Wide p, Wide q,
                 std::uint32_t pictureWidth)
{
    // Everything times 50800 q: x + 0.5 -> 50800 q x + 25400 q; the left edge W / 2 + offset R /
    // 25400 - N width R / 50800 -> 25400 q W + 2 offset p - N width p; the width -> 2 width p.
    const Wide position = Wide(50800) * q * x + Wide(25400) * q;
    const Wide left =
        Wide(25400) * q * pictureWidth + Wide(2) * g.offset * p - Wide(g.count) * g.width * p;
    const Wide width = Wide(2) * g.width * p;
    Wide d = position - left;
    Wide zone = d / width;
    if (d % width != 0 && d < 0)
        --zone;
    return (long long)std::clamp<Wide>(zone, -1, g.count);
}

struct ZoneCase
{
    const char* name;
    double resolution;
    Wide p, q; // the resolution as a fraction
    std::uint32_t pictureWidth;
    std::int32_t width;
    std::uint32_t count;
};

const ZoneCase kCases[] = {
    {"2400 dpi, 5 mm zones wider than the plate", 2400, 2400, 1, 2000, 5000, 5},
    {"2540 dpi, whole pixels", 2540, 2540, 1, 3001, 10000, 3},
    {"600.5 dpi", 600.5, 1201, 2, 1500, 7300, 8},
    {"72 dpi, zones narrower than a pixel", 72, 72, 1, 40, 300, 150},
};
} // namespace

// Offsets that put boundaries inside pixels, on pixel centres and off the plate: every column
// lands in the zone its centre lies in, and the layout gives each zone exactly its columns.
TEST(InkZones, EveryColumnLandsInTheZoneItsCentreLiesInAtAnyOffset)
{
    for (const ZoneCase& c : kCases)
        for (std::int32_t offset = -4000; offset <= 4000; offset += 13)
        {
            SCOPED_TRACE(testing::Message() << c.name << ", offset " << offset);
            const IMPN_InkZones::Geometry g{c.width, c.count, offset};
            const std::vector<std::int64_t> starts =
                IMPN_InkZones::ZoneStarts(g, c.resolution, c.pictureWidth);
            ASSERT_EQ(starts.size(), c.count + 1);
            for (std::uint32_t k = 0; k < c.count; ++k)
                for (std::int64_t x = starts[k]; x < starts[k + 1]; ++x)
                    ASSERT_EQ(ZoneOf(x, g, c.p, c.q, c.pictureWidth), k) << "column " << x;
            ASSERT_EQ(ZoneOf(starts[0] - 1, g, c.p, c.q, c.pictureWidth), -1);
            ASSERT_EQ(ZoneOf(starts[c.count], g, c.p, c.q, c.pictureWidth), c.count);

            const IMPN_InkZones::Layout layout =
                IMPN_InkZones::Place(starts, 0, std::int32_t(c.pictureWidth));
            ASSERT_EQ(layout.zoneBand.size(), c.count);
            ASSERT_EQ(layout.edges.front(), 0);
            ASSERT_EQ(layout.edges.back(), std::int32_t(c.pictureWidth));
            for (std::size_t i = 1; i < layout.edges.size(); ++i)
                ASSERT_LT(layout.edges[i - 1], layout.edges[i]);
            for (std::uint32_t k = 0; k < c.count; ++k)
            {
                const std::int64_t a = std::clamp<std::int64_t>(starts[k], 0, c.pictureWidth);
                const std::int64_t b = std::clamp<std::int64_t>(starts[k + 1], 0, c.pictureWidth);
                if (a == b)
                {
                    ASSERT_FALSE(layout.zoneBand[k]) << "zone " << k;
                    continue;
                }
                ASSERT_TRUE(layout.zoneBand[k]) << "zone " << k;
                EXPECT_EQ(layout.edges[*layout.zoneBand[k]], a);
                EXPECT_EQ(layout.edges[*layout.zoneBand[k] + 1], b);
            }
        }
}

TEST(InkZones, APressGridCentredOnTheSheetAndOffTheIndividualPlate)
{
    // 2540 dpi: 30 mm are 3000 pixels. Four zones centred on a 10,000-pixel plate start at
    // 5000 - 6000 = -1000; 10 mm to the right moves them by 1000 pixels.
    EXPECT_EQ(IMPN_InkZones::ZoneStarts({30000, 4, 0}, 2540, 10000),
              (std::vector<std::int64_t>{-1000, 2000, 5000, 8000, 11000}));
    EXPECT_EQ(IMPN_InkZones::ZoneStarts({30000, 4, 10000}, 2540, 10000),
              (std::vector<std::int64_t>{0, 3000, 6000, 9000, 12000}));
    EXPECT_EQ(IMPN_InkZones::FewestZones(30000, 2540, 10000), 4u); // 3.33 zones
    EXPECT_EQ(IMPN_InkZones::FewestZones(30000, 2540, 9000), 3u);
    EXPECT_EQ(IMPN_InkZones::FewestZones(30000, 0, 9000), 0u);
    EXPECT_TRUE(IMPN_InkZones::ZoneStarts({30000, 4, 0}, -1, 10000).empty());

    // Within a rectangle's columns 2500..8499: zone 1 from 2500, zone 3 up to 8499.
    IMPN_InkZones::Layout layout =
        IMPN_InkZones::Place({-1000, 2000, 5000, 8000, 11000}, 2500, 8500);
    EXPECT_EQ(layout.edges, (std::vector<std::int32_t>{2500, 5000, 8000, 8500}));
    EXPECT_EQ(layout.zoneBand, (std::vector<std::optional<std::size_t>>{std::nullopt, 0, 1, 2}));
    // A grid shifted wholly off the plate: no zone holds a column; the plate is one band.
    layout = IMPN_InkZones::Place({12000, 15000}, 0, 10000);
    EXPECT_EQ(layout.edges, (std::vector<std::int32_t>{0, 10000}));
    EXPECT_EQ(layout.zoneBand, (std::vector<std::optional<std::size_t>>{std::nullopt}));
}

TEST(InkZones, ZonesOffThePlateReadADashNeverZero)
{
    IMPN_InkCoverageCounts counts;
    counts.area.width = 10;
    counts.area.height = 10;
    counts.columnEdges = {0, 2, 6, 10}; // the plate left of zone 1, zone 1, zone 2
    counts.rowEdges = {0, 10};
    counts.inked = {{20, 20, 0}, {0, 10, 40}};
    counts.unreadTiles = {0, 0};
    const std::vector<std::optional<std::size_t>> bands{1, 2, std::nullopt};
    EXPECT_EQ(IMPN_CoverageReport::WriteZones({"Cyan", "Black"}, counts, bands, false),
              "Cyan\t50.00\t0.00\t-\nBlack\t25.00\t100.00\t-\nTotal\t75.00\t100.00\t-\n");
    EXPECT_EQ(IMPN_CoverageReport::WriteZones({"Cyan", "Black"}, counts, bands, true),
              "Ink,Zone 1,Zone 2,Zone 3\nCyan,50.00,0.00,-\nBlack,25.00,100.00,-\n"
              "Total,75.00,100.00,-\n");
    EXPECT_EQ(
        IMPN_CoverageReport::ZoneComment("Job, \"A\"", "Web 1\nF", true, {32500, 23, -1250}, 2400),
        "# Job: Job, \"A\"; Sheet: Web 1 F; Surface: back; Zones: 23 x 32.5 mm; Offset: "
        "-1.25 mm; Resolution: 2400 dpi\n");
}
