// krn colordb: look into colour database files and make them from text, so that the shipped
// spot-colour library is built from a reviewable source and a user can bring a library of their
// own.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"

#include "IMPN/IMPN_ColorDatabaseFile.h"
#include "IMPN/IMPN_ColorDatabaseText.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace
{
const char* StatusText(IMPN_ColorDatabaseFile::Status status)
{
    switch (status)
    {
    case IMPN_ColorDatabaseFile::Status::Complete:
        return "complete";
    case IMPN_ColorDatabaseFile::Status::Incomplete:
        return "incomplete";
    case IMPN_ColorDatabaseFile::Status::Rejected:
        return "not a colour database";
    case IMPN_ColorDatabaseFile::Status::Missing:
        return "missing";
    case IMPN_ColorDatabaseFile::Status::Unreadable:
        return "unreadable";
    }
    return "?";
}

// Reads a database and reports on stderr what went wrong. Nothing when the file is not a colour
// database at all; a damaged one gives what could be read.
std::optional<IMPN_ColorDatabaseFile::ReadResult> ReadDatabase(const std::string& path)
{
    IMPN_ColorDatabaseFile::ReadResult result = IMPN_ColorDatabaseFile::Read(path);
    if (!result.Accepted())
    {
        std::cerr << "krn colordb: " << path << ": "
                  << (result.problem.empty() ? StatusText(result.status) : result.problem) << "\n";
        return std::nullopt;
    }
    if (result.status == IMPN_ColorDatabaseFile::Status::Incomplete)
    {
        std::cerr << "krn colordb: " << path << ": warning: read " << result.entriesRead << " of "
                  << result.announcedCount << " entries; " << result.problem << "\n";
    }
    return result;
}

std::string Hex(const IMPN_ColorBGR& bgr)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", bgr[2], bgr[1], bgr[0]);
    return text;
}

std::string StoredValues(const IMPN_ColorEntry& entry)
{
    std::ostringstream out;
    switch (entry.Space())
    {
    case IMPN_ColorSpace::Lab:
    {
        // The units kept in memory, then what they mean.
        const auto& u = entry.LabUnits();
        const auto reals = entry.ToReals();
        char text[96];
        std::snprintf(text, sizeof text, "%u %u %u (L %.2f a %.2f b %.2f)", u[0], u[1], u[2],
                      reals[0], reals[1], reals[2]);
        out << text;
        break;
    }
    case IMPN_ColorSpace::CMYK:
    {
        const auto& p = entry.CMYKPercent();
        out << int(p[0]) << " " << int(p[1]) << " " << int(p[2]) << " " << int(p[3]) << " %";
        break;
    }
    case IMPN_ColorSpace::RGB:
    {
        const auto& c = entry.BGR();
        out << int(c[2]) << " " << int(c[1]) << " " << int(c[0]);
        break;
    }
    }
    return out.str();
}

// A name as it can be read on a terminal: control characters escaped.
std::string Printable(const std::string& name)
{
    std::string out;
    for (const char c : name)
    {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
        {
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02X", static_cast<unsigned char>(c));
            out += text;
        }
        else
        {
            out += c;
        }
    }
    return out;
}

int List(const std::string& path)
{
    const auto result = ReadDatabase(path);
    if (!result)
        return 1;
    std::size_t width = 4;
    for (const auto& [name, entry] : result->database)
        width = std::max(width, Printable(name).size());
    for (const auto& [name, entry] : result->database)
    {
        const std::string shown = Printable(name);
        std::cout << shown << std::string(width - shown.size() + 2, ' ');
        const std::string space = IMPN_ColorDatabaseText::SpaceName(entry.Space());
        std::cout << space << std::string(6 - space.size(), ' ') << StoredValues(entry) << "  "
                  << Hex(entry.DisplayColor()) << "\n";
    }
    return result->status == IMPN_ColorDatabaseFile::Status::Complete ? 0 : 1;
}

int Build(const std::string& textPath, const std::string& outPath)
{
    std::ifstream in(textPath, std::ios::binary);
    if (!in)
    {
        std::cerr << "krn colordb: cannot read " << textPath << "\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    IMPN_ColorDatabase database;
    try
    {
        database = IMPN_ColorDatabaseText::Parse(text.str());
    }
    catch (const IMPN_ColorDatabaseText::ParseError& e)
    {
        std::cerr << textPath << ":" << e.Line() << ": " << e.what() << "\n";
        return 1;
    }
    IMPN_ColorDatabaseFile::Write(outPath, database);
    return 0;
}

int Export(const std::string& path, const std::string& textPath)
{
    const auto result = ReadDatabase(path);
    if (!result)
        return 1;
    const std::string text = "# Colour database exported from " + path + "\n" +
                             "# \"name\" Lab L a b | CMYK c m y k | RGB red green blue\n" +
                             IMPN_ColorDatabaseText::Format(result->database);
    if (textPath == "-")
    {
        std::cout << text;
    }
    else
    {
        std::ofstream out(textPath, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out)
        {
            std::cerr << "krn colordb: cannot write " << textPath << "\n";
            return 1;
        }
    }
    return result->status == IMPN_ColorDatabaseFile::Status::Complete ? 0 : 1;
}

int Run(const std::vector<std::string>& args)
{
    std::vector<std::string> operands;
    KRN_OptionParser parser(
        "colordb",
        "usage: krn colordb list FILE          entries with their display colour\n"
        "       krn colordb build TEXT OUT     colour database from its text form\n"
        "       krn colordb export FILE TEXT   text form of a colour database (- for stdout)\n");
    parser.Operands(operands, 1, "list, build or export?");
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;
    const std::string& action = operands[0];
    if (action == "help" && operands.size() == 1)
        return parser.Help();
    if (action == "list" && operands.size() == 2)
        return List(operands[1]);
    if (action == "build" && operands.size() == 3)
        return Build(operands[1], operands[2]);
    if (action == "export" && operands.size() == 3)
        return Export(operands[1], operands[2]);
    if (action != "list" && action != "build" && action != "export")
        return parser.Fail("unknown action '" + action + "'");
    return parser.Fail("wrong number of arguments for " + action);
}

const KRN_CommandRegistration registration(
    {"colordb", "colordb list|build|export ...  colour databases (see krn colordb --help)", &Run});
} // namespace
