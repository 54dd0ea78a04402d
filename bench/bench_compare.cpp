// Speed of comparing two versions of a job, next to what libtiff alone needs to decode every tile
// of one version on one thread, all in one run:
//
//   bench_compare [benchmark options]    KRN_BENCH_COMPARE_OLD names a job folder (krn sample
//                                        --preset large --content dense --inks 8), _SAME a copy
//                                        of it and _CHANGED a version with 1 % of its tiles
//                                        changed (below); prints the targets' ratios at the end
//   bench_compare --write-changed OLD NEW [PERCENT]
//                                        writes into NEW every preview file of OLD again with
//                                        PERCENT (1) of its tiles changed: a 32 x 32 block in
//                                        the middle of every (100 / PERCENT)th tile inverted,
//                                        every other tile, the job information and the reduced
//                                        image as they were
//
// The comparisons run as `krn compare` runs them (every file placed, one thread per core). The
// entry into the viewer's comparison mode is timed twice: the model's part of it (the other
// version placed, the comparison begun on the prepared sheet, the surface facing the viewer
// counted and its regions listed), and the whole of it in an offscreen job window (Compare With
// until the Navigation palette marks the regions).

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_CompareReport.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_SheetComparison.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/compare/WKRN_CompareMode.h"
#include "WKRN/palettes/WKRN_NavigationWindow.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
std::string Folder(const char* variable)
{
    const char* value = std::getenv(variable);
    if (value == nullptr || value[0] == '\0')
        throw std::runtime_error(std::string(variable) + " is not set");
    return value;
}

std::vector<std::string> PreviewFiles(const std::string& folder)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".tif")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::unique_ptr<IMPN_Registry> Place(const std::string& folder)
{
    auto registry = std::make_unique<IMPN_Registry>();
    std::vector<GFIL_FileSpec> specs;
    for (const std::string& file : PreviewFiles(folder))
        specs.emplace_back(file);
    registry->AddFiles(specs, false);
    return registry;
}

// Wall milliseconds of the latest run of each benchmark, for the ratios printed at the end.
std::map<std::string, double>& Measured()
{
    static std::map<std::string, double> measured;
    return measured;
}

template <typename Body>
void Timed(benchmark::State& state, const std::string& name, Body body)
{
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        body();
        Measured()[name] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
}

void BM_DecodeOneVersionOneThread(benchmark::State& state)
{
    const std::vector<std::string> files = PreviewFiles(Folder("KRN_BENCH_COMPARE_OLD"));
    Timed(state, "decode",
          [&]
          {
              for (const std::string& path : files)
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
          });
}
BENCHMARK(BM_DecodeOneVersionOneThread)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

void CompareAsKrnDoes(benchmark::State& state, const char* newVariable, const std::string& name)
{
    const std::string oldFolder = Folder("KRN_BENCH_COMPARE_OLD");
    const std::string newFolder = Folder(newVariable);
    const unsigned threads = IMPN_WorkerPool::DefaultWorkerCount();
    bool differs = false;
    Timed(state, name,
          [&]
          {
              const std::unique_ptr<IMPN_Registry> older = Place(oldFolder);
              const std::unique_ptr<IMPN_Registry> newer = Place(newFolder);
              std::unique_ptr<IMPN_WorkerPool> pool;
              if (threads > 1)
                  pool = std::make_unique<IMPN_WorkerPool>(threads - 1);
              const IMPN_CompareReport::Outcome outcome =
                  IMPN_CompareReport::Run(*older, *newer, {}, pool.get(), threads);
              differs = outcome.differs;
              benchmark::DoNotOptimize(outcome.text.data());
          });
    state.counters["differs"] = differs ? 1 : 0;
}

