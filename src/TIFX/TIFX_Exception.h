#pragma once
// The preview-file reader's own failures. They derive from the standard exception rather than from
// GLIB_Exception so that the imposition model can catch "anything the reader threw" in one clause
// and fall back locally, without mixing them up with file-system or foundation failures.

#include <cstdint>
#include <exception>
#include <string>

// A reader failure: a code, a narrow message, and where it was thrown.
class TIFX_Exception : public std::exception
{
public:
    TIFX_Exception(int32_t code, std::string message, const char* sourceFile, int32_t line);
    ~TIFX_Exception() override;

    const char* what() const noexcept override;
    virtual int32_t GetCode() const noexcept;

    const std::string& GetMessage() const noexcept { return m_message; }
    const std::string& GetSourceFile() const noexcept { return m_sourceFile; }
    int32_t GetLineNumber() const noexcept { return m_line; }

private:
    int32_t m_code;
    std::string m_message;
    std::string m_sourceFile;
    int32_t m_line;
};

// A getter asked for a tag that the current directory does not hold.
class TIFX_TagNotFoundException : public TIFX_Exception
{
public:
    static constexpr int32_t kCode = 1500001;

    TIFX_TagNotFoundException(uint32_t tag, uint16_t directory, const char* sourceFile,
                              int32_t line);

    uint32_t GetTag() const noexcept { return m_tag; }
    uint16_t GetDirectory() const noexcept { return m_directory; }

private:
    uint32_t m_tag;
    uint16_t m_directory;
};

// libtiff could not open or read the file; the message is libtiff's latest error text with its
// leading "[module] " part removed.
class TIFX_FileIOException : public TIFX_Exception
{
public:
    static constexpr int32_t kCode = 1500005;

    TIFX_FileIOException(std::string message, const char* sourceFile, int32_t line);
};
