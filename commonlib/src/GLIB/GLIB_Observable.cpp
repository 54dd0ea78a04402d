#include "GLIB/GLIB_Observable.h"

GLIB_Observable::~GLIB_Observable() = default;
