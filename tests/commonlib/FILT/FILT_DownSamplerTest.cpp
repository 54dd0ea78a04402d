#include "FILT/FILT_DownSampler.h"
#include "FILT/FILT_BicubicKernel.h"
#include "FILT/FILT_DownSampleFactors.h"
#include "FILT/FILT_FilterPipe.h"
#include "FILT_TestSupport.h"
#include "GLIB/GLIB_Exception.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

using filt_test::Drive;
using filt_test::LogCapture;

namespace
{

struct Size
{
    uint32_t inW, inH, outW, outH;
};

std::unique_ptr<FILT_DownSampler> MakeSampler(uint16_t spp, const Size& s)
{
    auto sampler = std::make_unique<FILT_DownSampler>();
    sampler->SetKernel(std::make_unique<FILT_BicubicKernel>());
    sampler->SetSamplesPerPixel(spp);
    sampler->SetInputWidth(s.inW);
    sampler->SetInputHeight(s.inH);
    sampler->SetOutputWidth(s.outW);
    sampler->SetOutputHeight(s.outH);
    return sampler;
}

std::vector<uint8_t> Reduce(uint16_t spp, const Size& s, const std::vector<uint8_t>& image,
                            uint32_t inChunk = 0, uint32_t outChunk = 0)
{
    auto sampler = MakeSampler(spp, s);
    const auto all = static_cast<uint32_t>(image.size());
    return Drive(*sampler, image, inChunk ? inChunk : all,
                 outChunk ? outChunk : spp * s.outW * s.outH);
}

// Every output sample's weights, by output index.
std::map<int, double> WeightSums(const FILT_DownSampleFactors& f)
{
    std::map<int, double> sums;
    for (uint32_t i = 0; i < f.Used(); ++i)
        sums[f[i].output] += f[i].weight;
    return sums;
}

// The reduction done directly from the two weight tables, in double.
std::vector<uint8_t> Reference(const FILT_DownSampler& sampler, uint16_t spp, const Size& s,
                               const std::vector<uint8_t>& image)
{
    const auto& h = sampler.HorizontalFactors();
    const auto& v = sampler.VerticalFactors();
    std::vector<double> acc(static_cast<std::size_t>(spp) * s.outW * s.outH, 0.0);
    for (uint32_t i = 0; i < v.Used(); ++i)
        for (uint32_t j = 0; j < h.Used(); ++j)
            for (uint32_t c = 0; c < spp; ++c)
                acc[(static_cast<std::size_t>(v[i].output) * s.outW + h[j].output) * spp + c] +=
                    double(v[i].weight) * h[j].weight *
                    image[(static_cast<std::size_t>(v[i].source) * s.inW + h[j].source) * spp + c];
    std::vector<uint8_t> out(acc.size());
    for (std::size_t k = 0; k < acc.size(); ++k)
        out[k] = static_cast<uint8_t>(std::clamp(std::floor(acc[k] + 0.5), 0.0, 255.0));
    return out;
}

} // namespace

TEST(FILT_BicubicKernel, CubicConvolutionWithMinusThreeQuarters)
{
    FILT_BicubicKernel k;
    EXPECT_EQ(k.SupportWidth(), 4);
    EXPECT_EQ(k.TapSpan(), 5);
    EXPECT_STREQ(k.Name(), "Bicubic");
    EXPECT_DOUBLE_EQ(double(k.Weight(0.0f)), 1.0);
    EXPECT_DOUBLE_EQ(double(k.Weight(0.5f)), 0.59375);
    EXPECT_DOUBLE_EQ(double(k.Weight(-0.5f)), 0.59375);
    EXPECT_DOUBLE_EQ(double(k.Weight(1.5f)), -0.09375);
    EXPECT_DOUBLE_EQ(double(k.Weight(1.0f)), 0.0);
    EXPECT_EQ(double(k.Weight(2.0f)), 0.0);
    // Just below 2 counts as outside; just below 1 takes the outer piece, whose value is ~0.
    EXPECT_EQ(double(k.Weight(1.9999995f)), 0.0);
    EXPECT_LT(std::fabs(double(k.Weight(0.9999995f))), 1e-5);
}

