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
    out << "usage: krn COMMAND [ARGS...]\n\ncommands:\n";
    std::vector<KRN_CommandInfo> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const KRN_CommandInfo& a, const KRN_CommandInfo& b)
              { return std::strcmp(a.name, b.name) < 0; });
    for (const KRN_CommandInfo& c : sorted)
        out << "  " << c.usage << "\n";
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
    if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0)
    {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 2 : 0;
    }
    for (const KRN_CommandInfo& c : Registry())
    {
        if (std::strcmp(c.name, argv[1]) != 0)
            continue;
        std::vector<std::string> args(argv + 2, argv + argc);
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
    std::cerr << "krn: unknown command '" << argv[1] << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
