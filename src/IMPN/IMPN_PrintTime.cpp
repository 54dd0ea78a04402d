#include "IMPN/IMPN_PrintTime.h"

#include <array>
#include <cstddef>

namespace
{
// Reads one decimal number at pos, after optional blanks and an optional sign; advances pos
// past it. Values that do not fit comfortably in an int are refused rather than wrapped.
bool ReadNumber(std::string_view text, std::size_t& pos, long long& value)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
    {
        negative = text[pos] == '-';
        ++pos;
    }
    std::size_t digits = 0;
    long long v = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
    {
        if (v > 1'000'000'000LL)
            return false;
        v = v * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0)
        return false;
    value = negative ? -v : v;
    return true;
}

bool IsLeapYear(long long y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(long long year, long long month)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return days[static_cast<std::size_t>(month - 1)];
}

// Days from 1601-01-01 to the given date (proleptic Gregorian calendar).
std::int64_t DaysSince1601(std::int64_t y, std::int64_t m, std::int64_t d)
{
    // Shift the year to start in March so that the leap day is the last of the year.
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = y / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (m + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t daysSince0000 = era * 146097 + doe; // day 0 = 0000-03-01
    // 1601-01-01 in the same count: four whole 400-year eras, then March to December.
    constexpr std::int64_t epoch = 4 * 146097 + 306;
    return daysSince0000 - epoch;
}
} // namespace

std::int64_t IMPN_PrintTime::ToTicks(int year, int month, int day, int hour, int minute, int second)
{
    const std::int64_t days = DaysSince1601(year, month, day);
    const std::int64_t seconds =
        days * 86400 + static_cast<std::int64_t>(hour) * 3600 + minute * 60 + second;
    return seconds * TicksPerSecond;
}

std::optional<std::int64_t> IMPN_PrintTime::Parse(std::string_view text)
{
    std::array<long long, 6> n{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < n.size(); ++i)
    {
        if (!ReadNumber(text, pos, n[i]))
            return std::nullopt;
        // The separator: exactly one character, whatever it is.
        if (i + 1 < n.size())
        {
            if (pos >= text.size())
                return std::nullopt;
            ++pos;
        }
    }
    long long year, month, day;
    if (n[2] < 32)
    {
        year = n[0];
        month = n[1];
        day = n[2];
    }
    else
    {
        month = n[0];
        day = n[1];
        year = n[2];
    }
    const long long hour = n[3], minute = n[4], second = n[5];
    if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return std::nullopt;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return ToTicks(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day),
                   static_cast<int>(hour), static_cast<int>(minute), static_cast<int>(second));
}

std::int64_t IMPN_PrintTime::ParseOrZero(std::string_view text)
{
    return Parse(text).value_or(0);
}
