#pragma once
// The ink zones of a press over a surface's picture. A press has a fixed grid of zones (a zone
// width and a number of zones) with the sheet centred on it, or shifted by an offset of the
// sheet's centre from the press's centre. With w = width x R / 25.4 and c = W / 2 + offset x R /
// 25.4 (device pixels, R the resolution in dots per inch, W the picture's width), zone k (0 to
// N - 1) holds the device columns whose centre x + 0.5 lies in [c - N w / 2 + k w, c - N w / 2 +
// (k + 1) w). The boundaries are found in exact rational arithmetic, so that a zone boundary
// that splits a device pixel puts the pixel where its centre lies, whatever the rounding of w.
// Zones beyond the plate hold no column.

#include <cstdint>
#include <optional>
#include <vector>

class IMPN_InkZones
{
public:
    // Ranges of the geometry: widths and offsets in micrometres.
    static constexpr std::int32_t kMinWidth = 1000;    // 1 mm
    static constexpr std::int32_t kMaxWidth = 1000000; // 1 m
    static constexpr std::uint32_t kMaxZones = 1024;
    static constexpr std::int32_t kMaxOffset = 1000000; // either way

    struct Geometry
    {
        std::int32_t width = 32500; // micrometres
        std::uint32_t count = 32;
        std::int32_t offset = 0; // of the sheet's centre from the press's centre, micrometres
        friend bool operator==(const Geometry&, const Geometry&) = default;
    };

    // The fewest zones of `width` micrometres that span a picture `pictureWidth` pixels wide:
    // ceil(W / w); 0 for a resolution that is not a positive number or a width that is not.
    static std::uint32_t FewestZones(std::int32_t width, double resolution,
                                     std::uint32_t pictureWidth);

    // The first device column of each zone and the end of the last: count + 1 non-decreasing
    // values, zone k holding columns [starts[k], starts[k + 1]); they may lie outside the
    // picture. Empty for a resolution that is not a positive finite number, a width that is not
    // positive or no zones.
    static std::vector<std::int64_t> ZoneStarts(const Geometry& geometry, double resolution,
                                                std::uint32_t pictureWidth);

    // The zones within the columns [from, to) (the picture's, or a rectangle's): column edges
    // for a count, strictly increasing from `from` to `to`, and for each zone the band of those
    // edges that holds its columns, or nothing when it holds none there. Bands at either end may
    // belong to no zone (the plate beyond the press's zones).
    struct Layout
    {
        std::vector<std::int32_t> edges;
        std::vector<std::optional<std::size_t>> zoneBand;
    };
    static Layout Place(const std::vector<std::int64_t>& starts, std::int32_t from,
                        std::int32_t to);
};
