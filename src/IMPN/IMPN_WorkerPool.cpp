#include "IMPN/IMPN_WorkerPool.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"

#include <atomic>
#include <exception>
#include <memory>

unsigned IMPN_WorkerPool::DefaultWorkerCount()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
}

IMPN_WorkerPool::IMPN_WorkerPool(unsigned workers)
{
    if (workers == 0)
        workers = DefaultWorkerCount();
    m_Threads.reserve(workers);
    for (unsigned i = 0; i < workers; ++i)
        m_Threads.emplace_back([this] { Run(); });
}

/* Queued tasks are dropped rather than run: whoever queued them is going away too, and a
   shutdown should not wait for a screenful of tiles nobody will look at. */
IMPN_WorkerPool::~IMPN_WorkerPool()
{
    std::deque<Task> dropped;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stopping = true;
        dropped.swap(m_Queue);
    }
    m_Wake.notify_all();
    for (std::thread& thread : m_Threads)
        thread.join();
    // The dropped tasks (and what they hold) end here, outside the lock.
}

void IMPN_WorkerPool::Submit(Task task)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Queue.push_back(std::move(task));
    }
    m_Wake.notify_one();
}

void IMPN_WorkerPool::SetFailureReport(FailureReport report)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Report = std::move(report);
}

std::size_t IMPN_WorkerPool::GetFailedCount() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Failed;
}

std::size_t IMPN_WorkerPool::GetQueuedCount() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Queue.size();
}

void IMPN_WorkerPool::Run()
{
    for (;;)
    {
        Task task;
        {
            std::unique_lock<std::mutex> lock(m_Mutex);
            m_Wake.wait(lock, [this] { return m_Stopping || !m_Queue.empty(); });
            if (m_Stopping)
                return;
            task = std::move(m_Queue.front());
            m_Queue.pop_front();
        }
        try
        {
            task();
        }
        catch (...)
        {
            // Tasks report what they can through their own results; whatever still escapes one
            // is said here, and nothing may end the worker.
            Report(std::current_exception());
        }
    }
}

void IMPN_WorkerPool::Report(const std::exception_ptr& failure) noexcept
{
    try
    {
        FailureReport report;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            ++m_Failed;
            report = m_Report;
        }
        const std::string text = GLIB_DescribeException(failure);
        if (report)
            report(text);
        else
            LogMessage(GLIB_SEVERITY_ERROR, "A worker task failed: " + text, __FILE__, __LINE__);
    }
    catch (...)
    {
        // Not even the report could be made (memory); the count above still tells.
    }
}

namespace
{
// What the calls of one ParallelFor share. Helpers still queued when the loop has ended find no
// index left and return without touching the body, which by then may be gone.
struct ForState
{
    std::atomic<std::size_t> next{0};
    std::size_t count = 0;
    const std::function<void(std::size_t)>* body = nullptr;
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t done = 0;
    std::exception_ptr error;

    void Work()
    {
        for (;;)
        {
            const std::size_t i = next.fetch_add(1);
            if (i >= count)
                return;
            std::exception_ptr caught;
            try
            {
                (*body)(i);
            }
            catch (...)
            {
                caught = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex);
            if (caught && !error)
                error = caught;
            if (++done == count)
                finished.notify_all();
        }
    }
};
} // namespace

void IMPN_WorkerPool::ParallelFor(std::size_t count, const std::function<void(std::size_t)>& body)
{
    if (count == 0)
        return;
    auto state = std::make_shared<ForState>();
    state->count = count;
    state->body = &body;
    const std::size_t helpers = std::min<std::size_t>(m_Threads.size(), count - 1);
    try
    {
        for (std::size_t i = 0; i < helpers; ++i)
            Submit([state] { state->Work(); });
    }
    catch (...)
    {
        // Fewer helpers: this thread takes what they would have done. Those already queued may
        // still be running body, so nothing returns before every call has ended, below.
    }
    state->Work();
    std::unique_lock<std::mutex> lock(state->mutex);
    state->finished.wait(lock, [&] { return state->done == state->count; });
    if (state->error)
        std::rethrow_exception(state->error);
}
