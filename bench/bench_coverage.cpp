// Speed of the ink-coverage counts on the files of one surface: the ink-zone profile of the whole
// surface next to the whole 1:64 overview the renderer makes of the same files (both decode every
// tile once), and a densitometer reading of a 3 mm aperture once its tiles are kept.
//
//   KRN_BENCH_INKS=DIR bench_coverage [benchmark options]
//
// DIR holds the preview files of a job whose first sheet's front has the inks to count, for
// example `krn sample --out DIR --preset large --inks 8 --size 16384x16384`.

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_SeparationInk.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_SurfaceRenderer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// The job's first sheet, its files placed as the viewer places them.
IMPN_SheetReference OpenSheet()
{
    const char* folder = std::getenv("KRN_BENCH_INKS");
    if (folder == nullptr || *folder == '\0')
        throw std::runtime_error("set KRN_BENCH_INKS to a folder of preview files");
    std::vector<GFIL_FileSpec> specs;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        specs.emplace_back(name);
    IMPN_Registry registry;
    registry.AddFiles(specs, false);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    if (sheets.empty())
        throw std::runtime_error(std::string("no sheet in ") + folder);
    return IMPN_SheetReference(sheets[0]);
}

std::vector<std::string> FrontPaths(IMPN_Sheet& sheet)
{
    std::vector<std::string> paths;
    for (const auto& separation : sheet.GetFrontSurface().GetSeparations())
        paths.push_back(separation->GetFilePath());
    return paths;
}

// The ink-zone profile: 32 zones over the whole width, every tile of every ink read once.
void BM_ZoneProfile32(benchmark::State& state)
{
    IMPN_SheetReference sheet = OpenSheet();
    const std::vector<std::string> paths = FrontPaths(*sheet);
    for (auto _ : state)
    {
        const auto counter = IMPN_InkCoverage::FromFiles(paths, 0);
        IMPN_Rect whole;
        whole.width = std::int32_t(counter->GetImageWidth());
        whole.height = std::int32_t(counter->GetImageLength());
        IMPN_InkCoverageCounts counts;
        if (!counter->CountColumns(whole, 32, counts))
            throw std::runtime_error("nothing counted");
        benchmark::DoNotOptimize(counts.inked.data());
    }
    state.counters["inks"] = double(paths.size());
}
BENCHMARK(BM_ZoneProfile32)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The renderer's whole 1:64 overview of the same surface, from freshly opened files.
void BM_OverviewOneTo64(benchmark::State& state)
{
    for (auto _ : state)
    {
        IMPN_SheetReference sheet = OpenSheet();
        IMPN_Surface& surface = sheet->GetFrontSurface();
        for (const auto& separation : surface.GetSeparations())
            separation->Prepare();
        const auto renderer = IMPN_SeparationInk::CreateRenderer(surface.GetSeparations(),
                                                                 surface.PaperColor().data());
        const IMPN_RenderLevel& level = renderer->GetLevel(9);
        std::vector<std::uint8_t> picture(std::size_t(level.width) * level.height * 3);
        IMPN_RenderComposite::Compose(*renderer, 9, surface.GetLatestChange(), 0, 0, level.width,
                                      level.height, picture.data(), std::size_t(level.width) * 3);
        benchmark::DoNotOptimize(picture.data());
    }
}
BENCHMARK(BM_OverviewOneTo64)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A 3 mm densitometer reading in the middle of the surface at 1:1, its tiles already kept, as
// while the pointer moves over one area.
void BM_DensitometerReadingCached(benchmark::State& state)
{
    IMPN_SheetReference sheet = OpenSheet();
    const auto counter = IMPN_InkCoverage::FromFiles(FrontPaths(*sheet), 256);
    const double resolution = sheet->GetXResolution() > 0 ? sheet->GetXResolution() : 2400.0;
    const std::int32_t side = std::int32_t(std::lround(3.0 / 25.4 * resolution));
    IMPN_Rect aperture;
    aperture.left = std::int32_t(counter->GetImageWidth() / 2) - side / 2;
    aperture.top = std::int32_t(counter->GetImageLength() / 2) - side / 2;
    aperture.width = aperture.height = side;
    IMPN_InkCoverageCounts counts;
    counter->CountColumns(aperture, 1, counts);
    std::int32_t step = 0;
    for (auto _ : state)
    {
        // A few pixels further each time, as a moving pointer reads.
        IMPN_Rect moved = aperture;
        moved.left += step;
        step = (step + 7) % 64;
        counter->CountColumns(moved, 1, counts);
        benchmark::DoNotOptimize(counts.inked.data());
    }
    state.counters["side_px"] = double(side);
}
BENCHMARK(BM_DensitometerReadingCached)->Unit(benchmark::kMicrosecond);
} // namespace
