#include "core/worksheet/TextImport.h"

#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"
#include "core/worksheet/TextExport.h"
#include "core/worksheet/TextImportGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace korvel::text {

uint64_t MaxTextBytes(const TextLimits& limits)
{
    constexpr uint64_t kFieldBytes = 64;
    const uint64_t values = limits.maxValues > 0 ? static_cast<uint64_t>(limits.maxValues)
                                                 : static_cast<uint64_t>(limits.maxShares) * limits.maxPeriods;
    // A name per share, a date per period, and the header's labels.
    const uint64_t labels = 3 * (static_cast<uint64_t>(std::max(limits.maxShares, limits.maxPeriods)) + 2);
    return (values + labels) * kFieldBytes + 2 * uint64_t{limits.maxLineBytes};
}

std::string TextError::Describe() const
{
    std::string where;
    if (line > 0)
        where = "line " + std::to_string(line);
    if (line > 0 && field > 0)
        where += ", field " + std::to_string(field);
    return where.empty() ? message : where + ": " + message;
}

std::string Excerpt(std::string_view text)
{
    // A hostile field may be megabytes long; the message needs its start only.
    constexpr size_t kMaxCharacters = 80;
    size_t end = 0, characters = 0;
    while (end < text.size() && characters < kMaxCharacters) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        ++characters;
    }
    return std::string(text.substr(0, end)) + (end < text.size() ? "..." : "");
}

std::string QuotedExcerpt(std::string_view text)
{
    return "\"" + Excerpt(text) + "\"";
}

