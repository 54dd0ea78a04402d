#pragma once
// Counts ink coverage of one surface away from the user-interface thread. The worker owns a
// coverage counter over readers of its own (never the renderer's), runs one job at a time on its
// thread, and hands results back to the user-interface thread, where they run only while the job
// is still the latest of its lane: a new job replaces a waiting one of the same lane and asks a
// running one to stop, so a stale reading never reaches the screen.
//
// Lanes are priorities as well: the waiting job of the lowest lane runs first, so that a
// densitometer reading is never queued behind a long count.
//
// A job that throws, whatever it throws, ends as a failure of that job: it is logged and, while
// the job is still current, said through Failed on the user-interface thread. The worker goes on
// with the next job.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class IMPN_CellCoverage;
class IMPN_InkCoverage;
class IMPN_WorkerPool;

class WKRN_CoverageWorker : public QObject
{
    Q_OBJECT
public:
    enum Lane : int
    {
        PinLane = 0,     // densitometer readings the user clicked
        ReadingLane = 1, // the densitometer while it hovers
        OverlayLane = 2, // the ink-limit overlay
        ZonesLane = 3,   // an ink-zone profile
    };

    // What a job sees of the worker while it runs (on the worker's thread).
    class Context
    {
    public:
        // True once a newer job of the lane came or the worker is ending.
        bool Stopped() const;
        // Runs `result` on the user-interface thread if the job is still current by then.
        void Deliver(std::function<void()> result) const;

    private:
        friend class WKRN_CoverageWorker;
        WKRN_CoverageWorker* m_Worker = nullptr;
        int m_Lane = 0;
        std::uint64_t m_Generation = 0;
        std::shared_ptr<std::atomic<bool>> m_Stop;
    };
    using Job = std::function<void(IMPN_InkCoverage& counter, const Context& context)>;

    // The counter must have been made on the user-interface thread (its readers open there).
    // paths: the inks' preview files, for the cell counters.
    explicit WKRN_CoverageWorker(std::unique_ptr<IMPN_InkCoverage> counter,
                                 std::vector<std::string> paths = {}, QObject* parent = nullptr);
    ~WKRN_CoverageWorker() override;

    // Cell counters of the inks (one per path, in order) and the pool they count on (null on a
    // single core), made at the first call on the user-interface thread, where their files open;
    // jobs then use them on the worker's thread.
    struct CellCounting
    {
        IMPN_WorkerPool* pool = nullptr;
        std::vector<IMPN_CellCoverage*> inks;
    };
    CellCounting CellCounters();

    // Queues a job in its lane, superseding the lane's waiting and running jobs.
    void Submit(int lane, Job job);
    // Supersedes the lane's jobs without a new one.
    void Cancel(int lane);

    // The counted picture, fixed for the worker's life (readable on any thread).
    std::uint32_t ImageWidth() const { return m_Width; }
    std::uint32_t ImageLength() const { return m_Length; }
    std::uint32_t TileWidth() const { return m_TileWidth; }
    std::uint32_t TileLength() const { return m_TileLength; }
    std::size_t InkCount() const { return m_InkCount; }

signals:
    // A job of the lane ended by throwing; what it threw, as text.
    void Failed(int lane, const QString& what);

private:
    struct Pending
    {
        int lane;
        std::uint64_t generation;
        Job job;
        std::shared_ptr<std::atomic<bool>> stop;
    };

    void Run();
    void ReportFailure(const Context& context, const std::exception_ptr& failure) noexcept;
    bool IsCurrent(int lane, std::uint64_t generation) const;

    std::unique_ptr<IMPN_InkCoverage> m_Counter;
    std::vector<std::string> m_Paths;
    std::unique_ptr<IMPN_WorkerPool> m_Pool;
    std::vector<std::unique_ptr<IMPN_CellCoverage>> m_Cells;
    bool m_CellsMade = false;
    std::uint32_t m_Width = 0, m_Length = 0, m_TileWidth = 0, m_TileLength = 0;
    std::size_t m_InkCount = 0;

    // Touched on the user-interface thread only.
    std::map<int, std::uint64_t> m_Generations;

    mutable std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::deque<Pending> m_Queue;
    std::map<int, std::shared_ptr<std::atomic<bool>>> m_Running;
    bool m_Ending = false;
    std::thread m_Thread;
};
