#include "GLIB/GLIB_MessageTarget.h"

#include "GLIB/GLIB_MessageDispatcher.h"

#include <algorithm>
#include <functional>

namespace
{
// Address order through std::less, which is a total order even for unrelated objects.
auto FindPlace(std::vector<GLIB_DispatcherState*>& set, const GLIB_DispatcherState* dispatcher)
{
    return std::lower_bound(set.begin(), set.end(), dispatcher, std::less<const void*>());
}
} // namespace

GLIB_MessageTarget::~GLIB_MessageTarget()
{
    while (!m_dispatchers.empty())
    {
        // Hold the state while its dispatcher drops this target: that removes the entry (and
        // its reference) from the set, which could otherwise free the state under the call.
        GLIB_DispatcherState* state = m_dispatchers.front();
        state->AddReference();
        state->RemoveTarget(this);
        // A dispatcher that had no callback left for this target still sits in the set.
        if (!m_dispatchers.empty() && m_dispatchers.front() == state)
        {
            m_dispatchers.erase(m_dispatchers.begin());
            state->Release();
        }
        state->Release();
    }
}

bool GLIB_MessageTarget::AddDispatcher(GLIB_DispatcherState* dispatcher)
{
    auto place = FindPlace(m_dispatchers, dispatcher);
    if (place != m_dispatchers.end() && *place == dispatcher)
        return false;
    m_dispatchers.insert(place, dispatcher);
    dispatcher->AddReference();
    return true;
}

bool GLIB_MessageTarget::RemoveDispatcher(GLIB_DispatcherState* dispatcher)
{
    auto place = FindPlace(m_dispatchers, dispatcher);
    if (place == m_dispatchers.end() || *place != dispatcher)
        return false;
    m_dispatchers.erase(place);
    dispatcher->Release();
    return true;
}

bool GLIB_MessageTarget::HasDispatcher(const GLIB_DispatcherState* dispatcher) const
{
    return std::binary_search(m_dispatchers.begin(), m_dispatchers.end(), dispatcher,
                              std::less<const void*>());
}
