#include "IMPN/IMPN_ColorConversion.h"

#include <algorithm>
#include <cmath>

namespace
{
// The 256 x 101 table of trunc(i x j / 100), built on first use.
struct ProductTable
{
    std::array<std::array<std::uint8_t, 101>, 256> rows{};

    ProductTable()
    {
        for (int i = 0; i < 256; ++i)
            for (int j = 0; j <= 100; ++j)
                rows[i][j] = static_cast<std::uint8_t>(i * j / 100);
    }
};

const ProductTable& Products()
{
    static const ProductTable table;
    return table;
}

// Inverse of the L*a*b* companding function f.
double LabInverse(double f)
{
    if (f > 0.206893)
        return f * f * f;
    return (f - 0.137931) * 0.1284191601386927;
}

std::uint8_t Encode(double linear)
{
    double c;
    if (linear < 0.00304)
        c = linear * 12.92;
    else
        c = 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
    c = std::clamp(c, 0.0, 1.0);
    return static_cast<std::uint8_t>(c * 255.0);
}

// How far apart two of the inverted channels are, in 1/256 steps: 256 when one of them is empty,
// 0 when they are equal. Both empty counts as fully apart.
int Diff(int p, int q)
{
    if (p == 0 && q == 0)
        return 256;
    return 256 - (256 * std::min(p, q)) / std::max(p, q);
}

int Clamp255(int v)
{
    return std::clamp(v, 0, 255);
}
} // namespace

IMPN_ColorBGR IMPN_ColorConversion::LabToRGB(std::uint16_t lUnits, std::uint16_t aUnits,
                                             std::uint16_t bUnits)
{
    const double l = lUnits * 100.0 / 65535.0;
    const double a = aUnits / 256.0 - 128.0;
    const double b = bUnits / 256.0 - 128.0;

    const double fy = (l + 16.0) / 116.0;
    const double fx = fy + a * 0.002;
    const double fz = fy - b * 0.005;

    const double x = std::max(LabInverse(fx) * 96.42, 0.0);
    const double y = std::max(LabInverse(fy) * 100.0, 0.0);
    const double z = std::max(LabInverse(fz) * 82.49, 0.0);

    const double red = (34.2501 * x - 18.9616 * y - 4.6434 * z) / 1023.0;
    const double green = (-10.2423 * x + 20.1586 * y - 0.0633 * z) / 1023.0;
    const double blue = (0.5876 * x - 2.1424 * y + 14.3109 * z) / 1023.0;

    return IMPN_MakeColorBGR(Encode(red), Encode(green), Encode(blue));
}

IMPN_ColorBGR IMPN_ColorConversion::CMYKToRGB(int c, int m, int y, int k)
{
    c = std::clamp(c, 0, 100);
    m = std::clamp(m, 0, 100);
    y = std::clamp(y, 0, 100);
    k = std::clamp(k, 0, 100);

    // trunc(p x 2.55) in integers: in floating point 100 x 2.55 falls just short of 255 and
    // full black would come out as 1 instead of 0.
    auto scaled = [](int percent) { return percent * 255 / 100; };
    const int kInv = 255 - scaled(k);
    const int r0 = (255 - scaled(c)) * kInv / 255;
    const int g0 = (255 - scaled(m)) * kInv / 255;
    const int b0 = (255 - scaled(y)) * kInv / 255;

    const int cc = 255 - r0;
    const int mm = 255 - g0;
    const int yy = 255 - b0;

    const int gCM = Diff(cc, mm);
    const int gCY = Diff(cc, yy);
    const int gMY = Diff(mm, yy);

    // Cyan.
    const int w1 = std::max(gCY, gCM);
    const int o = (cc < 204 ? (256 * cc) / 204 : 255) - cc;
    int r = cc + ((w1 * o) >> 8);
    const int u = (w1 * ((mm * 19) >> 8)) >> 8;
    r = r + u - ((r * u) >> 8);
    const int cOut = Clamp255(r);

    // Magenta.
    const int w2 = std::max(gMY, gCM);
    int lift;
    if (mm > 203)
    {
        lift = ((mm * 445 - 90780) >> 8) - mm + 166;
    }
    else
    {
        const int t = (mm * 166) >> 8;
        lift = t + (t >> 2) - mm;
    }
    int s = mm + ((w2 * lift) >> 8);
    const int e = (w2 * (((yy * 13) >> 8) + ((cc * 81) >> 8))) >> 8;
    s = s + e - ((s * e) >> 8);
    const int mOut = Clamp255(s);

    // Yellow.
    const int w3 = std::max(gMY, gCY);
    const int h = (w3 * (((mm * 115) >> 8) + ((cc * 16) >> 8))) >> 8;
    int bend;
    if (yy > 203)
        bend = ((yy * 390 - 79560) >> 8) - yy + 177;
    else
        bend = ((yy * 177) >> 10) + ((yy * 177) >> 8) - yy;
    int y1 = yy + ((w3 * bend) >> 8);
    y1 = y1 + h - ((h * y1) >> 8);
    const int yOut = Clamp255(y1);

    return IMPN_MakeColorBGR(static_cast<std::uint8_t>(255 - cOut),
                             static_cast<std::uint8_t>(255 - mOut),
                             static_cast<std::uint8_t>(255 - yOut));
}

int IMPN_ColorConversion::CMYKEquivalentToPercent(std::uint16_t value)
{
    // Integer arithmetic keeps 65535 at exactly 100 %.
    return static_cast<int>(static_cast<std::uint32_t>(value) * 100u / 65535u);
}

std::uint8_t IMPN_ColorConversion::Product(std::uint8_t value, int percent)
{
    return Products().rows[value][std::clamp(percent, 0, 100)];
}

IMPN_ColorBGR IMPN_ColorConversion::ShownAtOpacity(const IMPN_ColorBGR& color, int opacity,
                                                   const IMPN_ColorBGR& background)
{
    opacity = std::clamp(opacity, 0, 100);
    const auto& rows = Products().rows;
    IMPN_ColorBGR shown{};
    for (std::size_t i = 0; i < shown.size(); ++i)
    {
        // The two products never sum past 255: i x p / 100 + j x (100 - p) / 100 <= 255.
        shown[i] =
            static_cast<std::uint8_t>(rows[color[i]][opacity] + rows[background[i]][100 - opacity]);
    }
    return shown;
}
