#include "core/worksheet/TextImport.h"

#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel::text {

std::string TextError::Describe() const
{
    std::string where;
    if (line > 0)
        where = "line " + std::to_string(line);
    if (line > 0 && field > 0)
        where += ", field " + std::to_string(field);
    return where.empty() ? message : where + ": " + message;
}

namespace {

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

// "1,5" where the separator is a semicolon, as European spreadsheets write it.
bool ReadsAsDecimalComma(std::string_view text, char separator, double& value)
{
    if (separator != ';' || std::count(text.begin(), text.end(), ',') != 1 || text.find('.') != std::string_view::npos)
        return false;
    std::string pointed(text);
    pointed[pointed.find(',')] = '.';
    return ReadsAsWorksheetNumber(pointed, value);
}

// A number field's text as the worksheet keeps it: the text itself when the
// worksheet reads it, else the shortest text of its value. Empty stays empty.
bool NumberCell(const TextField& field, char separator, std::string& cell, double& value)
{
    const std::string_view text = Trimmed(field, separator);
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
    return !Trimmed(field, separator).empty() && NumberCell(field, separator, cell, value);
}

bool LooksLikeDate(const TextField& field, char separator)
{
    const std::string_view text = Trimmed(field, separator);
    const bool digits = text.find_first_of("0123456789") != std::string_view::npos;
    const bool parts = text.find_first_of("-/.") != std::string_view::npos;
    return digits && parts && text.find_first_not_of("0123456789-/.: TZ") == std::string_view::npos
           && !IsNumber(field, separator);
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// The first pass keeps only what the layout is decided on: the first record
// whole, and the line, width and first field of every record.
struct RecordSummary {
    int line = 0;
    size_t width = 0;
    TextField first;
    bool minReturnRow = false;
};

struct Survey {
    char separator = ',';
    TextRecord head;
    std::vector<RecordSummary> records;  // blank records left out
};

bool IsMinReturnRow(const TextRecord& record, char separator)
{
    // A share of that name is written quoted, so it never reads as this row.
    if (record.fields.size() < 2 || record.fields[0].quoted || Trimmed(record.fields[0], separator) != kMinReturnLabel)
        return false;
    return std::all_of(record.fields.begin() + 2, record.fields.end(),
                       [&](const TextField& f) { return Trimmed(f, separator).empty(); });
}

bool TakeSurvey(std::string_view text, size_t maxFields, size_t maxRecords, Survey& survey, TextError& error)
{
    RecordReader reader(text, survey.separator, maxFields);
    TextRecord record;
    while (reader.Next(record)) {
        if (record.Blank())
            continue;
        if (survey.records.size() == maxRecords)
            return Fail(error, record.line, 0, "more than " + std::to_string(maxRecords) + " lines of data");
        if (survey.records.empty())
            survey.head = record;
        survey.records.push_back(
            {record.line, record.fields.size(), record.fields[0], IsMinReturnRow(record, survey.separator)});
    }
    if (!reader.error().empty())
        return Fail(error, reader.errorLine(), 0, reader.error());
    if (survey.records.empty())
        return Fail(error, 0, 0, "the text holds no shares");
    return true;
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

bool HasHeader(const Survey& s, const TextOptions& options)
{
    if (options.header != HeaderRow::Detect)
        return options.header == HeaderRow::Present;
    const auto& fields = s.head.fields;
    return std::any_of(fields.begin() + 1, fields.end(), [&](const TextField& f) {
        return !Trimmed(f, s.separator).empty() && !IsNumber(f, s.separator);
    });
}

template <typename Test>
bool EveryDataFirstField(const Survey& s, Test test)
{
    return s.records.size() > 1 && std::all_of(s.records.begin() + 1, s.records.end(), [&](const RecordSummary& r) {
               return test(r.first, s.separator);
           });
}

TextLayout ChooseLayout(const Survey& s, const TextOptions& options, bool header)
{
    if (options.layout != TextLayout::Detect)
        return options.layout;
    if (!header || IsOwnHeader(s.head, s.separator))
        return TextLayout::ByRow;
    if (EveryDataFirstField(s, IsNumber) || EveryDataFirstField(s, LooksLikeDate))
        return TextLayout::ByColumn;
    return TextLayout::ByRow;
}

bool HasDateColumn(const Survey& s)
{
    const std::string_view label = Trimmed(s.head.fields[0], s.separator);
    std::string lower(label);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.empty() || lower == "date" || lower == "time" || lower == "period"
           || !EveryDataFirstField(s, IsNumber);
}

struct Place {
    int line = 0;
    int field = 0;
};

// Share i's values for periods 0..n-1 (returns as text, or prices), filled by
// either layout, then checked and put into the table.
class ShareColumns {
public:
    ShareColumns(const TextOptions& options, const TextLimits& limits, char separator)
        : m_options(options), m_limits(limits), m_separator(separator)
    {}

    bool Start(int32_t shares, int32_t values, Place sharePlace, Place periodPlace, TextError& error);
    bool SetName(int32_t share, const TextField& field, int line, int column, TextError& error);
    bool SetValue(int32_t share, int32_t index, const TextField& field, int line, int column, TextError& error);
    void Finish(WorksheetTable& table);
    int32_t MaxShares() const { return m_limits.maxShares; }

private:
    bool CheckCell(std::string_view text, int line, int column, const char* what, TextError& error) const;

    const TextOptions& m_options;
    const TextLimits& m_limits;
    char m_separator;
    int32_t m_shares = 0;
    int32_t m_values = 0;
    std::vector<std::string> m_names;
    std::vector<std::string> m_cells;  // returns as text
    std::vector<double> m_prices;
};

bool ShareColumns::Start(int32_t shares, int32_t values, Place sharePlace, Place periodPlace, TextError& error)
{
    const int32_t periods = m_options.prices ? values - 1 : values;
    const std::string what = m_options.prices ? " prices" : " returns";
    if (shares < 1)
        return Fail(error, sharePlace.line, 0, "the text holds no shares");
    if (shares > m_limits.maxShares)
        return Fail(error, sharePlace.line, sharePlace.field,
                    "more than " + std::to_string(m_limits.maxShares) + " shares");
    if (periods < m_limits.minPeriods)
        return Fail(error, periodPlace.line, periodPlace.field,
                    std::to_string(values) + what + " per share; at least "
                        + std::to_string(m_limits.minPeriods + (m_options.prices ? 1 : 0)) + " are needed");
    if (periods > m_limits.maxPeriods)
        return Fail(error, periodPlace.line, periodPlace.field,
                    std::to_string(values) + what + " per share; at most "
                        + std::to_string(m_limits.maxPeriods + (m_options.prices ? 1 : 0)) + " are taken");
    m_shares = shares;
    m_values = values;
    m_names.assign(static_cast<size_t>(shares), std::string());
    if (m_options.prices)
        m_prices.assign(static_cast<size_t>(shares) * values, 0.0);
    else
        m_cells.assign(static_cast<size_t>(shares) * values, std::string());
    return true;
}

bool ShareColumns::CheckCell(std::string_view text, int line, int column, const char* what, TextError& error) const
{
    if (m_limits.maxCellChars == 0 || CharacterCount(text) <= m_limits.maxCellChars)
        return true;
    return Fail(error, line, column,
                std::string("the ") + what + " is longer than " + std::to_string(m_limits.maxCellChars)
                    + " characters");
}

bool ShareColumns::SetName(int32_t share, const TextField& field, int line, int column, TextError& error)
{
    const std::string_view name = Trimmed(field, m_separator);
    if (!CheckCell(name, line, column, "name", error))
        return false;
    m_names[static_cast<size_t>(share)].assign(name);
    return true;
}

bool ShareColumns::SetValue(int32_t share, int32_t index, const TextField& field, int line, int column,
                            TextError& error)
{
    std::string cell;
    double value = 0.0;
    const std::string_view text = Trimmed(field, m_separator);
    if (!NumberCell(field, m_separator, cell, value))
        return Fail(error, line, column, Quoted(text) + " is not a number");
    const size_t at = static_cast<size_t>(share) * m_values + index;
    if (!m_options.prices) {
        if (!CheckCell(cell, line, column, "return", error))
            return false;
        m_cells[at] = std::move(cell);
        return true;
    }
    if (text.empty())
        return Fail(error, line, column, "the price is missing");
    if (!(value > 0.0))
        return Fail(error, line, column, "the price " + Quoted(text) + " is not positive");
    m_prices[at] = value;
    return true;
}

void ShareColumns::Finish(WorksheetTable& table)
{
    const int32_t periods = m_options.prices ? m_values - 1 : m_values;
    table.Resize(m_shares + 1, periods + 2);
    for (int32_t i = 0; i < m_shares; ++i) {
        table.SetTextMatrix(i + 1, 1, std::move(m_names[static_cast<size_t>(i)]));
        const size_t base = static_cast<size_t>(i) * m_values;
        for (int32_t p = 0; p < periods; ++p) {
            if (!m_options.prices) {
                table.SetTextMatrix(i + 1, p + 2, std::move(m_cells[base + p]));
                continue;
            }
            const double change = 100.0 * (m_prices[base + p + 1] / m_prices[base + p] - 1.0);
            table.SetTextMatrix(i + 1, p + 2, ShortestText(change));
        }
    }
}

bool FillByRow(std::string_view text, const Survey& s, bool header, ShareColumns& columns, size_t maxFields,
               WorksheetTable& table, TextError& error)
{
    std::vector<const RecordSummary*> shares;
    for (size_t r = header ? 1 : 0; r < s.records.size(); ++r)
        if (!s.records[r].minReturnRow)
            shares.push_back(&s.records[r]);
    const RecordSummary* first = shares.empty() ? &s.records.back() : shares.front();
    const int32_t values = static_cast<int32_t>(first->width) - 1;
    const int32_t count = static_cast<int32_t>(shares.size());
    const size_t overflow = std::min(shares.size(), static_cast<size_t>(columns.MaxShares()));
    const Place sharePlace{count > columns.MaxShares() ? shares[overflow]->line : first->line, 0};
    const Place periodPlace{first->line, static_cast<int>(first->width)};
    if (!columns.Start(count, values, sharePlace, periodPlace, error))
        return false;

    RecordReader reader(text, s.separator, maxFields);
    TextRecord record;
    int32_t share = 0;
    bool skippedHeader = !header;
    while (reader.Next(record)) {
        if (record.Blank())
            continue;
        if (!skippedHeader) {
            skippedHeader = true;
            continue;
        }
        if (IsMinReturnRow(record, s.separator)) {
            table.minReturnText.assign(Trimmed(record.fields[1], s.separator));
            continue;
        }
        if (record.fields.size() != first->width)
            return Fail(error, record.line, 0,
                        std::to_string(record.fields.size()) + " fields where line " + std::to_string(first->line)
                            + " has " + std::to_string(first->width));
        if (!columns.SetName(share, record.fields[0], record.line, 1, error))
            return false;
        for (int32_t v = 0; v < values; ++v)
            if (!columns.SetValue(share, v, record.fields[static_cast<size_t>(v) + 1], record.line, v + 2, error))
                return false;
        ++share;
    }
    return true;
}

bool FillByColumn(std::string_view text, const Survey& s, bool header, ShareColumns& columns, size_t maxFields,
                  TextError& error)
{
    if (!header)
        return Fail(error, s.head.line, 0, "one column per share needs a header row of names");
    const size_t skip = HasDateColumn(s) ? 1 : 0;
    const size_t width = s.head.fields.size();
    const int32_t shares = static_cast<int32_t>(width - skip);
    const int32_t values = static_cast<int32_t>(s.records.size()) - 1;
    const Place sharePlace{s.head.line, static_cast<int>(width)};
    const Place periodPlace{s.records.back().line, 0};
    if (!columns.Start(shares, values, sharePlace, periodPlace, error))
        return false;

    RecordReader reader(text, s.separator, maxFields);
    TextRecord record;
    int32_t period = -1;
    while (reader.Next(record)) {
        if (record.Blank())
            continue;
        if (record.fields.size() != width)
            return Fail(error, record.line, 0,
                        std::to_string(record.fields.size()) + " fields where line " + std::to_string(s.head.line)
                            + " has " + std::to_string(width));
        for (int32_t j = 0; j < shares; ++j) {
            const TextField& field = record.fields[skip + static_cast<size_t>(j)];
            const int column = static_cast<int>(skip) + j + 1;
            const bool ok = period < 0 ? columns.SetName(j, field, record.line, column, error)
                                       : columns.SetValue(j, period, field, record.line, column, error);
            if (!ok)
                return false;
        }
        ++period;
    }
    return true;
}

}  // namespace

bool ReadDelimitedText(std::string_view text, const TextOptions& options, const TextLimits& limits,
                       WorksheetTable& table, TextError& error)
{
    text = WithoutByteOrderMark(text);
    Survey survey;
    survey.separator = options.separator != 0 ? options.separator : DetectSeparator(text);
    // Either layout: a share per line or a period per line, plus a header, the
    // Min Return row and the one price before the first return.
    const size_t maxFields = static_cast<size_t>(std::max(limits.maxShares, limits.maxPeriods)) + 2;
    const size_t maxRecords = 2 * maxFields;
    if (!TakeSurvey(text, maxFields, maxRecords, survey, error))
        return false;
    const bool header = HasHeader(survey, options);
    ShareColumns columns(options, limits, survey.separator);
    WorksheetTable result;
    const bool filled = ChooseLayout(survey, options, header) == TextLayout::ByColumn
                            ? FillByColumn(text, survey, header, columns, maxFields, error)
                            : FillByRow(text, survey, header, columns, maxFields, result, error);
    if (!filled)
        return false;
    std::string minReturn = std::move(result.minReturnText);
    columns.Finish(result);
    result.minReturnText = std::move(minReturn);
    table = std::move(result);
    return CheckMinReturnText(table.minReturnText, limits, error);
}

bool CheckMinReturnText(const std::string& minReturn, const TextLimits& limits, TextError& error)
{
    if (limits.maxMinReturnChars == 0 || CharacterCount(minReturn) <= limits.maxMinReturnChars)
        return true;
    return Fail(error, 0, 0,
                "the Min Return is longer than " + std::to_string(limits.maxMinReturnChars) + " characters");
}

}  // namespace korvel::text
