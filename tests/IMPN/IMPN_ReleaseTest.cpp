// Resources follow what is shown: a sheet holds file handles and tiles only while a view shows it,
// whoever else keeps the sheet (the job browser's registry, a palette), and the job browser's
// scan keeps nothing of the files it did not place. Descriptors are counted in /proc/self/fd.

#include "IMPN_RecordingView.h"
#include "IMPN_TreeTestFiles.h"
#include "KRN_TestDescriptors.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_RegistryScan.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{
// The process's soft limit of descriptors, lowered for one test and put back after it.
class DescriptorLimit
{
public:
    explicit DescriptorLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_NOFILE, &m_Saved);
        rlimit lowered = m_Saved;
        lowered.rlim_cur = std::min<rlim_t>(limit, m_Saved.rlim_max);
        setrlimit(RLIMIT_NOFILE, &lowered);
    }
    DescriptorLimit(const DescriptorLimit&) = delete;
    DescriptorLimit& operator=(const DescriptorLimit&) = delete;
    ~DescriptorLimit() { setrlimit(RLIMIT_NOFILE, &m_Saved); }

private:
    rlimit m_Saved{};
};

const char* const kInks[] = {"Cyan",   "Magenta", "Yellow", "Black",
                             "Orange", "Green",   "Violet", "Varnish"};

// One file of ink k of web `web` (front surface), small and blank: two source tiles across.
IMPN_TestPreview InkOf(int web, int k, const char* printTime = "2003:12:31 10:00:00")
{
    IMPN_TestPreview preview;
    preview.surface = std::uint16_t(2 * web);
    preview.colorName = kInks[k];
    preview.color = k < 4 ? std::uint16_t(k + 1) : std::uint16_t(0);
    preview.printTime = printTime;
    return preview;
}

struct BlankTarget : IMPN_DrawTarget
{
};
} // namespace

// 50 sheets of 8 inks, each shown with 32 workers making its tiles and then closed, twice over,
// under the usual limit of 1024 descriptors: every close gives back every descriptor the showing
// took, though the registry that scanned them keeps every sheet.
TEST(Release, FiftySheetsShownAndClosedTwiceGiveBackEveryDescriptor)
{
    IMPN_TestFolder folder;
    constexpr int kSheets = 50;
    for (int web = 0; web < kSheets; ++web)
        for (int k = 0; k < 8; ++k)
            folder.Write("w" + std::to_string(web) + "-" + kInks[k] + ".tif", InkOf(web, k));

    DescriptorLimit limit(1024);
    IMPN_WorkerPool pool(32);
    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    ASSERT_TRUE(IMPN_RegistryScan::Scan(folder.Path().string(), registry, record));
    ASSERT_EQ(record.validCount, kSheets * 8);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    ASSERT_EQ(sheets.size(), std::size_t(kSheets));

    const std::size_t before = KRN_TestOpenDescriptors();
    BlankTarget target;
    for (int round = 0; round < 2; ++round)
        for (IMPN_Sheet* sheet : sheets)
        {
            {
                RecordingView view;
                view.SetWorkerPool(&pool);
                view.SetSheet(sheet);
                view.DrawAll(target);
                ASSERT_EQ(view.drawn.size(), 2u) << sheet->GetName();
                EXPECT_GT(KRN_TestOpenDescriptors(), before + 8);
            }
            ASSERT_EQ(KRN_TestOpenDescriptors(), before)
                << "round " << round << ", " << sheet->GetName();
            EXPECT_EQ(sheet->GetFrontSurface().GetRenderer(), nullptr);
        }
    // A fresh registry over the same files still places every one.
    IMPN_Registry again;
    EXPECT_TRUE(IMPN_RegistryScan::Scan(folder.Path().string(), again, record));
    EXPECT_EQ(record.validCount, kSheets * 8);
    EXPECT_EQ(record.invalidCount, 0);
}

