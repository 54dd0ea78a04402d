// krn ppf PATH...: ink-presetting files for the press (CIP3 PPF 3.0), one per sheet, made from
// exactly the preview files that will be plated: each ink's low-resolution preview counted from
// its screened one-bit tiles, front and back of a sheet in one file.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SheetInput.h"

#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_PpfExport.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: krn ppf PATH... [--sheet N] [--out FILE|DIR] [--resolution DPI] [--ascii-hex]\n"
    "writes ink-presetting files for the press (CIP3 PPF 3.0), front and back of a sheet in one\n"
    "file: with --sheet N (counted from 1, as krn dump lists the sheets) the file FILE, or\n"
    "DIR/sheet-N.ppf when DIR is a folder; without it DIR/sheet-N.ppf for every sheet, DIR made\n"
    "when missing (default: the current folder). Each ink's preview is counted from its screened\n"
    "tiles at DPI (1 to 600, default 50.8); its samples follow as bytes, or as hexadecimal text\n"
    "with --ascii-hex.\n";

struct Options
{
    std::vector<std::string> paths;
    std::optional<int> sheet;
    std::string out;
    IMPN_PpfPreview::Resolution resolution = IMPN_PpfPreview::Resolution::Default();
    bool asciiHex = false;
};

IMPN_PpfPreview::Resolution ReadResolution(const std::string& text)
{
    const std::string problem = "--resolution needs a number from 1 to 600 (dpi)";
    const auto r = IMPN_PpfPreview::Resolution::Parse(text);
    if (!r)
        throw KRN_UsageError(problem);
    std::uint64_t scale = 1;
    for (unsigned k = 0; k < r->decimals; ++k)
        scale *= 10;
    if (r->numerator < scale || r->numerator > 600 * scale)
        throw KRN_UsageError(problem);
    return *r;
}

std::string SheetFileName(std::size_t number)
{
    return "sheet-" + std::to_string(number) + ".ppf";
}

// Writes one sheet; false after saying on standard error what went wrong or what counted as no
// ink.
bool WriteSheet(IMPN_Sheet& sheet, const std::string& path, const Options& o, IMPN_WorkerPool* pool)
{
    // The inks' colours are decided from their files and the colour libraries, as the viewer
    // decides them when it shows the sheet.
    for (IMPN_Surface* surface : {&sheet.GetFrontSurface(), &sheet.GetBackSurface()})
        for (const auto& separation : surface->GetSeparations())
            separation->Prepare();
    const unsigned readers = pool ? pool->GetWorkerCount() + 1 : 1;
    IMPN_PpfExport exporter(sheet, IMPN_ColorDatabases::Global(), readers);
    if (!exporter.HasSurfaces())
    {
        std::cerr << "krn ppf: " << sheet.GetName() << " has no separations; nothing written\n";
        return false;
    }

    IMPN_PpfExport::Options options;
    options.resolution = o.resolution;
    options.encoding =
        o.asciiHex ? IMPN_PpfWriter::Encoding::AsciiHex : IMPN_PpfWriter::Encoding::Binary;
    options.software = std::string("Quor KRN ") + KRN_VERSION;
    options.pool = pool;
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    int shown = -1;
    if (terminal)
        options.progress = [&](std::uint64_t done, std::uint64_t total)
        {
            const int percent = int(done * 100 / std::max<std::uint64_t>(total, 1));
            if (percent != shown)
            {
                shown = percent;
                std::cerr << "\rwriting " << path << " " << percent << "%" << std::flush;
            }
            return true;
        };
    const IMPN_PpfExport::Outcome outcome = exporter.Write(path, options);
    if (terminal)
        std::cerr << "\r" << std::string(path.size() + 16, ' ') << "\r";

    if (outcome.status != IMPN_PpfExport::Outcome::Status::Written)
    {
        std::cerr << "krn ppf: cannot write " << path << ": " << outcome.reason << "\n";
        return false;
    }
    std::cout << path << "\n";
    for (const std::string& warning : outcome.warnings)
        std::cerr << "krn ppf: warning: " << warning << "\n";
    return outcome.warnings.empty();
}

int RunPpf(const std::vector<std::string>& args)
{
    Options o;
    KRN_OptionParser parser("ppf", kUsage);
    parser.Operands(o.paths, 1, "no preview files given");
    parser.Option("--sheet",
                  [&](const std::string& v)
                  {
                      o.sheet = int(KRN_OptionParser::Integer(
                          v, 1, 1 << 30, "--sheet needs a sheet number from 1"));
                  });
    parser.Option("--out", o.out);
    parser.Option("--resolution", [&](const std::string& v) { o.resolution = ReadResolution(v); });
    parser.Flag("--ascii-hex", o.asciiHex);
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;

    IMPN_Registry registry;
    const bool everyFile = KRN_PlaceFiles("ppf", o.paths, registry);
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    if (sheets.empty())
    {
        std::cerr << "krn ppf: no valid preview files\n";
        return 1;
    }
    if (o.sheet && std::size_t(*o.sheet) > sheets.size())
        return parser.Fail("--sheet " + std::to_string(*o.sheet) + " but there are " +
                           std::to_string(sheets.size()) + " sheets");
    if (!KRN_LoadColorDatabases("ppf", {}))
        return 1;

    std::vector<std::pair<IMPN_Sheet*, std::string>> files;
    std::error_code error;
    if (o.sheet)
    {
        std::string path = o.out.empty() ? SheetFileName(std::size_t(*o.sheet)) : o.out;
        if (!o.out.empty() && std::filesystem::is_directory(o.out, error))
            path = (std::filesystem::path(o.out) / SheetFileName(std::size_t(*o.sheet))).string();
        files.emplace_back(sheets[std::size_t(*o.sheet - 1)], path);
    }
    else
    {
        const std::filesystem::path folder = o.out.empty() ? "." : o.out;
        std::filesystem::create_directories(folder, error);
        if (!std::filesystem::is_directory(folder))
        {
            std::cerr << "krn ppf: cannot make the folder " << folder.string()
                      << (error ? ": " + error.message() : std::string(": a file is in the way"))
                      << "\n";
            return 1;
        }
        for (std::size_t k = 0; k < sheets.size(); ++k)
            files.emplace_back(sheets[k], (folder / SheetFileName(k + 1)).string());
    }

    const std::unique_ptr<IMPN_WorkerPool> pool = KRN_MakeWorkerPool(0);
    bool allWritten = true;
    for (const auto& [sheet, path] : files)
        allWritten = WriteSheet(*sheet, path, o, pool.get()) && allWritten;
    return allWritten && everyFile ? 0 : 1;
}

const KRN_CommandRegistration registration(
    {"ppf",
     "ppf PATH...              ink-presetting files for the press, CIP3 PPF (see krn ppf --help)",
     RunPpf});
} // namespace
