#pragma once
// A readable text form of a colour database, so that a colour library can be kept in version
// control and a user can bring a library of their own. One entry a line:
//
//     "PANTONE 185 C"  Lab  49.5 72.25 43.5
//     "Warm Grey"      CMYK 0 10 20 40
//     "Signal Red"     RGB  230 0 35
//
// The name is in double quotes (a quote or backslash inside it is escaped with a backslash, a
// control character written as \xHH), the space is Lab, CMYK or RGB in any letter case, then
// three values (four for CMYK) in the units of the database file. Blank lines and lines starting
// with # are ignored.

#include "IMPN/IMPN_ColorDatabase.h"

#include <stdexcept>
#include <string>
#include <string_view>

class IMPN_ColorDatabaseText
{
public:
    // A line that is not an entry; what() names the line number and the problem.
    class ParseError : public std::runtime_error
    {
    public:
        ParseError(int line, const std::string& problem);
        int Line() const { return m_line; }

    private:
        int m_line;
    };

    // Throws ParseError at the first bad line. A name given twice keeps the later colour.
    static IMPN_ColorDatabase Parse(std::string_view text);
    // One line per entry in map order; values are written so that they read back exactly.
    static std::string Format(const IMPN_ColorDatabase& database);
    // The space keyword of the text form: "Lab", "CMYK" or "RGB".
    static const char* SpaceName(IMPN_ColorSpace space);
};
