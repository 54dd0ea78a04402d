#pragma once

#include "GLIB/GLIB_GlobalsMessage.h"
#include "GLIB/GLIB_Observable.h"

#include <cstdio>

// The process-wide settings of the foundation library: the temporary-directory variable name,
// the error-text formatter, the out-of-memory handler, the log handler, the user-message sink and
// a reserve block. Every setter ends by broadcasting a GLIB_GlobalsMessage with all current
// values. A setter given no handler puts the default back; handler setters return the previous
// one.
class GLIB_Globals : public GLIB_Observable
{
public:
    // The one instance; made on first use and kept to the end of the process so that late
    // destructors can still log.
    static GLIB_Globals& Instance();

    const std::string& GetTempVariableName() const { return m_tempVariableName; }
    void SetTempVariableName(std::string name);

    GLIB_ErrorTextFormatter SetErrorTextFormatter(GLIB_ErrorTextFormatter formatter);
    GLIB_OutOfMemoryHandler SetOutOfMemoryHandler(GLIB_OutOfMemoryHandler handler);
    GLIB_LogHandler SetLogHandler(GLIB_LogHandler handler);
    // Does not take ownership; the sink must outlive its installation. Returns the previous one.
    GLIB_UserMessageCallback* SetUserMessageCallback(GLIB_UserMessageCallback* callback);
    // Every setting at once; empty handlers and a null sink put the defaults back.
    void SetAll(const GLIB_GlobalsMessage& values);
    GLIB_GlobalsMessage GetAll() const;

    const GLIB_ErrorTextFormatter& GetErrorTextFormatter() const { return m_formatter; }
    const GLIB_OutOfMemoryHandler& GetOutOfMemoryHandler() const { return m_outOfMemory; }
    const GLIB_LogHandler& GetLogHandler() const { return m_log; }
    GLIB_UserMessageCallback& GetUserMessageCallback() const { return *m_userMessage; }

    std::wstring FormatErrorText(int32_t code, const std::vector<std::wstring>& params) const;
    void Log(int severity, const std::wstring& text, const char* sourceFile, int line) const;
    void ReportOutOfMemory(std::size_t bytes, const char* sourceFile, int line) const;

    // Memory held back so that an out-of-memory report can still be built. Replaces any
    // previous block; returns false if the block could not be allocated.
    bool AllocateReserveBlock(std::size_t bytes);
    void ReleaseReserveBlock();
    std::size_t GetReserveBlockSize() const { return m_reserveSize; }

    // "( code = N; param[i] = 'value' )" listing the non-empty parameters.
    static std::wstring DefaultErrorTextFormatter(int32_t code,
                                                  const std::vector<std::wstring>& params);
    // Releases the reserve block and throws GLIB_BadAllocException.
    static void DefaultOutOfMemoryHandler(std::size_t bytes, const char* sourceFile, int line);
    // One line per entry on standard error, coloured by severity when that is a terminal.
    static void ConsoleLogHandler(int severity, const std::wstring& text, const char* sourceFile,
                                  int line);
    // "NAME: file(line): text" and a newline; with colour, wrapped in the severity's foreground
    // colour and a reset to the default foreground (the background is left alone).
    static std::string FormatLogLine(int severity, const std::wstring& text, const char* sourceFile,
                                     int line, bool colour);
    static void WriteLogLine(std::FILE* stream, int severity, const std::wstring& text,
                             const char* sourceFile, int line);

private:
    GLIB_Globals();
    ~GLIB_Globals() override;
    void Broadcast();

    std::string m_tempVariableName = "TEMP";
    GLIB_ErrorTextFormatter m_formatter;
    GLIB_OutOfMemoryHandler m_outOfMemory;
    GLIB_LogHandler m_log;
    GLIB_UserMessageCallback* m_userMessage;
    void* m_reserve = nullptr;
    std::size_t m_reserveSize = 0;
};

// Installs a user-message sink for a scope and puts the previous one back at its end; both
// changes are broadcast.
class GLIB_ScopedUserMessageCallback
{
public:
    explicit GLIB_ScopedUserMessageCallback(GLIB_UserMessageCallback* callback);
    ~GLIB_ScopedUserMessageCallback();
    GLIB_ScopedUserMessageCallback(const GLIB_ScopedUserMessageCallback&) = delete;
    GLIB_ScopedUserMessageCallback& operator=(const GLIB_ScopedUserMessageCallback&) = delete;

private:
    GLIB_UserMessageCallback* m_saved;
};
