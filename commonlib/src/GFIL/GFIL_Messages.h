#pragma once

#include <string>

// Builders of the file-system library's exception texts, shared by the path grammars and the
// platform classes so that every class words the same fault the same way. Each Throw* call
// throws GLIB_DerivedException<Tag_GFIL_Exception> with the given code and the caller's
// source position.
namespace GFIL_Messages
{
// "\"" + the path in narrow form + "\"".
std::string Quoted(const std::wstring& text);

// The system's text of a platform error code, narrow.
std::string SystemText(int error);

[[noreturn]] void Throw(int code, const std::string& text, const char* sourceFile, int line);

// Construction faults, all code 1158001.
[[noreturn]] void ThrowCannotExpand(const std::string& quotedGiven, int error,
                                    const char* sourceFile, int line);
[[noreturn]] void ThrowInvalidCharacter(const std::wstring& path, wchar_t character,
                                        const char* sourceFile, int line);
[[noreturn]] void ThrowInvalidComponent(const std::wstring& path, const std::wstring& component,
                                        const char* sourceFile, int line);
[[noreturn]] void ThrowEmptyComponent(const std::wstring& path, std::size_t position,
                                      const char* sourceFile, int line);
[[noreturn]] void ThrowCannotDivide(const std::wstring& path, int error, const char* sourceFile,
                                    int line);
[[noreturn]] void ThrowRootHasNoParent(const std::wstring& path, const char* sourceFile, int line);
[[noreturn]] void ThrowInvalidName(const std::wstring& name, const char* sourceFile, int line);
} // namespace GFIL_Messages
