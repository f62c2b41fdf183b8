#include "programs/cli/DataInput.h"

#include "core/files/DescriptorRead.h"
#include "core/text/NumberText.h"
#include "core/worksheet/DocumentFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string_view>
#include <unistd.h>

namespace korvel::cli {

DataKind KindOfName(const std::string& path) {
    std::string lower = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower == ".csv" || lower == ".txt")
        return DataKind::Csv;
    if (lower == ".tsv")
        return DataKind::Tsv;
    return DataKind::Worksheet;
}

bool ParseDataKind(const std::string& word, DataKind& kind) {
    if (word == "csv")
        kind = DataKind::Csv;
    else if (word == "tsv")
        kind = DataKind::Tsv;
    else if (word == "worksheet")
        kind = DataKind::Worksheet;
    else
        return false;
    return true;
}

namespace {

bool ParseSeparator(const std::string& word, char& separator) {
    if (word == "," || word == "comma")
        separator = ',';
    else if (word == ";" || word == "semicolon")
        separator = ';';
    else if (word == "tab" || word == "\t" || word == "\\t")
        separator = '\t';
    else if (word == "|" || word == "pipe")
        separator = '|';
    else if (word == " " || word == "space")
        separator = ' ';
    else
        return false;
    return true;
}

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

// Which periods and shares are taken, and what a gap does: options of the text only.
void AppendWindowOptions(OptionTable& table, text::TextOptions& text) {
    table.push_back(Choice("--complete-rows",
                           "keep only the dates where every share chosen has a value\n"
                           "(a price with --prices)",
                           text.gaps, text::GapRule::CompleteRows));
    table.push_back(Choice("--drop-incomplete", "leave out the shares with a gap in the window (named on\nstderr)",
                           text.gaps, text::GapRule::DropIncomplete));
    table.push_back({"--last", "", "N", "only the last N returns (N+1 prices with --prices)",
                     [&text](const std::string& value, std::string& error) {
                         int32_t n = 0;
                         const char* end = value.data() + value.size();
                         const auto [stop, fault] = std::from_chars(value.data(), end, n);
                         if (fault != std::errc() || stop != end || n < 1) {
                             error = "--last takes a whole number of periods from 1, not " + value;
                             return false;
                         }
                         text.last = n;
                         return true;
                     }});
    table.push_back(Valued("--since", "DATE", "only the prices (or returns) dated DATE or later", text.since));
    table.push_back(Valued("--until", "DATE", "only the prices (or returns) dated DATE or earlier", text.until));
    table.push_back({"--every", "", "PERIOD",
                     "week, month or quarter: the last price of each calendar\n"
                     "period only (with --prices), such as month-end prices",
                     [&text](const std::string& value, std::string& error) {
                         if (text::ParseCalendarPeriod(value, text.every))
                             return true;
                         error = "--every takes week, month or quarter, not " + value;
                         return false;
                     }});
    table.push_back({"--date-format", "", "FORM",
                     "day/month/year or month/day/year: how the dates are\n"
                     "written (else year-month-day, or day.month.year)",
                     [&text](const std::string& value, std::string& error) {
                         if (text::ParseDateFormat(value, text.dateFormat))
                             return true;
                         error = "--date-format takes iso, day/month/year or month/day/year, not " + value;
                         return false;
                     }});
    table.push_back({"--shares", "", "A,B,...", "only these shares, in this order",
                     [&text](const std::string& value, std::string&) {
                         text.shares = SplitList(value);
                         return true;
                     }});
    table.push_back(
        {"--drop", "", "A,B,...", "leave out these shares", [&text](const std::string& value, std::string&) {
             text.drop = SplitList(value);
             return true;
         }});
}

}  // namespace

void AppendInputOptions(OptionTable& table, InputOptions& options) {
    text::TextOptions& text = options.text;
    table.push_back({"--from", "", "KIND", "read the input as csv, tsv or worksheet, whatever its name",
                     [&options](const std::string& value, std::string& error) {
                         DataKind kind{};
                         if (!ParseDataKind(value, kind)) {
                             error = "--from takes csv, tsv or worksheet, not " + value;
                             return false;
                         }
                         options.from = kind;
                         return true;
                     }});
    table.push_back({"--sep", "", "SEP",
                     "separator of the input text: , ; tab | or space (else\n"
                     "detected); decimal commas are read with ; and tab",
                     [&text](const std::string& value, std::string& error) {
                         if (ParseSeparator(value, text.separator))
                             return true;
                         error = "--sep takes , ; tab | or space, not " + value;
                         return false;
                     }});
    table.push_back(Choice("--by-row", "text holds one row per share: name, then its returns", text.layout,
                           text::TextLayout::ByRow));
    table.push_back(Choice("--by-column",
                           "text holds one column per share, names in the header\n"
                           "row, and a column of dates anywhere",
                           text.layout, text::TextLayout::ByColumn));
    table.push_back(
        Choice("--header", "the text's first row is a header (else detected)", text.header, text::HeaderRow::Present));
    table.push_back(
        Choice("--no-header", "the text's first row is not a header", text.header, text::HeaderRow::Absent));
    table.push_back(Switch("--prices", "the text holds prices: n prices give n-1 returns in percent", text.prices));
    AppendWindowOptions(table, text);
}