// Two views of one sheet: closing one leaves the other's tiles alone; showing the same sheet again
// in a view keeps them; closing the last lets them go, and the next view makes them again.
TEST(Release, TheSheetLetsGoOnlyWhenNoViewShowsIt)
{
    IMPN_TestFolder folder;
    std::vector<GFIL_FileSpec> files;
    for (int k = 0; k < 2; ++k)
        files.emplace_back(folder.Write(std::string(kInks[k]) + ".tif", InkOf(0, k)));
    IMPN_Registry registry;
    ASSERT_EQ(registry.AddFiles(files, true), 2);
    std::vector<IMPN_Sheet*> found;
    registry.CollectSheets(found);
    ASSERT_EQ(found.size(), 1u);
    IMPN_SheetReference sheet(found[0]);
    IMPN_Surface& front = sheet->GetFrontSurface();
    BlankTarget target;

    const std::size_t before = KRN_TestOpenDescriptors();
    RecordingView first;
    first.SetSheet(sheet.Get());
    first.DrawAll(target);
    const IMPN_SurfaceRenderer* renderer = front.GetRenderer();
    ASSERT_NE(renderer, nullptr);
    EXPECT_GT(renderer->GetCachedBytes(), 0u);
    {
        RecordingView second;
        second.SetSheet(sheet.Get());
        second.SetSheet(sheet.Get());
    }
    EXPECT_EQ(front.GetRenderer(), renderer);
    EXPECT_GT(renderer->GetCachedBytes(), 0u);
    EXPECT_EQ(sheet->GetViewerCount(), 1);

    first.SetSheet(nullptr);
    EXPECT_EQ(sheet->GetViewerCount(), 0);
    EXPECT_EQ(front.GetRenderer(), nullptr);
    EXPECT_EQ(front.GetThumbnail(), nullptr);
    EXPECT_EQ(KRN_TestOpenDescriptors(), before);
    // What the browser lists stays.
    EXPECT_EQ(front.GetSeparationCount(), 2u);
    EXPECT_EQ(sheet->GetName(), "Web 1 F[CM] - SW - UP");

    first.SetSheet(sheet.Get());
    first.DrawAll(target);
    ASSERT_NE(front.GetRenderer(), nullptr);
    EXPECT_GT(front.GetRenderer()->GetCachedBytes(), 0u);
    EXPECT_NE(front.GetThumbnail(), nullptr);
}

// The browser's scan holds no descriptor for any file: not for the files it placed, not for one
// that is no preview file, not for an ink replaced by a later print, nor for one older than the
// ink already placed.
TEST(Release, TheScanHoldsNothingOfTheFilesItRead)
{
    IMPN_TestFolder folder;
    folder.Write("a-cyan.tif", InkOf(0, 0, "2003:12:31 10:00:00"));
    folder.Write("b-cyan-later.tif", InkOf(0, 0, "2004:01:02 10:00:00"));
    folder.Write("c-cyan-earlier.tif", InkOf(0, 0, "2003:01:01 10:00:00"));
    folder.Write("d-magenta.tif", InkOf(0, 1));
    folder.WriteText("e-notes.tif", "not a preview file");

    const std::size_t before = KRN_TestOpenDescriptors();
    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    ASSERT_TRUE(IMPN_RegistryScan::Scan(folder.Path().string(), registry, record));
    EXPECT_EQ(record.validCount, 4);
    EXPECT_EQ(record.invalidCount, 1);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    ASSERT_EQ(sheets.size(), 1u);
    const IMPN_Surface& front = sheets[0]->GetFrontSurface();
    ASSERT_EQ(front.GetSeparationCount(), 2u);
    EXPECT_EQ(front.FindSeparation("Cyan")->GetPrintTime(), "2004:01:02 10:00:00");
    EXPECT_EQ(KRN_TestOpenDescriptors(), before);
}

// A scan that fails on the way, whatever it throws, ends with the reason and an empty registry.
TEST(Release, AScanThatFailsOnTheWaySaysWhyAndKeepsNothing)
{
    IMPN_TestFolder folder;
    folder.Write("a.tif", InkOf(0, 0));
    folder.Write("b.tif", InkOf(0, 1));
    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    EXPECT_FALSE(IMPN_RegistryScan::Scan(folder.Path().string(), registry, record,
                                         [](int done, int)
                                         {
                                             if (done == 2)
                                                 throw 42;
                                         }));
    EXPECT_FALSE(record.listError.empty());
    EXPECT_TRUE(registry.GetImpositions().empty());
}

