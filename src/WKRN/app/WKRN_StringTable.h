#pragma once
// The viewer's string table: every user-visible text by its numeric id. The English texts are the
// translation sources; a lookup goes through the installed translator (context
// "WKRN_StringTable", the id as the disambiguation), so a language module translates by id.
//
// A command's string is its status-bar help, a line feed, then its tooltip.

#include <QString>

#include <vector>

class WKRN_StringTable
{
public:
    // The text in the language of the run; an unknown id gives an empty string.
    static QString Load(unsigned id);
    // The English source text.
    static QString English(unsigned id);
    static bool Contains(unsigned id);
    static std::vector<unsigned> Ids();

    // The two halves of a command's string.
    static QString CommandHelp(unsigned commandId);
    static QString CommandTooltip(unsigned commandId);

    static constexpr const char* kContext = "WKRN_StringTable";
};
