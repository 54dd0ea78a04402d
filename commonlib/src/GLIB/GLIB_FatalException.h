#pragma once

#include <string>
#include <utility>

// Thrown by a fatal (severity 0) log entry after the entry has reached the log handler. It is
// not polymorphic and derives from nothing, so only a handler that names it catches it.
class GLIB_FatalException
{
public:
    explicit GLIB_FatalException(std::wstring text) : m_text(std::move(text)) {}

    // The text of the fatal log entry that caused the exception.
    const std::wstring& GetText() const { return m_text; }

private:
    std::wstring m_text;
};
