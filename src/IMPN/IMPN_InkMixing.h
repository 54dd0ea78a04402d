#pragma once
// Ink arithmetic shared by the tile renderer, the thumbnail and the colour swatches: an ink shown
// at a percentage over its background, and the multiplicative mixing of an ink over a pixel.
// Colours are three bytes in the order blue, green, red.

#include <array>
#include <cstdint>

class IMPN_InkMixing
{
public:
    // floor(v x p / 100) for v = 0..255 and p = 0..100, built on first use. Mixing by table
    // keeps every caller bit-identical to every other (thumbnail, renderer, swatches).
    static std::uint8_t Product(std::uint8_t v, unsigned percent);

    // The ink at percentage t (clamped to 0..100), per channel:
    // floor(colour x t / 100) + floor(background x (100 - t) / 100).
    static void InkAtPercentage(const std::uint8_t colour[3], const std::uint8_t background[3],
                                unsigned percent, std::uint8_t ink[3]);

    // One channel mixed over a pixel: (ink x (old + 1)) >> 8. White ink leaves the pixel
    // unchanged, black ink makes it 0, and the order of inks does not matter beyond rounding.
    static std::uint8_t MixChannel(std::uint8_t ink, std::uint8_t old)
    {
        return static_cast<std::uint8_t>((unsigned(ink) * (unsigned(old) + 1u)) >> 8);
    }

    // Mixes ink over the three channels of pixel in place.
    static void MixOver(const std::uint8_t ink[3], std::uint8_t pixel[3])
    {
        pixel[0] = MixChannel(ink[0], pixel[0]);
        pixel[1] = MixChannel(ink[1], pixel[1]);
        pixel[2] = MixChannel(ink[2], pixel[2]);
    }

    // The 256 inks of one colour by coverage value c = 0..255, each at percentage
    // floor(opacity x c / 255); the coverage renderer looks inks up here instead of mixing per
    // pixel. Opacity is clamped to 0..100.
    using CoverageInks = std::array<std::array<std::uint8_t, 3>, 256>;
    static void BuildCoverageInks(const std::uint8_t colour[3], const std::uint8_t background[3],
                                  unsigned opacity, CoverageInks& inks);
};
