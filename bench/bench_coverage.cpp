// Speed of the ink-coverage counts on the files of one surface: the ink-zone profile of the whole
// surface next to the whole 1:64 overview the renderer makes of the same files (both decode every
// tile once), a densitometer reading of a 3 mm aperture once its tiles are kept, and the
// ink-limit cells of the whole surface on all the cores.
//
//   KRN_BENCH_INKS=DIR bench_coverage [benchmark options]
//
// DIR holds the preview files of a job whose first sheet's front has the inks to count, for
// example `krn sample --out DIR --preset large --inks 8 --size 16384x16384`.
//
// The BM_GroupFourTile... cases need no job: they write a Group 4 file of a dense screen of their
// own and compare the renderer's two ways of counting its coverage at 1:2, 1:4 and 1:8 (counted
// from the decoder's run lengths, or the bits filled in and counted), next to the decode alone.

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_CellCoverage.h"
#include "IMPN/IMPN_CoverageKernel.h"
#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_InkLimit.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_RunCoverage.h"
#include "IMPN/IMPN_SeparationInk.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "KRN_TestFolder.h"
#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
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

// The ink-limit cells of the whole surface: a 0.5 mm measuring area at the sheet's resolution,
// every ink's tiles counted once from the decoder's run lengths on a pool of all the cores.
// Compared with bench_renderer's BM_EightInks_LibtiffDecode (one thread decoding every tile of
// the same files) in the same run; the peak is the process's, so run it alone for the figure.
void BM_InkLimitWholeSurface(benchmark::State& state)
{
    IMPN_SheetReference sheet = OpenSheet();
    const std::vector<std::string> paths = FrontPaths(*sheet);
    const double resolution = sheet->GetXResolution() > 0 ? sheet->GetXResolution() : 2400.0;
    const unsigned threads = IMPN_WorkerPool::DefaultWorkerCount();
    std::uint64_t cells = 0, over = 0;
    for (auto _ : state)
    {
        IMPN_WorkerPool pool(threads > 1 ? threads - 1 : 1);
        std::vector<std::unique_ptr<IMPN_CellCoverage>> inks;
        std::vector<IMPN_CellCoverage*> raw;
        for (const std::string& path : paths)
        {
            inks.push_back(std::make_unique<IMPN_CellCoverage>(path, threads));
            raw.push_back(inks.back().get());
        }
        IMPN_InkLimit::Map map;
        if (!IMPN_InkLimit::Count(raw,
                                  IMPN_InkLimit::CellSide(IMPN_InkLimit::kDefaultArea, resolution),
                                  std::nullopt, 30000, threads > 1 ? &pool : nullptr, map))
            throw std::runtime_error("no ink-limit cells counted");
        cells = map.columns * map.rows;
        over = map.overCells;
        benchmark::DoNotOptimize(map.over.data());
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["cells"] = double(cells);
    state.counters["over_300"] = double(over);
    state.counters["threads"] = double(threads);
    state.counters["inks"] = double(paths.size());
}
BENCHMARK(BM_InkLimitWholeSurface)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// A Group 4 file of 2048 x 2048 pixels (16 tiles) of a round-dot screen at 45 degrees, about
// half inked (45 % to 55 % from tile to tile): the slowest content for Group 4, written once.
struct DenseScreen
{
    std::filesystem::path folder = KRN_TestUniqueFolder("bench-coverage");
    std::string path = (folder / "dense.tif").string();

    DenseScreen()
    {
        TIFX_KRNWriter writer;
        writer.SetMainImage(2048, 2048,
                            [](std::uint32_t x0, std::uint32_t y0, std::uint8_t* tile)
                            {
                                const double percent = 45.0 + double((x0 + y0 / 2) % 11);
                                const double radius = std::sqrt(percent / 100.0 / M_PI);
                                for (std::uint32_t y = 0; y < 512; ++y)
                                    for (std::uint32_t x = 0; x < 512; ++x)
                                    {
                                        const double u = (x0 + x + y0 + y) / 12.0;
                                        const double v = (double(y0 + y) - (x0 + x)) / 12.0;
                                        const double du = u - std::floor(u) - 0.5;
                                        const double dv = v - std::floor(v) - 0.5;
                                        if (du * du + dv * dv < radius * radius)
                                            tile[y * 64 + x / 8] |= std::uint8_t(0x80u >> (x % 8));
                                    }
                            });
        writer.Write(path);
    }
    ~DenseScreen() { KRN_TestRemoveFolder(folder); }
};

const std::string& DenseScreenFile()
{
    static const DenseScreen file;
    return file.path;
}

// Decoding every tile and filling its bits, nothing counted: the floor of both ways below.
void BM_GroupFourTileDecodeOnly(benchmark::State& state)
{
    TIFX_KRNFile file(DenseScreenFile());
    file.Open();
    std::vector<std::uint8_t> bits(std::size_t(file.GetTileSize()));
    for (auto _ : state)
        for (std::uint32_t y = 0; y < 2048; y += 512)
            for (std::uint32_t x = 0; x < 2048; x += 512)
                benchmark::DoNotOptimize(file.ReadTile(bits.data(), x, y));
    state.counters["tiles/s"] =
        benchmark::Counter(16.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GroupFourTileDecodeOnly)->Unit(benchmark::kMillisecond);

// Coverage at reduction range(0) as the renderer made it before: bits filled, then counted.
void BM_GroupFourTileFillAndCount(benchmark::State& state)
{
    const unsigned r = unsigned(state.range(0));
    TIFX_KRNFile file(DenseScreenFile());
    file.Open();
    std::vector<std::uint8_t> bits(std::size_t(file.GetTileSize()));
    std::vector<std::uint8_t> cells(std::size_t(512 / r) * (512 / r));
    for (auto _ : state)
        for (std::uint32_t y = 0; y < 2048; y += 512)
            for (std::uint32_t x = 0; x < 2048; x += 512)
            {
                file.ReadTile(bits.data(), x, y);
                IMPN_CoverageKernel::Reduce(r, bits.data(), 64, 0, 0, 512 / r, 512 / r,
                                            cells.data(), 512 / r);
                benchmark::DoNotOptimize(cells.data());
            }
    state.counters["tiles/s"] =
        benchmark::Counter(16.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GroupFourTileFillAndCount)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The same coverage counted from the decoder's run lengths, no bits filled.
void BM_GroupFourTileRuns(benchmark::State& state)
{
    const unsigned r = unsigned(state.range(0));
    TIFX_KRNFile file(DenseScreenFile());
    file.Open();
    std::vector<std::uint8_t> scratch(std::size_t(file.GetTileSize()));
    IMPN_RunCoverage counter;
    for (auto _ : state)
        for (std::uint32_t y = 0; y < 2048; y += 512)
            for (std::uint32_t x = 0; x < 2048; x += 512)
            {
                counter.Begin(r, 512, 512);
                file.ReadTileRuns(scratch.data(), x, y, counter, false);
                counter.Finish();
                benchmark::DoNotOptimize(counter.GetCells());
            }
    state.counters["tiles/s"] =
        benchmark::Counter(16.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GroupFourTileRuns)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);
} // namespace
