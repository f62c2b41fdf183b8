#include "core/worksheet/TextImportDates.h"

#include <array>
#include <charconv>

namespace korvel::text {
namespace {

// Howard Hinnant's days-from-civil, valid for every proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool IsLeap(int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int64_t DaysInMonth(int64_t y, int64_t m)
{
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[static_cast<size_t>(m - 1)];
}

// Three runs of digits parted by one separator, '-', '/' or '.', the same twice.
bool SplitDate(std::string_view text, std::array<int64_t, 3>& parts, std::array<size_t, 3>& widths, char& separator)
{
    size_t pos = 0;
    for (size_t i = 0; i < 3; ++i) {
        const size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            ++pos;
        widths[i] = pos - start;
        if (widths[i] == 0 || widths[i] > 4)
            return false;
        std::from_chars(text.data() + start, text.data() + pos, parts[i]);
        if (i == 2)
            break;
        if (pos == text.size() || (text[pos] != '-' && text[pos] != '/' && text[pos] != '.'))
            return false;
        if (i == 0)
            separator = text[pos];
        else if (text[pos] != separator)
            return false;
        ++pos;
    }
    // What follows is a time of day, not part of the date.
    return pos == text.size() || text[pos] == ' ' || text[pos] == 'T';
}

}  // namespace

std::optional<int64_t> ReadDate(std::string_view text, DateFormat format)
{
    std::array<int64_t, 3> parts{};
    std::array<size_t, 3> widths{};
    char separator = 0;
    if (!SplitDate(text, parts, widths, separator))
        return std::nullopt;
    if (format == DateFormat::Detect)
        format = widths[0] == 4     ? DateFormat::YearMonthDay
                 : separator == '.' ? DateFormat::DayMonthYear
                                    : DateFormat::Detect;
    int64_t y = 0, m = 0, d = 0;
    switch (format) {
    case DateFormat::YearMonthDay:
        y = parts[0], m = parts[1], d = parts[2];
        break;
    case DateFormat::DayMonthYear:
        d = parts[0], m = parts[1], y = parts[2];
        break;
    case DateFormat::MonthDayYear:
        m = parts[0], d = parts[1], y = parts[2];
        break;
    case DateFormat::Detect:
        return std::nullopt;
    }
    const size_t yearWidth = format == DateFormat::YearMonthDay ? widths[0] : widths[2];
    if (yearWidth != 4 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
        return std::nullopt;
    return DaysFromCivil(y, m, d);
}

int64_t PeriodOfDay(int64_t day, CalendarPeriod period)
{
    if (period == CalendarPeriod::None)
        return day;
    if (period == CalendarPeriod::Week)
        return (day + 3 - ((day + 3) % 7 + 7) % 7) / 7;  // 1970-01-01 was a Thursday; weeks start on Monday
    // Back from days to the civil month (the inverse of DaysFromCivil).
    const int64_t z = day + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2);
    return period == CalendarPeriod::Month ? y * 12 + (m - 1) : y * 4 + (m - 1) / 3;
}

bool ParseDateFormat(const std::string& word, DateFormat& format)
{
    if (word == "iso" || word == "year/month/day" || word == "ymd")
        format = DateFormat::YearMonthDay;
    else if (word == "day/month/year" || word == "dmy")
        format = DateFormat::DayMonthYear;
    else if (word == "month/day/year" || word == "mdy")
        format = DateFormat::MonthDayYear;
    else
        return false;
    return true;
}

bool ParseCalendarPeriod(const std::string& word, CalendarPeriod& period)
{
    if (word == "week")
        period = CalendarPeriod::Week;
    else if (word == "month")
        period = CalendarPeriod::Month;
    else if (word == "quarter")
        period = CalendarPeriod::Quarter;
    else
        return false;
    return true;
}

}  // namespace korvel::text
