// Speed of the surface renderer: the coverage kernels and the pyramid step on their own (decode
// excluded), the palette rebuild after a colour change, and whole pictures rendered from preview
// files next to what libtiff alone needs to decode the same tiles.
//
//   bench_renderer [benchmark options]       runs the suites; the whole-file suites use the
//                                             file named by KRN_BENCH_SCREEN (one separation)
//                                             and the files of the folder KRN_BENCH_INKS (the
//                                             inks of one surface), written on first use when
//                                             missing
//   bench_renderer --write-screen FILE [SIZE] writes a SIZE x SIZE (16384) one-bit G4
//                                             separation with a 150 lpi screen at 2400 dpi
//   bench_renderer --write-inks DIR [SIZE] [N] writes N (8) such separations of one surface

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_CoverageKernel.h"
#include "IMPN/IMPN_Palette.h"
#include "IMPN/IMPN_Pyramid.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_SeparationInk.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "KRN_TestPreviewInfo.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace
{
// ---------------------------------------------------------------------------------------------
// Test pictures

// Ink k of a synthetic sheet: blank margins, a solid colour bar, and the rest a round-dot screen
// of about 150 lpi (a 45-degree lattice of 11 x 11 pixel steps at 2400 dpi) over a smoothly
// varying tone, so that blank, solid and mixed tiles all occur as on a real plate.
struct Screen
{
    std::uint32_t width, height;
    unsigned ink;

    double Tone(std::uint32_t x, std::uint32_t y) const
    {
        const std::uint32_t margin = width / 20;
        if (x < margin || y < margin || x >= width - margin || y >= height - margin)
            return 0.0;
        if (y < margin + height / 40)
            return (x / 1024 + ink) % 9 == 0 ? 1.0 : 0.0;
        return 0.5 + 0.5 * std::sin(x / (1500.0 + 90 * ink) + ink) * std::cos(y / 1100.0);
    }

    void FillTile(std::uint32_t x0, std::uint32_t y0, std::uint8_t* tile) const
    {
        std::memset(tile, 0, 512 * 64);
        for (std::uint32_t r = 0; r < 512 && y0 + r < height; ++r)
        {
            const std::uint32_t y = y0 + r;
            for (std::uint32_t c = 0; c < 512 && x0 + c < width; c += 16)
            {
                // The tone changes slowly: one value per 16 pixels is plenty.
                const int threshold = int(Tone(x0 + c, y) * 243.0);
                if (threshold <= 0)
                    continue;
                for (std::uint32_t k = 0; k < 16; ++k)
                {
                    const std::uint32_t x = x0 + c + k;
                    const int u = int((x + y + 5 * ink) % 22) - 11;
                    const int v = int((x + 22 * 4096 - y + 3 * ink) % 22) - 11;
                    if (u * u + v * v < threshold)
                        tile[r * 64 + (c + k) / 8] |= std::uint8_t(0x80u >> ((c + k) % 8));
                }
            }
        }
    }
};

const char* const kInkNames[] = {"Cyan",          "Magenta",       "Yellow",        "Black",
                                 "PANTONE 185 C", "PANTONE 286 C", "PANTONE 375 C", "Varnish"};
const std::uint16_t kInkCodes[] = {1, 2, 3, 4, 0, 0, 0, 0};

void WriteSeparation(const std::string& path, std::uint32_t size, unsigned ink)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
    options.resolution = 2400.0f;
    TIFX_KRNWriter writer(options);
    KRN_TestInfoSpec info;
    info.title = "Benchmark";
    info.orientation.reset();
    info.colorName = kInkNames[ink % 8];
    info.color = kInkCodes[ink % 8];
    info.printTime = "2026:12:08 10:00:00";
    info.pressSheetBottom = info.pressSheetRight = std::int32_t(size);
    info.storePageCount = false;
    writer.SetDirectoryInfo(KRN_TestDirectoryInfo(info));
    const Screen screen{size, size, ink};
    writer.SetMainImage(size, size,
                        [&screen](std::uint32_t x0, std::uint32_t y0, std::uint8_t* t)
                        { screen.FillTile(x0, y0, t); });
    writer.Write(path);
}

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

std::filesystem::path ScratchFolder()
{
    return std::filesystem::temp_directory_path() / "krn-bench-renderer";
}

std::string ScreenFile()
{
    const std::string path = EnvOr("KRN_BENCH_SCREEN", (ScratchFolder() / "screen.tif").string());
    if (!std::filesystem::exists(path))
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::cerr << "writing " << path << "\n";
        WriteSeparation(path, 16384, 3);
    }
    return path;
}

