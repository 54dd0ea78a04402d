#pragma once

// The guard around a window's message handling. An exception must not unwind through the
// windowing system's dispatch, so each escape becomes a log entry naming the class:
//   GLIB_Exception       -> fatal entry with its report; GLIB_FatalException propagates
//   std::bad_alloc       -> fatal entry; GLIB_FatalException propagates
//   other std::exception -> assertion entry with its text, then the process exits with status 1
// Anything else (including GLIB_FatalException itself) passes through untouched.

#include "GLIB/GLIB_Exception.h"

#include <exception>
#include <new>

[[noreturn]] void GLIB_GuardCaught(const char* className, const GLIB_Exception& exception,
                                   const char* sourceFile, int line);
[[noreturn]] void GLIB_GuardCaught(const char* className, const std::bad_alloc& exception,
                                   const char* sourceFile, int line);
[[noreturn]] void GLIB_GuardCaught(const char* className, const std::exception& exception,
                                   const char* sourceFile, int line);

// A request for an alternate message map the class does not define: a fatal entry
// "Class <name> received unhandled message map ID <id>".
[[noreturn]] void GLIB_UnhandledMessageMap(const char* className, unsigned long id,
                                           const char* sourceFile, int line);

template <class Body>
decltype(auto) GLIB_GuardMessage(const char* className, const char* sourceFile, int line,
                                 Body&& body)
{
    try
    {
        return body();
    }
    catch (const GLIB_Exception& exception)
    {
        GLIB_GuardCaught(className, exception, sourceFile, line);
    }
    catch (const std::bad_alloc& exception)
    {
        GLIB_GuardCaught(className, exception, sourceFile, line);
    }
    catch (const std::exception& exception)
    {
        GLIB_GuardCaught(className, exception, sourceFile, line);
    }
}