OptionSpec MinReturnOption(std::optional<std::string>& minReturn) {
    return {"--min-return", "", "TEXT",
            "use TEXT as the Min Return instead of the input's: percent\n"
            "per period (after --prices too), such as 0.5 or -1",
            [&minReturn](const std::string& value, std::string&) {
                minReturn = value;
                return true;
            }};
}

namespace {

std::string LoadFailure(doc::LoadError error) {
    if (error == doc::LoadError::CountsOutOfRange)
        return "unexpected file format: row or column count out of range (rows " + std::to_string(doc::kMinRows)
               + " to " + std::to_string(doc::kMaxRows) + ", columns " + std::to_string(doc::kMinCols) + " to "
               + std::to_string(doc::kMaxCols) + ")";
    return "unexpected file format: the file ends early";
}

bool ReadInputBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason) {
    if (path == "-")
        return files::ReadDescriptorBytes(STDIN_FILENO, doc::kMaxFileBytes, bytes, reason);
    return doc::ReadFileBytes(path, bytes, reason);
}

}  // namespace

InputStatus LoadInput(const std::string& program, const std::string& path, const InputOptions& options,
                      const text::TextLimits& limits, WorksheetTable& table, std::ostream& err) {
    text::TextDetails details;
    return LoadInput(program, path, options, limits, table, details, err);
}

InputStatus LoadInput(const std::string& program, const std::string& path, const InputOptions& options,
                      const text::TextLimits& limits, WorksheetTable& table, text::TextDetails& details,
                      std::ostream& err) {
    const std::string where = program + ": " + path + ": ";
    if (path == "-" && !options.from) {
        err << program << ": standard input needs --from csv, tsv or worksheet\n";
        return InputStatus::Unreadable;
    }
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadInputBytes(path, bytes, reason)) {
        err << where << reason << "\n";
        return InputStatus::Unreadable;
    }
    const DataKind kind = options.from.value_or(KindOfName(path));
    if (kind == DataKind::Worksheet && bytes.empty()) {
        // Tavo opens a zero-byte file as the reset worksheet; so do the companions.
        table = WorksheetTable();
    } else if (kind == DataKind::Worksheet) {
        doc::LoadResult loaded = doc::LoadDocument(bytes);
        if (loaded.error != doc::LoadError::None) {
            err << where << LoadFailure(loaded.error) << "\n";
            return InputStatus::Unreadable;
        }
        table = std::move(loaded.table);
    } else {
        text::TextOptions textOptions = options.text;
        if (kind == DataKind::Tsv && textOptions.separator == 0)
            textOptions.separator = '\t';
        const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        text::TextError error;
        if (!text::ReadDelimitedText(content, textOptions, limits, table, details, error)) {
            err << where << error.Describe() << "\n";
            return InputStatus::Rejected;
        }
        for (const std::string& note : details.notes)
            err << where << note << "\n";
    }
    if (options.minReturn)
        table.minReturnText = *options.minReturn;
    return InputStatus::Loaded;
}

const char* const kMinReturnForms = "a Min Return is a number in percent per period such as 0.5, -1 or 2.5e-1: "
                                    "a decimal point, no % sign, no blanks";

std::string BestShareNote(const WorksheetTable& table) {
    int32_t best = 0;
    double bestMean = 0.0;
    for (int32_t r = 1; r < table.Rows(); ++r) {
        double sum = 0.0, value = 0.0;
        int32_t c = 2;
        while (c < table.Cols() && text::ReadsAsWorksheetNumber(table.TextMatrix(r, c), value))
            sum += value, ++c;
        const double mean = sum / (table.Cols() - 2);
        if (c == table.Cols() && c > 2 && std::isfinite(mean) && (best == 0 || mean > bestMean))
            best = r, bestMean = mean;
    }
    if (best == 0)
        return "";
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.6g", bestMean);
    return "the best share, " + text::QuotedExcerpt(table.TextMatrix(best, 1)) + ", averages " + figure
           + " percent per period";
}

}  // namespace korvel::cli
