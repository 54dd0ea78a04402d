// The arithmetic of the presses' preview images: sizes from exact fractions (the cases below sit
// exactly on a half, where the nearest binary fraction of 50.8 would round the other way), and
// sample values at the rounding edges.

#include "IMPN/IMPN_PpfPreview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
using Resolution = IMPN_PpfPreview::Resolution;

struct SizeCase
{
    std::uint32_t pixels;
    float deviceDpi;
    const char* resolution;
    std::uint32_t expected;
    bool clamped;
};

class PpfPreviewSize : public testing::TestWithParam<SizeCase>
{
};

TEST_P(PpfPreviewSize, IsTheExactQuotientRoundedHalfUpAtLeastOneAtMostThePixels)
{
    const SizeCase& c = GetParam();
    const auto resolution = Resolution::Parse(c.resolution);
    ASSERT_TRUE(resolution);
    bool clamped = !c.clamped;
    const auto samples = IMPN_PpfPreview::SampleCount(c.pixels, c.deviceDpi, *resolution, &clamped);
    ASSERT_TRUE(samples);
    EXPECT_EQ(*samples, c.expected);
    EXPECT_EQ(clamped, c.clamped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PpfPreviewSize,
    testing::Values(
        // The full-size plate: 96,000 x 72,000 at 2400 dpi.
        SizeCase{96000, 2400.0f, "50.8", 2032, false},
        SizeCase{72000, 2400.0f, "50.8", 1524, false},
        // 75 x 50.8 / 2540 is 1.5 exactly (in doubles 1.4999...): up to 2.
        SizeCase{75, 2540.0f, "50.8", 2, false}, SizeCase{125, 2540.0f, "50.8", 3, false},
        SizeCase{74, 2540.0f, "50.8", 1, false},
        // A device resolution that is a binary fraction is taken exactly: 3 x 1 / 1.5 = 2.
        SizeCase{3, 1.5f, "1", 2, false}, SizeCase{1, 1.5f, "1", 1, false},
        // Nothing rounds to zero samples.
        SizeCase{10, 2400.0f, "50.8", 1, false}, SizeCase{1, 4800.0f, "1", 1, false},
        // A preview finer than the device stops at one sample a pixel.
        SizeCase{100, 72.0f, "600", 100, true}, SizeCase{100, 600.0f, "600", 100, false},
        SizeCase{4294967295u, 1.0f, "600", 4294967295u, true}));

TEST(PpfPreview, DeviceResolutionsThatCannotBeUsedGiveNoSize)
{
    const Resolution r = Resolution::Default();
    for (float dpi : {0.0f, -2400.0f, 0.5f, std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN(), 1e12f})
        EXPECT_FALSE(IMPN_PpfPreview::SampleCount(1000, dpi, r)) << dpi;
    EXPECT_FALSE(IMPN_PpfPreview::SampleCount(0, 2400.0f, r));
}

TEST(PpfPreview, ResolutionsAreReadAsDecimalsAndWrittenBackShortest)
{
    const struct
    {
        const char* text;
        const char* shown; // nullptr: refused
    } cases[] = {
        {"50.8", "50.8"},
        {"50.80", "50.8"},
        {"072", "72"},
        {"72.", "72"},
        {".5", "0.5"},
        {"12.000001", "12.000001"},
        {"600", "600"},
        {"0.05", "0.05"},
        {"1.0000001", nullptr},
        {"", nullptr},
        {".", nullptr},
        {"-1", nullptr},
        {"1e3", nullptr},
        {"5,5", nullptr},
        {"1.2.3", nullptr},
        {" 5", nullptr},
        {"99999999999999999999", nullptr},
    };
    for (const auto& c : cases)
    {
        const auto r = Resolution::Parse(c.text);
        if (c.shown == nullptr)
            EXPECT_FALSE(r) << c.text;
        else
        {
            ASSERT_TRUE(r) << c.text;
            EXPECT_EQ(r->Text(), c.shown);
        }
    }
    EXPECT_DOUBLE_EQ(Resolution::Default().Value(), 50.8);
}

TEST(PpfPreview, SamplesAreTheInkShareOf255RoundedHalfUpCountedDownFromWhite)
{
    const struct
    {
        std::uint64_t inked, pixels;
        int sample;
    } cases[] = {
        {0, 2304, 255},
        {2304, 2304, 0},
        {1, 2, 127},   // 127.5 rounds up to 128 of ink
        {1, 510, 254}, // 0.5 rounds up
        {1, 511, 255}, // 0.499... rounds down
        {2, 3, 85},    // 170 of ink
        {7, 0, 255},   // an empty cell
        {9, 4, 0},     // more than the cell holds: full
        // Counts near the 64-bit limit do not overflow.
        {std::uint64_t(1) << 62, std::uint64_t(1) << 63, 127},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IMPN_PpfPreview::Sample(c.inked, c.pixels), c.sample)
            << c.inked << " of " << c.pixels;
}
} // namespace
