#pragma once
// The arithmetic of the low-resolution images an ink-presetting file carries, one per separation:
// how many samples a preview has and the 8-bit value of a sample from the set pixels of its cell
// (the cells divide the picture evenly, as IMPN_CellGrid::Divided lays them out). Everything is
// exact integer arithmetic: the preview resolution is a decimal (50.8 dpi is 508/10, not the
// nearest binary fraction) and the device resolution the exact value of the number the file holds,
// so the same files always give the same preview size, whatever the platform.

#include <cstdint>
#include <optional>
#include <string>

class IMPN_PpfPreview
{
public:
    // A preview resolution in dots per inch, kept as the decimal it was written as.
    struct Resolution
    {
        std::uint64_t numerator = 508; // the value times 10^decimals
        unsigned decimals = 1;

        // "50.8", "72", "12.25": digits with at most six after one point, no sign, no exponent.
        // Nothing for anything else.
        static std::optional<Resolution> Parse(const std::string& text);
        // The shortest decimal of the value ("50.8", "72"), as PostScript reads it.
        std::string Text() const;
        double Value() const;
        // 50.8 dpi: one sample per half millimetre.
        static Resolution Default() { return {}; }
    };

    // Samples across `pixels` device pixels at `deviceDpi` (the separation's resolution) for a
    // preview at `resolution`: max(1, pixels x resolution / deviceDpi rounded half up), but never
    // more than `pixels`: a preview finer than the device would have cells without a pixel, so it
    // stops at one sample a pixel (and says so with `clamped`). Nothing when deviceDpi is not a
    // finite number from 1 to 2^31 or pixels is 0.
    static std::optional<std::uint32_t> SampleCount(std::uint32_t pixels, float deviceDpi,
                                                    const Resolution& resolution,
                                                    bool* clamped = nullptr);

    // The sample of a cell of `pixels` device pixels of which `inked` carry ink: 255 less the ink
    // share of 255 rounded half up, so 0 is full ink and 255 none (a film of the separation, as
    // presses read it). An empty cell is 255.
    static std::uint8_t Sample(std::uint64_t inked, std::uint64_t pixels);
};
