#include "GFIL/GFIL_Messages.h"

#include "GFIL/GFIL_Constants.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"

namespace GFIL_Messages
{
std::string Quoted(const std::wstring& text)
{
    // Messages are zero-terminated texts further on, so a zero inside a path is shown as "?"
    // rather than cutting the message short.
    std::wstring shown = text;
    for (wchar_t& c : shown)
    {
        if (c == L'\0')
            c = L'?';
    }
    return "\"" + ToNarrow(shown) + "\"";
}

std::string SystemText(int error)
{
    return SystemErrorTextNarrow(error);
}

void Throw(int code, const std::string& text, const char* sourceFile, int line)
{
    throw GLIB_DerivedException<Tag_GFIL_Exception>(code, text, sourceFile, line);
}

void ThrowCannotExpand(const std::string& quotedGiven, int error, const char* sourceFile, int line)
{
    // No space before the system text: that is how the message has always read.
    Throw(GFIL_ERR_INVALID_PATH,
          "The path " + quotedGiven + " cannot be expanded;" + SystemText(error), sourceFile, line);
}

void ThrowInvalidCharacter(const std::wstring& path, wchar_t character, const char* sourceFile,
                           int line)
{
    const auto code = static_cast<std::uint32_t>(character);
    std::string shown;
    if (code < 0x20 || code > 0x7E)
    {
        // Control characters and anything that would not print as itself are shown by code.
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        std::uint32_t rest = code;
        do
        {
            hex.insert(hex.begin(), digits[rest & 0xF]);
            rest >>= 4;
        } while (rest != 0);
        shown = "0x" + hex;
    }
    else
    {
        shown = "\"" + std::string(1, static_cast<char>(code)) + "\"";
    }
    Throw(GFIL_ERR_INVALID_PATH,
          "The path " + Quoted(path) + " contains the invalid character " + shown, sourceFile,
          line);
}

void ThrowInvalidComponent(const std::wstring& path, const std::wstring& component,
                           const char* sourceFile, int line)
{
    Throw(GFIL_ERR_INVALID_PATH,
          "The path " + Quoted(path) + " contains an invalid name component " + Quoted(component),
          sourceFile, line);
}

void ThrowEmptyComponent(const std::wstring& path, std::size_t position, const char* sourceFile,
                         int line)
{
    Throw(GFIL_ERR_INVALID_PATH,
          "The path " + Quoted(path) + " contains an empty name component at pos " +
              std::to_string(position),
          sourceFile, line);
}

void ThrowCannotDivide(const std::wstring& path, int error, const char* sourceFile, int line)
{
    Throw(GFIL_ERR_INVALID_PATH,
          "The path " + Quoted(path) + " cannot be divided into its parent and child parts; " +
              SystemText(error),
          sourceFile, line);
}

void ThrowRootHasNoParent(const std::wstring& path, const char* sourceFile, int line)
{
    Throw(GFIL_ERR_INVALID_PATH,
          "The spec " + Quoted(path) + " is the root object; cannot retrieve a parent.", sourceFile,
          line);
}

void ThrowInvalidName(const std::wstring& name, const char* sourceFile, int line)
{
    Throw(GFIL_ERR_INVALID_PATH, "The name " + Quoted(name) + " is invalid for the Win32 platform.",
          sourceFile, line);
}
} // namespace GFIL_Messages
