#pragma once

#include "GLIB/GLIB_Memory.h"

class GLIB_DispatcherState;
class GLIB_Message;
class GLIB_MessageTarget;

// One subscription: a target object, one of its member functions and the message class it takes.
// A callback is made with new (tracked allocation) and handed to a dispatcher, which owns it.
class GLIB_CallbackBase : public GLIB_TrackedObject
{
public:
    virtual ~GLIB_CallbackBase();

    // Tells the target that it is subscribed to this dispatcher; true if it did not know yet.
    virtual bool Attach(GLIB_DispatcherState& dispatcher) = 0;
    // Tells the target that this dispatcher no longer delivers to it; true if it knew it.
    virtual bool Detach(GLIB_DispatcherState& dispatcher) = 0;
    // True when the message's dynamic type is exactly the subscribed class (not a derived one).
    virtual bool Accepts(const GLIB_Message& message) const = 0;
    // Calls the member function. Must not touch the callback after the call: the receiver may
    // have unsubscribed itself, which deletes this callback.
    virtual void Invoke(const GLIB_Message& message) = 0;
    virtual bool IsFor(const GLIB_MessageTarget* target) const = 0;

protected:
    GLIB_CallbackBase() = default;
    GLIB_CallbackBase(const GLIB_CallbackBase&) = delete;
    GLIB_CallbackBase& operator=(const GLIB_CallbackBase&) = delete;
};
