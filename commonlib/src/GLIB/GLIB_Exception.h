#pragma once

// The foundation library's exception family. Every library module reports failure by throwing a
// GLIB_Exception (or a tagged GLIB_DerivedException so that a handler can pick one module's
// failures); nothing returns error codes across module borders.
//
// GLIB_Exception deliberately has no base class: handlers that catch std::exception must not
// swallow library failures by accident.

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// A text argument that may be narrow (UTF-8) or wide; a null pointer counts as empty. Lets every
// constructor and modifier take either form without a combinatorial set of overloads.
class GLIB_TextArg
{
public:
    GLIB_TextArg(const char* text);
    GLIB_TextArg(const wchar_t* text);
    GLIB_TextArg(const std::string& text);
    GLIB_TextArg(const std::wstring& text);
    GLIB_TextArg(std::string_view text);
    GLIB_TextArg(std::wstring_view text);

    const std::wstring& Wide() const { return m_text; }
    std::wstring&& TakeWide() { return std::move(m_text); }

private:
    std::wstring m_text;
};

class GLIB_Exception
{
public:
    GLIB_Exception();
    GLIB_Exception(int32_t code, GLIB_TextArg developerMessage, const char* sourceFile,
                   int32_t lineNumber);
    GLIB_Exception(int32_t code, const std::vector<std::string>& params,
                   GLIB_TextArg developerMessage, const char* sourceFile, int32_t lineNumber);
    GLIB_Exception(int32_t code, const std::vector<std::wstring>& params,
                   GLIB_TextArg developerMessage, const char* sourceFile, int32_t lineNumber);
    // Braced lists of texts, e.g. {"C:\\jobs", "x.tif"}; without these a two-text list would
    // also match a vector's iterator-pair constructor.
    GLIB_Exception(int32_t code, std::initializer_list<std::string> params,
                   GLIB_TextArg developerMessage, const char* sourceFile, int32_t lineNumber);
    GLIB_Exception(int32_t code, std::initializer_list<std::wstring> params,
                   GLIB_TextArg developerMessage, const char* sourceFile, int32_t lineNumber);

    GLIB_Exception(const GLIB_Exception&) = default;
    GLIB_Exception(GLIB_Exception&&) noexcept = default;
    GLIB_Exception& operator=(const GLIB_Exception&) = default;
    GLIB_Exception& operator=(GLIB_Exception&&) noexcept = default;
    virtual ~GLIB_Exception();

    // The developer message as wide characters; valid while the exception lives.
    virtual const wchar_t* What() const;
    // The developer message in the narrow form (UTF-8).
    virtual std::string WhatNarrow() const;
    virtual std::wstring GetDeveloperMessage() const;

    // One-line report: code, developer message, source file, line and localized text. No line
    // break is written, so callers can embed the report in longer texts.
    virtual void WriteReport(std::wostream& out) const;
    virtual void WriteReport(std::ostream& out) const;

    int32_t GetCode() const { return m_code; }
    std::wstring GetSourceFile() const { return m_sourceFile; }
    int32_t GetLineNumber() const { return m_lineNumber; }
    std::vector<std::wstring> GetParams() const { return m_params; }

    // The parameter at index; an index at or past the end yields an empty string.
    std::wstring GetParam(std::size_t index) const;
    // Stores a parameter, growing the vector with empty entries up to index + 1 when needed.
    void SetParam(std::size_t index, GLIB_TextArg value);

    // Stores the text; a different code also replaces the code and clears the parameters, which
    // belonged to the old code's localized text.
    void SetDeveloperMessage(int32_t code, GLIB_TextArg developerMessage);
    // A different code empties the developer message and the parameters; the same code keeps them.
    void SetCode(int32_t code);

    // The text of the process's error-text formatter for this code and parameters.
    std::wstring GetLocalizedMessage() const;

    // The report as a string, for log entries and message details.
    std::string ReportNarrow() const;
    std::wstring ReportWide() const;

private:
    int32_t m_code = 0;
    std::wstring m_developerMessage;
    std::wstring m_sourceFile;
    int32_t m_lineNumber = 0;
    std::vector<std::wstring> m_params;
};

// Same fields and behaviour; only the type differs so that one module's failures can be caught.
template <class Tag>
class GLIB_DerivedException : public GLIB_Exception
{
public:
    using GLIB_Exception::GLIB_Exception;
    GLIB_DerivedException() = default;
};

struct Tag_GFIL_Exception
{
};
struct Tag_GSTA_Exception
{
};
struct Tag_UWIN_Exception
{
};
struct Tag_WTLU_Exception
{
};

// What a failure of any type says, for a task that must end in a report whatever it threw: a
// GLIB_Exception's developer message, a standard exception's text ("Not enough memory" for a
// failed allocation), and a fixed text for anything else. Empty for a null pointer.
std::string GLIB_DescribeException(const std::exception_ptr& failure);
