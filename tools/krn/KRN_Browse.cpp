// krn browse FOLDER [--all]: the job browser's scan of a folder without a display. Prints the tree
// the browser shows (two blanks of indent per level, the item text, a tab, the print time) in the
// browser's order, then the invalid files with their reasons. Exit status 0 when every candidate
// file is a preview file, 1 when some are not or the folder cannot be read, 2 for bad arguments.

#include "KRN_Command.h"

#include "IMPN/IMPN_RegistryScan.h"

#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Registry.h"

#include <cstdio>
#include <string>

namespace
{
constexpr const char* kUsage = "usage: krn browse FOLDER [--all]\n";

void PrintRows(IMPN_RegistryScan::Kind kind, IMPN_Node& node, int level, bool all)
{
    static const IMPN_RegistryScan::Words words;
    std::printf("%s%s\t%s\n", std::string(std::size_t(level) * 2, ' ').c_str(),
                ToNarrow(IMPN_RegistryScan::ItemText(kind, node, words)).c_str(),
                IMPN_RegistryScan::FormatTicks(IMPN_RegistryScan::PrintTicks(kind, node)).c_str());
    for (const IMPN_RegistryScan::Child& child : IMPN_RegistryScan::SortedChildren(kind, node, all))
        PrintRows(child.kind, *child.node, level + 1, all);
}

int RunBrowse(const std::vector<std::string>& args)
{
    std::string folder;
    bool all = false;
    for (const std::string& arg : args)
    {
        if (arg == "--help" || arg == "-h")
        {
            std::printf("%s", kUsage);
            return 0;
        }
        if (arg == "--all")
            all = true;
        else if (!arg.empty() && arg[0] == '-')
        {
            std::fprintf(stderr, "krn browse: unknown option '%s'\n%s", arg.c_str(), kUsage);
            return 2;
        }
        else if (folder.empty())
            folder = arg;
        else
        {
            std::fprintf(stderr, "krn browse: one folder only\n%s", kUsage);
            return 2;
        }
    }
    if (folder.empty())
    {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }

    IMPN_Registry registry;
    IMPN_RegistryFolder record;
    if (!IMPN_RegistryScan::Scan(folder, registry, record))
    {
        std::fprintf(stderr, "krn browse: %s: %s\n", folder.c_str(), record.listError.c_str());
        return 1;
    }
    // Impositions keep the order in which the folder's files brought them.
    for (const auto& imposition : registry.GetImpositions())
        PrintRows(IMPN_RegistryScan::Imposition, *imposition, 0, all);
    if (record.invalidCount > 0)
    {
        std::printf("invalid files: %d of %d\n", record.invalidCount, record.total);
        for (std::size_t i = 0; i < record.invalidFiles.size(); ++i)
            std::printf("  %s: %s\n", record.invalidFiles[i].c_str(), record.reasons[i].c_str());
    }
    std::fflush(stdout);
    return record.invalidCount > 0 ? 1 : 0;
}

const KRN_CommandRegistration registration(
    {"browse", "browse FOLDER [--all]    the job browser's tree of a folder and its invalid files",
     RunBrowse});
} // namespace