// With no descriptor left, the scan names the file it could not read and why, and a sheet shown
// then draws what it can without failing and names the file it could not read, as does a sheet
// made from a list of files; once descriptors are free again all work as before.
TEST(Release, RunningOutOfDescriptorsNamesTheFileAndBreaksNothing)
{
    if (!KRN_kDescriptorsMayRunOut)
        GTEST_SKIP() << "the sanitizer's own checks need a free descriptor";
    IMPN_TestFolder folder;
    const std::string cyan = folder.Write("cyan.tif", InkOf(0, 0));
    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    ASSERT_TRUE(IMPN_RegistryScan::AddFile(registry, cyan, record));
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    ASSERT_EQ(sheets.size(), 1u);
    IMPN_WorkerPool pool(4);
    BlankTarget target;
    std::vector<IMPN_FileFailure> unreadable, leftOut;
    {
        DescriptorLimit limit(KRN_TestOpenDescriptors() + 16);
        std::vector<int> taken;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            taken.push_back(fd);
        EXPECT_FALSE(IMPN_RegistryScan::AddFile(registry, cyan, record));
        RecordingView view;
        view.SetWorkerPool(&pool);
        view.SetSheet(sheets[0]);
        view.DrawAll(target);
        unreadable = sheets[0]->GetUnreadableFiles();
        view.SetSheet(nullptr);
        const IMPN_Sheet listed({GFIL_FileSpec(cyan)}, {});
        leftOut = listed.GetLeftOutFiles();
        for (int fd : taken)
            ::close(fd);
    }
    ASSERT_EQ(record.invalidFiles, std::vector<std::string>{cyan});
    EXPECT_EQ(record.reasons[0], cyan + ": Too many open files");
    const std::vector<IMPN_FileFailure> named{{cyan, "Too many open files"}};
    EXPECT_EQ(unreadable, named);
    EXPECT_EQ(leftOut, named);

    RecordingView view;
    view.SetWorkerPool(&pool);
    view.SetSheet(sheets[0]);
    view.DrawAll(target);
    EXPECT_EQ(view.drawn.size(), 2u);
    EXPECT_TRUE(sheets[0]->GetUnreadableFiles().empty());
    EXPECT_TRUE(IMPN_Sheet({GFIL_FileSpec(cyan)}, {}).GetLeftOutFiles().empty());
    IMPN_Registry fresh;
    EXPECT_TRUE(IMPN_RegistryScan::AddFile(fresh, cyan, record));
}

// A file gone since the sheet was placed: showing the sheet names it with the reason and shows
// the others' inks, a Work & Turn sheet naming its one plate once; a sheet made from lists names
// it and keeps the rest.
TEST(Release, AFileGoneSinceThePlacingIsNamedWhenTheSheetIsShown)
{
    IMPN_TestFolder folder;
    std::vector<GFIL_FileSpec> files;
    std::string gone;
    for (int k = 0; k < 2; ++k)
    {
        IMPN_TestPreview preview = InkOf(0, k);
        preview.workStyle = 3;
        gone = folder.Write(std::string(kInks[k]) + ".tif", preview);
        files.emplace_back(gone);
    }
    IMPN_Registry registry;
    ASSERT_EQ(registry.AddFiles(files, true), 2);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    ASSERT_EQ(sheets.size(), 1u);
    std::filesystem::remove(gone);
    const std::vector<IMPN_FileFailure> named{{gone, "No such file or directory"}};

    RecordingView view;
    BlankTarget target;
    view.SetSheet(sheets[0]);
    view.DrawAll(target);
    EXPECT_EQ(view.drawn.size(), 2u);
    EXPECT_EQ(sheets[0]->GetUnreadableFiles(), named);
    EXPECT_TRUE(sheets[0]->GetFrontSurface().GetSeparation(0)->GetOpenFailure().empty());

    const IMPN_Sheet listed(files, {});
    EXPECT_EQ(listed.GetLeftOutFiles(), named);
    EXPECT_EQ(listed.GetFrontSurface().GetSeparationCount(), 1u);
}
