#pragma once
// The rule by which handed-over paths are gathered before they are opened. A file manager starts
// one process per selected file, so single-file hand-overs arrive in a burst: they are collected
// until the burst stops, that is until more than twenty times the average interval between
// arrivals has passed without a new one. A hand-over of several files is opened at once.
//
// Tick counts are unsigned 32-bit milliseconds. The time since the last arrival wraps as unsigned
// arithmetic does; the accumulated arrival time adds the wrapped difference minus one when the
// count wrapped between two arrivals, which is how the interval has always been measured.

#include <cstdint>
#include <string>
#include <vector>

class WKRN_PathCollector
{
public:
    enum class Action
    {
        None,       // nothing to do (no path handed over)
        OpenNow,    // open the pending files at once
        StartTimer, // (re)start the collection timer
    };

    // The arguments after the program path of one hand-over.
    Action Receive(const std::vector<std::wstring>& paths, std::uint32_t now);

    // The collection timer fired: true when the pending files are to be opened now (the
    // collection has ended and the timer is to be stopped).
    bool TimerFired(std::uint32_t now);

    const std::vector<std::wstring>& Pending() const { return m_pending; }
    bool Collecting() const { return m_collecting; }
    std::uint32_t AccumulatedTime() const { return m_accumulated; }
    std::uint32_t AverageInterval() const { return m_average; }
    std::uint32_t LastArrival() const { return m_lastArrival; }

private:
    std::vector<std::wstring> m_pending;
    bool m_collecting = false;
    std::uint32_t m_accumulated = 0;
    std::uint32_t m_average = 0;
    std::uint32_t m_lastArrival = 0;
};
