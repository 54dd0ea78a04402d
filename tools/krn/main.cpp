// krn: the viewer's model without a display. Renders, thumbnails, dumps and file reports go
// through the same libraries as the viewer, so what a person checks here is what the viewer shows.

#include "KRN_Command.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <iostream>

namespace
{
std::vector<KRN_CommandInfo>& Registry()
{
    static std::vector<KRN_CommandInfo> commands;
    return commands;
}

void PrintUsage(std::ostream& out)
{
    out << "Usage: krn COMMAND [ARGS...]\n"
           "  or:  krn help [COMMAND]\n"
           "  or:  krn --version\n\n"
           "The viewer's model without a display: synthetic jobs, file reports, imposition trees,\n"
           "renders and thumbnails made exactly as the viewer makes them.\n\ncommands:\n";
    std::vector<KRN_CommandInfo> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const KRN_CommandInfo& a, const KRN_CommandInfo& b)
              { return std::strcmp(a.name, b.name) < 0; });
    for (const KRN_CommandInfo& c : sorted)
        out << "  " << c.usage << "\n";
    out << "\nEvery command answers -h and --help with its options.\n";
}

const KRN_CommandInfo* FindCommand(const char* name)
{
    for (const KRN_CommandInfo& c : Registry())
        if (std::strcmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

int RunCommand(const KRN_CommandInfo& c, const std::vector<std::string>& args)
{
    try
    {
        return c.run(args);
    }
    catch (const std::exception& e)
    {
        std::cerr << "krn " << c.name << ": " << e.what() << "\n";
        return 1;
    }
    catch (...)
    {
        std::cerr << "krn " << c.name << ": unexpected failure\n";
        return 1;
    }
}
} // namespace

KRN_CommandRegistration::KRN_CommandRegistration(const KRN_CommandInfo& info)
{
    Registry().push_back(info);
}

const std::vector<KRN_CommandInfo>& KRN_Commands()
{
    return Registry();
}

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0)
    {
        std::cout << "krn (Quor KRN) " << KRN_VERSION << "\n";
        return 0;
    }
    const bool help =
        argc >= 2 && (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0 ||
                      std::strcmp(argv[1], "-h") == 0);
    if (help && argc >= 3)
    {
        // "krn help render" is "krn render --help".
        if (const KRN_CommandInfo* c = FindCommand(argv[2]))
            return RunCommand(*c, {"--help"});
        std::cerr << "krn: unknown command '" << argv[2] << "'\n";
        PrintUsage(std::cerr);
        return 2;
    }
    if (argc < 2 || help)
    {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 2 : 0;
    }
    if (const KRN_CommandInfo* c = FindCommand(argv[1]))
        return RunCommand(*c, std::vector<std::string>(argv + 2, argv + argc));
    std::cerr << "krn: unknown command '" << argv[1] << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
