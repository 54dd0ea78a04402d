#include "IMPN/IMPN_InkZones.h"

#include <algorithm>
#include <cmath>

namespace
{
using Wide = __int128;

// The resolution as an exact fraction num / den (den a power of two): every double is one.
bool ExactFraction(double value, Wide& num, Wide& den)
{
    if (!std::isfinite(value) || !(value > 0) || value > 1.0e7)
        return false;
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent); // value = mantissa x 2^exponent
    num = Wide(std::ldexp(mantissa, 53));
    den = 1;
    int shift = 53 - exponent; // value = num / 2^shift
    if (shift < 0)
    {
        num <<= -shift;
        shift = 0;
    }
    while (shift > 0 && (num & 1) == 0)
    {
        num >>= 1;
        --shift;
    }
    den = Wide(1) << shift;
    return true;
}

Wide CeilDivide(Wide a, Wide b) // b > 0
{
    const Wide q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}
} // namespace

std::uint32_t IMPN_InkZones::FewestZones(std::int32_t width, double resolution,
                                         std::uint32_t pictureWidth)
{
    Wide num = 0, den = 1;
    if (width <= 0 || !ExactFraction(resolution, num, den))
        return 0;
    // W / w = W x 25400 x den / (width x num).
    const Wide zones = CeilDivide(Wide(pictureWidth) * 25400 * den, Wide(width) * num);
    return std::uint32_t(std::clamp<Wide>(zones, 1, UINT32_MAX));
}

std::vector<std::int64_t> IMPN_InkZones::ZoneStarts(const Geometry& g, double resolution,
                                                    std::uint32_t pictureWidth)
{
    Wide num = 0, den = 1;
    if (g.width <= 0 || g.count == 0 || !ExactFraction(resolution, num, den))
        return {};
    // In units of 1 / (50800 x den) pixel the left edge of zone k is
    //   25400 den W + 2 offset num - N width num + 2 k width num,
    // and column x belongs to the zone whose span holds 50800 den (x + 0.5), so the zone's
    // first column is the least x with 50800 den x >= edge - 25400 den.
    const Wide unit = Wide(50800) * den;
    const Wide base = Wide(25400) * den * pictureWidth + Wide(2) * g.offset * num -
                      Wide(g.count) * g.width * num - Wide(25400) * den;
    std::vector<std::int64_t> starts(std::size_t(g.count) + 1);
    for (std::uint32_t k = 0; k <= g.count; ++k)
    {
        const Wide x = CeilDivide(base + Wide(2) * k * g.width * num, unit);
        starts[k] = std::int64_t(std::clamp<Wide>(x, INT64_MIN / 2, INT64_MAX / 2));
    }
    return starts;
}

IMPN_InkZones::Layout IMPN_InkZones::Place(const std::vector<std::int64_t>& starts,
                                           std::int32_t from, std::int32_t to)
{
    Layout layout;
    layout.edges.push_back(from);
    if (starts.size() < 2 || from >= to)
    {
        layout.zoneBand.assign(starts.empty() ? 0 : starts.size() - 1, std::nullopt);
        if (from < to)
            layout.edges.push_back(to);
        return layout;
    }
    const auto cut = [&](std::int64_t x)
    { return std::int32_t(std::clamp<std::int64_t>(x, from, to)); };
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
    {
        const std::int32_t a = cut(starts[k]), b = cut(starts[k + 1]);
        if (a >= b)
        {
            layout.zoneBand.push_back(std::nullopt);
            continue;
        }
        // The plate left of the first zone that holds columns is a band of its own.
        if (a > layout.edges.back())
            layout.edges.push_back(a);
        layout.zoneBand.push_back(layout.edges.size() - 1);
        layout.edges.push_back(b);
    }
    if (layout.edges.back() < to)
        layout.edges.push_back(to);
    return layout;
}
