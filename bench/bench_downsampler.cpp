// Reducing a colour raster of about preview-thumbnail size to the navigation thumbnail's 350
// pixels, the one reduction the viewer makes while a user waits for a job window to open.

#include "FILT/FILT_BicubicKernel.h"
#include "FILT/FILT_DownSampler.h"
#include "FILT/FILT_FilterPipe.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace
{

constexpr uint32_t kInWidth = 2000;
constexpr uint32_t kInHeight = 1400;
constexpr uint32_t kOutWidth = 350;
constexpr uint32_t kOutHeight = 245; // 1400 / (2000 / 350)
constexpr uint16_t kSamples = 3;

std::vector<uint8_t> MakeRaster()
{
    std::vector<uint8_t> raster(std::size_t(kInWidth) * kInHeight * kSamples);
    uint32_t state = 12345;
    for (std::size_t i = 0; i < raster.size(); ++i)
    {
        // A smooth gradient with noise, so that no branch of the clamping is favoured.
        state = state * 1664525u + 1013904223u;
        raster[i] = static_cast<uint8_t>((i / kSamples % kInWidth) / 8 + (state >> 28));
    }
    return raster;
}

void BM_DownSample2000x1400To350(benchmark::State& state)
{
    std::vector<uint8_t> raster = MakeRaster();
    std::vector<uint8_t> result(std::size_t(kOutWidth) * kOutHeight * kSamples);
    for (auto _ : state)
    {
        auto sampler = std::make_unique<FILT_DownSampler>();
        sampler->SetKernel(std::make_unique<FILT_BicubicKernel>());
        sampler->SetSamplesPerPixel(kSamples);
        sampler->SetInputWidth(kInWidth);
        sampler->SetInputHeight(kInHeight);
        sampler->SetOutputWidth(kOutWidth);
        sampler->SetOutputHeight(kOutHeight);
        FILT_FilterPipe pipe;
        pipe.AppendFilter(std::move(sampler));
        FILT_FilterBuffer in(raster.data(), static_cast<uint32_t>(raster.size()), false);
        in.Produce(static_cast<uint32_t>(raster.size()));
        in.SetEndOfData();
        FILT_FilterBuffer out(result.data(), static_cast<uint32_t>(result.size()), false);
        pipe.ProcessBytes(in, out);
        if (!out.EndOfData())
            state.SkipWithError("the reduction did not finish");
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(raster.size()));
}

} // namespace

BENCHMARK(BM_DownSample2000x1400To350)->Unit(benchmark::kMillisecond);
