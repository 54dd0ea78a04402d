#include "GLIB/GLIB_Exception.h"

#include "GLIB/GLIB_Globals.h"
#include "GLIB/GLIB_OStringStream.h"
#include "GLIB/GLIB_String.h"

#include <new>
#include <stdexcept>
#include <utility>

GLIB_TextArg::GLIB_TextArg(const char* text) : m_text(ToWide(text)) {}
GLIB_TextArg::GLIB_TextArg(const wchar_t* text) : m_text(text ? text : L"") {}
GLIB_TextArg::GLIB_TextArg(const std::string& text) : m_text(ToWide(text)) {}
GLIB_TextArg::GLIB_TextArg(const std::wstring& text) : m_text(text) {}
GLIB_TextArg::GLIB_TextArg(std::string_view text) : m_text(ToWide(text)) {}
GLIB_TextArg::GLIB_TextArg(std::wstring_view text) : m_text(text) {}

GLIB_Exception::GLIB_Exception() = default;

GLIB_Exception::GLIB_Exception(int32_t code, GLIB_TextArg developerMessage, const char* sourceFile,
                               int32_t lineNumber)
    : m_code(code), m_developerMessage(developerMessage.TakeWide()),
      m_sourceFile(ToWide(sourceFile)), m_lineNumber(lineNumber)
{
}

GLIB_Exception::GLIB_Exception(int32_t code, const std::vector<std::string>& params,
                               GLIB_TextArg developerMessage, const char* sourceFile,
                               int32_t lineNumber)
    : GLIB_Exception(code, std::move(developerMessage), sourceFile, lineNumber)
{
    m_params.reserve(params.size());
    for (const std::string& param : params)
        m_params.push_back(ToWide(param));
}

GLIB_Exception::GLIB_Exception(int32_t code, const std::vector<std::wstring>& params,
                               GLIB_TextArg developerMessage, const char* sourceFile,
                               int32_t lineNumber)
    : GLIB_Exception(code, std::move(developerMessage), sourceFile, lineNumber)
{
    m_params = params;
}

GLIB_Exception::GLIB_Exception(int32_t code, std::initializer_list<std::string> params,
                               GLIB_TextArg developerMessage, const char* sourceFile,
                               int32_t lineNumber)
    : GLIB_Exception(code, std::vector<std::string>(params), std::move(developerMessage),
                     sourceFile, lineNumber)
{
}

GLIB_Exception::GLIB_Exception(int32_t code, std::initializer_list<std::wstring> params,
                               GLIB_TextArg developerMessage, const char* sourceFile,
                               int32_t lineNumber)
    : GLIB_Exception(code, std::vector<std::wstring>(params), std::move(developerMessage),
                     sourceFile, lineNumber)
{
}

GLIB_Exception::~GLIB_Exception() = default;

const wchar_t* GLIB_Exception::What() const
{
    return m_developerMessage.c_str();
}

std::string GLIB_Exception::WhatNarrow() const
{
    return ToNarrow(m_developerMessage);
}

std::wstring GLIB_Exception::GetDeveloperMessage() const
{
    return m_developerMessage;
}

std::wstring GLIB_Exception::GetParam(std::size_t index) const
{
    return index < m_params.size() ? m_params[index] : std::wstring();
}

void GLIB_Exception::SetParam(std::size_t index, GLIB_TextArg value)
{
    if (index >= m_params.size())
    {
        // index + 1 must not wrap around to a smaller size.
        if (index >= m_params.max_size())
            throw std::length_error("GLIB_Exception parameter index out of range");
        m_params.resize(index + 1);
    }
    m_params[index] = value.TakeWide();
}

void GLIB_Exception::SetDeveloperMessage(int32_t code, GLIB_TextArg developerMessage)
{
    m_developerMessage = developerMessage.TakeWide();
    if (code != m_code)
    {
        m_code = code;
        m_params.clear();
    }
}

void GLIB_Exception::SetCode(int32_t code)
{
    if (code == m_code)
        return;
    m_code = code;
    m_developerMessage.clear();
    m_params.clear();
}

std::wstring GLIB_Exception::GetLocalizedMessage() const
{
    return GLIB_Globals::Instance().FormatErrorText(m_code, m_params);
}

void GLIB_Exception::WriteReport(std::wostream& out) const
{
    out << L"code = " << m_code;
    if (!m_developerMessage.empty())
        out << L"; developer-speak message = '" << m_developerMessage << L"'";
    if (!m_sourceFile.empty())
        out << L"; source file = " << m_sourceFile;
    if (m_lineNumber > 0)
        out << L"; line number = " << m_lineNumber;
    const std::wstring localized = GetLocalizedMessage();
    if (!localized.empty())
        out << L"; localized Message = '" << localized << L"'";
}

void GLIB_Exception::WriteReport(std::ostream& out) const
{
    out << "code = " << m_code;
    if (!m_developerMessage.empty())
        out << "; developer-speak message = '" << ToNarrow(m_developerMessage) << "'";
    if (!m_sourceFile.empty())
        out << "; source file = " << ToNarrow(m_sourceFile);
    if (m_lineNumber > 0)
        out << "; line number = " << m_lineNumber;
    const std::wstring localized = GetLocalizedMessage();
    if (!localized.empty())
        out << "; localized Message = '" << ToNarrow(localized) << "'";
}

std::string GLIB_Exception::ReportNarrow() const
{
    GLIB_OStringStream out;
    WriteReport(out);
    return out.str();
}

std::wstring GLIB_Exception::ReportWide() const
{
    GLIB_WOStringStream out;
    WriteReport(out);
    return out.str();
}

std::string GLIB_DescribeException(const std::exception_ptr& failure)
{
    if (!failure)
        return {};
    try
    {
        std::rethrow_exception(failure);
    }
    catch (const GLIB_Exception& e)
    {
        const std::string text = e.WhatNarrow();
        return text.empty() ? e.ReportNarrow() : text;
    }
    catch (const std::bad_alloc&)
    {
        return "Not enough memory";
    }
    catch (const std::exception& e)
    {
        const char* text = e.what();
        return text != nullptr && *text != '\0' ? text
                                                : "An unidentified exception has been caught.";
    }
    catch (...)
    {
        return "An unidentified exception has been caught.";
    }
}