// Every file of the folder (a `krn sample --preset large` job, say), or eight inks written there
// on first use when the folder is missing or empty.
std::vector<std::string> InkFiles()
{
    const std::filesystem::path folder =
        EnvOr("KRN_BENCH_INKS", (ScratchFolder() / "inks").string());
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    if (!files.empty())
    {
        std::sort(files.begin(), files.end());
        return files;
    }
    std::filesystem::create_directories(folder);
    for (unsigned k = 0; k < 8; ++k)
    {
        files.push_back((folder / ("ink" + std::to_string(k) + ".tif")).string());
        std::cerr << "writing " << files[k] << "\n";
        WriteSeparation(files[k], 8192, k);
    }
    return files;
}

long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ---------------------------------------------------------------------------------------------
// Kernels

std::vector<std::uint8_t> RandomTile(unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bits(64 * 512);
    for (auto& b : bits)
        b = std::uint8_t(random());
    return bits;
}

// One 512 x 512 source tile reduced to coverage; items are source pixels.
void BM_Coverage(benchmark::State& state)
{
    const unsigned r = unsigned(state.range(0));
    const std::vector<std::uint8_t> bits = RandomTile(1);
    std::vector<std::uint8_t> out(512 * 512);
    for (auto _ : state)
    {
        IMPN_CoverageKernel::Reduce(r, bits.data(), 64, 0, 0, 512 / r, 512 / r, out.data(),
                                    512 / r);
        benchmark::DoNotOptimize(out.data());
    }
    // items_per_second: source pixels per second of CPU time.
    state.SetItemsProcessed(state.iterations() * 512 * 512);
}
BENCHMARK(BM_Coverage)->Arg(2)->Arg(4)->Arg(8);

// Four 64 x 64 colour tiles of one level averaged into one tile of the next.
void BM_PyramidStep(benchmark::State& state)
{
    std::vector<std::uint8_t> src(128 * 128 * 3);
    std::mt19937 random(2);
    for (auto& b : src)
        b = std::uint8_t(random());
    std::vector<std::uint8_t> dst(64 * 64 * 3);
    for (auto _ : state)
    {
        IMPN_Pyramid::Halve(src.data(), 128 * 3, 128, 128, dst.data(), 64 * 3, 64, 64);
        benchmark::DoNotOptimize(dst.data());
    }
    // items_per_second: pixels of the larger level per second of CPU time.
    state.SetItemsProcessed(state.iterations() * 128 * 128);
}
BENCHMARK(BM_PyramidStep);

// What a colour change costs at 1:1 and above with eight inks.
void BM_PaletteRebuild8Inks(benchmark::State& state)
{
    const std::uint8_t paper[3] = {250, 250, 245};
    std::vector<IMPN_PaletteInk> inks(8);
    for (unsigned k = 0; k < 8; ++k)
    {
        inks[k].colour[0] = std::uint8_t(30 * k);
        inks[k].colour[1] = std::uint8_t(255 - 20 * k);
        inks[k].colour[2] = std::uint8_t(90 + 10 * k);
        inks[k].opacity = 60 + 5 * k;
    }
    IMPN_Palette palette;
    unsigned turn = 0;
    for (auto _ : state)
    {
        inks[turn++ % 8].colour[1] ^= 0x55; // the colour change
        palette.Build(paper, inks);
        benchmark::DoNotOptimize(palette.Entries());
    }
}
BENCHMARK(BM_PaletteRebuild8Inks);

// ---------------------------------------------------------------------------------------------
// Whole pictures from files

// Decoding every tile of directory 0 with libtiff and nothing else: the floor of any renderer.
void DecodeAllTiles(const std::string& path)
{
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr)
        throw std::runtime_error("cannot open " + path);
    std::vector<std::uint8_t> buffer(std::size_t(TIFFTileSize(tiff)));
    const ttile_t tiles = TIFFNumberOfTiles(tiff);
    for (ttile_t t = 0; t < tiles; ++t)
        TIFFReadEncodedTile(tiff, t, buffer.data(), tmsize_t(buffer.size()));
    TIFFClose(tiff);
}

