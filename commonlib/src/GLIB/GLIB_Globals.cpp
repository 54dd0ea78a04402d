#include "GLIB/GLIB_Globals.h"

#include "GLIB/GLIB_BadAllocException.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_OStringStream.h"
#include "GLIB/GLIB_String.h"
#include "GLIB/GLIB_UserMessageCallback.h"

#include <cstdlib>
#include <unistd.h>

namespace
{
GLIB_UserMessageCallback* DefaultSink()
{
    static DefaultUserMessageCallback sink;
    return &sink;
}

// ANSI foreground colours matching the console attributes 12 (bright red), 14 (bright yellow),
// 7 (grey) and 10 (bright green).
const char* ColourOf(int severity)
{
    switch (severity)
    {
    case GLIB_SEVERITY_FATAL:
    case GLIB_SEVERITY_ASSERT:
    case GLIB_SEVERITY_ERROR:
        return "\x1b[91m";
    case GLIB_SEVERITY_WARNING:
        return "\x1b[93m";
    case GLIB_SEVERITY_TRACE:
    case GLIB_SEVERITY_DEBUG:
        return "\x1b[37m";
    default:
        return "\x1b[92m";
    }
}
} // namespace

GLIB_Globals& GLIB_Globals::Instance()
{
    // Never destroyed: destructors of other statics may still log or allocate at exit.
    static GLIB_Globals* instance = new GLIB_Globals;
    return *instance;
}

GLIB_Globals::GLIB_Globals()
    : m_formatter(&DefaultErrorTextFormatter), m_outOfMemory(&DefaultOutOfMemoryHandler),
      m_log(&ConsoleLogHandler), m_userMessage(DefaultSink())
{
}

GLIB_Globals::~GLIB_Globals()
{
    ReleaseReserveBlock();
}

void GLIB_Globals::Broadcast()
{
    Send(GetAll());
}

GLIB_GlobalsMessage GLIB_Globals::GetAll() const
{
    GLIB_GlobalsMessage message;
    message.tempVariableName = m_tempVariableName;
    message.errorTextFormatter = m_formatter;
    message.outOfMemoryHandler = m_outOfMemory;
    message.logHandler = m_log;
    message.userMessageCallback = m_userMessage;
    return message;
}

void GLIB_Globals::SetTempVariableName(std::string name)
{
    m_tempVariableName = std::move(name);
    Broadcast();
}

GLIB_ErrorTextFormatter GLIB_Globals::SetErrorTextFormatter(GLIB_ErrorTextFormatter formatter)
{
    GLIB_ErrorTextFormatter previous = std::move(m_formatter);
    m_formatter =
        formatter ? std::move(formatter) : GLIB_ErrorTextFormatter(&DefaultErrorTextFormatter);
    Broadcast();
    return previous;
}

GLIB_OutOfMemoryHandler GLIB_Globals::SetOutOfMemoryHandler(GLIB_OutOfMemoryHandler handler)
{
    GLIB_OutOfMemoryHandler previous = std::move(m_outOfMemory);
    m_outOfMemory =
        handler ? std::move(handler) : GLIB_OutOfMemoryHandler(&DefaultOutOfMemoryHandler);
    Broadcast();
    return previous;
}

GLIB_LogHandler GLIB_Globals::SetLogHandler(GLIB_LogHandler handler)
{
    GLIB_LogHandler previous = std::move(m_log);
    m_log = handler ? std::move(handler) : GLIB_LogHandler(&ConsoleLogHandler);
    Broadcast();
    return previous;
}

GLIB_UserMessageCallback* GLIB_Globals::SetUserMessageCallback(GLIB_UserMessageCallback* callback)
{
    GLIB_UserMessageCallback* previous = m_userMessage;
    m_userMessage = callback ? callback : DefaultSink();
    Broadcast();
    return previous;
}

