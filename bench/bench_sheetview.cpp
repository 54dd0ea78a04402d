// Speed of the sheet view window on an offscreen display: a two-sided sheet of screened inks is
// opened, fitted to an 1200 x 900 window, and painted progressively from cold tile caches until
// the last slice is drawn. Reported: the time to the finished picture (timer waits included, as
// the user sees it), the number of painting steps and the longest single step, which is what
// decides whether scrolling and menus stay responsive while the picture fills in. A second suite
// draws the same window at 1:1 at once, without the pause after each tile.
//
// The Targets suites run on a job of the folder named by KRN_BENCH_JOB (the `krn sample --preset
// large --content dense` job of bench/targets.sh, say) and are skipped without it: the first
// complete picture of its fitted front surface from opening the files, a 1920 x 1080 viewport at
// 1:1 made cold at spread positions (95th percentile), and a pan over the whole surface at 1:1
// (peak resident memory).

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "KRN_TestPreviewInfo.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"
#include "WKRN/sheet/WKRN_SheetView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimerEvent>
#include <QWindow>

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr std::uint32_t kWidth = 4800;
constexpr std::uint32_t kHeight = 3600;

// A view that times each painting step.
class TimedView : public WKRN_SheetView
{
public:
    std::int64_t longestStepNs = 0;
    int steps = 0;

protected:
    void timerEvent(QTimerEvent* event) override
    {
        const auto start = std::chrono::steady_clock::now();
        WKRN_SheetView::timerEvent(event);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        longestStepNs = std::max<std::int64_t>(longestStepNs, ns);
        ++steps;
    }
};

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "bench_sheetview";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: a static application ends after the platform's own statics at exit and
    // crashed the process there, after every result was printed.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

// A round-dot screen over a tone that runs from light at the left to dark at the right, with
// blank margins, different for each ink.
void FillTile(unsigned ink, std::uint32_t x0, std::uint32_t y0, std::uint8_t* tile)
{
    constexpr std::uint32_t kTile = 512;
    constexpr double kPeriod = 11.0;
    const double angle = (15.0 + 30.0 * ink) * 3.14159265358979 / 180.0;
    const double c = std::cos(angle), s = std::sin(angle);
    for (std::uint32_t y = 0; y < kTile; ++y)
    {
        std::uint8_t* row = tile + std::size_t{y} * (kTile / 8);
        for (std::uint32_t x = 0; x < kTile; ++x)
        {
            const std::uint32_t px = x0 + x, py = y0 + y;
            if (px >= kWidth || py >= kHeight || px < kWidth / 20 || py < kHeight / 20 ||
                px >= kWidth - kWidth / 20 || py >= kHeight - kHeight / 20)
                continue;
            const double tone = 0.1 + 0.8 * double(px) / kWidth;
            const double u = std::fmod(std::fabs(px * c + py * s), kPeriod) / kPeriod - 0.5;
            const double v = std::fmod(std::fabs(-px * s + py * c), kPeriod) / kPeriod - 0.5;
            if (u * u + v * v < tone * 0.5)
                row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
        }
    }
}

class Job
{
public:
    Job()
    {
        m_Folder = std::filesystem::temp_directory_path() /
                   ("bench-sheetview-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_Folder);
        const char* inks[] = {"Cyan", "Black"};
        std::vector<GFIL_FileSpec> files;
        for (std::uint16_t surface = 0; surface < 2; ++surface)
        {
            for (unsigned ink = 0; ink < 2; ++ink)
            {
                TIFX_KRNWriterOptions options;
                options.resolution = 2400.0f;
                TIFX_KRNWriter writer(options);
                writer.SetMainImage(kWidth, kHeight,
                                    [ink](std::uint32_t x0, std::uint32_t y0, std::uint8_t* tile)
                                    { FillTile(ink, x0, y0, tile); });
                KRN_TestInfoSpec info;
                info.title = "Bench";
                info.surface = surface;
                info.orientation.reset();
                info.colorName = inks[ink];
                info.color = std::uint16_t(ink == 0 ? 1 : 4);
                info.pressSheetRight = std::int32_t(kWidth);
                info.pressSheetBottom = std::int32_t(kHeight);
                writer.SetDirectoryInfo(KRN_TestDirectoryInfo(info));
                const std::filesystem::path path =
                    m_Folder / (std::to_string(surface) + inks[ink] + ".tif");
                writer.Write(path.string());
                files.emplace_back(path.string());
            }
        }
        IMPN_Registry registry;
        registry.AddFiles(files, false);
        std::vector<IMPN_Sheet*> sheets;
        registry.CollectSheets(sheets);
        if (!sheets.empty())
            m_Sheet = IMPN_SheetReference(sheets.front());
    }
    ~Job()
    {
        m_Sheet.Reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_Folder, ignored);
    }

    IMPN_Sheet* Sheet() const { return m_Sheet.Get(); }

    void ReleaseTiles()
    {
        for (IMPN_Surface* surface : {&m_Sheet->GetFrontSurface(), &m_Sheet->GetBackSurface()})
            if (IMPN_SurfaceRenderer* renderer = surface->GetRenderer())
                renderer->ReleaseTiles();
    }

private:
    std::filesystem::path m_Folder;
    IMPN_SheetReference m_Sheet;
};

