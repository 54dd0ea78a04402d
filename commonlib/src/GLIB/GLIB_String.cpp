#include "GLIB/GLIB_String.h"

#include "GLIB/GLIB_CaseFolder.h"
#include "GLIB/GLIB_Globals.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <string.h>
#include <wchar.h>

namespace
{
// Strict UTF-8: no overlong forms, no encoded surrogates, nothing past U+10FFFF.
bool DecodeUtf8(std::string_view text, std::wstring& out)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size)
    {
        const unsigned char lead = bytes[i];
        if (lead < 0x80)
        {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0)
        {
            length = 2;
            value = lead & 0x1F;
            minimum = 0x80;
        }
        else if ((lead & 0xF0) == 0xE0)
        {
            length = 3;
            value = lead & 0x0F;
            minimum = 0x800;
        }
        else if ((lead & 0xF8) == 0xF0)
        {
            length = 4;
            value = lead & 0x07;
            minimum = 0x10000;
        }
        else
        {
            return false;
        }
        if (size - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k)
        {
            const unsigned char next = bytes[i + k];
            if ((next & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        out.push_back(static_cast<wchar_t>(value));
        i += length;
    }
    return true;
}

constexpr char32_t kEscapeFirst = 0xDC80;
constexpr char32_t kEscapeLast = 0xDCFF;

// Length of the valid UTF-8 sequence at the start of `bytes` (strict, as DecodeUtf8), or 0.
std::size_t ValidSequence(const unsigned char* bytes, std::size_t size, char32_t& value)
{
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
    {
        value = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0)
        length = 2, value = lead & 0x1F, minimum = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, value = lead & 0x0F, minimum = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, value = lead & 0x07, minimum = 0x10000;
    else
        return 0;
    if (size < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k)
    {
        if ((bytes[k] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (bytes[k] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

void EncodeUtf8(std::wstring_view text, std::string& out, bool escapes = false)
{
    for (wchar_t unit : text)
    {
        const auto value = static_cast<char32_t>(unit);
        if (escapes && value >= kEscapeFirst && value <= kEscapeLast)
        {
            out.push_back(static_cast<char>(value - 0xDC00));
            continue;
        }
        if (value < 0x80)
        {
            out.push_back(static_cast<char>(value));
        }
        else if (value < 0x800)
        {
            out.push_back(static_cast<char>(0xC0 | (value >> 6)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
        else if ((value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        {
            out.push_back('?');
        }
        else if (value < 0x10000)
        {
            out.push_back(static_cast<char>(0xE0 | (value >> 12)));
            out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
        else
        {
            out.push_back(static_cast<char>(0xF0 | (value >> 18)));
            out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
    }
}

std::string_view UpToZero(std::string_view text)
{
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

std::wstring_view UpToZero(std::wstring_view text)
{
    const std::size_t zero = text.find(L'\0');
    return zero == std::wstring_view::npos ? text : text.substr(0, zero);
}

// The conversions' buffers come from the standard library; their failure still goes to the
// process's out-of-memory handler, which throws by default.
void ReportOutOfMemory(std::size_t bytes, int line)
{
    GLIB_Globals::Instance().ReportOutOfMemory(bytes, __FILE__, line);
}

int CompareUnits(const std::wstring& a, const std::wstring& b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i)
    {
        // Compare as unsigned code units so that every unit sorts by its value.
        const auto x = static_cast<uint32_t>(a[i]);
        const auto y = static_cast<uint32_t>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
} // namespace

std::wstring ToWide(std::string_view text)
{
    text = UpToZero(text);
    std::wstring out;
    try
    {
        out.reserve(text.size() + 1);
    }
    catch (const std::bad_alloc&)
    {
        ReportOutOfMemory((text.size() + 1) * sizeof(wchar_t), __LINE__);
        return {};
    }
    if (!DecodeUtf8(text, out))
        return {};
    return out;
}

std::wstring ToWide(const char* text)
{
    return text ? ToWide(std::string_view(text)) : std::wstring();
}

std::string ToNarrow(std::wstring_view text)
{
    text = UpToZero(text);
    std::string out;
    // Four bytes per unit is the most UTF-8 needs, so the output never grows past this.
    try
    {
        out.reserve(text.size() * 4 + 1);
    }
    catch (const std::bad_alloc&)
    {
        ReportOutOfMemory(text.size() * 4 + 1, __LINE__);
        return {};
    }
    EncodeUtf8(text, out);
    return out;
}

std::string ToNarrow(const wchar_t* text)
{
    return text ? ToNarrow(std::wstring_view(text)) : std::string();
}

std::wstring PathToWide(std::string_view bytes)
{
    bytes = UpToZero(bytes);
    std::wstring out;
    out.reserve(bytes.size());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();)
    {
        char32_t value = 0;
        const std::size_t length = ValidSequence(data + i, bytes.size() - i, value);
        if (length == 0)
        {
            out.push_back(static_cast<wchar_t>(0xDC00 + data[i]));
            ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(value));
        i += length;
    }
    return out;
}

std::string PathToNarrow(std::wstring_view path)
{
    path = UpToZero(path);
    std::string out;
    out.reserve(path.size() * 4 + 1);
    EncodeUtf8(path, out, true);
    return out;
}

bool IsLosslessPath(std::wstring_view path)
{
    bool escaped = false;
    for (wchar_t unit : path)
    {
        const auto value = static_cast<char32_t>(unit);
        if (value >= 0xD800 && value <= 0xDFFF)
        {
            if (value < kEscapeFirst || value > kEscapeLast)
                return false;
            escaped = true;
        }
    }
    // Escapes that spell a valid sequence (U+DCC3 U+DCA9 is "\xc3\xa9", which is U+00E9) would
    // reach the disk as the name of another file.
    return !escaped || PathToWide(PathToNarrow(path)) == path;
}

std::wstring FoldCase(std::wstring_view text)
{
    std::wstring out;
    std::size_t i = 0;
    try
    {
        out.reserve(text.size());
        while (i < text.size())
        {
            const GLIB_CaseFolding* folding = GLIB_FindCaseFolding(text[i]);
            if (folding)
            {
                out.append(folding->folded, folding->length);
                ++i;
                continue;
            }
            // Copy the run up to the next unit that folds in one step.
            std::size_t end = i + 1;
            while (end < text.size() && !GLIB_FindCaseFolding(text[end]))
                ++end;
            out.append(text.substr(i, end - i));
            i = end;
        }
    }
    catch (const std::bad_alloc&)
    {
        // A comparison key cut short sorts a little wrong; failing the caller's sort is worse.
    }
    return out;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    return CompareUnits(FoldCase(a), FoldCase(b));
}

int CompareNoCase(const wchar_t* a, const wchar_t* b)
{
    return CompareNoCase(std::wstring_view(a ? a : L""), std::wstring_view(b ? b : L""));
}

int CompareAsciiNoCase(const char* a, const char* b)
{
    const auto fold = [](const char* p) -> int
    {
        const int c = static_cast<unsigned char>(*p);
        return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
    };
    const char* x = a ? a : "";
    const char* y = b ? b : "";
    while (*x && fold(x) == fold(y))
    {
        ++x;
        ++y;
    }
    return fold(x) - fold(y);
}

int FormatBounded(char* buffer, std::size_t capacity, const char* format, ...)
{
    if (!buffer || capacity == 0)
        return -1;
    if (!format)
    {
        buffer[0] = '\0';
        return -1;
    }
    va_list args;
    va_start(args, format);
    const int count = std::vsnprintf(buffer, capacity, format, args);
    va_end(args);
    buffer[capacity - 1] = '\0';
    if (count < 0)
    {
        buffer[0] = '\0';
        return -1;
    }
    return static_cast<std::size_t>(count) < capacity ? count : -1;
}

int FormatBounded(wchar_t* buffer, std::size_t capacity, const wchar_t* format, ...)
{
    if (!buffer || capacity == 0)
        return -1;
    if (!format)
    {
        buffer[0] = L'\0';
        return -1;
    }
    // vswprintf reports a cut output only as a failure and leaves the buffer's content open, so
    // the text is formatted in full into a memory stream and as much as fits is copied.
    wchar_t* formatted = nullptr;
    std::size_t formattedSize = 0;
    std::FILE* stream = open_wmemstream(&formatted, &formattedSize);
    int count = -1;
    if (stream)
    {
        va_list args;
        va_start(args, format);
        count = std::vfwprintf(stream, format, args);
        va_end(args);
        std::fclose(stream);
    }
    if (count < 0 || !formatted)
    {
        std::free(formatted);
        buffer[0] = L'\0';
        buffer[capacity - 1] = L'\0';
        return -1;
    }
    const std::size_t written = static_cast<std::size_t>(count);
    const std::size_t kept = written < capacity ? written : capacity - 1;
    std::wmemcpy(buffer, formatted, kept);
    std::free(formatted);
    buffer[kept] = L'\0';
    buffer[capacity - 1] = L'\0';
    return written < capacity ? count : -1;
}

std::wstring SystemErrorText(int code)
{
    std::wstring text;
    // strerrordesc_np tells a known code from an unknown one (strerror_r would make up an
    // "Unknown error" text); the localized text then comes from strerror_r.
    if (strerrordesc_np(code) != nullptr)
    {
        char buffer[256];
        const char* message = strerror_r(code, buffer, sizeof buffer);
        text = ToWide(message);
        if (text.empty())
            text = ToWide(strerrordesc_np(code));
    }
    if (text.empty())
        text = L"Error translating Win32 error code";
    text += L" (code: " + std::to_wstring(code) + L")";
    return text;
}

std::string SystemErrorTextNarrow(int code)
{
    return ToNarrow(SystemErrorText(code));
}