void BM_CompareIdenticalVersions(benchmark::State& state)
{
    CompareAsKrnDoes(state, "KRN_BENCH_COMPARE_SAME", "identical");
}
BENCHMARK(BM_CompareIdenticalVersions)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_CompareOnePercentChanged(benchmark::State& state)
{
    CompareAsKrnDoes(state, "KRN_BENCH_COMPARE_CHANGED", "changed");
}
BENCHMARK(BM_CompareOnePercentChanged)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The window shows the changed version, fitted and prepared before the clock starts; entering
// the comparison places the old version, begins and counts the surface facing the viewer.
void BM_EnterCompareModeRegions(benchmark::State& state)
{
    const std::unique_ptr<IMPN_Registry> shown = Place(Folder("KRN_BENCH_COMPARE_CHANGED"));
    std::vector<IMPN_Sheet*> sheets;
    shown->CollectSheets(sheets);
    if (sheets.empty())
        throw std::runtime_error("no sheet in KRN_BENCH_COMPARE_CHANGED");
    IMPN_SheetReference sheet(sheets[0]);
    const unsigned threads = IMPN_WorkerPool::DefaultWorkerCount();
    IMPN_WorkerPool pool(std::max(threads, 2u) - 1);
    sheet->Prepare(&pool);
    const IMPN_CompareLook look;
    std::size_t regions = 0;
    Timed(state, "enter",
          [&]
          {
              IMPN_SheetComparison comparison(*sheet, Place(Folder("KRN_BENCH_COMPARE_OLD")), look);
              if (!comparison.Begin(threads))
                  throw std::runtime_error("the old version has no such sheet");
              for (std::size_t task : comparison.TaskOrder(0))
              {
                  if (comparison.IsSideCounted(0))
                      break;
                  comparison.RunTask(task, &pool, nullptr);
                  comparison.FinishTask(task);
              }
              regions = comparison.Summarize(0).regions.size();
              comparison.ShowPictures();
          });
    state.counters["regions"] = double(regions);
}
BENCHMARK(BM_EnterCompareModeRegions)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same in a job window: the changed version shown fitted in an offscreen 1600 x 1000 job
// window whose picture is finished, then Compare With the old version's files until the
// Navigation palette marks the changed regions.
void BM_EnterCompareModeInJobWindow(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "bench_compare";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: a static application ends after the platform's own statics at exit.
    static QApplication* application = new QApplication(argc, argv);
    static_cast<void>(application);
    WKRN_Preferences::Current() = WKRN_PreferenceValues();
    WKRN_Tressida tressida{QPixmap()};
    tressida.SetQuitAction([] {});
    const std::unique_ptr<IMPN_Registry> shown = Place(Folder("KRN_BENCH_COMPARE_CHANGED"));
    std::vector<IMPN_Sheet*> sheets;
    shown->CollectSheets(sheets);
    if (sheets.empty())
        throw std::runtime_error("no sheet in KRN_BENCH_COMPARE_CHANGED");
    WKRN_SheetWindow* job =
        tressida.OpenJobWindow(IMPN_SheetReference(sheets[0]), QRect(0, 0, 1600, 1000), true);
    WKRN_SheetView& view = *job->View();
    view.FitToWindow(true);
    const auto paintToTheEnd = [&view]
    {
        view.viewport()->repaint();
        while (view.IsPaintingTimerActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    };
    paintToTheEnd();
    QStringList files;
    for (const std::string& file : PreviewFiles(Folder("KRN_BENCH_COMPARE_OLD")))
        files << QString::fromStdString(file);
    auto* navigation = qobject_cast<WKRN_NavigationWindow*>(job->Palette(ID_WINDOW_NAVIGATION));
    WKRN_CompareMode& compare = *job->Compare();
    std::size_t marks = 0;
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        if (!compare.CompareWith(files) || navigation == nullptr)
            throw std::runtime_error("the comparison did not begin");
        while (navigation->RegionMarks().empty() || !compare.IsCounted())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        navigation->repaint();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        Measured()["window"] = took.count() * 1000;
        marks = navigation->RegionMarks().size();
        compare.Off();
        paintToTheEnd();
    }
    state.counters["marks"] = double(marks);
    job->close();
    QCoreApplication::processEvents();
}
BENCHMARK(BM_EnterCompareModeInJobWindow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();

// Reads the tiles of one directory of a file into one picture of width x height bytes a row
// (8-bit), or into rows of (width + 7) / 8 bytes (1-bit), tile row by tile row.
void ReadTileRow(TIFX_KRNFile& file, std::uint32_t y0, std::uint32_t rows, std::size_t rowBytes,
                 std::vector<std::uint8_t>& tile, std::uint8_t* out)
{
    const std::uint32_t tw = file.GetTileWidth();
    const std::size_t tileRowBytes = std::size_t(tile.size()) / file.GetTileLength();
    const std::uint32_t width = file.GetImageWidth();
    for (std::uint32_t x0 = 0; x0 < width; x0 += tw)
    {
        if (file.ReadTile(tile.data(), x0, y0) < 0)
            throw std::runtime_error(file.GetPath() + ": a tile cannot be read");
        const std::size_t at = std::size_t(x0) * tileRowBytes / tw;
        const std::size_t n = std::min(tileRowBytes, rowBytes - at);
        for (std::uint32_t r = 0; r < rows; ++r)
            std::memcpy(out + std::size_t(r) * rowBytes + at, tile.data() + r * tileRowBytes, n);
    }
}

void WriteChanged(const std::string& path, const std::string& out, unsigned percent)
{
    TIFX_KRNFile file(path);
    file.Open();
    const KRNDirectoryInfo info = file.GetDirectoryInfo();
    const std::uint32_t width = file.GetImageWidth(), height = file.GetImageLength();
    const std::uint32_t tw = file.GetTileWidth(), tl = file.GetTileLength();
    TIFX_KRNWriterOptions options;
    options.resolution = file.GetXResolution();
    try
    {
        options.inkNames = file.GetInkNames();
    }
    catch (const TIFX_Exception&)
    {
    }
    // The reduced image as it is.
    std::vector<std::uint8_t> reduced;
    for (std::uint16_t directory : {std::uint16_t{1}, std::uint16_t{2}})
    {
        if (!file.SetDirectory(directory) || file.GetBitsPerSample() != 8)
            continue;
        options.reducedScale = file.GetDirectoryInfo().scale;
        options.reducedDirectory = directory;
        const std::uint32_t rw = file.GetImageWidth(), rh = file.GetImageLength();
        reduced.resize(std::size_t(rw) * rh);
        std::vector<std::uint8_t> tile(std::size_t(file.GetTileSize()));
        for (std::uint32_t y0 = 0; y0 < rh; y0 += file.GetTileLength())
            ReadTileRow(file, y0, std::min(file.GetTileLength(), rh - y0), rw, tile,
                        reduced.data() + std::size_t(y0) * rw);
        break;
    }
    file.SetDirectory(0);

    const std::uint32_t stride = std::max(100u / std::max(percent, 1u), 1u);
    const std::uint32_t across = (width + tw - 1) / tw;
    const std::size_t rowBytes = (std::size_t(width) + 7) / 8;
    std::vector<std::uint8_t> tile(std::size_t(file.GetTileSize()));
    TIFX_KRNWriter writer(options);
    writer.SetMainRows(
        width, height,
        [&](std::uint32_t y0, std::uint32_t rows, std::uint8_t* band)
        {
            for (std::uint32_t r0 = 0; r0 < rows; r0 += tl)
            {
                const std::uint32_t y = y0 + r0, n = std::min(tl, rows - r0);
                std::uint8_t* part = band + std::size_t(r0) * rowBytes;
                ReadTileRow(file, y, n, rowBytes, tile, part);
                for (std::uint32_t column = 0; column < across; ++column)
                {
                    if ((std::size_t(y / tl) * across + column) % stride != stride / 2)
                        continue;
                    for (std::uint32_t yy = tl / 2 - 16; yy < tl / 2 + 16 && yy < n; ++yy)
                        for (std::uint32_t xx = column * tw + tw / 2 - 16;
                             xx < column * tw + tw / 2 + 16 && xx < width; ++xx)
                            part[std::size_t(yy) * rowBytes + xx / 8] ^=
                                std::uint8_t(0x80u >> (xx % 8));
                }
            }
        });
    if (!reduced.empty())
        writer.SetReducedImage(std::move(reduced));
    writer.SetDirectoryInfo(info);
    writer.Write(out);
}
} // namespace

