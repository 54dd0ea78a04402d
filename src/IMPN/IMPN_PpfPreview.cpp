#include "IMPN/IMPN_PpfPreview.h"

#include <cmath>

namespace
{
using Wide = unsigned __int128;

constexpr unsigned kMaxDecimals = 6;

std::uint64_t PowerOfTen(unsigned n)
{
    std::uint64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}
} // namespace

std::optional<IMPN_PpfPreview::Resolution>
IMPN_PpfPreview::Resolution::Parse(const std::string& text)
{
    Resolution r;
    r.numerator = 0;
    r.decimals = 0;
    bool point = false, digits = false;
    for (char c : text)
    {
        if (c == '.' && !point)
        {
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            return std::nullopt;
        if (point && ++r.decimals > kMaxDecimals)
            return std::nullopt;
        // Twelve digits before the point are far beyond any resolution; the caller's range check
        // speaks for those, so stop before the number wraps.
        if (r.numerator > 1'000'000'000'000ull)
            return std::nullopt;
        r.numerator = r.numerator * 10 + std::uint64_t(c - '0');
        digits = true;
    }
    if (!digits)
        return std::nullopt;
    // "50.80" is 508/10: trailing zeros after the point say nothing.
    while (r.decimals > 0 && r.numerator % 10 == 0)
    {
        r.numerator /= 10;
        --r.decimals;
    }
    return r;
}

std::string IMPN_PpfPreview::Resolution::Text() const
{
    const std::uint64_t scale = PowerOfTen(decimals);
    std::string text = std::to_string(numerator / scale);
    if (decimals > 0)
    {
        std::string fraction = std::to_string(numerator % scale);
        text += "." + std::string(decimals - fraction.size(), '0') + fraction;
    }
    return text;
}

double IMPN_PpfPreview::Resolution::Value() const
{
    return double(numerator) / double(PowerOfTen(decimals));
}

std::optional<std::uint32_t> IMPN_PpfPreview::SampleCount(std::uint32_t pixels, float deviceDpi,
                                                          const Resolution& resolution,
                                                          bool* clamped)
{
    if (clamped)
        *clamped = false;
    if (pixels == 0 || !std::isfinite(deviceDpi) || deviceDpi < 1.0f || deviceDpi > 2147483648.0f)
        return std::nullopt;
    // The float as the exact fraction it is: mantissa x 2^exponent, the mantissa a whole number
    // of at most 24 bits, so from 1 dpi on the exponent is at least -23.
    int exponent = 0;
    const float mantissa = std::frexp(deviceDpi, &exponent);
    Wide deviceNumerator = Wide(std::uint64_t(std::ldexp(mantissa, 24)));
    exponent -= 24;
    Wide deviceDenominator = 1;
    if (exponent >= 0)
        deviceNumerator <<= exponent;
    else
        deviceDenominator <<= -exponent;

    // pixels x (numerator / 10^decimals) / (deviceNumerator / deviceDenominator), half up.
    const Wide top = Wide(pixels) * resolution.numerator * deviceDenominator;
    const Wide bottom = Wide(PowerOfTen(resolution.decimals)) * deviceNumerator;
    const Wide rounded = (2 * top + bottom) / (2 * bottom);
    if (rounded > pixels)
    {
        if (clamped)
            *clamped = true;
        return pixels;
    }
    return rounded == 0 ? 1u : std::uint32_t(rounded);
}

std::uint8_t IMPN_PpfPreview::Sample(std::uint64_t inked, std::uint64_t pixels)
{
    if (pixels == 0)
        return 255;
    if (inked > pixels)
        inked = pixels;
    const Wide n = pixels;
    return std::uint8_t(255 - (Wide(255) * inked * 2 + n) / (2 * n));
}
