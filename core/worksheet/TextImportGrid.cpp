#include "core/worksheet/TextImportGrid.h"

#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace korvel::text {
namespace {

bool Fail(TextError& error, Place place, std::string message)
{
    error = TextError{place.line, place.field, std::move(message)};
    return false;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

bool Ascending(const std::vector<int64_t>& days)
{
    return std::adjacent_find(days.begin(), days.end(), std::greater_equal<>()) == days.end();
}

bool Descending(const std::vector<int64_t>& days)
{
    return std::adjacent_find(days.begin(), days.end(), std::less_equal<>()) == days.end();
}

}  // namespace

ImportGrid::ImportGrid(const TextOptions& options, const TextLimits& limits, bool byColumn, bool numeric)
    : m_options(options), m_limits(limits), m_byColumn(byColumn), m_numeric(numeric)
{}

namespace {

// A share's values: its prices, one more than the returns they give, or its returns.
struct ValueKind {
    int extra;
    const char* word;
};

ValueKind KindOfValues(const TextOptions& options)
{
    return options.prices ? ValueKind{1, " prices"} : ValueKind{0, " returns"};
}

}  // namespace

bool CheckCountMaxima(const TextOptions& options, const TextLimits& limits, int32_t shares, int32_t values,
                      Place sharePlace, Place periodPlace, Place valuePlace, TextError& error)
{
    const ValueKind kind = KindOfValues(options);
    const int32_t periods = values - kind.extra;
    if (shares > limits.maxShares)
        return Fail(error, sharePlace, "more than " + std::to_string(limits.maxShares) + " shares");
    // A window may bring a longer history within the limit; it is checked again after.
    const bool windowed =
        options.last > 0 || !options.since.empty() || !options.until.empty() || options.every != CalendarPeriod::None;
    if (periods > limits.maxPeriods && !windowed)
        return Fail(error, periodPlace,
                    std::to_string(values) + kind.word + " per share; at most "
                        + std::to_string(limits.maxPeriods + kind.extra) + " are taken");
    if (limits.maxValues > 0 && static_cast<int64_t>(shares) * periods > limits.maxValues)
        return Fail(error, valuePlace,
                    std::to_string(shares) + " shares x " + std::to_string(periods) + " periods; at most "
                        + std::to_string(limits.maxValues) + " values are taken");
    return true;
}

bool ImportGrid::Start(int32_t shares, int32_t values, Place sharePlace, Place periodPlace, TextError& error)
{
    const ValueKind kind = KindOfValues(m_options);
    if (shares < 1)
        return Fail(error, {sharePlace.line, 0}, "the text holds no shares");
    // Too many shares is said before too few periods, as the survey says it.
    if (shares <= m_limits.maxShares && values - kind.extra < m_limits.minPeriods)
        return Fail(error, periodPlace,
                    std::to_string(values) + kind.word + " per share; at least "
                        + std::to_string(m_limits.minPeriods + kind.extra) + " are needed");
    if (!CheckCountMaxima(m_options, m_limits, shares, values, sharePlace, periodPlace, sharePlace, error))
        return false;
    m_values = values;
    m_names.assign(static_cast<size_t>(shares), std::string());
    m_shareAt.assign(static_cast<size_t>(shares), 0);
    m_periodAt.assign(static_cast<size_t>(values), 0);
    if (KeepsNumbers())
        m_numbers.assign(static_cast<size_t>(shares) * values, std::numeric_limits<double>::quiet_NaN());
    else
        m_sheet = WorksheetTable(shares + 1, values + 2);
    for (int32_t i = 0; i < shares; ++i)
        m_keptShares.push_back(i);
    for (int32_t v = 0; v < values; ++v)
        m_keptValues.push_back(v);
    return true;
}

void ImportGrid::SetShare(int32_t share, std::string name, int at)
{
    m_names[static_cast<size_t>(share)] = std::move(name);
    m_shareAt[static_cast<size_t>(share)] = at;
}

void ImportGrid::SetPeriod(int32_t index, std::string date, int at)
{
    if (m_dates.empty() && !date.empty())
        m_dates.resize(static_cast<size_t>(m_values));
    if (!m_dates.empty())
        m_dates[static_cast<size_t>(index)] = std::move(date);
    m_periodAt[static_cast<size_t>(index)] = at;
}

Place ImportGrid::PlaceOf(int32_t share, int32_t index) const
{
    const int shareAt = m_shareAt[static_cast<size_t>(share)];
    const int periodAt = m_periodAt[static_cast<size_t>(index)];
    return m_byColumn ? Place{periodAt, shareAt} : Place{shareAt, periodAt};
}

std::string ImportGrid::Where(int32_t share, int32_t index) const
{
    const std::string name = QuotedExcerpt(m_names[static_cast<size_t>(share)]);
    if (m_dates.empty())
        return name + ", value " + std::to_string(index + 1);
    return name + " on " + Excerpt(m_dates[static_cast<size_t>(index)]);
}

bool ImportGrid::Missing(int32_t share, int32_t index) const
{
    return KeepsNumbers() ? std::isnan(m_numbers[Slot(share, index)]) : Cell(share, index).empty();
}

bool ImportGrid::CheckTwins(TextError& error) const
{
    std::unordered_map<std::string_view, int32_t> seen;
    for (int32_t i = 0; i < static_cast<int32_t>(m_names.size()); ++i) {
        const std::string& name = m_names[static_cast<size_t>(i)];
        if (name.empty())
            continue;
        const auto [first, added] = seen.emplace(name, i);
        if (added)
            continue;
        const int before = m_shareAt[static_cast<size_t>(first->second)];
        const int here = m_shareAt[static_cast<size_t>(i)];
        const Place place = m_byColumn ? Place{m_headerLine, here} : Place{here, 1};
        return Fail(error, place,
                    "the ticker " + QuotedExcerpt(name) + " is there twice: " + (m_byColumn ? "fields " : "lines ")
                        + std::to_string(before) + " and " + std::to_string(here));
    }
    return true;
}

// Every date as a day; the first that does not read is an error only when the
// options need dates.
bool ImportGrid::ReadDays(bool needed, TextError& error)
{
    const auto readAll = [&](DateFormat format, int32_t& bad) {
        std::vector<int64_t> days;
        for (int32_t v = 0; v < m_values; ++v) {
            const std::optional<int64_t> day = ReadDate(m_dates[static_cast<size_t>(v)], format);
            if (!day) {
                bad = v;
                return std::vector<int64_t>();
            }
            days.push_back(*day);
        }
        return days;
    };
    int32_t bad = 0;
    m_dateFormat = m_options.dateFormat;
    m_days = readAll(m_dateFormat, bad);
    if (m_days.empty() && m_options.dateFormat == DateFormat::Detect) {
        // 03/04/2024 is read only where the other dates leave one reading.
        int32_t badDay = 0, badMonth = 0;
        std::vector<int64_t> dayFirst = readAll(DateFormat::DayMonthYear, badDay);
        std::vector<int64_t> monthFirst = readAll(DateFormat::MonthDayYear, badMonth);
        if (dayFirst.empty() != monthFirst.empty()) {
            m_dateFormat = dayFirst.empty() ? DateFormat::MonthDayYear : DateFormat::DayMonthYear;
            m_days = dayFirst.empty() ? std::move(monthFirst) : std::move(dayFirst);
        }
    }
    if (!m_days.empty() || !needed)
        return true;
    const Place place = m_byColumn ? Place{m_periodAt[static_cast<size_t>(bad)], 0}
                                   : Place{m_headerLine, m_periodAt[static_cast<size_t>(bad)]};
    return Fail(error, place,
                QuotedExcerpt(m_dates[static_cast<size_t>(bad)])
                    + " is not a date as read (year-month-day, or day.month.year); --date-format "
                      "day/month/year or month/day/year reads others");
}

bool ImportGrid::CheckOrder(TextDetails& details, TextError& error)
{
    if (Ascending(m_days))
        return true;
    if (Descending(m_days)) {
        std::reverse(m_keptValues.begin(), m_keptValues.end());
        details.notes.push_back("the dates run from newest to oldest; they are read oldest first");
        return true;
    }
    const size_t i = static_cast<size_t>(std::distance(
                         m_days.begin(), std::adjacent_find(m_days.begin(), m_days.end(), std::greater_equal<>())))
                     + 1;
    const int at = m_periodAt[i];
    const Place place = m_byColumn ? Place{at, 0} : Place{m_headerLine, at};
    return Fail(error, place,
                "the date " + QuotedExcerpt(m_dates[i])
                    + (m_days[i] == m_days[i - 1] ? " repeats the one before" : " comes before the one above it")
                    + "; dates must rise (or all fall) from line to line");
}

// The line that closes each calendar period: its last with the most shares
// priced, so that a share without a price on the last day does not stretch a
// return over two periods when the gaps are closed.
std::vector<int32_t> ImportGrid::ClosingLines(const std::vector<int32_t>& kept) const
{
    const auto priced = [&](int32_t v) {
        return std::count_if(m_keptShares.begin(), m_keptShares.end(), [&](int32_t s) { return !Missing(s, v); });
    };
    const auto periodOf = [&](size_t k) { return PeriodOfDay(m_days[static_cast<size_t>(kept[k])], m_options.every); };
    std::vector<int32_t> closing;
    for (size_t start = 0; start < kept.size();) {
        size_t end = start;
        while (end < kept.size() && periodOf(end) == periodOf(start))
            ++end;
        int32_t best = kept[end - 1];
        for (size_t k = end - 1; k-- > start;)
            if (priced(kept[k]) > priced(best))
                best = kept[k];
        closing.push_back(best);
        start = end;
    }
    return closing;
}

bool ImportGrid::TakeWindow(TextError& error)
{
    std::vector<int32_t>& kept = m_keptValues;
    const auto bound = [&](const std::string& text, const char* option, int64_t& day) {
        // --since and --until are written as the text writes its dates, or as
        // year-month-day, which no other form reads differently.
        std::optional<int64_t> read = ReadDate(text, m_dateFormat);
        if (!read)
            read = ReadDate(text, DateFormat::YearMonthDay);
        if (!read)
            return Fail(error, {}, std::string(option) + ": " + QuotedExcerpt(text) + " is not a date");
        day = *read;
        return true;
    };
    int64_t since = 0, until = 0;
    if (!m_options.since.empty() && !bound(m_options.since, "--since", since))
        return false;
    if (!m_options.until.empty() && !bound(m_options.until, "--until", until))
        return false;
    std::erase_if(kept, [&](int32_t v) {
        const int64_t day = m_days.empty() ? 0 : m_days[static_cast<size_t>(v)];
        return (!m_options.since.empty() && day < since) || (!m_options.until.empty() && day > until);
    });
    if (m_options.every != CalendarPeriod::None)
        kept = ClosingLines(kept);
    const size_t last = static_cast<size_t>(m_options.last) + (m_options.prices ? 1 : 0);
    if (m_options.last > 0 && kept.size() > last)
        kept.erase(kept.begin(), kept.end() - static_cast<std::ptrdiff_t>(last));
    return true;
}

bool ImportGrid::ChooseShares(TextError& error)
{
    if (m_options.shares.empty() && m_options.drop.empty())
        return true;
    std::unordered_map<std::string_view, int32_t> index;
    for (int32_t i = 0; i < static_cast<int32_t>(m_names.size()); ++i)
        index.emplace(m_names[static_cast<size_t>(i)], i);
    std::vector<std::string> unknown;
    const auto find = [&](const std::vector<std::string>& wanted) {
        std::vector<int32_t> found;
        for (const std::string& name : wanted) {
            const auto it = index.find(name);
            if (it == index.end())
                unknown.push_back(QuotedExcerpt(name));
            else
                found.push_back(it->second);
        }
        return found;
    };
    const std::vector<int32_t> chosen = find(m_options.shares);
    const std::vector<int32_t> dropped = find(m_options.drop);
    if (!unknown.empty())
        return Fail(error, {}, "no share of the text is named " + Joined(unknown));
    if (!chosen.empty())
        m_keptShares = chosen;
    std::erase_if(m_keptShares,
                  [&](int32_t s) { return std::find(dropped.begin(), dropped.end(), s) != dropped.end(); });
    if (m_keptShares.empty())
        return Fail(error, {}, "no share is left after --shares and --drop");
    return true;
}

bool ImportGrid::CloseGaps(TextDetails& details, TextError& error)
{
    const auto gapIn = [&](int32_t share) {
        return std::any_of(m_keptValues.begin(), m_keptValues.end(), [&](int32_t v) { return Missing(share, v); });
    };
    switch (m_options.gaps) {
    case GapRule::CompleteRows:
        std::erase_if(m_keptValues, [&](int32_t v) {
            return std::any_of(m_keptShares.begin(), m_keptShares.end(), [&](int32_t s) { return Missing(s, v); });
        });
        return true;
    case GapRule::DropIncomplete: {
        std::vector<std::string> dropped;
        std::erase_if(m_keptShares, [&](int32_t s) {
            const bool gap = gapIn(s);
            if (gap)
                dropped.push_back(QuotedExcerpt(m_names[static_cast<size_t>(s)]));
            return gap;
        });
        if (!dropped.empty())
            details.notes.push_back("left out for gaps in the window: " + Joined(dropped));
        if (m_keptShares.empty())
            return Fail(error, {},
                        "every share has a gap in the window; --complete-rows keeps the dates where all have a price");
        return true;
    }
    case GapRule::Refuse:
        break;
    }
    if (!m_options.prices)
        return true;
    for (const int32_t v : m_keptValues)
        for (const int32_t s : m_keptShares)
            if (Missing(s, v))
                return Fail(error, PlaceOf(s, v),
                            Where(s, v)
                                + ": the price is missing; --complete-rows keeps only the dates where every "
                                  "share has a price, --drop-incomplete leaves out the shares with a gap");
    return true;
}

bool ImportGrid::CheckPeriods(TextError& error) const
{
    const int extra = m_options.prices ? 1 : 0;
    const int32_t periods = static_cast<int32_t>(m_keptValues.size()) - extra;
    if (periods >= m_limits.minPeriods && periods <= m_limits.maxPeriods)
        return true;
    const bool few = periods < m_limits.minPeriods;
    return Fail(error, {},
                std::to_string(periods + extra) + (m_options.prices ? " prices" : " returns")
                    + " per share are left by the options; " + (few ? "at least " : "at most ")
                    + std::to_string((few ? m_limits.minPeriods : m_limits.maxPeriods) + extra)
                    + (few ? " are needed" : " are taken"));
}

// Percent returns are rarely all positive and near each other; prices are.
void ImportGrid::NoteLikelyPrices(TextDetails& details) const
{
    if (m_options.prices || m_keptValues.size() < 3)
        return;
    for (const int32_t s : m_keptShares) {
        double previous = 0.0, change = 0.0;
        for (size_t k = 0; k < m_keptValues.size(); ++k) {
            const int32_t v = m_keptValues[k];
            double value = m_numeric ? m_numbers[Slot(s, v)] : 0.0;
            if ((!m_numeric && !ReadsAsWorksheetNumber(Cell(s, v), value)) || !(value > 0.0))
                return;
            if (k > 0)
                change += std::fabs(value / previous - 1.0);
            previous = value;
        }
        if (change / static_cast<double>(m_keptValues.size() - 1) > 0.1)
            return;
    }
    details.notes.push_back("every value is positive and changes little from period to period: if they are "
                            "prices, say --prices");
}

bool ImportGrid::Shape(TextDetails& details, TextError& error)
{
    // Periods numbered 1, 2, ... are no dates.
    if (std::all_of(m_dates.begin(), m_dates.end(), [](const std::string& date) {
            double number = 0.0;
            return ReadsAsWorksheetNumber(date, number);
        }))
        m_dates.clear();
    if (!CheckTwins(error))
        return false;
    const bool needDates =
        !m_options.since.empty() || !m_options.until.empty() || m_options.every != CalendarPeriod::None;
    if (m_options.every != CalendarPeriod::None && !m_options.prices)
        return Fail(error, {}, "--every needs --prices: a period's return is not the return of its last day");
    if (needDates && m_dates.empty())
        return Fail(error, {}, "--since, --until and --every need a column of dates");
    if (!m_dates.empty() && !ReadDays(needDates, error))
        return false;
    if (!m_days.empty() && !CheckOrder(details, error))
        return false;
    if (!ChooseShares(error) || !TakeWindow(error) || !CloseGaps(details, error) || !CheckPeriods(error))
        return false;
    NoteLikelyPrices(details);
    return true;
}

bool ImportGrid::KeepsEverything() const
{
    const auto inOrder = [](const std::vector<int32_t>& kept, size_t count) {
        for (size_t i = 0; i < kept.size(); ++i)
            if (kept[i] != static_cast<int32_t>(i))
                return false;
        return kept.size() == count;
    };
    return !m_options.prices && inOrder(m_keptShares, m_names.size())
           && inOrder(m_keptValues, static_cast<size_t>(m_values));
}

// The return of the kept period p from the price before it.
bool ImportGrid::PriceChange(int32_t share, int32_t p, double& change, TextError& error) const
{
    const int32_t v = m_keptValues[static_cast<size_t>(p) + 1];
    const int32_t from = m_keptValues[static_cast<size_t>(p)];
    change = 100.0 * (m_numbers[Slot(share, v)] / m_numbers[Slot(share, from)] - 1.0);
    if (std::isfinite(change))
        return true;
    return Fail(error, PlaceOf(share, v), Where(share, v) + ": the return from the price before is too large to hold");
}

void ImportGrid::KeptDates(TextDetails& details) const
{
    if (m_dates.empty())
        return;
    const size_t extra = m_options.prices ? 1 : 0;
    for (size_t k = extra; k < m_keptValues.size(); ++k)
        details.dates.push_back(m_dates[static_cast<size_t>(m_keptValues[k])]);
}

bool ImportGrid::Finish(WorksheetTable& table, TextDetails& details, TextError& error)
{
    if (KeepsEverything()) {
        for (size_t s = 0; s < m_names.size(); ++s)
            m_sheet.SetTextMatrix(static_cast<int32_t>(s) + 1, 1, m_names[s]);
        table = std::move(m_sheet);
        details.dates = m_dates;
        return true;
    }
    const int extra = m_options.prices ? 1 : 0;
    const int32_t shares = static_cast<int32_t>(m_keptShares.size());
    const int32_t periods = static_cast<int32_t>(m_keptValues.size()) - extra;
    table.Resize(shares + 1, periods + 2);
    for (int32_t row = 0; row < shares; ++row) {
        const int32_t s = m_keptShares[static_cast<size_t>(row)];
        table.SetTextMatrix(row + 1, 1, m_names[static_cast<size_t>(s)]);
        for (int32_t p = 0; p < periods; ++p) {
            double change = 0.0;
            if (!m_options.prices)
                table.SetTextMatrix(row + 1, p + 2, Cell(s, m_keptValues[static_cast<size_t>(p)]));
            else if (PriceChange(s, p, change, error))
                table.SetTextMatrix(row + 1, p + 2, ShortestText(change));
            else
                return false;
        }
    }
    KeptDates(details);
    return true;
}

bool ImportGrid::Finish(TextReturns& returns, TextDetails& details, TextError& error)
{
    returns.names.clear();
    if (KeepsEverything()) {
        returns.names = std::move(m_names);
        returns.periods = m_values;
        returns.values = std::move(m_numbers);
        details.dates = std::move(m_dates);
        return true;
    }
    const int extra = m_options.prices ? 1 : 0;
    returns.periods = static_cast<int32_t>(m_keptValues.size()) - extra;
    returns.values.clear();
    returns.values.reserve(m_keptShares.size() * static_cast<size_t>(returns.periods));
    for (const int32_t s : m_keptShares) {
        returns.names.push_back(m_names[static_cast<size_t>(s)]);
        for (int32_t p = 0; p < returns.periods; ++p) {
            double value = 0.0;
            if (!m_options.prices)
                value = m_numbers[Slot(s, m_keptValues[static_cast<size_t>(p)])];
            else if (!PriceChange(s, p, value, error))
                return false;
            returns.values.push_back(value);
        }
    }
    KeptDates(details);
    return true;
}

}  // namespace korvel::text
