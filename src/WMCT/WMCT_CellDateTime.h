#pragma once
// A cell that shows a date and a time in the user's locale: the date (short form, or long with
// LongDate), two blanks, the time. Set from a calendar date and time or from a file time (100 ns
// ticks since 1601-01-01), which is taken as it stands, without a change of time zone. A time that
// is missing or outside the calendar shows "----".

#include "WMCT/WMCT_CellString.h"

#include <QDateTime>

#include <cstdint>

class WMCT_CellDateTime : public WMCT_CellString
{
public:
    // Date flags.
    static constexpr std::uint32_t NoUserOverride = 0x80000000u;
    static constexpr std::uint32_t ShortDate = 0x1u;
    static constexpr std::uint32_t LongDate = 0x2u;
    // Time flags.
    static constexpr std::uint32_t NoSeconds = 0x2u;

    static constexpr const wchar_t* NoTimeText = L"----";
    static constexpr std::int64_t TicksPerSecond = 10'000'000;

    WMCT_CellDateTime() = default;
    std::unique_ptr<WMCT_CellBase> Clone() const override;

    void SetDateFlags(std::uint32_t flags) { m_dateFlags = flags; }
    void SetTimeFlags(std::uint32_t flags) { m_timeFlags = flags; }
    std::uint32_t GetDateFlags() const { return m_dateFlags; }
    std::uint32_t GetTimeFlags() const { return m_timeFlags; }

    void SetCalendarTime(const QDate& date, const QTime& time);
    // Ticks of 0 and below mean no time.
    void SetFileTime(std::int64_t ticks);

    // The text for a date and time with the given flags, in the user's locale.
    static std::wstring Format(const QDate& date, const QTime& time, std::uint32_t dateFlags,
                               std::uint32_t timeFlags);
    // A file time as a calendar date and time; false when there is none.
    static bool FromFileTime(std::int64_t ticks, QDate& date, QTime& time);

protected:
    WMCT_CellDateTime(const WMCT_CellDateTime&) = default;

private:
    std::uint32_t m_dateFlags = NoUserOverride;
    std::uint32_t m_timeFlags = NoUserOverride;
};
