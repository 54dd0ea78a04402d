// krn's arguments come from whoever types or scripts them. The input is split at NUL bytes into
// arguments and parsed with options of every kind the subcommands use; the parse must end in
// "run", help (0) or a usage error (2), a run must have what was required, and every value the
// readers accept must read back the same when written out again.

#include "KRN_OptionParser.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
void CheckReadersRoundTrip(const std::string& text)
{
    using P = KRN_OptionParser;
    try
    {
        const long long n = P::Integer(text, INT64_MIN, INT64_MAX, "p");
        if (P::Integer(std::to_string(n), INT64_MIN, INT64_MAX, "p") != n)
            std::abort();
    }
    catch (const KRN_UsageError&)
    {
    }
    try
    {
        const IMPN_ColorBGR c = P::Colour(text);
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02x%02x%02x", c[2], c[1], c[0]);
        if (P::Colour(hex) != c)
            std::abort();
    }
    catch (const KRN_UsageError&)
    {
    }
    try
    {
        const std::vector<long long> v = P::IntegerList(text, ',', 4, "p");
        const std::string again = std::to_string(v[0]) + "," + std::to_string(v[1]) + "," +
                                  std::to_string(v[2]) + "," + std::to_string(v[3]);
        if (v.size() != 4 || P::IntegerList(again, ',', 4, "p") != v)
            std::abort();
    }
    catch (const KRN_UsageError&)
    {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size && args.size() <= 64; ++i)
    {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    for (const std::string& a : args)
        CheckReadersRoundTrip(a);

    using P = KRN_OptionParser;
    std::vector<std::string> paths, hidden;
    std::string out;
    long long level = -1;
    bool quiet = false;
    P parser("fuzz", "usage: krn fuzz PATH... --level L --out FILE");
    parser.Operands(paths, 1, "no files");
    parser.Option(
        "--level", [&level](const std::string& v) { level = P::Integer(v, 0, 12, "l"); },
        P::kRequired);
    parser.Option("--paper", [](const std::string& v) { P::Colour(v); });
    parser.Option("--opacity", [](const std::string& v)
                  { P::Integer(P::Assignment(v, "--opacity").second, 0, 100, "o"); });
    parser.Option("--dpi", [](const std::string& v) { P::Number(v, 72, 4800, "d"); });
    parser.Repeated("--hide", hidden);
    parser.Alias("--conceal", "--hide");
    parser.Option("--out", out, P::kRequired);
    parser.Flag("--quiet", quiet);

    // The parser speaks on the standard streams; a fuzzer has no use for it.
    std::ostringstream sink;
    std::streambuf* const coutBuffer = std::cout.rdbuf(sink.rdbuf());
    std::streambuf* const cerrBuffer = std::cerr.rdbuf(sink.rdbuf());
    const std::optional<int> exit = parser.Parse(args);
    std::cout.rdbuf(coutBuffer);
    std::cerr.rdbuf(cerrBuffer);

    if (exit && *exit != 0 && *exit != 2)
        std::abort();
    if (!exit && (paths.empty() || level < 0 || level > 12))
        std::abort();
    return 0;
}
