#include "GLIB/GLIB_HandOverRecord.h"

namespace
{
void AppendLittleEndian(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t ReadLittleEndian(std::string_view in, std::size_t offset, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t(static_cast<std::uint8_t>(in[offset + std::size_t(i)])) << (8 * i);
    return value;
}

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
} // namespace

std::string GLIB_HandOverRecord::Encode(std::wstring_view commandLine, std::uint64_t tag)
{
    // Code points are turned into UTF-16 here rather than through a UTF-32 decoder, which would
    // take a leading U+FEFF for a byte-order mark and drop it from the command line.
    std::string data;
    data.reserve((commandLine.size() + 1) * 2);
    for (wchar_t character : commandLine)
    {
        const auto point = static_cast<std::uint32_t>(character);
        if (point > 0xFFFF && point <= 0x10FFFF)
        {
            AppendLittleEndian(data, 0xD800 + ((point - 0x10000) >> 10), 2);
            AppendLittleEndian(data, 0xDC00 + ((point - 0x10000) & 0x3FF), 2);
        }
        else
            AppendLittleEndian(data, point > 0xFFFF ? 0xFFFD : point, 2);
    }
    AppendLittleEndian(data, 0, 2);

    std::string record;
    record.reserve(kHeaderSize + data.size());
    AppendLittleEndian(record, tag, 8);
    AppendLittleEndian(record, static_cast<std::uint32_t>(data.size()), 4);
    record.append(data);
    return record;
}

std::int64_t GLIB_HandOverRecord::ExpectedSize(std::string_view bytes)
{
    if (bytes.size() < std::size_t(kHeaderSize))
        return 0;
    const std::uint64_t count = ReadLittleEndian(bytes, 8, 4);
    if (count > kMaxDataBytes)
        return -1;
    return kHeaderSize + static_cast<std::int64_t>(count);
}

std::optional<GLIB_HandOverRecord::Record> GLIB_HandOverRecord::Decode(std::string_view bytes)
{
    const std::int64_t expected = ExpectedSize(bytes);
    if (expected <= 0 || expected != static_cast<std::int64_t>(bytes.size()))
        return std::nullopt;

    Record record;
    record.tag = ReadLittleEndian(bytes, 0, 8);
    const std::size_t count = bytes.size() - kHeaderSize;
    if (count < 2 || count % 2 != 0)
        return record;

    std::u16string units;
    units.reserve(count / 2);
    bool terminated = false;
    for (std::size_t offset = kHeaderSize; offset + 1 < bytes.size(); offset += 2)
    {
        const auto unit = static_cast<char16_t>(ReadLittleEndian(bytes, offset, 2));
        if (unit == 0)
        {
            terminated = true;
            break;
        }
        units.push_back(unit);
    }
    // Text without its NUL may have been cut short on the way; it is not used.
    if (!terminated)
        return record;

    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i)
    {
        const char32_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1]))
        {
            text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) +
                                                (char32_t(units[i + 1]) - 0xDC00)));
            ++i;
        }
        else if (IsHighSurrogate(unit) || IsLowSurrogate(unit))
            text.push_back(static_cast<wchar_t>(0xFFFD));
        else
            text.push_back(static_cast<wchar_t>(unit));
    }
    record.commandLine = std::move(text);
    record.wellFormed = true;
    return record;
}
