// The arithmetic of the presses' preview images: sizes from exact fractions (some cases sit
// exactly on a half, where the nearest binary fraction of 50.8 would round the other way), and
// sample values at the rounding edges.

#include "IMPN/IMPN_PpfPreview.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using Resolution = IMPN_PpfPreview::Resolution;

TEST(PpfPreview, SizesAreTheExactQuotientRoundedHalfUpAtLeastOneAtMostThePixels)
{
    const struct
    {
        std::uint32_t pixels;
        float deviceDpi;
        const char* resolution;
        std::uint32_t samples;
        bool clamped;
    } cases[] = {
        {96000, 2400.0f, "50.8", 2032, false}, // the full-size plate
        {72000, 2400.0f, "50.8", 1524, false},
        {75, 2540.0f, "50.8", 2, false}, // 1.5 exactly (in doubles 1.4999...)
        {125, 2540.0f, "50.8", 3, false},
        {74, 2540.0f, "50.8", 1, false},
        {3, 1.5f, "1", 2, false},        // a device resolution that is a binary fraction, exactly
        {10, 2400.0f, "50.8", 1, false}, // never zero samples
        {100, 72.0f, "600", 100, true},  // a preview finer than the device: a sample a pixel
        {100, 600.0f, "600", 100, false},
        {4294967295u, 1.0f, "600", 4294967295u, true},
    };
    for (const auto& c : cases)
    {
        bool clamped = !c.clamped;
        const auto samples = IMPN_PpfPreview::SampleCount(
            c.pixels, c.deviceDpi, *Resolution::Parse(c.resolution), &clamped);
        ASSERT_TRUE(samples) << c.pixels;
        EXPECT_EQ(*samples, c.samples) << c.pixels << " at " << c.deviceDpi;
        EXPECT_EQ(clamped, c.clamped) << c.pixels << " at " << c.deviceDpi;
    }
    for (float dpi : {0.0f, -2400.0f, 0.5f, std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN(), 1e12f})
        EXPECT_FALSE(IMPN_PpfPreview::SampleCount(1000, dpi, Resolution::Default())) << dpi;
    EXPECT_FALSE(IMPN_PpfPreview::SampleCount(0, 2400.0f, Resolution::Default()));
}

TEST(PpfPreview, ResolutionsAreReadAsDecimalsAndWrittenBackShortest)
{
    const std::pair<const char*, const char*> cases[] = {
        {"50.80", "50.8"}, {"072", "72"}, {".5", "0.5"}, {"12.000001", "12.000001"},
        {"1.0000001", ""}, {"", ""},      {".", ""},     {"-1", ""},
        {"1e3", ""},       {"1.2.3", ""}, {" 5", ""},    {"99999999999999999999", ""},
    };
    for (const auto& [text, shown] : cases)
    {
        const auto r = Resolution::Parse(text);
        EXPECT_EQ(r ? r->Text() : std::string(), shown) << text;
    }
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
        {1, 2, 127}, // 127.5 of ink rounds up
        {1, 510, 254},
        {1, 511, 255},
        {2, 3, 85},
        {7, 0, 255},                                           // an empty cell
        {9, 4, 0},                                             // more than the cell holds
        {std::uint64_t(1) << 62, std::uint64_t(1) << 63, 127}, // no overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(IMPN_PpfPreview::Sample(c.inked, c.pixels), c.sample)
            << c.inked << " of " << c.pixels;
}
} // namespace