// Opens the files as the viewer does and renders one whole level of the front surface, on this
// thread alone or, as `krn render --threads N` does, on this one and N - 1 workers.
void RenderLevel(const std::vector<std::string>& files, int level, unsigned threads = 1)
{
    IMPN_Registry registry;
    std::vector<GFIL_FileSpec> specs;
    for (const std::string& f : files)
        specs.emplace_back(f);
    registry.AddFiles(specs, false);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    if (sheets.empty())
        throw std::runtime_error("no sheet");
    IMPN_SheetReference sheet(sheets[0]);
    // The separations are prepared as the surface prepares them; the surface's navigation
    // thumbnail, made from the reduced images, is not part of the picture measured here.
    IMPN_Surface& surface = sheet->GetFrontSurface();
    for (const auto& separation : surface.GetSeparations())
        separation->Prepare();
    const std::unique_ptr<IMPN_SurfaceRenderer> owned =
        IMPN_SeparationInk::CreateRenderer(surface.GetSeparations(), surface.PaperColor().data());
    IMPN_SurfaceRenderer& renderer = *owned;
    const IMPN_RenderLevel& l = renderer.GetLevel(level);
    std::vector<std::uint8_t> picture(std::size_t(l.width) * l.height * 3);
    std::unique_ptr<IMPN_WorkerPool> pool;
    if (threads > 1)
        pool = std::make_unique<IMPN_WorkerPool>(threads - 1);
    IMPN_RenderComposite::Compose(renderer, level, surface.GetLatestChange(), 0, 0, l.width,
                                  l.height, picture.data(), std::size_t(l.width) * 3, {},
                                  pool.get());
    benchmark::DoNotOptimize(picture.data());
}

void BM_Screen_LibtiffDecode(benchmark::State& state)
{
    const std::string file = ScreenFile();
    for (auto _ : state)
        DecodeAllTiles(file);
}
BENCHMARK(BM_Screen_LibtiffDecode)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_Screen_RenderOneToEight(benchmark::State& state)
{
    const std::vector<std::string> files = {ScreenFile()};
    for (auto _ : state)
        RenderLevel(files, 6);
    state.counters["peak_MiB"] = double(PeakResidentKiB()) / 1024.0;
}
BENCHMARK(BM_Screen_RenderOneToEight)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_EightInks_LibtiffDecode(benchmark::State& state)
{
    const std::vector<std::string> files = InkFiles();
    for (auto _ : state)
        for (const std::string& f : files)
            DecodeAllTiles(f);
}
BENCHMARK(BM_EightInks_LibtiffDecode)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The whole 1:64 overview: every tile decoded once, counted at 1:8, then three pyramid steps.
void BM_EightInks_OverviewOneTo64(benchmark::State& state)
{
    const std::vector<std::string> files = InkFiles();
    for (auto _ : state)
        RenderLevel(files, 9);
    state.counters["peak_MiB"] = double(PeakResidentKiB()) / 1024.0;
}
BENCHMARK(BM_EightInks_OverviewOneTo64)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
// The same two pictures on one and on two threads (the argument), side by side in one run.
void BM_Screen_RenderOneToEightThreads(benchmark::State& state)
{
    const std::vector<std::string> files = {ScreenFile()};
    for (auto _ : state)
        RenderLevel(files, 6, unsigned(state.range(0)));
    state.counters["peak_MiB"] = double(PeakResidentKiB()) / 1024.0;
}
BENCHMARK(BM_Screen_RenderOneToEightThreads)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_EightInks_OverviewOneTo64Threads(benchmark::State& state)
{
    const std::vector<std::string> files = InkFiles();
    for (auto _ : state)
        RenderLevel(files, 9, unsigned(state.range(0)));
    state.counters["peak_MiB"] = double(PeakResidentKiB()) / 1024.0;
}
BENCHMARK(BM_EightInks_OverviewOneTo64Threads)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    try
    {
        if (argc >= 3 && std::strcmp(argv[1], "--write-screen") == 0)
        {
            WriteSeparation(argv[2], argc >= 4 ? std::uint32_t(std::atoi(argv[3])) : 16384, 3);
            return 0;
        }
        if (argc >= 3 && std::strcmp(argv[1], "--write-inks") == 0)
        {
            const std::uint32_t size = argc >= 4 ? std::uint32_t(std::atoi(argv[3])) : 8192;
            const unsigned count = argc >= 5 ? unsigned(std::atoi(argv[4])) : 8;
            std::filesystem::create_directories(argv[2]);
            for (unsigned k = 0; k < count; ++k)
                WriteSeparation(
                    (std::filesystem::path(argv[2]) / ("ink" + std::to_string(k) + ".tif"))
                        .string(),
                    size, k);
            return 0;
        }
    }
    catch (const std::exception& e)
    {
        std::cerr << "bench_renderer: " << e.what() << "\n";
        return 1;
    }
    // The private directory's tag is unknown to a bare libtiff; its warning is noise here.
    TIFFSetWarningHandler(nullptr);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