void GLIB_Globals::SetAll(const GLIB_GlobalsMessage& values)
{
    m_tempVariableName = values.tempVariableName;
    m_formatter = values.errorTextFormatter ? values.errorTextFormatter
                                            : GLIB_ErrorTextFormatter(&DefaultErrorTextFormatter);
    m_outOfMemory = values.outOfMemoryHandler ? values.outOfMemoryHandler
                                              : GLIB_OutOfMemoryHandler(&DefaultOutOfMemoryHandler);
    m_log = values.logHandler ? values.logHandler : GLIB_LogHandler(&ConsoleLogHandler);
    m_userMessage = values.userMessageCallback ? values.userMessageCallback : DefaultSink();
    Broadcast();
}

std::wstring GLIB_Globals::FormatErrorText(int32_t code,
                                           const std::vector<std::wstring>& params) const
{
    return m_formatter(code, params);
}

void GLIB_Globals::Log(int severity, const std::wstring& text, const char* sourceFile,
                       int line) const
{
    m_log(severity, text, sourceFile ? sourceFile : "", line);
}

void GLIB_Globals::ReportOutOfMemory(std::size_t bytes, const char* sourceFile, int line) const
{
    // A copy: the handler may replace itself.
    const GLIB_OutOfMemoryHandler handler = m_outOfMemory;
    handler(bytes, sourceFile ? sourceFile : "", line);
}

bool GLIB_Globals::AllocateReserveBlock(std::size_t bytes)
{
    ReleaseReserveBlock();
    if (bytes == 0)
        return true;
    m_reserve = std::malloc(bytes);
    if (!m_reserve)
        return false;
    m_reserveSize = bytes;
    return true;
}

void GLIB_Globals::ReleaseReserveBlock()
{
    std::free(m_reserve);
    m_reserve = nullptr;
    m_reserveSize = 0;
}

std::wstring GLIB_Globals::DefaultErrorTextFormatter(int32_t code,
                                                     const std::vector<std::wstring>& params)
{
    GLIB_WOStringStream out;
    out << L"( code = " << code;
    for (std::size_t i = 0; i < params.size(); ++i)
    {
        if (!params[i].empty())
            out << L"; param[" << i << L"] = '" << params[i] << L"'";
    }
    out << L" )";
    return out.str();
}

void GLIB_Globals::DefaultOutOfMemoryHandler(std::size_t bytes, const char* sourceFile, int line)
{
    Instance().ReleaseReserveBlock();
    throw GLIB_BadAllocException(bytes, sourceFile, line);
}

std::string GLIB_Globals::FormatLogLine(int severity, const std::wstring& text,
                                        const char* sourceFile, int line, bool colour)
{
    GLIB_OStringStream out;
    if (colour)
        out << ColourOf(severity);
    out << SeverityName(severity) << ": " << (sourceFile ? sourceFile : "") << "(" << line
        << "): " << ToNarrow(text);
    if (colour)
        out << "\x1b[39m";
    out << "\n";
    return out.str();
}

void GLIB_Globals::WriteLogLine(std::FILE* stream, int severity, const std::wstring& text,
                                const char* sourceFile, int line)
{
    const bool colour = isatty(fileno(stream)) != 0;
    const std::string entry = FormatLogLine(severity, text, sourceFile, line, colour);
    std::fwrite(entry.data(), 1, entry.size(), stream);
    std::fflush(stream);
}

void GLIB_Globals::ConsoleLogHandler(int severity, const std::wstring& text, const char* sourceFile,
                                     int line)
{
    // Standard error, so that a tool writing its results to standard output keeps them clean.
    WriteLogLine(stderr, severity, text, sourceFile, line);
}

GLIB_ScopedUserMessageCallback::GLIB_ScopedUserMessageCallback(GLIB_UserMessageCallback* callback)
    : m_saved(GLIB_Globals::Instance().SetUserMessageCallback(callback))
{
}

GLIB_ScopedUserMessageCallback::~GLIB_ScopedUserMessageCallback()
{
    GLIB_Globals::Instance().SetUserMessageCallback(m_saved);
}
