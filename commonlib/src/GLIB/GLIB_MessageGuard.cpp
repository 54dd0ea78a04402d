#include "GLIB/GLIB_MessageGuard.h"

#include "GLIB/GLIB_Log.h"

#include <cstdlib>
#include <string>

namespace
{
std::string Prefix(const char* className)
{
    return std::string("Class ") + (className ? className : "");
}
} // namespace

void GLIB_GuardCaught(const char* className, const GLIB_Exception& exception,
                      const char* sourceFile, int line)
{
    LogMessage(GLIB_SEVERITY_FATAL,
               Prefix(className) + " caught unhandled GLIB_Exception: " + exception.ReportNarrow(),
               sourceFile, line);
    // A replaced log handler cannot stop the fatal exception; this is never reached.
    std::abort();
}

void GLIB_GuardCaught(const char* className, const std::bad_alloc&, const char* sourceFile,
                      int line)
{
    LogMessage(GLIB_SEVERITY_FATAL, Prefix(className) + " caught unhandled std::bad_alloc",
               sourceFile, line);
    std::abort();
}

void GLIB_GuardCaught(const char* className, const std::exception& exception,
                      const char* sourceFile, int line)
{
    LogMessage(GLIB_SEVERITY_ASSERT,
               Prefix(className) + " caught unhandled CRT exception: " + exception.what(),
               sourceFile, line);
    std::exit(1);
}

void GLIB_UnhandledMessageMap(const char* className, unsigned long id, const char* sourceFile,
                              int line)
{
    LogMessage(GLIB_SEVERITY_FATAL,
               Prefix(className) + " received unhandled message map ID " + std::to_string(id),
               sourceFile, line);
    std::abort();
}
