#include "IMPN/IMPN_ColorEntry.h"

#include "IMPN/IMPN_ColorConversion.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kLabLScale = 655.35;

// Truncates a real to an integer range; values outside are clamped, so that a stray value in a
// file cannot wrap around into a different colour.
template <typename T>
T TruncateClamped(double value, double low, double high)
{
    return static_cast<T>(std::clamp(value, low, high));
}

std::uint16_t LabLUnits(double l)
{
    return TruncateClamped<std::uint16_t>(l * kLabLScale, 0.0, 65535.0);
}

std::uint16_t LabABUnits(double ab)
{
    return TruncateClamped<std::uint16_t>((ab + 128.0) * 256.0, 0.0, 65535.0);
}

bool AnyNaN(std::initializer_list<double> values)
{
    return std::any_of(values.begin(), values.end(), [](double v) { return std::isnan(v); });
}
} // namespace

bool IMPN_IsKnownColorSpace(std::int32_t code)
{
    return code == static_cast<std::int32_t>(IMPN_ColorSpace::Lab) ||
           code == static_cast<std::int32_t>(IMPN_ColorSpace::CMYK) ||
           code == static_cast<std::int32_t>(IMPN_ColorSpace::RGB);
}

std::optional<IMPN_ColorEntry> IMPN_ColorEntry::FromLab(double l, double a, double b)
{
    if (AnyNaN({l, a, b}))
        return std::nullopt;
    return FromLabUnits(LabLUnits(l), LabABUnits(a), LabABUnits(b));
}

std::optional<IMPN_ColorEntry> IMPN_ColorEntry::FromCMYK(double c, double m, double y, double k)
{
    if (AnyNaN({c, m, y, k}))
        return std::nullopt;
    return FromCMYKPercent(
        TruncateClamped<std::uint8_t>(c, 0.0, 100.0), TruncateClamped<std::uint8_t>(m, 0.0, 100.0),
        TruncateClamped<std::uint8_t>(y, 0.0, 100.0), TruncateClamped<std::uint8_t>(k, 0.0, 100.0));
}

std::optional<IMPN_ColorEntry> IMPN_ColorEntry::FromRGB(double red, double green, double blue)
{
    if (AnyNaN({red, green, blue}))
        return std::nullopt;
    return FromBGR(IMPN_MakeColorBGR(TruncateClamped<std::uint8_t>(red, 0.0, 255.0),
                                     TruncateClamped<std::uint8_t>(green, 0.0, 255.0),
                                     TruncateClamped<std::uint8_t>(blue, 0.0, 255.0)));
}

IMPN_ColorEntry IMPN_ColorEntry::FromLabUnits(std::uint16_t l, std::uint16_t a, std::uint16_t b)
{
    IMPN_ColorEntry entry;
    entry.m_space = IMPN_ColorSpace::Lab;
    entry.m_lab = {l, a, b};
    return entry;
}

IMPN_ColorEntry IMPN_ColorEntry::FromCMYKPercent(std::uint8_t c, std::uint8_t m, std::uint8_t y,
                                                 std::uint8_t k)
{
    IMPN_ColorEntry entry;
    entry.m_space = IMPN_ColorSpace::CMYK;
    entry.m_cmyk = {std::min<std::uint8_t>(c, 100), std::min<std::uint8_t>(m, 100),
                    std::min<std::uint8_t>(y, 100), std::min<std::uint8_t>(k, 100)};
    return entry;
}

IMPN_ColorEntry IMPN_ColorEntry::FromBGR(const IMPN_ColorBGR& bgr)
{
    IMPN_ColorEntry entry;
    entry.m_space = IMPN_ColorSpace::RGB;
    entry.m_bgr = bgr;
    return entry;
}

std::optional<IMPN_ColorEntry> IMPN_ColorEntry::FromReals(IMPN_ColorSpace space, const double* v)
{
    switch (space)
    {
    case IMPN_ColorSpace::Lab:
        return FromLab(v[0], v[1], v[2]);
    case IMPN_ColorSpace::CMYK:
        return FromCMYK(v[0], v[1], v[2], v[3]);
    case IMPN_ColorSpace::RGB:
        return FromRGB(v[0], v[1], v[2]);
    }
    return std::nullopt;
}

int IMPN_ColorEntry::RealCount() const
{
    return m_space == IMPN_ColorSpace::CMYK ? 4 : 3;
}

std::array<double, 4> IMPN_ColorEntry::ToReals() const
{
    switch (m_space)
    {
    case IMPN_ColorSpace::Lab:
    {
        // L x 655.35 is truncated when read; the plain quotient can land a hair below the unit
        // it came from, so step it up until it reads back as the same unit.
        double l = m_lab[0] / kLabLScale;
        while (LabLUnits(l) < m_lab[0])
            l = std::nextafter(l, 200.0);
        // 1/256 steps are exact in binary.
        return {l, m_lab[1] / 256.0 - 128.0, m_lab[2] / 256.0 - 128.0, 0.0};
    }
    case IMPN_ColorSpace::CMYK:
        return {double(m_cmyk[0]), double(m_cmyk[1]), double(m_cmyk[2]), double(m_cmyk[3])};
    case IMPN_ColorSpace::RGB:
        return {double(m_bgr[2]), double(m_bgr[1]), double(m_bgr[0]), 0.0};
    }
    return {};
}

IMPN_ColorBGR IMPN_ColorEntry::DisplayColor() const
{
    switch (m_space)
    {
    case IMPN_ColorSpace::Lab:
        return IMPN_ColorConversion::LabToRGB(m_lab[0], m_lab[1], m_lab[2]);
    case IMPN_ColorSpace::CMYK:
        return IMPN_ColorConversion::CMYKToRGB(m_cmyk[0], m_cmyk[1], m_cmyk[2], m_cmyk[3]);
    case IMPN_ColorSpace::RGB:
        return m_bgr;
    }
    return m_bgr;
}

bool IMPN_ColorEntry::operator==(const IMPN_ColorEntry& other) const
{
    if (m_space != other.m_space)
        return false;
    switch (m_space)
    {
    case IMPN_ColorSpace::Lab:
        return m_lab == other.m_lab;
    case IMPN_ColorSpace::CMYK:
        return m_cmyk == other.m_cmyk;
    case IMPN_ColorSpace::RGB:
        return m_bgr == other.m_bgr;
    }
    return false;
}