// Shows the view and waits until the offscreen platform exposes it: before that, nothing paints.
bool ShowExposed(QWidget& view)
{
    view.show();
    for (int round = 0; round < 200; ++round)
    {
        if (view.windowHandle() && view.windowHandle()->isExposed())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return false;
}

Job& TheJob()
{
    Application();
    static Job job;
    return job;
}

void BM_ProgressiveFitFromColdCache(benchmark::State& state)
{
    Job& job = TheJob();
    if (!job.Sheet())
    {
        state.SkipWithError("the job could not be written");
        return;
    }
    TimedView view;
    view.resize(1200, 900);
    if (!ShowExposed(view))
    {
        state.SkipWithError("the offscreen window was never exposed");
        return;
    }
    view.SetSheet(job.Sheet());
    view.SetOpacity(static_cast<int>(state.range(0)));
    std::int64_t longest = 0;
    int steps = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        job.ReleaseTiles();
        view.ZoomToLevel(3, false);
        view.longestStepNs = 0;
        view.steps = 0;
        state.ResumeTiming();

        view.FitToWindow(true);
        view.viewport()->repaint();
        while (view.IsPaintingTimerActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

        longest = std::max(longest, view.longestStepNs);
        steps = view.steps;
    }
    state.counters["level"] = view.GetLevel();
    state.counters["steps"] = steps;
    state.counters["longest_step_ms"] = double(longest) / 1e6;
}
// Opacity 100 shows the front only; 50 paints the mirrored back underneath as well.
BENCHMARK(BM_ProgressiveFitFromColdCache)
    ->Arg(100)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_DrawAtOneToOneWarm(benchmark::State& state)
{
    Job& job = TheJob();
    if (!job.Sheet())
    {
        state.SkipWithError("the job could not be written");
        return;
    }
    WKRN_SheetView view;
    view.SetTilePause({});
    view.resize(1200, 900);
    if (!ShowExposed(view))
    {
        state.SkipWithError("the offscreen window was never exposed");
        return;
    }
    view.SetSheet(job.Sheet());
    view.ZoomToLevel(3, false);
    view.ScrollTo(2000, 1500, true);
    view.viewport()->repaint();
    for (auto _ : state)
    {
        view.Redraw();
        view.viewport()->repaint();
    }
}
BENCHMARK(BM_DrawAtOneToOneWarm)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// Targets on a job of KRN_BENCH_JOB

constexpr int kUnitLevel = 3; // 1:1

std::vector<GFIL_FileSpec> BenchJobFiles()
{
    std::vector<GFIL_FileSpec> files;
    const char* folder = std::getenv("KRN_BENCH_JOB");
    if (folder == nullptr || *folder == 0)
        return files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file())
            files.emplace_back(entry.path().string());
    return files;
}

// Opens the files as the viewer does: a registry of its own, so that nothing is made yet.
IMPN_SheetReference OpenSheet(const std::vector<GFIL_FileSpec>& files)
{
    IMPN_Registry registry;
    registry.AddFiles(files, false);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    return sheets.empty() ? IMPN_SheetReference() : IMPN_SheetReference(sheets.front());
}

void ReleaseSheetTiles(IMPN_Sheet& sheet)
{
    for (IMPN_Surface* surface : {&sheet.GetFrontSurface(), &sheet.GetBackSurface()})
        if (IMPN_SurfaceRenderer* renderer = surface->GetRenderer())
            renderer->ReleaseTiles();
}

