#pragma once

#include "GLIB/GLIB_Globals.h"

#include <string>
#include <vector>

// Captures log entries for the life of the object and puts the previous handler back.
class LogCapture
{
public:
    struct Entry
    {
        int severity;
        std::wstring text;
        std::string file;
        int line;
    };

    LogCapture()
    {
        m_previous = GLIB_Globals::Instance().SetLogHandler(
            [this](int severity, const std::wstring& text, const char* file, int line) {
                entries.push_back({severity, text, file ? file : "", line});
            });
    }
    ~LogCapture() { GLIB_Globals::Instance().SetLogHandler(m_previous); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Entry> entries;

private:
    GLIB_LogHandler m_previous;
};
