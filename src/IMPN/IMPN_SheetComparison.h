#pragma once
// The comparison of the sheet a job window shows with the same sheet of another version of the
// job, for the viewer. The shown sheet is the new version: added pixels are those it inks and the
// other version does not. Once its pictures are shown, each surface of the shown sheet shows the
// comparison picture instead of its own (IMPN_CompareInk through the surface renderer, so at
// every zoom level and with the surface's hidden inks left out); the other version's files are
// open only between Begin and End.
//
// The counting itself is split into tasks, one a separation (a work-and-turn sheet's surfaces
// share theirs), that may run on another thread: the owner opens everything in Begin, a worker
// runs each task (RunTask), and the owner adopts its results (FinishTask). Until then a task's
// results are not read; the pictures need no task, as they compare tiles on their own and share
// what either found.

#include "IMPN/IMPN_CompareInk.h"
#include "IMPN/IMPN_Rect.h"
#include "IMPN/IMPN_SheetReference.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IMPN_Registry;
class IMPN_SeparationDifference;
class IMPN_Separation;
class IMPN_SurfaceRenderer;
class IMPN_TilePairStates;
class IMPN_WorkerPool;

class IMPN_SheetComparison
{
public:
    // shown: the window's sheet; other: the other version's files, placed, kept while the
    // comparison lives. The other version's sheet is the one of the same identity (title,
    // signature, web); look must outlive the comparison.
    IMPN_SheetComparison(IMPN_Sheet& shown, std::unique_ptr<IMPN_Registry> other,
                         const IMPN_CompareLook& look);
    ~IMPN_SheetComparison();
    IMPN_SheetComparison(const IMPN_SheetComparison&) = delete;
    IMPN_SheetComparison& operator=(const IMPN_SheetComparison&) = delete;

    IMPN_Sheet* GetShownSheet() const { return m_Shown.Get(); }
    // Null when the other version has no sheet of the shown one's identity.
    IMPN_Sheet* GetOtherSheet() const { return m_Other.Get(); }

    // Opens the readers (threads for each separation's count). False, with nothing changed,
    // without an other sheet or when already begun.
    bool Begin(unsigned threads);
    bool IsBegun() const { return m_Begun; }
    // Puts the comparison pictures in place of the surfaces' own (once, after Begin). A picture
    // shown before its separations are counted compares its tiles itself, so the viewer shows
    // it once the surface facing the viewer is counted: the count is then not slowed by the
    // picture, and the picture finds every tile's state known.
    void ShowPictures();
    bool ShowsPictures() const { return m_Showing; }
    // Every task of a surface (0 front, 1 back) is finished.
    bool IsSideCounted(int side) const;
    // The surfaces' own pictures again, every file of the other version closed. No task may be
    // running.
    void End();

    // The counting work: one task a distinct pair of files, those of `firstSide` (0 front,
    // 1 back) first.
    std::vector<std::size_t> TaskOrder(int firstSide) const;
    std::size_t GetTaskCount() const { return m_Tasks.size(); }
    // Counts task i on the calling thread, with the pool's workers; stop is looked at between
    // tile rows. Each task runs once, on one thread at a time.
    void RunTask(std::size_t i, IMPN_WorkerPool* pool, const std::atomic<bool>* stop);
    // Makes task i's results count, on the owner's thread, once RunTask has returned.
    void FinishTask(std::size_t i);
    std::size_t GetFinishedCount() const;

    // What one surface's comparison shows, from the finished tasks of its visible inks (inks of
    // the other version alone always count).
    struct Summary
    {
        std::uint64_t added = 0;
        std::uint64_t removed = 0;
        std::vector<IMPN_Rect> regions; // device pixels, in order
        std::size_t inks = 0;           // inks of the surface in either version
        std::size_t pending = 0;        // of them, not counted yet
        std::size_t oneVersionOnly = 0; // in one version only
        std::size_t notComparable = 0;  // of different sizes, or unreadable
        std::vector<std::string> warnings;
    };
    Summary Summarize(int side) const;

    // The comparison colours changed: the pictures are made again.
    void LookChanged();

private:
    struct Task;
    struct Ink
    {
        IMPN_Separation* shown = nullptr; // null: the other version alone
        IMPN_Separation* other = nullptr; // null: the shown version alone
        Task* task = nullptr;
    };

    IMPN_SheetReference m_Shown;
    std::unique_ptr<IMPN_Registry> m_Registry;
    IMPN_SheetReference m_Other;
    const IMPN_CompareLook& m_Look;
    std::vector<std::unique_ptr<Task>> m_Tasks;
    std::vector<Ink> m_Inks[2];
    std::unique_ptr<IMPN_SurfaceRenderer> m_Renderers[2];
    bool m_Begun = false;
    bool m_Showing = false;
};