// Paints until the view's progressive painting has drawn its last slice.
void PaintToTheEnd(WKRN_SheetView& view)
{
    view.viewport()->repaint();
    while (view.IsPaintingTimerActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

double PeakResidentMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The job's sheet in an exposed offscreen 1920 x 1080 view at 1:1, the pause the view takes after
// each 1:1 tile off (so that what is timed is making and drawing tiles); false, with the
// benchmark's error set, when there is no sheet or no window.
bool ShowJobAtOneToOne(benchmark::State& state, IMPN_SheetReference& sheet, WKRN_SheetView& view)
{
    const std::vector<GFIL_FileSpec> files = BenchJobFiles();
    sheet = files.empty() ? IMPN_SheetReference() : OpenSheet(files);
    if (!sheet.Get())
    {
        state.SkipWithError("KRN_BENCH_JOB names no folder that makes a sheet");
        return false;
    }
    view.SetTilePause({});
    view.resize(1920, 1080);
    if (!ShowExposed(view))
    {
        state.SkipWithError("the offscreen window was never exposed");
        return false;
    }
    view.SetSheet(sheet.Get());
    view.ZoomToLevel(kUnitLevel, false);
    return true;
}

// Shows an offscreen 1600 x 1000 view, opens the job's files as the viewer does and shows them
// fitted in it, painted once: with the reduced-image overview, every pixel is then shown.
// Returns the milliseconds from opening to that paint, or a negative value (the benchmark's error
// set) when there is no sheet or no window.
double ShowFitted(benchmark::State& state, IMPN_SheetReference& sheet, WKRN_SheetView& view)
{
    const std::vector<GFIL_FileSpec> files = BenchJobFiles();
    if (files.empty())
    {
        state.SkipWithError("KRN_BENCH_JOB names no folder of preview files");
        return -1;
    }
    const auto start = std::chrono::steady_clock::now();
    view.resize(1600, 1000);
    if (!ShowExposed(view))
    {
        state.SkipWithError("the offscreen window was never exposed");
        return -1;
    }
    sheet = OpenSheet(files);
    if (!sheet.Get())
    {
        state.SkipWithError("the files make no sheet");
        return -1;
    }
    view.SetSheet(sheet.Get());
    view.FitToWindow(true);
    view.viewport()->repaint();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// From opening the files to every pixel of the fitted picture shown (the reduced-image overview);
// the exact tiles are not waited for.
void BM_Targets_EveryPixelFitted(benchmark::State& state)
{
    Application();
    for (auto _ : state)
    {
        IMPN_SheetReference sheet;
        WKRN_SheetView view;
        const double ms = ShowFitted(state, sheet, view);
        if (ms < 0)
            return;
        state.SetIterationTime(ms / 1000.0);
        view.SetSheet(nullptr);
    }
}
BENCHMARK(BM_Targets_EveryPixelFitted)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseManualTime();

// From opening the files to the last exact tile of the fitted picture painted.
void BM_Targets_FirstPictureFitted(benchmark::State& state)
{
    Application();
    for (auto _ : state)
    {
        IMPN_SheetReference sheet;
        WKRN_SheetView view;
        const auto start = std::chrono::steady_clock::now();
        if (ShowFitted(state, sheet, view) < 0)
            return;
        PaintToTheEnd(view);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["level"] = view.GetLevel();
        view.SetSheet(nullptr);
    }
}
BENCHMARK(BM_Targets_FirstPictureFitted)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

// A 1920 x 1080 viewport at 1:1, its tiles released before each position, at positions spread
// over the surface by a fixed sequence; the tile pause is off, so this is the time to make and
// draw the tiles.
void BM_Targets_ViewportOneToOneCold(benchmark::State& state)
{
    Application();
    IMPN_SheetReference sheet;
    WKRN_SheetView view;
    if (!ShowJobAtOneToOne(state, sheet, view))
        return;
    PaintToTheEnd(view);
    const std::int64_t spanX = std::max(1, view.GetLevelWidth() - view.ClientSize().width());
    const std::int64_t spanY = std::max(1, view.GetLevelHeight() - view.ClientSize().height());
    std::vector<double> times;
    std::uint32_t random = 12345;
    for (auto _ : state)
    {
        state.PauseTiming();
        ReleaseSheetTiles(*sheet);
        random = random * 1664525u + 1013904223u;
        const auto x = std::int32_t((random >> 8) % spanX);
        random = random * 1664525u + 1013904223u;
        const auto y = std::int32_t((random >> 8) % spanY);
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        view.ScrollTo(x, y, true);
        PaintToTheEnd(view);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    if (!times.empty())
    {
        const auto at = [&times](double q)
        { return times[std::min(times.size() - 1, std::size_t(std::ceil(q * times.size())) - 1)]; };
        state.counters["median_ms"] = at(0.5);
        state.counters["p95_ms"] = at(0.95);
    }
    view.SetSheet(nullptr);
}
BENCHMARK(BM_Targets_ViewportOneToOneCold)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40)
    ->UseRealTime();

// The whole surface at 1:1 in a 1920 x 1080 viewport, row after row of screens, each painted to
// the end: what the process holds at its peak is the memory a long pan costs.
void BM_Targets_PanWholeSurfaceOneToOne(benchmark::State& state)
{
    Application();
    IMPN_SheetReference sheet;
    WKRN_SheetView view;
    if (!ShowJobAtOneToOne(state, sheet, view))
        return;
    int screens = 0;
    for (auto _ : state)
    {
        const int stepX = view.ClientSize().width(), stepY = view.ClientSize().height();
        for (std::int32_t y = 0; y < view.GetLevelHeight(); y += stepY)
        {
            for (std::int32_t x = 0; x < view.GetLevelWidth(); x += stepX)
            {
                view.ScrollTo(x, y, true);
                PaintToTheEnd(view);
                ++screens;
            }
        }
    }
    state.counters["screens"] = screens;
    state.counters["peak_MiB"] = PeakResidentMiB();
    // What the tiles hold at the end, against the peak: the rest is not the tiles' memory.
    double tiles = 0, records = 0;
    for (IMPN_Surface* surface : {&sheet->GetFrontSurface(), &sheet->GetBackSurface()})
        if (IMPN_SurfaceRenderer* renderer = surface->GetRenderer())
        {
            tiles += double(renderer->GetCachedBytes());
            records += double(renderer->GetTileRecordCount());
        }
    state.counters["tiles_MiB"] = tiles / (1024.0 * 1024.0);
    state.counters["tile_records"] = records;
    view.SetSheet(nullptr);
}
BENCHMARK(BM_Targets_PanWholeSurfaceOneToOne)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
} // namespace
