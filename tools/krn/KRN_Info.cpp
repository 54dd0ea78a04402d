// krn info FILE...: whether each file is a valid preview file (and which check failed), then
// libtiff's report of every directory, private lines included. Exits 1 when any file named cannot
// be opened or is not a valid preview file, so that scripts can tell.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"

#include "TIFX/TIFX_KRNFile.h"

#include <cstdio>

namespace
{
int RunInfo(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    KRN_OptionParser parser("info", "usage: krn info FILE...\n");
    parser.Operands(files, 1, "no files given");
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;
    int status = 0;
    for (const std::string& path : files)
    {
        TIFX_KRNFile file(path);
        try
        {
            file.Open();
        }
        catch (const TIFX_Exception& e)
        {
            std::fflush(stdout);
            std::fprintf(stderr, "krn info: %s: cannot open: %s\n", path.c_str(), e.what());
            status = 1;
            continue;
        }
        if (file.IsValidPreviewFile())
            std::printf("%s: valid preview file\n", path.c_str());
        else
        {
            std::printf("%s: not a valid preview file: %s\n", path.c_str(),
                        file.GetValidityFailure().c_str());
            std::fflush(stdout);
            std::fprintf(stderr, "krn info: %s is not a valid preview file: %s\n", path.c_str(),
                         file.GetValidityFailure().c_str());
            status = 1;
        }
        const uint16_t count = file.CountDirectories();
        for (uint16_t d = 0; d < count; ++d)
        {
            if (!file.SetDirectory(d))
            {
                std::printf("Directory %u cannot be read\n", static_cast<unsigned>(d));
                break;
            }
            file.PrintDirectory(stdout);
        }
        std::fflush(stdout);
    }
    return status;
}

const KRN_CommandRegistration registration(
    {"info", "info FILE...             validity and directory report of preview files", RunInfo});
} // namespace
