#include "GLIB/GLIB_CommandLine.h"

namespace
{
bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}
} // namespace

std::vector<std::wstring> GLIB_CommandLine::Split(std::wstring_view line)
{
    std::vector<std::wstring> arguments;
    if (line.empty())
        return arguments;

    std::size_t i = 0;
    const std::size_t n = line.size();

    // The program path knows no escapes: a quoted one ends at the next quote, whatever follows.
    std::wstring program;
    if (line[0] == L'"')
    {
        ++i;
        while (i < n && line[i] != L'"')
            program.push_back(line[i++]);
        if (i < n)
            ++i;
    }
    else
    {
        while (i < n && !IsBlank(line[i]))
            program.push_back(line[i++]);
    }
    arguments.push_back(std::move(program));

    while (i < n && IsBlank(line[i]))
        ++i;

    // quoteCount follows the shell's rule for runs of quotes: it counts the quotes seen in the
    // current group; the third quote of a run inside a group is written literally.
    std::wstring current;
    bool inArgument = false;
    std::size_t backslashes = 0;
    int quoteCount = 0;
    while (i < n)
    {
        const wchar_t c = line[i];
        if (IsBlank(c) && quoteCount == 0)
        {
            current.append(backslashes, L'\\');
            backslashes = 0;
            if (inArgument)
            {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        inArgument = true;
        if (c == L'\\')
        {
            ++backslashes;
            ++i;
            continue;
        }
        if (c == L'"')
        {
            current.append(backslashes / 2, L'\\');
            if (backslashes % 2 == 0)
                ++quoteCount;
            else
                current.push_back(L'"');
            backslashes = 0;
            ++i;
            while (i < n && line[i] == L'"')
            {
                if (++quoteCount == 3)
                {
                    current.push_back(L'"');
                    quoteCount = 0;
                }
                ++i;
            }
            if (quoteCount == 2)
                quoteCount = 0;
            continue;
        }
        current.append(backslashes, L'\\');
        backslashes = 0;
        current.push_back(c);
        ++i;
    }
    current.append(backslashes, L'\\');
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

std::wstring GLIB_CommandLine::QuoteArgument(std::wstring_view argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring_view::npos)
        return std::wstring(argument);

    std::wstring quoted(1, L'"');
    std::size_t backslashes = 0;
    for (wchar_t c : argument)
    {
        if (c == L'\\')
        {
            ++backslashes;
            continue;
        }
        if (c == L'"')
        {
            // Every backslash before a quote is doubled, and one more escapes the quote.
            quoted.append(backslashes * 2 + 1, L'\\');
            quoted.push_back(L'"');
        }
        else
        {
            quoted.append(backslashes, L'\\');
            quoted.push_back(c);
        }
        backslashes = 0;
    }
    // Backslashes before the closing quote are doubled so that it stays a closing quote.
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

std::wstring GLIB_CommandLine::Join(const std::vector<std::wstring>& arguments)
{
    std::wstring line;
    if (arguments.empty())
        return line;

    const std::wstring& program = arguments.front();
    const bool needsQuotes = program.empty() ||
                             program.find_first_of(L" \t") != std::wstring::npos ||
                             program.front() == L'"';
    if (needsQuotes)
    {
        line.push_back(L'"');
        for (wchar_t c : program)
        {
            if (c != L'"')
                line.push_back(c);
        }
        line.push_back(L'"');
    }
    else
    {
        line += program;
    }

    for (std::size_t k = 1; k < arguments.size(); ++k)
    {
        line.push_back(L' ');
        line += QuoteArgument(arguments[k]);
    }
    return line;
}
