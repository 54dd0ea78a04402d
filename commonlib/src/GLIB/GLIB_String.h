#pragma once

// Conversions between the narrow form (UTF-8 here) and wide strings, case folding for
// case-insensitive comparison and sorting, bounded formatting into fixed buffers and the text of
// an operating-system error code. Nothing here keeps state.

#include <cstddef>
#include <string>
#include <string_view>

// Narrow (UTF-8) to wide. Conversion stops at the first zero. Text that is not valid UTF-8
// (including encoded surrogates and overlong forms) yields an empty string. A null text is empty.
std::wstring ToWide(std::string_view text);
std::wstring ToWide(const char* text);

// Wide to narrow (UTF-8). Conversion stops at the first zero. A unit that UTF-8 cannot hold (a
// lone surrogate, a value past U+10FFFF) becomes "?". A null text is empty.
std::string ToNarrow(std::wstring_view text);
std::string ToNarrow(const wchar_t* text);

// File names are bytes on this platform, not text. PathToWide decodes UTF-8 and carries every byte
// that is not part of a valid sequence as the lone surrogate U+DC00 + byte (U+DC80..U+DCFF), so no
// name is lost; PathToNarrow gives those bytes back and otherwise encodes as ToNarrow does. A name
// whose escapes would come back as a valid UTF-8 sequence is not one PathToWide makes: it would
// name another file (see IsLosslessPath). Both stop at the first zero.
std::wstring PathToWide(std::string_view bytes);
std::string PathToNarrow(std::wstring_view path);
// True when `path` is exactly what PathToWide makes of PathToNarrow(path): escapes only for
// bytes that cannot be decoded, and no other surrogate.
bool IsLosslessPath(std::wstring_view path);

// Each code unit through the case-folding table; units without a folding are kept.
std::wstring FoldCase(std::wstring_view text);

// Fold both, then compare unit by unit: negative, zero or positive. A proper prefix sorts first.
// A null text counts as empty.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
int CompareNoCase(const wchar_t* a, const wchar_t* b);

// Byte by byte with only A-Z taken as a-z; stops at the end of the first text or the first
// difference and returns the difference of the two folded bytes. A null text counts as empty.
int CompareAsciiNoCase(const char* a, const char* b);

// printf into a buffer of `capacity` characters. The last position always holds a terminating
// zero. Returns the number of characters written when it is smaller than the capacity, otherwise
// -1 (the output was cut, or formatting failed). A null buffer or zero capacity gives -1.
int FormatBounded(char* buffer, std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
int FormatBounded(wchar_t* buffer, std::size_t capacity, const wchar_t* format, ...);

// The system's text of an errno value followed by " (code: N)". A code without a text gives
// "Error translating Win32 error code (code: N)".
std::wstring SystemErrorText(int code);
std::string SystemErrorTextNarrow(int code);
