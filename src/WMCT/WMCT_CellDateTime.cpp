#include "WMCT/WMCT_CellDateTime.h"

#include <QLocale>
#include <QRegularExpression>

namespace
{
constexpr std::int64_t kTicksPerDay = WMCT_CellDateTime::TicksPerSecond * 86'400;

// The locale's time form without its time-zone part: a file time has no zone.
QString TimeFormat(const QLocale& locale, bool seconds)
{
    QString format = locale.timeFormat(seconds ? QLocale::LongFormat : QLocale::ShortFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}
} // namespace

std::unique_ptr<WMCT_CellBase> WMCT_CellDateTime::Clone() const
{
    return std::unique_ptr<WMCT_CellBase>(new WMCT_CellDateTime(*this));
}

std::wstring WMCT_CellDateTime::Format(const QDate& date, const QTime& time,
                                       std::uint32_t dateFlags, std::uint32_t timeFlags)
{
    if (!date.isValid() || !time.isValid())
        return NoTimeText;
    const QLocale locale = QLocale::system();
    const QString dateText = locale.toString(
        date, (dateFlags & LongDate) != 0 ? QLocale::LongFormat : QLocale::ShortFormat);
    const QString timeText =
        locale.toString(time, TimeFormat(locale, (timeFlags & NoSeconds) == 0));
    return (dateText + QStringLiteral("  ") + timeText).toStdWString();
}

bool WMCT_CellDateTime::FromFileTime(std::int64_t ticks, QDate& date, QTime& time)
{
    if (ticks <= 0)
        return false;
    const std::int64_t days = ticks / kTicksPerDay;
    const std::int64_t seconds = (ticks % kTicksPerDay) / TicksPerSecond;
    date = QDate(1601, 1, 1).addDays(days);
    time = QTime(0, 0).addSecs(static_cast<int>(seconds));
    return date.isValid() && time.isValid();
}

void WMCT_CellDateTime::SetCalendarTime(const QDate& date, const QTime& time)
{
    SetText(Format(date, time, m_dateFlags, m_timeFlags));
}

void WMCT_CellDateTime::SetFileTime(std::int64_t ticks)
{
    QDate date;
    QTime time;
    if (FromFileTime(ticks, date, time))
        SetCalendarTime(date, time);
    else
        SetText(NoTimeText);
}
