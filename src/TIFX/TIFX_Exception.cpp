#include "TIFX/TIFX_Exception.h"

#include <cstdio>
#include <utility>

TIFX_Exception::TIFX_Exception(int32_t code, std::string message, const char* sourceFile,
                               int32_t line)
    : m_code(code), m_message(std::move(message)), m_sourceFile(sourceFile ? sourceFile : ""),
      m_line(line)
{
}

TIFX_Exception::~TIFX_Exception() = default;

const char* TIFX_Exception::what() const noexcept
{
    return m_message.c_str();
}

int32_t TIFX_Exception::GetCode() const noexcept
{
    return m_code;
}

namespace
{
std::string TagNotFoundText(uint32_t tag, uint16_t directory)
{
    char text[96];
    std::snprintf(text, sizeof text, "Tag #%u not found in current directory (%u)", tag,
                  static_cast<unsigned>(directory));
    return text;
}
} // namespace

TIFX_TagNotFoundException::TIFX_TagNotFoundException(uint32_t tag, uint16_t directory,
                                                     const char* sourceFile, int32_t line)
    : TIFX_Exception(kCode, TagNotFoundText(tag, directory), sourceFile, line), m_tag(tag),
      m_directory(directory)
{
}

TIFX_FileIOException::TIFX_FileIOException(std::string message, const char* sourceFile,
                                           int32_t line)
    : TIFX_Exception(kCode, std::move(message), sourceFile, line)
{
}
