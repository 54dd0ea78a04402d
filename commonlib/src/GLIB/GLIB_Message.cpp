#include "GLIB/GLIB_Message.h"

#include "GLIB/GLIB_CallbackBase.h"
#include "GLIB/GLIB_GlobalsMessage.h"

GLIB_Message::~GLIB_Message() = default;

GLIB_CallbackBase::~GLIB_CallbackBase() = default;

std::string GLIB_GlobalsMessage::Description() const
{
    return "GLIB_GlobalsMessage";
}
