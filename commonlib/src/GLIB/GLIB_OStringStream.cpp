#include "GLIB/GLIB_OStringStream.h"

GLIB_OStringStream::~GLIB_OStringStream() = default;
GLIB_WOStringStream::~GLIB_WOStringStream() = default;
