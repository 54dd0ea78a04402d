// krn dump PATH...: builds an imposition registry from preview files and folders exactly as the
// viewer does when it opens them, prints the registry's diagnostic dump and the names the viewer
// shows for each node, then says which files were rejected and why. Exits 1 when no file was
// placed.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SheetInput.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "TIFX/TIFX_Exception.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace
{
std::string ReasonText(const IMPN_Registry::RejectedFile& r)
{
    switch (r.reason)
    {
    case IMPN_Registry::RejectReason::CannotOpen:
        return "cannot be opened" + (r.detail.empty() ? std::string() : ": " + r.detail);
    case IMPN_Registry::RejectReason::NotPreviewFile:
        return "not a valid preview file" +
               (r.detail.empty() ? std::string() : " (" + r.detail + ")");
    }
    return "rejected";
}

void PrintNames(IMPN_Registry& registry, std::ostream& out)
{
    out << "\nNames\n";
    for (const auto& imposition : registry.GetImpositions())
    {
        out << "  " << imposition->GetName() << "\n";
        for (const auto& signature : imposition->GetSignatures())
        {
            out << "    " << signature->GetName() << "\n";
            for (IMPN_Sheet* sheet : signature->GetSheets())
            {
                out << "      " << sheet->GetName() << "\n";
                const IMPN_Surface* surfaces[] = {&sheet->GetFrontSurface(),
                                                  &sheet->GetBackSurface()};
                const char* labels[] = {"front", "back"};
                for (int i = 0; i < 2; ++i)
                {
                    if (!surfaces[i]->HasSeparations())
                        continue;
                    out << "        " << labels[i] << ":";
                    for (const auto& separation : surfaces[i]->GetSeparations())
                        out << " [" << separation->GetName() << " @ " << separation->GetPrintTime()
                            << "]";
                    out << "\n";
                }
            }
        }
    }
}

int RunDump(const std::vector<std::string>& args)
{
    std::vector<std::string> operands;
    KRN_OptionParser parser(
        "dump", "usage: krn dump PATH...  (files, or folders of .KRN, .PRV and .TIF files)\n");
    parser.Operands(operands, 1, "no files or folders given");
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;
    std::vector<std::string> problems;
    std::vector<std::string> paths;
    for (const std::string& arg : operands)
    {
        for (std::string& file : KRN_ExpandPath(arg, problems))
            paths.push_back(std::move(file));
    }

    IMPN_Registry registry;
    std::vector<IMPN_Registry::RejectedFile> rejected;
    std::vector<std::string> failures;
    int placed = 0;
    for (const std::string& path : paths)
    {
        // One file at a time, so that a file that breaks half way through being placed is
        // reported and the others still are.
        try
        {
            placed += registry.AddFiles({GFIL_FileSpec(path)}, false, &rejected);
        }
        catch (const TIFX_Exception& e)
        {
            failures.push_back(path + ": " + e.what());
        }
        catch (const GLIB_Exception& e)
        {
            failures.push_back(path + ": " + e.WhatNarrow());
        }
    }

    registry.Dump(std::cout, 0);
    PrintNames(registry, std::cout);
    std::cout << "\n";
    for (const auto& r : rejected)
        std::cout << "rejected: " << PathToNarrow(r.path) << ": " << ReasonText(r) << "\n";
    for (const std::string& f : failures)
        std::cout << "rejected: " << f << "\n";
    for (const std::string& p : problems)
        std::cout << "rejected: " << p << "\n";
    std::cout << placed << " of " << paths.size() << " files placed\n";
    std::cout.flush();
    if (placed == 0)
    {
        std::cerr << "krn dump: no file was placed (" << paths.size() << " given)\n";
        return 1;
    }
    return 0;
}

const KRN_CommandRegistration registration(
    {"dump", "dump PATH...             imposition tree of preview files and folders", RunDump});
} // namespace
