#pragma once
// A small pool of worker threads that runs tasks in the order they were submitted. The model is
// owned by one thread (the user-interface thread, or the command-line tool's main thread); the
// pool exists so that decoding and counting source tiles, which dominate the time of every
// picture, can use more than one core without the model being locked anywhere. Tasks therefore
// must touch only what they own or what nobody changes while they run, and hand results back
// through a queue the owning thread drains (see IMPN_SurfaceRenderer).
//
// The destructor drops the tasks not yet started and joins every worker after the tasks
// running finish, so no thread outlives the pool. A task that throws, whatever it throws, ends
// nothing but itself: the failure is counted and reported (see SetFailureReport).

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class IMPN_WorkerPool
{
public:
    using Task = std::function<void()>;

    // The number of workers a pool gets by default: the processor's cores, at least 1.
    static unsigned DefaultWorkerCount();

    // workers: 0 takes DefaultWorkerCount(). The threads start at once.
    explicit IMPN_WorkerPool(unsigned workers = 0);
    IMPN_WorkerPool(const IMPN_WorkerPool&) = delete;
    IMPN_WorkerPool& operator=(const IMPN_WorkerPool&) = delete;
    ~IMPN_WorkerPool();

    unsigned GetWorkerCount() const { return static_cast<unsigned>(m_Threads.size()); }

    // Queues a task; it runs on one of the workers.
    void Submit(Task task);

    // Runs count calls of body(i), i in 0..count-1, spread over the workers, and returns when all
    // have ended; the calling thread takes its share too, so it never idles while it waits. The
    // first exception a call throws is rethrown here after every call has ended. Helpers that
    // cannot be queued (memory) leave their share to the calling thread; no helper calls body
    // once this has returned, however it returns.
    void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& body);

    // Where the failure of a submitted task goes, called on the worker with the failure's text
    // (GLIB_DescribeException). The default logs it as an error. Set it before submitting.
    using FailureReport = std::function<void(const std::string& what)>;
    void SetFailureReport(FailureReport report);
    // Submitted tasks that ended by throwing.
    std::size_t GetFailedCount() const;

    // Tasks queued and not yet started.
    std::size_t GetQueuedCount() const;

private:
    void Run();
    void Report(const std::exception_ptr& failure) noexcept;

    mutable std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::deque<Task> m_Queue;
    bool m_Stopping = false;
    FailureReport m_Report;
    std::size_t m_Failed = 0;
    std::vector<std::thread> m_Threads;
};
