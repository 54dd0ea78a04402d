#include "GLIB/GLIB_Log.h"

#include "GLIB/GLIB_FatalException.h"
#include "GLIB/GLIB_Globals.h"
#include "GLIB/GLIB_String.h"

void LogMessage(int severity, const std::wstring& text, const char* sourceFile, int line)
{
    const char* file = sourceFile ? sourceFile : "";
    GLIB_Globals::Instance().Log(severity, text, file, line);
    if (severity == GLIB_SEVERITY_FATAL)
        throw GLIB_FatalException(text);
}

void LogMessage(int severity, const char* text, const char* sourceFile, int line)
{
    LogMessage(severity, ToWide(text), sourceFile, line);
}

void LogMessage(int severity, const wchar_t* text, const char* sourceFile, int line)
{
    LogMessage(severity, std::wstring(text ? text : L""), sourceFile, line);
}

void LogMessage(int severity, const std::string& text, const char* sourceFile, int line)
{
    LogMessage(severity, ToWide(text), sourceFile, line);
}

const char* SeverityName(int severity)
{
    switch (severity)
    {
    case GLIB_SEVERITY_FATAL:
        return "FATAL";
    case GLIB_SEVERITY_ASSERT:
        return "ASSERT";
    case GLIB_SEVERITY_ERROR:
        return "ERROR";
    case GLIB_SEVERITY_WARNING:
        return "WARNING";
    case GLIB_SEVERITY_TRACE:
        return "TRACE";
    case GLIB_SEVERITY_DEBUG:
        return "DEBUG";
    default:
        return "INFO";
    }
}
