// krn browse FOLDER [--all]: the job browser's scan of a folder without a display. Prints the tree
// the browser shows (two blanks of indent per level, the item text, a tab, the print time) in the
// browser's order, then the invalid files with their reasons. Exit status 0 when every candidate
// file is a preview file, 1 when some are not or the folder cannot be read, 2 for bad arguments.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"

#include "IMPN/IMPN_RegistryScan.h"

#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Registry.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

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
    std::vector<std::string> folders;
    bool all = false;
    KRN_OptionParser parser("browse", kUsage);
    parser.Operands(folders, 1, "no folder given");
    parser.Flag("--all", all);
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;
    if (folders.size() > 1)
        return parser.Fail("one folder only");
    const std::string& folder = folders.front();

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
