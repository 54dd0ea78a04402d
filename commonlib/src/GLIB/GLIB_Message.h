#pragma once

#include <string>

// Base of every message sent through a GLIB_MessageDispatcher. A message lives on the sender's
// stack for one send; receivers get a reference that is valid only during the call.
class GLIB_Message
{
public:
    virtual ~GLIB_Message();
    // A short text naming the event.
    virtual std::string Description() const = 0;

protected:
    GLIB_Message() = default;
    GLIB_Message(const GLIB_Message&) = default;
    GLIB_Message& operator=(const GLIB_Message&) = default;
};
