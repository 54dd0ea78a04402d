#pragma once

// Times named phases of a computation. Phases nest: while a phase is pushed on top of another, the
// time goes to the inner one only, so each phase's total is the time spent in it outside the
// phases it contains. Not thread-safe; one accumulator per object that uses it.

#include "GSTA/GSTA_AccumStats.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GSTA_Accum
{
public:
    // Phases nest at most this deep; a deeper push is refused and logged.
    static constexpr int kMaxDepth = 16;

    GSTA_Accum() = default;
    GSTA_Accum(const GSTA_Accum&) = delete;
    GSTA_Accum& operator=(const GSTA_Accum&) = delete;

    // Replaces the phases: names are indexed by phase id; totals, starts and the clock come from
    // the factory. Counts are cleared and the stack emptied.
    void Setup(const std::vector<std::string>& names, GSTA_StatsFactory factory);
    // Clears every total, start and count and empties the stack; the phases stay.
    void Reset();

    // Starts phase id, pausing the phase that was running. An unknown id or a push past the
    // deepest nesting is refused with a warning in the log; the matching Pop is then ignored.
    void Push(int id);
    // Ends the phase on top of the stack and resumes the one below. When id is not the top, a
    // warning and the stack are logged and the top is popped all the same.
    void Pop(int id);

    int PhaseCount() const { return static_cast<int>(m_names.size()); }
    const std::string& Name(int id) const { return m_names.at(static_cast<std::size_t>(id)); }
    const GSTA_AccumStats& Total(int id) const
    {
        return *m_totals.at(static_cast<std::size_t>(id));
    }
    uint32_t Count(int id) const { return m_counts.at(static_cast<std::size_t>(id)); }
    // Active phases from the bottom of the stack up.
    std::vector<int> ActivePhases() const;

    // The table of the values' kind; nothing before Setup.
    void Report(std::ostream& out) const;
    std::string ReportText() const;

private:
    std::string NameOrNumber(int id) const;

    std::vector<std::string> m_names;
    std::vector<std::unique_ptr<GSTA_AccumStats>> m_totals;
    std::vector<std::unique_ptr<GSTA_AccumStats>> m_starts;
    std::vector<uint32_t> m_counts;
    std::unique_ptr<GSTA_AccumStats> m_clock;
    int m_stack[kMaxDepth] = {};
    int m_top = -1;
    // Pushes that were refused; their pops must not end a phase that is still running.
    int m_refused = 0;
};
