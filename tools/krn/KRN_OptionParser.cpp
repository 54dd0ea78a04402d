#include "KRN_OptionParser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iostream>
#include <set>

KRN_OptionParser::KRN_OptionParser(std::string command, std::string usage)
    : m_command(std::move(command)), m_usage(std::move(usage))
{
    if (!m_usage.empty() && m_usage.back() != '\n')
        m_usage += '\n';
}

KRN_OptionParser& KRN_OptionParser::Option(const std::string& name, Handler handler, bool required)
{
    m_options.push_back({name, std::move(handler), nullptr, required});
    return *this;
}

KRN_OptionParser& KRN_OptionParser::Option(const std::string& name, std::string& target,
                                           bool required)
{
    return Option(
        name, [&target](const std::string& value) { target = value; }, required);
}

KRN_OptionParser& KRN_OptionParser::Repeated(const std::string& name,
                                             std::vector<std::string>& target)
{
    return Option(name, [&target](const std::string& value) { target.push_back(value); });
}

KRN_OptionParser& KRN_OptionParser::Alias(const std::string& alias, const std::string& name)
{
    m_aliases.emplace_back(alias, name);
    return *this;
}

KRN_OptionParser& KRN_OptionParser::Flag(const std::string& name, bool& target)
{
    m_options.push_back({name, {}, &target, false});
    return *this;
}

KRN_OptionParser& KRN_OptionParser::Operands(std::vector<std::string>& target, std::size_t minimum,
                                             std::string missing)
{
    m_operands = &target;
    m_minimumOperands = minimum;
    m_missingOperands = std::move(missing);
    return *this;
}

const KRN_OptionParser::Declared* KRN_OptionParser::Find(const std::string& name) const
{
    std::string wanted = name;
    for (const auto& [alias, real] : m_aliases)
        if (alias == name)
            wanted = real;
    for (const Declared& d : m_options)
        if (d.name == wanted)
            return &d;
    return nullptr;
}

void KRN_OptionParser::ParseOrThrow(const std::vector<std::string>& args) const
{
    std::set<std::string> seen;
    std::size_t operands = 0;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& a = args[i];
        const bool option = !optionsEnded && a.size() > 1 && a[0] == '-';
        if (!option)
        {
            if (m_operands == nullptr)
                throw KRN_UsageError("unexpected argument '" + a + "'");
            m_operands->push_back(a);
            ++operands;
            continue;
        }
        if (a == "--")
        {
            optionsEnded = true;
            continue;
        }
        const std::size_t eq = a.compare(0, 2, "--") == 0 ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        const Declared* d = Find(name);
        if (d == nullptr)
            throw KRN_UsageError("unknown option " + name);
        seen.insert(d->name);
        if (d->flag != nullptr)
        {
            if (eq != std::string::npos)
                throw KRN_UsageError(name + " takes no value");
            *d->flag = true;
            continue;
        }
        if (eq != std::string::npos)
            d->handler(a.substr(eq + 1));
        else if (i + 1 < args.size())
            d->handler(args[++i]);
        else
            throw KRN_UsageError(name + " needs a value");
    }
    for (const Declared& d : m_options)
        if (d.required && seen.count(d.name) == 0)
            throw KRN_UsageError(d.name + " is required");
    if (operands < m_minimumOperands)
        throw KRN_UsageError(m_missingOperands.empty() ? "too few arguments" : m_missingOperands);
}

std::optional<int> KRN_OptionParser::Parse(const std::vector<std::string>& args) const
{
    // Help wins over everything else on the line, even over a mistake before it.
    for (const std::string& a : args)
    {
        if (a == "--")
            break;
        if (a == "-h" || a == "--help")
            return Help();
    }
    try
    {
        ParseOrThrow(args);
    }
    catch (const KRN_UsageError& e)
    {
        return Fail(e.what());
    }
    return std::nullopt;
}

int KRN_OptionParser::Fail(const std::string& problem) const
{
    std::cerr << "krn " << m_command << ": " << problem << "\n" << m_usage;
    return 2;
}

int KRN_OptionParser::Help() const
{
    std::cout << m_usage;
    return 0;
}

long long KRN_OptionParser::Integer(const std::string& text, long long low, long long high,
                                    const std::string& problem)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
        throw KRN_UsageError(problem);
    return value;
}

unsigned long long KRN_OptionParser::ByteSize(const std::string& text, unsigned long long low,
                                              unsigned long long high, const std::string& problem)
{
    unsigned long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr == text.data())
        throw KRN_UsageError(problem);
    std::string unit(ptr, end);
    for (char& c : unit)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    static const std::pair<const char*, unsigned long long> kUnits[] = {
        {"", 1},
        {"K", 1ull << 10},
        {"KIB", 1ull << 10},
        {"KB", 1000ull},
        {"M", 1ull << 20},
        {"MIB", 1ull << 20},
        {"MB", 1000ull * 1000},
        {"G", 1ull << 30},
        {"GIB", 1ull << 30},
        {"GB", 1000ull * 1000 * 1000},
    };
    for (const auto& [name, factor] : kUnits)
    {
        if (unit != name)
            continue;
        // Checked before multiplying: a product past 64 bits would wrap into range.
        if (value > high / factor || value * factor < low)
            throw KRN_UsageError(problem);
        return value * factor;
    }
    throw KRN_UsageError(problem);
}

double KRN_OptionParser::Number(const std::string& text, double low, double high,
                                const std::string& problem)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value) || value < low ||
        value > high)
        throw KRN_UsageError(problem);
    return value;
}

std::size_t KRN_OptionParser::OneOf(const std::string& text,
                                    std::initializer_list<const char*> choices,
                                    const std::string& problem)
{
    std::size_t index = 0;
    for (const char* choice : choices)
    {
        if (text == choice)
            return index;
        ++index;
    }
    throw KRN_UsageError(problem);
}

IMPN_ColorBGR KRN_OptionParser::Colour(const std::string& text)
{
    if (text.size() != 6 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); }))
        throw KRN_UsageError("'" + text + "' is not a colour RRGGBB in hexadecimal");
    const unsigned long v = std::stoul(text, nullptr, 16);
    return IMPN_MakeColorBGR(std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v));
}

std::pair<std::string, std::string> KRN_OptionParser::Assignment(const std::string& text,
                                                                 const std::string& option)
{
    const std::size_t eq = text.rfind('=');
    if (eq == std::string::npos || eq == 0)
        throw KRN_UsageError(option + " needs INK=VALUE, not '" + text + "'");
    return {text.substr(0, eq), text.substr(eq + 1)};
}

std::vector<long long> KRN_OptionParser::IntegerList(const std::string& text, char separator,
                                                     std::size_t count, const std::string& problem)
{
    std::vector<long long> values;
    std::size_t start = 0;
    while (values.size() < count)
    {
        std::size_t stop = text.find(separator, start);
        if (values.size() + 1 == count)
        {
            if (stop != std::string::npos)
                throw KRN_UsageError(problem);
            stop = text.size();
        }
        else if (stop == std::string::npos)
            throw KRN_UsageError(problem);
        long long value = 0;
        const char* first = text.data() + start;
        const char* last = text.data() + stop;
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (first == last || ec != std::errc() || ptr != last)
            throw KRN_UsageError(problem);
        values.push_back(value);
        start = stop + 1;
    }
    return values;
}
