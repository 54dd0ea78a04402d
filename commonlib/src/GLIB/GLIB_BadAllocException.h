#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <ostream>

// Thrown by the default out-of-memory handler. Derives the standard bad-allocation exception so
// that code that only knows the standard library still catches it.
class GLIB_BadAllocException : public std::bad_alloc
{
public:
    // sourceFile must point to a static path (usually __FILE__); it is not copied.
    GLIB_BadAllocException(std::size_t bytes, const char* sourceFile, int32_t lineNumber) noexcept
        : m_bytes(bytes), m_sourceFile(sourceFile), m_lineNumber(lineNumber)
    {
    }

    const char* what() const noexcept override;

    std::size_t GetSize() const noexcept { return m_bytes; }
    const char* GetSourceFile() const noexcept { return m_sourceFile ? m_sourceFile : ""; }
    int32_t GetLineNumber() const noexcept { return m_lineNumber; }

    // "size : N file : F line : L " and a line break.
    void WriteReport(std::ostream& out) const;
    void WriteReport(std::wostream& out) const;

private:
    std::size_t m_bytes;
    const char* m_sourceFile;
    int32_t m_lineNumber;
};
