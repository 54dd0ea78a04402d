#include "KRN_PageArt.h"

#include <algorithm>
#include <cmath>

namespace
{
std::uint32_t Hash(std::int64_t x, std::int64_t y, std::uint32_t seed)
{
    std::uint64_t h = static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
                      static_cast<std::uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^
                      (std::uint64_t{seed} << 17);
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return static_cast<std::uint32_t>(h);
}

double Lattice(std::int64_t x, std::int64_t y, std::uint32_t seed)
{
    return (Hash(x, y, seed) & 0xFFFF) / 65535.0;
}

double Smooth(double t)
{
    return t * t * (3 - 2 * t);
}

double ValueNoise(double x, double y, std::uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    const double top = Lattice(ix, iy, seed) * (1 - tx) + Lattice(ix + 1, iy, seed) * tx;
    const double bottom = Lattice(ix, iy + 1, seed) * (1 - tx) + Lattice(ix + 1, iy + 1, seed) * tx;
    return top * (1 - ty) + bottom * ty;
}

std::uint8_t ToByte(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// Frame coordinates of a sheet pixel.
void ToFrame(const KRN_PageArt::Frame& f, double x, double y, double& u, double& v)
{
    const double fx = (x - f.left) / f.width;
    const double fy = (y - f.top) / f.height;
    switch (f.orientation)
    {
    case 1:
        u = 1 - fx;
        v = 1 - fy;
        break;
    case 2:
        u = 1 - fy;
        v = fx;
        break;
    case 3:
        u = fy;
        v = 1 - fx;
        break;
    default:
        u = fx;
        v = fy;
        break;
    }
}

// Sheet pixel of frame coordinates.
void ToSheet(const KRN_PageArt::Frame& f, double u, double v, double& x, double& y)
{
    double fx = u, fy = v;
    switch (f.orientation)
    {
    case 1:
        fx = 1 - u;
        fy = 1 - v;
        break;
    case 2:
        fx = v;
        fy = 1 - u;
        break;
    case 3:
        fx = 1 - v;
        fy = u;
        break;
    default:
        break;
    }
    x = f.left + fx * f.width;
    y = f.top + fy * f.height;
}
} // namespace

KRN_PageArt::KRN_PageArt(std::uint32_t width, std::uint32_t height, std::uint32_t blockPixels,
                         int inkCount)
    : m_Width(width), m_Height(height), m_Block(std::max<std::uint32_t>(blockPixels, 1)),
      m_InkCount(std::clamp(inkCount, 1, MaxInks))
{
    m_BlocksAcross = (m_Width + m_Block - 1) / m_Block;
    m_BlocksDown = (m_Height + m_Block - 1) / m_Block;
    m_Planes.assign(static_cast<std::size_t>(m_InkCount),
                    std::vector<std::uint8_t>(std::size_t{m_BlocksAcross} * m_BlocksDown, 0));
}

double KRN_PageArt::Noise(double u, double v, std::uint32_t seed)
{
    // Two octaves: broad shapes and some texture, like the tones of a photograph.
    const double broad = ValueNoise(u * 6, v * 6, seed);
    const double fine = ValueNoise(u * 24, v * 24, seed ^ 0x5bd1e995u);
    return std::clamp(0.75 * broad + 0.25 * fine, 0.0, 1.0);
}

void KRN_PageArt::Paint(const Frame& frame, const Element& e)
{
    // The element's extent on the sheet, from its four corners.
    double xs[4], ys[4];
    ToSheet(frame, e.u0, e.v0, xs[0], ys[0]);
    ToSheet(frame, e.u1, e.v0, xs[1], ys[1]);
    ToSheet(frame, e.u0, e.v1, xs[2], ys[2]);
    ToSheet(frame, e.u1, e.v1, xs[3], ys[3]);
    const double minX = *std::min_element(xs, xs + 4), maxX = *std::max_element(xs, xs + 4);
    const double minY = *std::min_element(ys, ys + 4), maxY = *std::max_element(ys, ys + 4);
    if (maxX <= 0 || maxY <= 0 || minX >= m_Width || minY >= m_Height)
        return;
    const auto bx0 = static_cast<std::uint32_t>(std::max(0.0, std::floor(minX / m_Block)));
    const auto by0 = static_cast<std::uint32_t>(std::max(0.0, std::floor(minY / m_Block)));
    const auto bx1 =
        static_cast<std::uint32_t>(std::min<double>(m_BlocksAcross, std::ceil(maxX / m_Block)));
    const auto by1 =
        static_cast<std::uint32_t>(std::min<double>(m_BlocksDown, std::ceil(maxY / m_Block)));
    const double cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
    const double radius = std::min(maxX - minX, maxY - minY) / 2;
    const double inner = radius * (1 - e.b[0] / 100.0);
    const double uLo = std::min(e.u0, e.u1), uHi = std::max(e.u0, e.u1);
    const double vLo = std::min(e.v0, e.v1), vHi = std::max(e.v0, e.v1);

    Inks value{};
    for (std::uint32_t by = by0; by < by1; ++by)
    {
        for (std::uint32_t bx = bx0; bx < bx1; ++bx)
        {
            const double x = (bx + 0.5) * m_Block;
            const double y = (by + 0.5) * m_Block;
            double u = 0, v = 0;
            ToFrame(frame, x, y, u, v);
            if (u < uLo || u >= uHi || v < vLo || v >= vHi)
                continue;
            switch (e.kind)
            {
            case Kind::Flat:
                value = e.a;
                break;
            case Kind::GradientU:
            case Kind::GradientV:
            {
                const double t = e.kind == Kind::GradientU ? (u - e.u0) / (e.u1 - e.u0)
                                                           : (v - e.v0) / (e.v1 - e.v0);
                for (int i = 0; i < m_InkCount; ++i)
                    value[i] = ToByte(e.a[i] + (e.b[i] - e.a[i]) * std::clamp(t, 0.0, 1.0));
                break;
            }
            case Kind::Noise:
                for (int i = 0; i < m_InkCount; ++i)
                {
                    if (e.a[i] == 0 && e.b[i] == 0)
                    {
                        value[i] = 0;
                        continue;
                    }
                    const double n = Noise(u, v, e.seed + 7919u * static_cast<std::uint32_t>(i));
                    value[i] = ToByte(e.a[i] + (n - 0.5) * 2 * e.b[i]);
                }
                break;
            case Kind::Ring:
            {
                const double d = std::hypot(x - cx, y - cy);
                if (d > radius || d < inner)
                    continue;
                value = e.a;
                break;
            }
            }
            const std::size_t at = std::size_t{by} * m_BlocksAcross + bx;
            for (int i = 0; i < m_InkCount; ++i)
            {
                std::uint8_t& target = m_Planes[static_cast<std::size_t>(i)][at];
                target = e.overprint ? std::max(target, value[i]) : value[i];
            }
        }
    }
}
