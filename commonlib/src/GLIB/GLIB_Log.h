#pragma once

#include <string>

// Log severities. Every value of 6 and above is informational.
inline constexpr int GLIB_SEVERITY_FATAL = 0;
inline constexpr int GLIB_SEVERITY_ASSERT = 1;
inline constexpr int GLIB_SEVERITY_ERROR = 2;
inline constexpr int GLIB_SEVERITY_WARNING = 3;
inline constexpr int GLIB_SEVERITY_TRACE = 4;
inline constexpr int GLIB_SEVERITY_DEBUG = 5;
inline constexpr int GLIB_SEVERITY_INFO = 6;

// The one entry to the process's log handler. A fatal entry (severity 0) is handed to the handler
// first, so that it is recorded even when nothing catches, and then throws GLIB_FatalException
// carrying the same text. A null text or source file counts as empty.
void LogMessage(int severity, const char* text, const char* sourceFile, int line);
void LogMessage(int severity, const wchar_t* text, const char* sourceFile, int line);
void LogMessage(int severity, const std::string& text, const char* sourceFile, int line);
void LogMessage(int severity, const std::wstring& text, const char* sourceFile, int line);

// "FATAL", "ASSERT", "ERROR", "WARNING", "TRACE", "DEBUG", or "INFO" for any other value.
const char* SeverityName(int severity);

#define GLIB_LOG(severity, text) LogMessage((severity), (text), __FILE__, __LINE__)
