#include "WKRN/coverage/WKRN_CoverageWorker.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "IMPN/IMPN_CellCoverage.h"
#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <QMetaObject>

#include <algorithm>
#include <exception>

bool WKRN_CoverageWorker::Context::Stopped() const
{
    return m_Stop->load(std::memory_order_relaxed);
}

void WKRN_CoverageWorker::Context::Deliver(std::function<void()> result) const
{
    if (Stopped())
        return;
    WKRN_CoverageWorker* worker = m_Worker;
    const int lane = m_Lane;
    const std::uint64_t generation = m_Generation;
    // Queued to the worker object: Qt drops the call when the worker is gone by then.
    QMetaObject::invokeMethod(
        worker,
        [worker, lane, generation, result = std::move(result)]
        {
            if (worker->IsCurrent(lane, generation))
                result();
        },
        Qt::QueuedConnection);
}

WKRN_CoverageWorker::WKRN_CoverageWorker(std::unique_ptr<IMPN_InkCoverage> counter,
                                         std::vector<std::string> paths, QObject* parent)
    : QObject(parent), m_Counter(std::move(counter)), m_Paths(std::move(paths))
{
    m_Width = m_Counter->GetImageWidth();
    m_Length = m_Counter->GetImageLength();
    m_TileWidth = m_Counter->GetTileWidth();
    m_TileLength = m_Counter->GetTileLength();
    m_InkCount = m_Counter->GetInkCount();
    m_Thread = std::thread([this] { Run(); });
}

WKRN_CoverageWorker::~WKRN_CoverageWorker()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Ending = true;
        for (auto& [lane, stop] : m_Running)
            stop->store(true);
        m_Queue.clear();
    }
    m_Wake.notify_all();
    m_Thread.join();
}

WKRN_CoverageWorker::CellCounting WKRN_CoverageWorker::CellCounters()
{
    if (!m_CellsMade)
    {
        // This thread counts its share beside the pool's workers: one reader each.
        const unsigned threads = IMPN_WorkerPool::DefaultWorkerCount();
        if (threads > 1)
            m_Pool = std::make_unique<IMPN_WorkerPool>(threads - 1);
        for (const std::string& path : m_Paths)
            m_Cells.push_back(std::make_unique<IMPN_CellCoverage>(path, threads));
        m_CellsMade = true;
    }
    CellCounting counting;
    counting.pool = m_Pool.get();
    for (const auto& cells : m_Cells)
        counting.inks.push_back(cells.get());
    return counting;
}

bool WKRN_CoverageWorker::IsCurrent(int lane, std::uint64_t generation) const
{
    const auto found = m_Generations.find(lane);
    return found != m_Generations.end() && found->second == generation;
}

void WKRN_CoverageWorker::Submit(int lane, Job job)
{
    const std::uint64_t generation = ++m_Generations[lane];
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Queue.erase(std::remove_if(m_Queue.begin(), m_Queue.end(),
                                     [lane](const Pending& p) { return p.lane == lane; }),
                      m_Queue.end());
        if (auto running = m_Running.find(lane); running != m_Running.end())
            running->second->store(true);
        if (job)
            m_Queue.push_back(
                {lane, generation, std::move(job), std::make_shared<std::atomic<bool>>(false)});
    }
    m_Wake.notify_one();
}

void WKRN_CoverageWorker::Cancel(int lane)
{
    Submit(lane, Job());
}

void WKRN_CoverageWorker::Run()
{
    for (;;)
    {
        Pending next;
        {
            std::unique_lock<std::mutex> lock(m_Mutex);
            m_Wake.wait(lock, [this] { return m_Ending || !m_Queue.empty(); });
            if (m_Ending)
                return;
            auto first = std::min_element(m_Queue.begin(), m_Queue.end(),
                                          [](const Pending& a, const Pending& b)
                                          { return a.lane < b.lane; });
            next = std::move(*first);
            m_Queue.erase(first);
            m_Running[next.lane] = next.stop;
        }
        Context context;
        context.m_Worker = this;
        context.m_Lane = next.lane;
        context.m_Generation = next.generation;
        context.m_Stop = next.stop;
        try
        {
            next.job(*m_Counter, context);
        }
        catch (...)
        {
            // The job delivers nothing; the tools go on without it and say why.
            ReportFailure(context, std::current_exception());
        }
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Running.erase(next.lane);
    }
}

void WKRN_CoverageWorker::ReportFailure(const Context& context,
                                        const std::exception_ptr& failure) noexcept
{
    try
    {
        const std::string text = GLIB_DescribeException(failure);
        LogMessage(GLIB_SEVERITY_ERROR, "Ink coverage could not be counted: " + text, __FILE__,
                   __LINE__);
        const int lane = context.m_Lane;
        const QString what = QString::fromStdString(text);
        context.Deliver([this, lane, what] { emit Failed(lane, what); });
    }
    catch (...)
    {
        // Not even the report could be made (memory): the job still ends here.
    }
}