int main(int argc, char** argv)
{
    try
    {
        if (argc >= 4 && std::strcmp(argv[1], "--write-changed") == 0)
        {
            const unsigned percent = argc >= 5 ? unsigned(std::atoi(argv[4])) : 1;
            std::filesystem::create_directories(argv[3]);
            for (const std::string& path : PreviewFiles(argv[2]))
                WriteChanged(
                    path,
                    (std::filesystem::path(argv[3]) / std::filesystem::path(path).filename())
                        .string(),
                    percent);
            return 0;
        }
    }
    catch (const std::exception& e)
    {
        std::cerr << "bench_compare: " << e.what() << "\n";
        return 1;
    }
    // The private directory's tag is unknown to a bare libtiff; its warning is noise here.
    TIFFSetWarningHandler(nullptr);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const std::map<std::string, double>& m = Measured();
    const auto ratio = [&](const char* name, const char* limit)
    {
        if (m.count(name) && m.count("decode") && m.at("decode") > 0)
            std::cout << "target: " << name
                      << " compare / one-thread decode = " << m.at(name) / m.at("decode")
                      << " (at most " << limit << ")\n";
    };
    ratio("identical", "0.25");
    ratio("changed", "0.3");
    if (m.count("enter"))
        std::cout << "target: entering compare mode to regions (model) = " << m.at("enter")
                  << " ms (at most 2000)\n";
    if (m.count("window"))
        std::cout << "target: entering compare mode to regions (job window) = " << m.at("window")
                  << " ms (at most 2000)\n";
    return 0;
}
