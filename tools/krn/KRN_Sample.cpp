// krn sample --out DIR [--preset NAME] [--dpi N] [--seed S] [--inks N] [--size WxH]: writes a
// complete synthetic job of preview files, screened as an output system screens them.

#include "KRN_Command.h"
#include "KRN_SampleJob.h"
#include "KRN_SamplePresets.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace
{
bool ParseNumber(const std::string& text, double& value)
{
    try
    {
        std::size_t used = 0;
        value = std::stod(text, &used);
        return used == text.size();
    }
    catch (const std::exception&)
    {
        return false;
    }
}

int Usage(const std::string& problem)
{
    if (!problem.empty())
        std::cerr << "krn sample: " << problem << "\n";
    std::cerr << "usage: krn sample --out DIR [--preset NAME] [--dpi N] [--seed S]"
                 " [--inks N] [--size WIDTHxHEIGHT]\npresets:";
    for (const std::string& name : KRN_SamplePresets::Names())
        std::cerr << " " << name;
    std::cerr << "\n--inks and --size (device pixels) shape the large preset\n";
    return 2;
}

int RunSample(const std::vector<std::string>& args)
{
    std::string out, preset = "brochure";
    double seed = 1;
    KRN_SamplePresets::Settings settings;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& flag = args[i];
        if (flag == "--help" || flag == "-h")
        {
            Usage("");
            return 0;
        }
        if (i + 1 >= args.size())
            return Usage("missing value after " + flag);
        const std::string& value = args[++i];
        double number = 0;
        if (flag == "--out")
            out = value;
        else if (flag == "--preset")
            preset = value;
        else if (flag == "--dpi" && ParseNumber(value, number) && number > 0)
            settings.dpi = number;
        else if (flag == "--seed" && ParseNumber(value, number) && number >= 0 &&
                 number <= 4294967295.0)
            seed = number;
        else if (flag == "--inks" && ParseNumber(value, number))
            settings.inks = static_cast<int>(number);
        else if (flag == "--size")
        {
            const auto x = value.find_first_of("xX");
            double w = 0, h = 0;
            if (x == std::string::npos || !ParseNumber(value.substr(0, x), w) ||
                !ParseNumber(value.substr(x + 1), h) || w < 1 || h < 1 || w > 1e6 || h > 1e6)
                return Usage("--size wants WIDTHxHEIGHT in pixels");
            settings.width = static_cast<std::uint32_t>(w);
            settings.height = static_cast<std::uint32_t>(h);
        }
        else
            return Usage("bad option " + flag + " " + value);
    }
    if (out.empty())
        return Usage("--out DIR is required");
    if (!KRN_SamplePresets::IsKnown(preset))
        return Usage("unknown preset '" + preset + "'");

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
        return Usage(e.what());
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