TEST(FILT_DownSampleFactors, HalvingTakesEightTapsEdgesReadTheEdgePixel)
{
    FILT_BicubicKernel k;
    FILT_DownSampleFactors f;
    f.Compute(k, 700, 350);
    EXPECT_EQ(f.Used(), 350u * 8);
    std::map<int, std::vector<int>> sources;
    for (uint32_t i = 0; i < f.Used(); ++i)
        sources[f[i].output].push_back(f[i].source);
    EXPECT_EQ(sources[0], (std::vector<int>{0, 0, 0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(sources[100], (std::vector<int>{197, 198, 199, 200, 201, 202, 203, 204}));
    EXPECT_EQ(sources[349], (std::vector<int>{695, 696, 697, 698, 699, 699, 699, 699}));
    for (const auto& [output, sum] : WeightSums(f))
        EXPECT_NEAR(sum, 1.0, 1e-5) << output;
    // The centre taps of an inner output: 0.5 input pixels = 0.25 output units away.
    double sum = 0;
    for (double d : {0.25, 0.75, 1.25, 1.75})
        sum += 2 * double(k.Weight(float(d)));
    for (uint32_t i = 0; i < f.Used(); ++i)
    {
        if (f[i].output == 100 && (f[i].source == 200 || f[i].source == 201))
        {
            EXPECT_NEAR(f[i].weight, double(k.Weight(0.25f)) / sum, 1e-6);
        }
    }
    EXPECT_EQ(f.Entries()[f.Used()].weight, 0.0f); // terminating zero entry
}

// Any pair of sizes, down to a single pixel and up to a reduction by 1000: the table stays in its
// bounds, is ordered by source, and every output's weights add up to 1.
TEST(FILT_DownSampleFactors, TablesForManySizesAreOrderedAndNormalised)
{
    FILT_BicubicKernel k;
    FILT_DownSampleFactors f;
    std::vector<std::pair<uint32_t, uint32_t>> sizes = {
        {1, 1}, {2, 1}, {1000, 1}, {1000, 999}, {1050, 350}, {525, 175}, {32767, 1}, {32767, 350}};
    for (uint32_t n = 1; n <= 64; ++n)
        for (uint32_t m = 1; m <= n; ++m)
            sizes.emplace_back(n, m);
    for (auto [n, m] : sizes)
    {
        f.Compute(k, n, m);
        ASSERT_LT(f.Used(), f.Capacity()) << n << "->" << m;
        int previous = 0;
        for (uint32_t i = 0; i < f.Used(); ++i)
        {
            ASSERT_GE(f[i].source, previous) << n << "->" << m;
            ASSERT_LT(f[i].source, int(n));
            ASSERT_LT(f[i].output, int(m));
            previous = f[i].source;
        }
        const auto sums = WeightSums(f);
        ASSERT_EQ(sums.size(), m) << n << "->" << m;
        for (const auto& [output, sum] : sums)
            ASSERT_NEAR(sum, 1.0, 1e-4) << n << "->" << m << " output " << output;
    }
}

TEST(FILT_DownSampleFactors, SizesItCannotWorkWithAreRefused)
{
    FILT_BicubicKernel k;
    FILT_DownSampleFactors f;
    for (auto [n, m] :
         {std::pair<uint32_t, uint32_t>{0, 0}, {5, 0}, {0, 5}, {10, 11}, {32768, 100}})
    {
        try
        {
            f.Compute(k, n, m);
            ADD_FAILURE() << n << "->" << m << " accepted";
        }
        catch (const GLIB_Exception& e)
        {
            EXPECT_EQ(e.GetCode(), FILT_ERR_BAD_PARAMETERS);
        }
    }
}

TEST(FILT_DownSampler, ConstantImageStaysConstant)
{
    std::vector<Size> sizes = {{1050, 1050, 350, 350}, {525, 525, 175, 175}, {1050, 525, 350, 175},
                               {700, 300, 350, 150},   {1, 1, 1, 1},         {1000, 3, 1, 1},
                               {3, 1000, 1, 1},        {351, 100, 350, 99},  {8, 8, 8, 8},
                               {30000, 2, 1, 1}};
    for (uint32_t n = 1; n <= 24; ++n)
        for (uint32_t m = 1; m <= n; ++m)
            sizes.push_back({n + 2, n, m, m});
    for (const Size& s : sizes)
    {
        for (uint8_t value : {uint8_t(0), uint8_t(1), uint8_t(128), uint8_t(200), uint8_t(255)})
        {
            const std::vector<uint8_t> image(std::size_t(3) * s.inW * s.inH, value);
            const auto out = Reduce(3, s, image);
            ASSERT_EQ(out.size(), std::size_t(3) * s.outW * s.outH);
            for (std::size_t k = 0; k < out.size(); ++k)
                ASSERT_EQ(out[k], value)
                    << s.inW << "x" << s.inH << "->" << s.outW << "x" << s.outH << " at " << k;
        }
    }
}

TEST(FILT_DownSampler, StreamedResultMatchesDirectComputation)
{
    std::mt19937 random(7);
    for (uint16_t spp : {1, 2, 3, 4, 5})
    {
        const Size s{97, 61, 30, 20};
        std::vector<uint8_t> image(std::size_t(spp) * s.inW * s.inH);
        for (auto& b : image)
            b = static_cast<uint8_t>(random());
        auto sampler = MakeSampler(spp, s);
        const auto out = Drive(*sampler, image, 1000, 1000);
        const auto expected = Reference(*sampler, spp, s, image);
        ASSERT_EQ(out.size(), expected.size());
        for (std::size_t k = 0; k < out.size(); ++k)
            ASSERT_NEAR(out[k], expected[k], 1) << "spp " << spp << " at " << k;
    }
}

TEST(FILT_DownSampler, HardEdgeOvershootIsClampedNotWrapped)
{
    const Size s{100, 40, 30, 12};
    std::vector<uint8_t> image(std::size_t(s.inW) * s.inH);
    for (uint32_t y = 0; y < s.inH; ++y)
        for (uint32_t x = 0; x < s.inW; ++x)
            image[y * s.inW + x] = x < 50 ? 0 : 255;
    const auto out = Reduce(1, s, image);
    for (uint32_t y = 0; y < s.outH; ++y)
    {
        const uint8_t* row = out.data() + y * s.outW;
        EXPECT_EQ(row[0], 0);
        EXPECT_EQ(row[s.outW - 1], 255);
        for (uint32_t x = 1; x < s.outW; ++x)
            ASSERT_GE(row[x], row[x - 1]) << "row " << y << " x " << x;
    }
}

TEST(FILT_DownSampler, TooFewLinesAtEndOfDataIsReported)
{
    const Size s{4, 10, 2, 5};
    auto sampler = MakeSampler(1, s);
    FILT_FilterBuffer in(64);
    FILT_FilterBuffer out(64);
    const std::vector<uint8_t> nine(36, 9);
    in.Write(nine.data(), 36);
    in.SetEndOfData();
    try
    {
        sampler->ProcessBytes(in, out);
        FAIL() << "no exception";
    }
    catch (const GLIB_Exception& e)
    {
        EXPECT_EQ(e.GetCode(), 1130022);
        EXPECT_EQ(e.WhatNarrow(),
                  "Insufficient data passed to downsampler. Expecting 10 lines, received 9");
        EXPECT_EQ(e.GetLineNumber(), 292);
        EXPECT_NE(e.GetSourceFile().find(L"FILT_DownSampler"), std::wstring::npos);
    }
    EXPECT_EQ(sampler->GetState(), FILT_DownSampler::kRunning);

    // A short last line is as good as a missing one.
    auto partial = MakeSampler(1, s);
    FILT_FilterBuffer in2(64);
    FILT_FilterBuffer out2(64);
    const std::vector<uint8_t> almost(39, 9);
    in2.Write(almost.data(), 39);
    in2.SetEndOfData();
    EXPECT_THROW(partial->ProcessBytes(in2, out2), GLIB_Exception);
}

TEST(FILT_DownSampler, PiecewiseFeedingGivesTheSameImage)
{
    std::mt19937 random(11);
    const Size s{53, 37, 17, 12};
    std::vector<uint8_t> image(std::size_t(4) * s.inW * s.inH);
    for (auto& b : image)
        b = static_cast<uint8_t>(random());
    const auto whole = Reduce(4, s, image);
    for (auto [inChunk, outChunk] :
         {std::pair<uint32_t, uint32_t>{1, 1}, {1, 100000}, {100000, 1}, {211, 67}, {212, 68}})
    {
        EXPECT_EQ(Reduce(4, s, image, inChunk, outChunk), whole) << inChunk << "/" << outChunk;

        FILT_FilterPipe pipe;
        pipe.AppendFilter(MakeSampler(4, s));
        EXPECT_EQ(Drive(pipe, image, inChunk, outChunk), whole) << inChunk << "/" << outChunk;
    }
}

TEST(FILT_DownSampler, OutputSizedToTheImageEndsInOneCall)
{
    const Size s{20, 20, 7, 7};
    auto sampler = MakeSampler(1, s);
    std::vector<uint8_t> image(400, 77);
    FILT_FilterBuffer in(image.data(), 400, false);
    in.Produce(400);
    FILT_FilterBuffer out(49);
    sampler->ProcessBytes(in, out);
    EXPECT_EQ(out.DataAvailable(), 49u);
    EXPECT_TRUE(out.EndOfData());
    EXPECT_EQ(sampler->GetState(), FILT_DownSampler::kFinished);

    // Finished: later calls consume nothing and only mark the end.
    FILT_FilterBuffer more(8);
    FILT_FilterBuffer out2(8);
    const std::vector<uint8_t> extra(8, 1);
    more.Write(extra.data(), 8);
    sampler->ProcessBytes(more, out2);
    EXPECT_EQ(more.DataAvailable(), 8u);
    EXPECT_EQ(out2.DataAvailable(), 0u);
    EXPECT_TRUE(out2.EndOfData());

    // A parameter change starts a new run.
    sampler->SetOutputHeight(5);
    EXPECT_EQ(sampler->GetState(), FILT_DownSampler::kNotStarted);
}

TEST(FILT_DownSampler, UnworkableParametersAreRefused)
{
    std::vector<std::unique_ptr<FILT_DownSampler>> samplers;
    samplers.push_back(MakeSampler(1, {10, 10, 11, 5})); // enlarging
    samplers.push_back(MakeSampler(1, {10, 10, 5, 0}));
    samplers.push_back(MakeSampler(0, {10, 10, 5, 5}));
    samplers.push_back(MakeSampler(1, {40000, 2, 2, 2}));
    samplers.push_back(std::make_unique<FILT_DownSampler>()); // no kernel, no sizes
    for (auto& sampler : samplers)
    {
        FILT_FilterBuffer in(16);
        FILT_FilterBuffer out(16);
        try
        {
            sampler->ProcessBytes(in, out);
            ADD_FAILURE() << "accepted";
        }
        catch (const GLIB_Exception& e)
        {
            EXPECT_EQ(e.GetCode(), FILT_ERR_BAD_PARAMETERS);
        }
    }
}

TEST(FILT_DownSampler, StatisticsAreLoggedWhenOn)
{
    const Size s{40, 30, 10, 6};
    const std::vector<uint8_t> image(std::size_t(s.inW) * s.inH, 3);
    {
        LogCapture log;
        Reduce(1, s, image);
        EXPECT_TRUE(log.lines.empty());
    }
    LogCapture log;
    auto sampler = MakeSampler(1, s);
    sampler->SetStatistics(true);
    Drive(*sampler, image, 100, 100);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].severity, 6);
    EXPECT_EQ(log.lines[0].line, 327);
    for (const char* name :
         {"CalculateFactors", "ByteProcess", "PixelProcess", "LineProcess", "OutputGenerate"})
        EXPECT_NE(log.lines[0].text.find(name), std::string::npos) << name;
    const GSTA_Accum& stats = sampler->Statistics();
    EXPECT_EQ(stats.Count(FILT_DownSampler::kCalculateFactors), 2u);
    EXPECT_EQ(stats.Count(FILT_DownSampler::kPixelProcess), 30u);
    EXPECT_EQ(stats.Count(FILT_DownSampler::kOutputGenerate), 6u);
    EXPECT_TRUE(stats.ActivePhases().empty());
}
