#pragma once
// The colour arithmetic of the viewer's inks. The formulas are kept bit for bit as the viewer has
// always computed them, so that a stored colour looks the same in every release.

#include "IMPN/IMPN_ColorRecord.h"

#include <array>
#include <cstdint>

class IMPN_ColorConversion
{
public:
    // L*a*b* in memory units (L x 655.35, (a + 128) x 256, (b + 128) x 256) to display RGB,
    // through XYZ under D50 and the sRGB transfer curve; out-of-gamut channels are clamped.
    static IMPN_ColorBGR LabToRGB(std::uint16_t l, std::uint16_t a, std::uint16_t b);

    // CMYK in whole percent (each 0..100; larger values are taken as 100) to display RGB, in
    // integer arithmetic: the naive subtractive mix followed by a correction that brings the
    // process primaries closer to printed ink.
    static IMPN_ColorBGR CMYKToRGB(int c, int m, int y, int k);

    // A 16-bit CMYK equivalent value (0..65535 for 0..100 %) in whole percent, truncated.
    static int CMYKEquivalentToPercent(std::uint16_t value);

    // A colour at an opacity (percent, clamped to 0..100) over a background: per channel
    // trunc(colour x opacity / 100) + trunc(background x (100 - opacity) / 100).
    static IMPN_ColorBGR ShownAtOpacity(const IMPN_ColorBGR& color, int opacity,
                                        const IMPN_ColorBGR& background);

    // trunc(i x j / 100) for i = 0..255 and j = 0..100, built once: the two products of every
    // shown colour come from here.
    static std::uint8_t Product(std::uint8_t value, int percent);
};
