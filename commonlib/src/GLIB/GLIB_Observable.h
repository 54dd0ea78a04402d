#pragma once

#include "GLIB/GLIB_MessageDispatcher.h"

// Base of objects that announce events: outsiders subscribe and unsubscribe, the derived class
// sends.
class GLIB_Observable
{
public:
    GLIB_Observable() = default;
    // A copy announces its own events: it gets a fresh dispatcher, not the original's receivers.
    GLIB_Observable(const GLIB_Observable&) {}
    GLIB_Observable& operator=(const GLIB_Observable&) { return *this; }
    virtual ~GLIB_Observable();

    void AddCallback(GLIB_CallbackBase* callback) { m_dispatcher.AddCallback(callback); }
    bool RemoveTarget(GLIB_MessageTarget* target) { return m_dispatcher.RemoveTarget(target); }
    bool RemoveTarget(GLIB_MessageTarget* target, const GLIB_Message& message)
    {
        return m_dispatcher.RemoveTarget(target, message);
    }

protected:
    void Send(const GLIB_Message& message) { m_dispatcher.Send(message); }
    GLIB_MessageDispatcher& GetDispatcher() { return m_dispatcher; }

private:
    GLIB_MessageDispatcher m_dispatcher;
};
