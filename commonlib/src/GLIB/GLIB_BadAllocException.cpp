#include "GLIB/GLIB_BadAllocException.h"

const char* GLIB_BadAllocException::what() const noexcept
{
    return "bad allocation";
}

void GLIB_BadAllocException::WriteReport(std::ostream& out) const
{
    out << "size : " << m_bytes << " "
        << "file : " << GetSourceFile() << " "
        << "line : " << m_lineNumber << " "
        << "\n";
}

void GLIB_BadAllocException::WriteReport(std::wostream& out) const
{
    // The file is a static narrow path from __FILE__; it is written byte by byte widened, which
    // is exact for the ASCII paths a build produces and needs no allocation of its own.
    out << L"size : " << m_bytes << L" " << L"file : ";
    for (const char* c = GetSourceFile(); *c; ++c)
        out << static_cast<wchar_t>(static_cast<unsigned char>(*c));
    out << L" " << L"line : " << m_lineNumber << L" " << L"\n";
}
