// The job browser scanning a folder of 1,000 preview files in its window on an offscreen display:
// 200 four-ink sheets of small pages (50 signatures of four webs) written once by the preview-file
// writer. Reported: the time for the whole scan with the first-level rows made, and the longest
// stretch between two repaint chances of the window (the window is given one after every file),
// which is what decides whether the window stays alive while a big job folder is read.
// KRN_BENCH_FILES sets another number of files.

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/browser/WKRN_RegistryBrowser.h"
#include "WKRN/browser/WKRN_RegistryWindow.h"

#include "KRN_TestPreviewInfo.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

int FileCount()
{
    const char* text = std::getenv("KRN_BENCH_FILES");
    const int count = text != nullptr ? std::atoi(text) : 1000;
    return std::max(4, count);
}

// One ink of one surface; four inks per sheet, front only, four webs per signature.
void WriteFile(const fs::path& folder, int index)
{
    static const char* const inks[] = {"Cyan", "Magenta", "Yellow", "Black"};
    const int ink = index % 4;
    const int sheet = index / 4;
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
    options.reducedScale = 8;
    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(256, 128, std::vector<std::uint8_t>(32 * 128, std::uint8_t(0x11 << ink)));
    KRN_TestInfoSpec info;
    info.title = "Bench Job";
    info.signature = std::uint16_t(1 + sheet / 4);
    info.surface = std::uint16_t(2 * (sheet % 4));
    info.orientation.reset();
    info.colorName = inks[ink];
    info.color = std::uint16_t(ink + 1);
    info.printTime = "2026:12:08 10:" + std::to_string(10 + sheet % 50) + ":00";
    info.pressSheetRight = 256;
    info.pressSheetBottom = 128;
    writer.SetDirectoryInfo(KRN_TestDirectoryInfo(info));
    char name[64];
    std::snprintf(name, sizeof name, "job_%04d_%s.tif", index, inks[ink]);
    writer.Write((folder / name).string());
}

struct Folder
{
    Folder()
    {
        path = fs::temp_directory_path() / ("krn_bench_browse_" + std::to_string(getpid()));
        fs::create_directories(path);
        for (int i = 0; i < FileCount(); ++i)
            WriteFile(path, i);
    }
    ~Folder() { fs::remove_all(path); }
    fs::path path;
};

// Measures the longest time between two file-processed messages of one scan.
class GapMeter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (WTLU_MessageEvent::IsMessage(event))
        {
            const int message = static_cast<WTLU_MessageEvent*>(event)->Message();
            if (message == BROWSERMSG_SCAN_STARTED)
                clock.start();
            else if (message == BROWSERMSG_FILE_PROCESSED || message == BROWSERMSG_SCAN_FINISHED)
            {
                longest = std::max(longest, clock.nsecsElapsed());
                clock.restart();
                ++files;
            }
        }
        return false;
    }
    QElapsedTimer clock;
    qint64 longest = 0;
    int files = 0;
};

void BM_ScanFolder(benchmark::State& state)
{
    static Folder folder;
    WKRN_RegistryWindow window;
    window.show();
    GapMeter meter;
    window.installEventFilter(&meter);
    const QString path = QString::fromStdString(folder.path.string());
    for (auto _ : state)
        window.ScanFolder(path);
    state.counters["files"] = double(window.Folder().validCount + window.Folder().invalidCount);
    state.counters["longest_gap_ms"] = double(meter.longest) / 1e6;
    state.counters["rows"] = double(window.Browser()->Children({}).size());
}
BENCHMARK(BM_ScanFolder)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
