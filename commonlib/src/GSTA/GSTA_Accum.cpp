#include "GSTA/GSTA_Accum.h"

#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_OStringStream.h"

namespace
{

// Logged under the class's own name so that entries read the same wherever the source lives.
constexpr const char* kSource = "GSTA_Accum";

} // namespace

void GSTA_Accum::Setup(const std::vector<std::string>& names, GSTA_StatsFactory factory)
{
    m_totals.clear();
    m_starts.clear();
    m_clock.reset();
    m_names = names;
    for (std::size_t i = 0; i < m_names.size(); ++i)
    {
        m_totals.push_back(factory());
        m_starts.push_back(factory());
    }
    m_clock = factory();
    m_counts.assign(m_names.size(), 0);
    m_top = -1;
    m_refused = 0;
}

void GSTA_Accum::Reset()
{
    for (auto& total : m_totals)
        total->Reset();
    for (auto& start : m_starts)
        start->Reset();
    m_counts.assign(m_names.size(), 0);
    m_top = -1;
    m_refused = 0;
}

std::string GSTA_Accum::NameOrNumber(int id) const
{
    if (id >= 0 && id < PhaseCount())
        return m_names[static_cast<std::size_t>(id)];
    GLIB_OStringStream text;
    text << "#" << id;
    return text.str();
}

void GSTA_Accum::Push(int id)
{
    if (!m_clock || id < 0 || id >= PhaseCount() || m_top + 1 >= kMaxDepth || m_refused > 0)
    {
        // Once a push is refused, deeper ones are too, so that pops pair with refusals in order.
        GLIB_OStringStream text;
        if (!m_clock || id < 0 || id >= PhaseCount())
            text << "GSTA_Accum::Push refused an unknown phase " << NameOrNumber(id);
        else
            text << "GSTA_Accum::Push refused " << NameOrNumber(id) << ": phases nest at most "
                 << kMaxDepth << " deep";
        LogMessage(3, text.str(), kSource, __LINE__);
        ++m_refused;
        return;
    }
    m_clock->Sample();
    if (m_top >= 0)
    {
        const auto p = static_cast<std::size_t>(m_stack[m_top]);
        m_totals[p]->Add(*m_clock);
        m_totals[p]->Subtract(*m_starts[p]);
        m_starts[p]->Assign(*m_clock);
    }
    m_stack[++m_top] = id;
    const auto i = static_cast<std::size_t>(id);
    m_counts[i] += 1;
    m_starts[i]->Assign(*m_clock);
}

void GSTA_Accum::Pop(int id)
{
    if (m_refused > 0)
    {
        --m_refused;
        return;
    }
    if (m_top < 0)
    {
        LogMessage(3, "GSTA_Accum::Pop expecting to pop " + NameOrNumber(id) + " on an empty stack",
                   kSource, __LINE__);
        return;
    }
    if (m_stack[m_top] != id)
    {
        LogMessage(3, "GSTA_Accum::Pop expecting to pop " + NameOrNumber(id), kSource, __LINE__);
        GLIB_OStringStream depth;
        depth << "  Accum stack contains " << (m_top + 1) << " items.";
        LogMessage(6, depth.str(), kSource, __LINE__);
        for (int i = m_top; i >= 0; --i)
        {
            GLIB_OStringStream entry;
            entry << "  Accum[ " << i << " ] = " << NameOrNumber(m_stack[i]);
            LogMessage(6, entry.str(), kSource, __LINE__);
        }
    }
    m_clock->Sample();
    const auto t = static_cast<std::size_t>(m_stack[m_top]);
    m_totals[t]->Add(*m_clock);
    m_totals[t]->Subtract(*m_starts[t]);
    m_starts[t]->Assign(*m_clock);
    --m_top;
    if (m_top >= 0)
        m_starts[static_cast<std::size_t>(m_stack[m_top])]->Assign(*m_clock);
}

std::vector<int> GSTA_Accum::ActivePhases() const
{
    return std::vector<int>(m_stack, m_stack + (m_top + 1));
}

void GSTA_Accum::Report(std::ostream& out) const
{
    if (m_clock)
        m_clock->Report(out, *this);
}

std::string GSTA_Accum::ReportText() const
{
    GLIB_OStringStream text;
    Report(text);
    return text.str();
}
