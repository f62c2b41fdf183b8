#pragma once
// Dates as price exports write them, read into a day number so that they can
// be ordered, compared with --since/--until and grouped into calendar periods.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel::text {

enum class DateFormat {
    Detect,        // year-month-day, or day.month.year where dots part it
    YearMonthDay,  // 2024-01-31, 2024/01/31
    DayMonthYear,  // 31.01.2024, 31/01/2024
    MonthDayYear,  // 01/31/2024
};

enum class CalendarPeriod { None, Week, Month, Quarter };

// Days since 1970-01-01; nothing when the text is no date in that format. A
// time after the date ("2024-01-31 16:00") is allowed and not used.
std::optional<int64_t> ReadDate(std::string_view text, DateFormat format);

// The same number for every day of one calendar week (Monday to Sunday),
// month or quarter.
int64_t PeriodOfDay(int64_t day, CalendarPeriod period);

// The words of --date-format and --every.
bool ParseDateFormat(const std::string& word, DateFormat& format);
bool ParseCalendarPeriod(const std::string& word, CalendarPeriod& period);

}  // namespace korvel::text
