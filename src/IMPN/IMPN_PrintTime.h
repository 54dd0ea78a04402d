#pragma once
// Print times of preview files. The output system writes the time a separation was rendered as
// text ("12/31/2003 10:00:00" or "2003:12:31 10:00:00"); the tree compares them as 64-bit counts
// of 100-nanosecond ticks since 1601-01-01 00:00:00 so that a re-rendered ink replaces the older
// file of the same name.

#include <cstdint>
#include <optional>
#include <string_view>

class IMPN_PrintTime
{
public:
    // Ticks of 100 ns per second.
    static constexpr std::int64_t TicksPerSecond = 10'000'000;

    // Reads six decimal numbers, three for the date and three for the time. Blanks in front of
    // a number are skipped; after each number exactly one character (whatever it is) is skipped
    // as the separator. When the third number is below 32 the date is year, month, day;
    // otherwise month, day, year. Returns nothing when a number is missing, too large, or the
    // date or time does not exist (month 13, February 30, hour 24, a year before 1601 or after
    // 30827, the range the tick scale covers).
    static std::optional<std::int64_t> Parse(std::string_view text);

    // Parse, with 0 (the earliest instant) for text that is not a valid time, so that a file
    // whose time cannot be read never replaces one whose time can.
    static std::int64_t ParseOrZero(std::string_view text);

    // Ticks of a calendar date and time (assumed valid), milliseconds 0.
    static std::int64_t ToTicks(int year, int month, int day, int hour, int minute, int second);
};
