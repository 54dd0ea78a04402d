// krn sample --out DIR [--preset NAME] [--dpi N] [--seed S] [--inks N] [--size WxH]
// [--content pages|dense]: writes a complete synthetic job of preview files, screened as an output
// system screens them.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SampleJob.h"
#include "KRN_SamplePresets.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace
{
std::string UsageText()
{
    std::string text = "usage: krn sample --out DIR [--preset NAME] [--dpi N] [--seed S]"
                       " [--inks N] [--size WIDTHxHEIGHT] [--content pages|dense]\npresets:";
    for (const std::string& name : KRN_SamplePresets::Names())
        text += " " + name;
    return text +
           "\n--inks, --size (device pixels) and --content shape the large preset: pages"
           " is imposed page art,\ndense a 45-55 % screen in every ink over the whole plate\n";
}

int RunSample(const std::vector<std::string>& args)
{
    using P = KRN_OptionParser;
    std::string out, preset = "brochure";
    double seed = 1;
    KRN_SamplePresets::Settings settings;
    P parser("sample", UsageText());
    parser.Option("--out", out, P::kRequired);
    parser.Option("--preset", preset);
    parser.Option("--dpi", [&settings](const std::string& v)
                  { settings.dpi = P::Number(v, 1e-9, 1e9, "--dpi needs a positive number"); });
    parser.Option("--seed", [&seed](const std::string& v)
                  { seed = P::Number(v, 0, 4294967295.0, "--seed is 0 to 4294967295"); });
    parser.Option("--inks", [&settings](const std::string& v)
                  { settings.inks = int(P::Integer(v, 1, 8, "--inks must be 1 to 8")); });
    parser.Option("--size",
                  [&settings](const std::string& v)
                  {
                      std::string size = v;
                      std::replace(size.begin(), size.end(), 'X', 'x');
                      const std::vector<long long> wh =
                          P::IntegerList(size, 'x', 2, "--size wants WIDTHxHEIGHT in pixels");
                      if (wh[0] < 1 || wh[1] < 1 || wh[0] > 1000000 || wh[1] > 1000000)
                          throw KRN_UsageError("--size wants WIDTHxHEIGHT in pixels");
                      settings.width = static_cast<std::uint32_t>(wh[0]);
                      settings.height = static_cast<std::uint32_t>(wh[1]);
                  });
    parser.Option("--content",
                  [&settings](const std::string& v)
                  {
                      if (v == "pages")
                          settings.content = KRN_SampleContent::Pages;
                      else if (v == "dense")
                          settings.content = KRN_SampleContent::Dense;
                      else
                          throw KRN_UsageError("--content is pages or dense");
                  });
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;
    if (!KRN_SamplePresets::IsKnown(preset))
        return parser.Fail("unknown preset '" + preset + "'");

    // Progress on a terminal only, so that scripts and logs get the list of files alone.
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    KRN_SampleJob::Progress progress =
        [terminal](std::size_t done, std::size_t total, const std::string& name)
    {
        if (!terminal)
            return;
        if (name.empty())
            std::cerr << "\r\033[K";
        else
            std::cerr << "\r\033[K[" << done + 1 << "/" << total << "] " << name << std::flush;
    };

    std::vector<std::string> files;
    try
    {
        const auto s = static_cast<std::uint32_t>(seed);
        if (preset == "invalid")
            files = KRN_SampleJob::WriteInvalid(out, s, progress);
        else
            files =
                KRN_SampleJob::Write(KRN_SamplePresets::Make(preset, settings), out, s, progress);
    }
    catch (const std::invalid_argument& e)
    {
        return parser.Fail(e.what());
    }
    for (const std::string& f : files)
        std::cout << f << "\n";
    std::cout << files.size() << " files written to " << out << "\n";
    return 0;
}

const KRN_CommandRegistration registration(
    {"sample", "sample --out DIR [--preset NAME] [--dpi N] [--seed S]  write a synthetic job",
     RunSample});
} // namespace
