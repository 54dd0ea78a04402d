#pragma once

// A process's arguments as one command line with the quoting rules of the Windows shell, and the
// way back. The hand-over between program instances carries such a line.

#include <string>
#include <string_view>
#include <vector>

class GLIB_CommandLine
{
public:
    // The first argument is the program path: it is taken up to the next space or tab, or, when
    // it starts with a quote, up to the next quote, with no escapes. The rest are separated by
    // spaces and tabs; quotes group, 2n backslashes before a quote give n backslashes and a
    // grouping quote, 2n+1 give n backslashes and a literal quote, other backslashes are
    // literal, and a quote doubled inside a group gives a literal quote. An empty or blank line
    // gives no argument at all or an empty program path.
    static std::vector<std::wstring> Split(std::wstring_view commandLine);

    // Joins the arguments so that Split gives them back. A program path cannot hold a quote
    // together with a space or tab; its quotes are dropped then (a path of this kind cannot be
    // written on such a command line at all).
    static std::wstring Join(const std::vector<std::wstring>& arguments);

    // One argument (not the program path) quoted for the command line.
    static std::wstring QuoteArgument(std::wstring_view argument);
};
