#pragma once
// One entry of a colour database: a colour in one of three colour spaces, kept in the compact
// units the databases have always used in memory. The file format stores reals; the conversions
// from and to those reals live here so that a database written and read again is unchanged.

#include "IMPN/IMPN_ColorRecord.h"

#include <array>
#include <cstdint>
#include <optional>

// The colour space codes as they appear in colour database files.
enum class IMPN_ColorSpace : std::int32_t
{
    Lab = 224,
    CMYK = 15360,
    RGB = 114688,
};

class IMPN_ColorEntry
{
public:
    // Black in RGB.
    IMPN_ColorEntry() = default;

    // From the reals of a database file. L is 0..100, a and b are kept in 1/256 steps around
    // 128; CMYK percentages and RGB channels are truncated to whole numbers. Out-of-range values
    // are clamped to what the memory units can hold. Returns nothing for a NaN value.
    static std::optional<IMPN_ColorEntry> FromLab(double l, double a, double b);
    static std::optional<IMPN_ColorEntry> FromCMYK(double c, double m, double y, double k);
    static std::optional<IMPN_ColorEntry> FromRGB(double red, double green, double blue);

    // From values already in memory units.
    static IMPN_ColorEntry FromLabUnits(std::uint16_t l, std::uint16_t a, std::uint16_t b);
    static IMPN_ColorEntry FromCMYKPercent(std::uint8_t c, std::uint8_t m, std::uint8_t y,
                                           std::uint8_t k);
    static IMPN_ColorEntry FromBGR(const IMPN_ColorBGR& bgr);

    // Reads the reals of a database file in the given space (three for Lab and RGB, four for
    // CMYK). Nothing for a NaN value.
    static std::optional<IMPN_ColorEntry> FromReals(IMPN_ColorSpace space, const double* values);

    IMPN_ColorSpace Space() const { return m_space; }
    // Lab: L x 655.35, (a + 128) x 256, (b + 128) x 256.
    const std::array<std::uint16_t, 3>& LabUnits() const { return m_lab; }
    // CMYK: cyan, magenta, yellow, black in whole percent.
    const std::array<std::uint8_t, 4>& CMYKPercent() const { return m_cmyk; }
    // RGB: blue, green, red.
    const IMPN_ColorBGR& BGR() const { return m_bgr; }

    // Number of reals this entry takes in a file (3 or 4).
    int RealCount() const;
    // The reals to write for this entry (L, a, b; c, m, y, k; or red, green, blue): reading them
    // back with FromReals gives this entry again.
    std::array<double, 4> ToReals() const;

    // The colour shown for this entry: RGB as it is, CMYK and Lab converted.
    IMPN_ColorBGR DisplayColor() const;

    // Equal when the space and the value in that space are equal.
    bool operator==(const IMPN_ColorEntry& other) const;

private:
    IMPN_ColorSpace m_space = IMPN_ColorSpace::RGB;
    std::array<std::uint16_t, 3> m_lab{0, 0, 0};
    std::array<std::uint8_t, 4> m_cmyk{0, 0, 0, 0};
    IMPN_ColorBGR m_bgr{0, 0, 0};
};

// True when the code is one of the three known colour spaces.
bool IMPN_IsKnownColorSpace(std::int32_t code);
