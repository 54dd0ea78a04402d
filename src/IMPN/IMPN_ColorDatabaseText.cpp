#include "IMPN/IMPN_ColorDatabaseText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<IMPN_ColorSpace> SpaceFromName(std::string_view word)
{
    if (EqualsNoCase(word, "Lab"))
        return IMPN_ColorSpace::Lab;
    if (EqualsNoCase(word, "CMYK"))
        return IMPN_ColorSpace::CMYK;
    if (EqualsNoCase(word, "RGB"))
        return IMPN_ColorSpace::RGB;
    return std::nullopt;
}

// Splits the rest of a line after the name into blank-separated words.
std::vector<std::string_view> Words(std::string_view rest)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < rest.size())
    {
        while (i < rest.size() && IsBlank(rest[i]))
            ++i;
        const std::size_t start = i;
        while (i < rest.size() && !IsBlank(rest[i]))
            ++i;
        if (i > start)
            words.push_back(rest.substr(start, i - start));
    }
    return words;
}

IMPN_ColorEntry ParseEntry(int lineNumber, std::string_view line, std::string& name)
{
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i == line.size() || line[i] != '"')
        throw IMPN_ColorDatabaseText::ParseError(lineNumber, "expected a name in double quotes");
    ++i;
    name.clear();
    bool closed = false;
    while (i < line.size())
    {
        const char c = line[i++];
        if (c == '"')
        {
            closed = true;
            break;
        }
        if (c == '\\')
        {
            if (i == line.size())
                break;
            const char escaped = line[i++];
            if (escaped != 'x')
            {
                name.push_back(escaped);
                continue;
            }
            unsigned value = 0;
            const auto [end, ec] = std::from_chars(
                line.data() + i, line.data() + std::min(i + 2, line.size()), value, 16);
            if (ec != std::errc() || end != line.data() + i + 2)
                throw IMPN_ColorDatabaseText::ParseError(lineNumber, "bad \\x escape in the name");
            name.push_back(static_cast<char>(value));
            i += 2;
            continue;
        }
        name.push_back(c);
    }
    if (!closed)
        throw IMPN_ColorDatabaseText::ParseError(lineNumber, "the name has no closing quote");

    const std::vector<std::string_view> words = Words(line.substr(i));
    if (words.empty())
        throw IMPN_ColorDatabaseText::ParseError(lineNumber, "expected Lab, CMYK or RGB");
    const std::optional<IMPN_ColorSpace> space = SpaceFromName(words[0]);
    if (!space)
    {
        throw IMPN_ColorDatabaseText::ParseError(lineNumber, "unknown colour space \"" +
                                                                 std::string(words[0]) + "\"");
    }
    const std::size_t expected = *space == IMPN_ColorSpace::CMYK ? 4 : 3;
    if (words.size() - 1 != expected)
    {
        throw IMPN_ColorDatabaseText::ParseError(
            lineNumber, std::string(IMPN_ColorDatabaseText::SpaceName(*space)) + " needs " +
                            std::to_string(expected) + " values, found " +
                            std::to_string(words.size() - 1));
    }
    double values[4] = {0, 0, 0, 0};
    for (std::size_t v = 0; v < expected; ++v)
    {
        const std::string_view word = words[v + 1];
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), values[v]);
        if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(values[v]))
        {
            throw IMPN_ColorDatabaseText::ParseError(lineNumber, "\"" + std::string(word) +
                                                                     "\" is not a number");
        }
    }
    return *IMPN_ColorEntry::FromReals(*space, values);
}

std::string FormatReal(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}
} // namespace

IMPN_ColorDatabaseText::ParseError::ParseError(int line, const std::string& problem)
    : std::runtime_error("line " + std::to_string(line) + ": " + problem), m_line(line)
{
}

IMPN_ColorDatabase IMPN_ColorDatabaseText::Parse(std::string_view text)
{
    IMPN_ColorDatabase database;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size())
    {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;

        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        if (first == line.size() || line[first] == '#')
            continue;
        std::string name;
        const IMPN_ColorEntry entry = ParseEntry(lineNumber, line, name);
        database.Set(name, entry);
    }
    return database;
}

std::string IMPN_ColorDatabaseText::Format(const IMPN_ColorDatabase& database)
{
    std::string out;
    for (const auto& [name, entry] : database)
    {
        out += '"';
        for (const char c : name)
        {
            // Control characters would break the one-entry-a-line form.
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            {
                static const char hex[] = "0123456789ABCDEF";
                out += "\\x";
                out += hex[static_cast<unsigned char>(c) >> 4];
                out += hex[c & 0xF];
                continue;
            }
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
        }
        out += "\" ";
        out += SpaceName(entry.Space());
        const std::array<double, 4> reals = entry.ToReals();
        for (int i = 0; i < entry.RealCount(); ++i)
        {
            out += ' ';
            out += FormatReal(reals[i]);
        }
        out += '\n';
    }
    return out;
}

const char* IMPN_ColorDatabaseText::SpaceName(IMPN_ColorSpace space)
{
    switch (space)
    {
    case IMPN_ColorSpace::Lab:
        return "Lab";
    case IMPN_ColorSpace::CMYK:
        return "CMYK";
    case IMPN_ColorSpace::RGB:
        return "RGB";
    }
    return "?";
}
