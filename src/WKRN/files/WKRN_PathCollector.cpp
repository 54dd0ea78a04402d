#include "WKRN/files/WKRN_PathCollector.h"

WKRN_PathCollector::Action WKRN_PathCollector::Receive(const std::vector<std::wstring>& paths,
                                                       std::uint32_t now)
{
    if (paths.empty())
        return Action::None;

    if (paths.size() > 1)
    {
        // A multi-file hand-over replaces whatever a collection gathered so far.
        m_collecting = false;
        m_pending = paths;
        return Action::OpenNow;
    }

    if (!m_collecting)
    {
        m_collecting = true;
        m_pending.clear();
        m_pending.push_back(paths.front());
        m_accumulated = 0;
        m_average = 0;
    }
    else
    {
        m_pending.push_back(paths.front());
        if (now >= m_lastArrival)
            m_accumulated += now - m_lastArrival;
        else
            m_accumulated += (0xFFFFFFFFu - m_lastArrival) + now;
        m_average = m_accumulated / static_cast<std::uint32_t>(m_pending.size() - 1);
    }
    m_lastArrival = now;
    return Action::StartTimer;
}

bool WKRN_PathCollector::TimerFired(std::uint32_t now)
{
    if (!m_collecting)
        return false;
    const std::uint32_t quiet = now - m_lastArrival;
    // Twenty averages can exceed 32 bits after days between arrivals; compare in 64 bits.
    if (std::uint64_t(quiet) > 20ull * m_average)
    {
        m_collecting = false;
        return true;
    }
    return false;
}
