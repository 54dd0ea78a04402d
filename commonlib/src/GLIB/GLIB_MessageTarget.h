#pragma once

#include <cstddef>
#include <vector>

class GLIB_DispatcherState;

// Base of every receiver. It keeps one counted reference to each dispatcher it is subscribed to,
// sorted by address and without duplicates, so that a dispatcher's state outlives the sender
// while a receiver still refers to it. Destroying a target removes all its subscriptions.
class GLIB_MessageTarget
{
public:
    GLIB_MessageTarget() = default;
    // A copy is a new receiver: the subscriptions belong to the original.
    GLIB_MessageTarget(const GLIB_MessageTarget&) {}
    GLIB_MessageTarget& operator=(const GLIB_MessageTarget&) { return *this; }
    virtual ~GLIB_MessageTarget();

    // For callbacks' Attach and Detach only; application code subscribes through a dispatcher.
    // AddDispatcher returns false if the dispatcher was already known, RemoveDispatcher if it
    // was not.
    bool AddDispatcher(GLIB_DispatcherState* dispatcher);
    bool RemoveDispatcher(GLIB_DispatcherState* dispatcher);

    bool HasDispatcher(const GLIB_DispatcherState* dispatcher) const;
    std::size_t GetDispatcherCount() const { return m_dispatchers.size(); }

private:
    std::vector<GLIB_DispatcherState*> m_dispatchers;
};