namespace {

// Where the reader looks for the NULs of UTF-16.
constexpr size_t kEncodingBytes = 200;

bool Fail(TextError& error, int line, int field, std::string message)
{
    error = TextError{line, field, std::move(message)};
    return false;
}

// Spreadsheets pad unquoted fields with blanks; a quoted field stands as written.
std::string_view Trimmed(const TextField& field, char separator)
{
    std::string_view text = field.text;
    if (field.quoted)
        return text;
    const auto blank = [&](char c) { return c == ' ' || (c == '\t' && separator != '\t'); };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// "1,5" where the separator is a semicolon or a tab, as European spreadsheets
// write and copy it.
bool ReadsAsDecimalComma(std::string_view text, char separator, double& value)
{
    if ((separator != ';' && separator != '\t') || std::count(text.begin(), text.end(), ',') != 1
        || text.find('.') != std::string_view::npos)
        return false;
    std::string pointed(text);
    pointed[pointed.find(',')] = '.';
    return ReadsAsWorksheetNumber(pointed, value);
}

// A number field's text as the worksheet keeps it: the text itself when the
// worksheet reads it, else the shortest text of its value. Empty stays empty.
bool NumberCell(std::string_view text, char separator, std::string& cell, double& value)
{
    value = 0.0;
    if (text.empty()) {
        cell.clear();
        return true;
    }
    if (ReadsAsWorksheetNumber(text, value)) {
        cell.assign(text);
        return true;
    }
    if (!ReadsAsDecimalComma(text, separator, value))
        return false;
    cell = ShortestText(value);
    return true;
}

bool IsNumber(const TextField& field, char separator)
{
    std::string cell;
    double value = 0.0;
    const std::string_view text = Trimmed(field, separator);
    return !text.empty() && NumberCell(text, separator, cell, value);
}

bool LooksLikeDate(const TextField& field, char separator)
{
    const std::string_view text = Trimmed(field, separator);
    const bool digits = text.find_first_of("0123456789") != std::string_view::npos;
    const bool parts = text.find_first_of("-/.") != std::string_view::npos;
    return digits && parts && text.find_first_not_of("0123456789-/.: TZ") == std::string_view::npos
           && !IsNumber(field, separator);
}

std::string Lowered(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

// A header over a column of dates, or over a column of share names.
bool IsDateLabel(const TextField& field, char separator)
{
    static const std::array<std::string_view, 10> kLabels{"date",    "time", "day",    "week",     "month",
                                                          "quarter", "year", "period", "datetime", "timestamp"};
    std::string_view label = Trimmed(field, separator), minReturn;
    SplitMinReturnHeader(label, label, minReturn);
    const std::string lower = Lowered(label);
    return std::find(kLabels.begin(), kLabels.end(), lower) != kLabels.end();
}

bool IsNameLabel(const TextField& field, char separator)
{
    static const std::array<std::string_view, 11> kLabels{"name",  "code",     "ticker", "symbol",     "isin", "id",
                                                          "share", "security", "stock",  "instrument", "asset"};
    const std::string lower = Lowered(Trimmed(field, separator));
    return std::find(kLabels.begin(), kLabels.end(), lower) != kLabels.end();
}

// The first pass keeps only what the layout is decided on: the first two
// records whole, and the line and width of every record.
struct RecordSummary {
    int line = 0;
    size_t width = 0;
    bool minReturnRow = false;
    bool endsEmpty = false;  // its last field is empty and unquoted
};

struct Survey {
    char separator = ',';
    TextRecord head;
    TextRecord second;                   // the first record after the head
    std::vector<RecordSummary> records;  // blank records left out
    // How many records after the head begin with a number: no first field is
    // kept, as the text's lines may each be long.
    size_t numberFirsts = 0;
    // Every line ends with a separator: that last empty field is no share or period.
    bool trailingSeparator = false;
};

bool IsMinReturnRow(const TextRecord& record, char separator)
{
    // A share of that name is written quoted, so it never reads as this row.
    if (record.fields.size() < 2 || record.fields[0].quoted || Trimmed(record.fields[0], separator) != kMinReturnLabel)
        return false;
    return std::all_of(record.fields.begin() + 2, record.fields.end(),
                       [&](const TextField& f) { return Trimmed(f, separator).empty(); });
}

// Either layout holds about (lines - 1) x (fields - 1) values; far more than
// the limit is refused at the line that shows it, before anything is stored.
bool CheckValueCount(const Survey& survey, int line, int64_t maxValues, TextError& error)
{
    if (maxValues == 0 || survey.records.size() < 2)
        return true;
    const int64_t values =
        static_cast<int64_t>(survey.records.size() - 1) * static_cast<int64_t>(survey.records.front().width - 1);
    // The Min Return row and the price before the first return are not counted.
    const int64_t slack = 2 * static_cast<int64_t>(survey.records.front().width);
    if (values <= maxValues + slack)
        return true;
    return Fail(error, line, 0,
                "more than " + std::to_string(maxValues) + " values (shares x periods) in the text; that is the limit");
}

// The text from its start, a pass at a time: the survey, then the values.
class Passes {
public:
    Passes(TextSource& source, size_t skip, char separator, size_t maxFields, size_t maxLineBytes)
        : m_source(source), m_skip(skip), m_separator(separator), m_maxFields(maxFields), m_maxLineBytes(maxLineBytes)
    {}
    bool Restart(TextError& error)
    {
        std::string reason;
        return m_source.Rewind(reason) || Fail(error, 0, 0, reason);
    }
    RecordReader Reader() const { return RecordReader(m_source, m_separator, m_maxFields, m_maxLineBytes, m_skip); }

private:
    TextSource& m_source;
    size_t m_skip;
    char m_separator;
    size_t m_maxFields;
    size_t m_maxLineBytes;
};

// The second pass met other records than the first: a file written meanwhile.
bool Changed(TextError& error, int line)
{
    return Fail(error, line, 0, "the text changed while it was read");
}

// What ended a pass early, if anything: a fault of the source or a text that changed.
bool PassEnded(const RecordReader& reader, bool complete, int line, TextError& error)
{
    if (!reader.error().empty())
        return Fail(error, reader.errorLine(), 0, reader.error());
    return complete || Changed(error, line);
}

// The trailing separator's empty field left out of a record.
void TrimRecord(const Survey& survey, TextRecord& record)
{
    if (survey.trailingSeparator && !IsMinReturnRow(record, survey.separator) && !record.fields.empty())
        record.fields.pop_back();
}

// Spreadsheets and brokers' exports often end every line with a separator; the
// empty column it makes would be a share (or period) with no value at all.
void DropTrailingSeparator(Survey& survey)
{
    size_t data = 0;
    for (const RecordSummary& r : survey.records) {
        if (r.minReturnRow)
            continue;
        if (!r.endsEmpty)
            return;
        ++data;
    }
    if (data < 2)
        return;
    survey.trailingSeparator = true;
    for (RecordSummary& r : survey.records)
        if (!r.minReturnRow)
            --r.width;
    TrimRecord(survey, survey.head);
    TrimRecord(survey, survey.second);
}

// The header that this program writes: "Name,R1,...,RN".
bool IsOwnHeader(const TextRecord& head, char separator)
{
    if (Trimmed(head.fields[0], separator) != "Name" || head.fields.size() < 2)
        return false;
    for (size_t i = 1; i < head.fields.size(); ++i)
        if (Trimmed(head.fields[i], separator) != "R" + std::to_string(i))
            return false;
    return true;
}

bool EveryDataFirstIsNumber(const Survey& s)
{
    return s.records.size() > 1 && s.numberFirsts == s.records.size() - 1;
}

bool HasHeader(const Survey& s, const TextOptions& options)
{
    if (options.header != HeaderRow::Detect)
        return options.header == HeaderRow::Present;
    const auto& fields = s.head.fields;
    if (IsDateLabel(fields[0], s.separator))
        return true;
    // "Ticker,1,2,3" over numeric codes: periods numbered, shares coded.
    if (IsNameLabel(fields[0], s.separator) && EveryDataFirstIsNumber(s))
        return true;
    return std::any_of(fields.begin() + 1, fields.end(), [&](const TextField& f) {
        return !Trimmed(f, s.separator).empty() && !IsNumber(f, s.separator);
    });
}

// The field of the date column of one column per share, if any: by its
// header, else by its first value.
std::optional<size_t> DateColumn(const Survey& s)
{
    const auto& head = s.head.fields;
    for (size_t i = 0; i < head.size(); ++i)
        if (IsDateLabel(head[i], s.separator) || (i == 0 && Trimmed(head[i], s.separator).empty()))
            return i;
    // A ragged line is refused later; it must not place the column beyond the header.
    for (size_t i = 0; i < std::min(s.second.fields.size(), head.size()); ++i)
        if (LooksLikeDate(s.second.fields[i], s.separator))
            return i;
    // Labels such as Jan, Feb, ... in the first column.
    if (!EveryDataFirstIsNumber(s))
        return 0;
    return std::nullopt;
}

// A date label in the header, or a date in the first record after it.
bool ShowsDates(const Survey& s)
{
    return std::any_of(s.head.fields.begin(), s.head.fields.end(),
                       [&](const TextField& f) { return IsDateLabel(f, s.separator); })
           || std::any_of(s.second.fields.begin(), s.second.fields.end(),
                          [&](const TextField& f) { return LooksLikeDate(f, s.separator); });
}

bool ChooseLayout(const Survey& s, const TextOptions& options, bool header, TextLayout& layout, TextError& error)
{
    layout = options.layout;
    if (layout != TextLayout::Detect)
        return true;
    layout = TextLayout::ByRow;
    if (!header) {
        // Dates first and no names above them: a share per line would be named
        // after its date, so the reader asks rather than guesses.
        if (LooksLikeDate(s.head.fields[0], s.separator))
            return Fail(error, s.head.line, 1,
                        QuotedExcerpt(Trimmed(s.head.fields[0], s.separator))
                            + " is a date and the text has no header row of names; say --by-row or --by-column");
        return true;
    }
    // "Code" or "Ticker" over numeric codes still names one share per line.
    if (IsOwnHeader(s.head, s.separator) || IsNameLabel(s.head.fields[0], s.separator))
        return true;
    if (ShowsDates(s) || EveryDataFirstIsNumber(s))
        layout = TextLayout::ByColumn;
    return true;
}

// The layout, once the records read so far settle it, stays whatever follows:
// a later record can turn a column per share into a row per share, never
// back (see HasHeader and ChooseLayout), and one column per share is settled
// by dates or by being asked for. Its counts are then checked at each line,
// and a text beyond a limit stops at the line that passes it.
class LayoutCounts {
public:
    LayoutCounts(const TextOptions& options, const TextLimits& limits) : m_options(options), m_limits(limits) {}
    // After each record the survey takes.
    bool Check(const Survey& s, TextError& error);
    bool Settled() const { return m_layout != TextLayout::Detect; }

private:
    // The layout and the header depend on the records only through the
    // first two and whether every first field is a number.
    void Decide(const Survey& s, bool every);
    bool IsShare(const Survey& s, size_t r) const { return r >= (m_header ? 1u : 0u) && !s.records[r].minReturnRow; }
    bool CheckRows(const Survey& s, TextError& error) const;
    bool CheckColumns(const Survey& s, TextError& error) const;

    static constexpr size_t kNone = SIZE_MAX;
    const TextOptions& m_options;
    const TextLimits& m_limits;
    bool m_decided = false, m_every = false, m_header = false;
    TextLayout m_layout = TextLayout::Detect;  // Detect: not settled
    size_t m_first = kNone;                    // the first share's record, one row per share
    int32_t m_rows = 0;                        // the records but Min Return rows
    int32_t m_plainEnds = 0;                   // of those, the ones not ending in an empty field
};

void LayoutCounts::Decide(const Survey& s, bool every)
{
    m_decided = true;
    m_every = every;
    m_header = HasHeader(s, m_options);
    TextLayout layout{};
    TextError unsettled;
    m_layout = TextLayout::Detect;
    if (ChooseLayout(s, m_options, m_header, layout, unsettled)
        && (layout == TextLayout::ByRow || m_options.layout == TextLayout::ByColumn || ShowsDates(s)))
        m_layout = layout;
    m_first = kNone;
    for (size_t r = 0; r < s.records.size() && m_first == kNone; ++r)
        if (IsShare(s, r))
            m_first = r;
}

bool LayoutCounts::Check(const Survey& s, TextError& error)
{
    const RecordSummary& last = s.records.back();
    m_rows += last.minReturnRow ? 0 : 1;
    m_plainEnds += last.minReturnRow || last.endsEmpty ? 0 : 1;
    if (s.records.size() < 2)
        return true;
    if (!m_decided || EveryDataFirstIsNumber(s) != m_every)
        Decide(s, EveryDataFirstIsNumber(s));
    else if (m_first == kNone && IsShare(s, s.records.size() - 1))
        m_first = s.records.size() - 1;
    if (m_layout == TextLayout::ByRow)
        return CheckRows(s, error);
    return m_layout != TextLayout::ByColumn || !m_header || CheckColumns(s, error);
}

// While every line ends with a separator, that last empty field may be none.
bool LayoutCounts::CheckRows(const Survey& s, TextError& error) const
{
    if (m_first == kNone)
        return true;
    const RecordSummary& first = s.records[m_first];
    const int32_t shares = m_rows - (m_header && !s.records.front().minReturnRow ? 1 : 0);
    const int32_t values = static_cast<int32_t>(first.width) - (m_plainEnds == 0 ? 2 : 1);
    const Place line{s.records.back().line, 0};
    return CheckCountMaxima(m_options, m_limits, shares, values, line, {first.line, static_cast<int>(first.width)},
                            line, error);
}

// The date column, wherever it is, is taken off the shares.
bool LayoutCounts::CheckColumns(const Survey& s, TextError& error) const
{
    const RecordSummary& head = s.records.front();
    const int32_t shares = static_cast<int32_t>(head.width) - (m_plainEnds == 0 ? 2 : 1);
    const auto values = static_cast<int32_t>(s.records.size() - 1);
    const Place line{s.records.back().line, 0};
    return CheckCountMaxima(m_options, m_limits, shares, values, {head.line, static_cast<int>(head.width)}, line, line,
                            error);
}

bool TakeSurvey(const Passes& passes, const TextOptions& options, const TextLimits& limits, size_t maxRecords,
                Survey& survey, TextError& error)
{
    LayoutCounts counts(options, limits);
    RecordReader reader = passes.Reader();
    TextRecord record;
    while (reader.Next(record)) {
        if (record.Blank())
            continue;
        if (survey.records.size() == maxRecords)
            return Fail(error, record.line, 0, "more than " + std::to_string(maxRecords) + " lines of data");
        if (survey.records.empty())
            survey.head = record;
        else if (survey.records.size() == 1)
            survey.second = record;
        if (!survey.records.empty() && IsNumber(record.fields[0], survey.separator))
            ++survey.numberFirsts;
        survey.records.push_back({record.line, record.fields.size(), IsMinReturnRow(record, survey.separator),
                                  record.fields.size() > 2 && !record.fields.back().quoted
                                      && Trimmed(record.fields.back(), survey.separator).empty()});
        // The exact counts of a settled layout come first: the estimate
        // would take a row's first price for a return.
        if (!counts.Check(survey, error)
            || (!counts.Settled() && !CheckValueCount(survey, record.line, limits.maxValues, error)))
            return false;
    }
    if (!reader.error().empty())
        return Fail(error, reader.errorLine(), 0, reader.error());
    if (survey.records.empty())
        return Fail(error, 0, 0, "the text holds no shares");
    DropTrailingSeparator(survey);
    return true;
}

bool CheckLength(std::string_view text, size_t maxChars, Place place, const char* what, TextError& error)
{
    if (maxChars == 0 || CharacterCount(text) <= maxChars)
        return true;
    return Fail(error, place.line, place.field,
                std::string("the ") + what + " is longer than " + std::to_string(maxChars) + " characters");
}

// at: where the grid remembers the share (its line or field); place: where the name is.
bool SetName(ImportGrid& grid, int32_t share, const TextField& field, int at, Place place, char separator,
             TextError& error)
{
    const std::string_view name = Trimmed(field, separator);
    const TextLimits& limits = grid.Limits();
    if (!CheckLength(name, limits.maxCellChars > 0 ? limits.maxCellChars : limits.maxLabelChars, place, "name", error))
        return false;
    grid.SetShare(share, std::string(name), at);
    return true;
}

bool SetNumber(ImportGrid& grid, int32_t share, int32_t index, std::string_view text, char separator, TextError& error)
{
    if (text.empty())
        return true;  // a gap, already NaN, which the options decide on
    double value = 0.0;
    if (!ReadsAsWorksheetNumber(text, value) && !ReadsAsDecimalComma(text, separator, value)) {
        const Place place = grid.PlaceOf(share, index);
        return Fail(error, place.line, place.field, QuotedExcerpt(text) + " is not a number");
    }
    if (grid.Options().prices && !(value > 0.0)) {
        const Place place = grid.PlaceOf(share, index);
        return Fail(error, place.line, place.field,
                    grid.Where(share, index) + ": the price " + QuotedExcerpt(text) + " is not positive");
    }
    grid.SetNumber(share, index, value);
    return true;
}

bool SetValue(ImportGrid& grid, int32_t share, int32_t index, const TextField& field, char separator, TextError& error)
{
    const std::string_view text = Trimmed(field, separator);
    // A return's cell text is made only where its length is limited or kept.
    if (grid.Options().prices || (grid.KeepsNumbers() && grid.Limits().maxCellChars == 0))
        return SetNumber(grid, share, index, text, separator, error);
    std::string cell;
    double value = 0.0;
    const Place place = grid.PlaceOf(share, index);
    if (!NumberCell(text, separator, cell, value))
        return Fail(error, place.line, place.field, QuotedExcerpt(text) + " is not a number");
    if (!CheckLength(cell, grid.Limits().maxCellChars, place, "return", error))
        return false;
    if (!grid.KeepsNumbers())
        grid.SetCell(share, index, std::move(cell));
    else if (!text.empty())
        grid.SetNumber(share, index, value);
    return true;
}

// The Min Return row's text, its decimal comma read as the returns' are. A
// quoted text stands as written.
std::string MinReturnText(const TextField& field, char separator)
{
    const std::string_view text = Trimmed(field, separator);
    double value = 0.0;
    if (field.quoted || ReadsAsWorksheetNumber(text, value) || !ReadsAsDecimalComma(text, separator, value))
        return std::string(text);
    return ShortestText(value);
}

bool FillByRow(const Passes& passes, const Survey& s, bool header, ImportGrid& grid, std::string& minReturnText,
               TextError& error)
{
    std::vector<const RecordSummary*> shares;
    for (size_t r = header ? 1 : 0; r < s.records.size(); ++r)
        if (!s.records[r].minReturnRow)
            shares.push_back(&s.records[r]);
    const RecordSummary* first = shares.empty() ? &s.records.back() : shares.front();
    const int32_t values = static_cast<int32_t>(first->width) - 1;
    const int32_t count = static_cast<int32_t>(shares.size());
    const size_t overflow = std::min(shares.size(), static_cast<size_t>(grid.MaxShares()));
    const Place sharePlace{count > grid.MaxShares() ? shares[overflow]->line : first->line, 0};
    const Place periodPlace{first->line, static_cast<int>(first->width)};
    if (!grid.Start(count, values, sharePlace, periodPlace, error))
        return false;
    // A header of dates dates the returns; R1, Jan, ... do not.
    const bool dated = header && s.head.fields.size() == first->width
                       && std::all_of(s.head.fields.begin() + 1, s.head.fields.end(),
                                      [&](const TextField& f) { return LooksLikeDate(f, s.separator); });
    grid.SetHeaderLine(s.head.line);
    for (int32_t v = 0; v < values; ++v)
        grid.SetPeriod(v, dated ? std::string(Trimmed(s.head.fields[static_cast<size_t>(v) + 1], s.separator)) : "",
                       v + 2);

    RecordReader reader = passes.Reader();
    TextRecord record;
    int32_t share = 0;
    bool skippedHeader = !header;
    while (reader.Next(record)) {
        if (record.Blank())
            continue;
        TrimRecord(s, record);
        if (!skippedHeader) {
            skippedHeader = true;
            continue;
        }
        if (IsMinReturnRow(record, s.separator)) {
            minReturnText = MinReturnText(record.fields[1], s.separator);
            continue;
        }
        if (record.fields.size() != first->width)
            return Fail(error, record.line, 0,
                        std::to_string(record.fields.size()) + " fields where line " + std::to_string(first->line)
                            + " has " + std::to_string(first->width));
        if (share == count)
            return Changed(error, record.line);
        if (!SetName(grid, share, record.fields[0], record.line, {record.line, 1}, s.separator, error))
            return false;
        for (int32_t v = 0; v < values; ++v)
            if (!SetValue(grid, share, v, record.fields[static_cast<size_t>(v) + 1], s.separator, error))
                return false;
        ++share;
    }
    return PassEnded(reader, share == count, s.records.back().line, error);
}

// A period's date, from its own line.
bool SetDate(ImportGrid& grid, int32_t period, const TextRecord& record, std::optional<size_t> column, char separator,
             TextError& error)
{
    const std::string_view date = column ? Trimmed(record.fields[*column], separator) : std::string_view();
    const Place place{record.line, column ? static_cast<int>(*column) + 1 : 0};
    if (!CheckLength(date, grid.Limits().maxLabelChars, place, "date", error))
        return false;
    grid.SetPeriod(period, std::string(date), record.line);
    return true;
}

bool FillByColumn(const Passes& passes, const Survey& s, bool header, ImportGrid& grid, std::string& minReturnText,
                  TextError& error)
{
    if (!header)
        return Fail(error, s.head.line, 0, "one column per share needs a header row of names");
    const std::optional<size_t> dateColumn = DateColumn(s);
    const size_t width = s.head.fields.size();
    const int32_t shares = static_cast<int32_t>(width - (dateColumn ? 1 : 0));
    const int32_t values = static_cast<int32_t>(s.records.size()) - 1;
    const Place sharePlace{s.head.line, static_cast<int>(width)};
    const Place periodPlace{s.records.back().line, 0};
    if (!grid.Start(shares, values, sharePlace, periodPlace, error))
        return false;
    grid.SetHeaderLine(s.head.line);
    std::string_view label, minReturn;
    if (dateColumn && SplitMinReturnHeader(s.head.fields[*dateColumn].text, label, minReturn))
        minReturnText = MinReturnText({std::string(minReturn), s.head.fields[*dateColumn].quoted}, s.separator);

    RecordReader reader = passes.Reader();
    TextRecord record;
    int32_t period = -1;
    while (reader.Next(record)) {
        if (record.Blank())
            continue;
        TrimRecord(s, record);
        if (record.fields.size() != width)
            return Fail(error, record.line, 0,
                        std::to_string(record.fields.size()) + " fields where line " + std::to_string(s.head.line)
                            + " has " + std::to_string(width));
        if (period == values)
            return Changed(error, record.line);
        if (period >= 0 && !SetDate(grid, period, record, dateColumn, s.separator, error))
            return false;
        int32_t j = 0;
        for (size_t f = 0; f < width; ++f) {
            if (dateColumn == f)
                continue;
            const int field = static_cast<int>(f) + 1;
            const bool ok = period < 0
                                ? SetName(grid, j, record.fields[f], field, {record.line, field}, s.separator, error)
                                : SetValue(grid, j, period, record.fields[f], s.separator, error);
            if (!ok)
                return false;
            ++j;
        }
        ++period;
    }
    return PassEnded(reader, period == values, s.records.back().line, error);
}

// Text that names its encoding when it is not UTF-8: the reader would see NULs.
bool CheckEncoding(std::string_view text, TextError& error)
{
    const bool utf16 =
        text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")
        || text.substr(0, std::min<size_t>(text.size(), kEncodingBytes)).find('\0') != std::string_view::npos;
    if (!utf16)
        return true;
    return Fail(error, 1, 0, "the text is UTF-16 (or holds NUL bytes); save it as UTF-8");
}

// What is decided by the text's start: its encoding, its byte-order mark
// (skip: its length) and, unless given, its separator. Only as much is read
// as decides them, usually a piece of the first line.
bool ReadStart(TextSource& source, char& separator, size_t& skip, TextError& error)
{
    std::string head;   // the first bytes, which the encoding and the mark are decided on
    std::string unfed;  // read, and not yet handed to the detector
    SeparatorDetector detector;
    bool decided = separator != 0, ended = false;
    size_t handed = 0;  // bytes from the start handed over, or passed as the mark
    while (!ended && (!decided || head.size() < kEncodingBytes)) {
        char piece[1 << 16];
        size_t got = 0;
        std::string reason;
        if (!source.Read(piece, sizeof piece, got, reason))
            return Fail(error, 0, 0, reason);
        ended = got == 0;
        head.append(piece, std::min(got, kEncodingBytes - std::min(kEncodingBytes, head.size())));
        // Lines without a separator leave it undecided to the text's end:
        // only the last piece is held meanwhile.
        if (!decided)
            unfed.append(piece, got);
        if (decided || (!ended && handed + unfed.size() < 3))
            continue;
        const size_t mark = head.size() - WithoutByteOrderMark(head).size();
        decided = detector.Feed(std::string_view(unfed).substr(std::min(unfed.size(), mark - std::min(mark, handed))));
        handed += unfed.size();
        unfed.clear();
    }
    if (!CheckEncoding(head, error))
        return false;
    skip = head.size() - WithoutByteOrderMark(head).size();
    if (separator == 0)
        separator = detector.Separator();
    return true;
}

// Reads the text into a grid, shaped by the options, and hands it to finish
// with the Min Return's text; both forms of the result are made so.
template <typename Finish>
bool ReadText(TextSource& source, const TextOptions& options, const TextLimits& limits, bool numeric,
              TextDetails& details, TextError& error, Finish finish)
{
    Survey survey;
    survey.separator = options.separator;
    size_t skip = 0;
    if (!ReadStart(source, survey.separator, skip, error))
        return false;
    // Either layout: a share per line or a period per line, plus a header, the
    // Min Return row and the one price before the first return.
    const size_t maxFields = static_cast<size_t>(std::max(limits.maxShares, limits.maxPeriods)) + 2;
    const size_t maxRecords = 2 * maxFields;
    Passes passes(source, skip, survey.separator, maxFields, limits.maxLineBytes);
    if (!passes.Restart(error) || !TakeSurvey(passes, options, limits, maxRecords, survey, error))
        return false;
    const bool header = HasHeader(survey, options);
    TextLayout layout{};
    if (!ChooseLayout(survey, options, header, layout, error) || !passes.Restart(error))
        return false;
    ImportGrid grid(options, limits, layout == TextLayout::ByColumn, numeric);
    std::string minReturn;
    const bool filled = layout == TextLayout::ByColumn ? FillByColumn(passes, survey, header, grid, minReturn, error)
                                                       : FillByRow(passes, survey, header, grid, minReturn, error);
    return filled && grid.Shape(details, error) && finish(grid, std::move(minReturn));
}

}  // namespace

bool ReadDelimitedText(std::string_view text, const TextOptions& options, const TextLimits& limits,
                       WorksheetTable& table, TextError& error)
{
    TextDetails details;
    return ReadDelimitedText(text, options, limits, table, details, error);
}

bool ReadDelimitedText(std::string_view text, const TextOptions& options, const TextLimits& limits,
                       WorksheetTable& table, TextDetails& details, TextError& error)
{
    ViewSource source(text);
    return ReadText(source, options, limits, false, details, error, [&](ImportGrid& grid, std::string minReturn) {
        WorksheetTable result;
        if (!grid.Finish(result, details, error))
            return false;
        result.minReturnText = std::move(minReturn);
        table = std::move(result);
        return CheckMinReturnText(table.minReturnText, limits, error);
    });
}

bool ReadDelimitedReturns(TextSource& source, const TextOptions& options, const TextLimits& limits,
                          TextReturns& returns, TextDetails& details, TextError& error)
{
    return ReadText(source, options, limits, true, details, error, [&](ImportGrid& grid, std::string minReturn) {
        if (!grid.Finish(returns, details, error))
            return false;
        returns.minReturnText = std::move(minReturn);
        return CheckMinReturnText(returns.minReturnText, limits, error);
    });
}

bool ReadDelimitedReturns(std::string_view text, const TextOptions& options, const TextLimits& limits,
                          TextReturns& returns, TextDetails& details, TextError& error)
{
    ViewSource source(text);
    return ReadDelimitedReturns(source, options, limits, returns, details, error);
}

bool CheckMinReturnText(const std::string& minReturn, const TextLimits& limits, TextError& error)
{
    if (limits.maxMinReturnChars == 0 || CharacterCount(minReturn) <= limits.maxMinReturnChars)
        return true;
    return Fail(error, 0, 0,
                "the Min Return is longer than " + std::to_string(limits.maxMinReturnChars) + " characters");
}

}  // namespace korvel::text
