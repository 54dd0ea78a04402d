#pragma once
// The one command-line parser of every krn subcommand, so that all of them read options, numbers
// and colours the same way and all answer -h and --help.
//
// A subcommand declares its options with handlers that store the value where it wants it, then
// parses:
//
//     KRN_OptionParser parser("thumbnail", kUsage);
//     parser.Operands(o.paths, 1, "no preview files given");
//     parser.Option("--sheet", [&](const std::string& v)
//                   { o.sheet = int(KRN_OptionParser::Integer(v, 1, 1 << 30, "--sheet needs ..."));
//                   });
//     parser.Option("--out", o.out, KRN_OptionParser::kRequired);
//     if (const std::optional<int> exit = parser.Parse(args))
//         return *exit;
//
// Rules: an option takes its value from the next argument or after "=" ("--out x.png",
// "--out=x.png"); options and operands mix in any order; "--" ends the options; "-" alone is an
// operand. -h or --help anywhere before "--" prints the usage on standard output and the command
// ends with 0. A usage error prints "krn COMMAND: problem" and the usage on standard error and the
// command ends with 2.

#include "IMPN/IMPN_ColorRecord.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A value or an argument the command cannot take; its text says what is wanted.
class KRN_UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class KRN_OptionParser
{
public:
    using Handler = std::function<void(const std::string& value)>;
    static constexpr bool kRequired = true;

    KRN_OptionParser(std::string command, std::string usage);

    // An option with a value; the handler reads it and throws KRN_UsageError when it cannot.
    // A required option missing from the arguments is a usage error "NAME is required".
    KRN_OptionParser& Option(const std::string& name, Handler handler, bool required = false);
    // An option whose value is kept as it is (the last one given wins).
    KRN_OptionParser& Option(const std::string& name, std::string& target, bool required = false);
    // An option that may be given many times; every value is kept in order.
    KRN_OptionParser& Repeated(const std::string& name, std::vector<std::string>& target);
    // Another spelling of an option declared before ("--color" for "--colour").
    KRN_OptionParser& Alias(const std::string& alias, const std::string& name);
    // An option without a value.
    KRN_OptionParser& Flag(const std::string& name, bool& target);
    // Where the arguments that are not options go; fewer than minimum is the usage error
    // "missing". Without this call an operand is a usage error.
    KRN_OptionParser& Operands(std::vector<std::string>& target, std::size_t minimum = 0,
                               std::string missing = {});

    // Nothing when the command should run; otherwise the exit code, the help or the complaint
    // already printed.
    std::optional<int> Parse(const std::vector<std::string>& args) const;

    // A usage error found after parsing: prints it like Parse does and returns 2.
    int Fail(const std::string& problem) const;
    // The usage text on standard output; returns 0.
    int Help() const;

    const std::string& Command() const { return m_command; }
    const std::string& Usage() const { return m_usage; }

    // The one way to read a value. Each throws KRN_UsageError with the given problem (or its own
    // text) when the whole text is not what is wanted.
    // A decimal integer from low to high.
    static long long Integer(const std::string& text, long long low, long long high,
                             const std::string& problem);
    // A decimal number from low to high (no infinities, no NaN).
    static double Number(const std::string& text, double low, double high,
                         const std::string& problem);
    // A number of bytes from low to high: a decimal integer, alone (bytes) or followed by a unit,
    // K, M, G or KiB, MiB, GiB (powers of 1024) or KB, MB, GB (powers of 1000), in any case.
    static unsigned long long ByteSize(const std::string& text, unsigned long long low,
                                       unsigned long long high, const std::string& problem);
    // A colour written RRGGBB in hexadecimal.
    static IMPN_ColorBGR Colour(const std::string& text);
    // The position of the text among the choices ("front" in {"front", "back"} is 0).
    static std::size_t OneOf(const std::string& text, std::initializer_list<const char*> choices,
                             const std::string& problem);
    // NAME=VALUE split at the last "=", NAME not empty (ink names may hold "=", values never do).
    static std::pair<std::string, std::string> Assignment(const std::string& text,
                                                          const std::string& option);
    // Integers separated by a character ("10,20,30,40", "800x600"), exactly count of them.
    static std::vector<long long> IntegerList(const std::string& text, char separator,
                                              std::size_t count, const std::string& problem);

private:
    struct Declared
    {
        std::string name;
        Handler handler; // empty for a flag
        bool* flag = nullptr;
        bool required = false;
    };
    const Declared* Find(const std::string& name) const;
    void ParseOrThrow(const std::vector<std::string>& args) const;

    std::string m_command;
    std::string m_usage;
    std::vector<Declared> m_options;
    std::vector<std::pair<std::string, std::string>> m_aliases;
    std::vector<std::string>* m_operands = nullptr;
    std::size_t m_minimumOperands = 0;
    std::string m_missingOperands;
};
