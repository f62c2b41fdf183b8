#include "programs/cli/DataInput.h"

#include "core/files/DescriptorRead.h"
#include "core/files/FileRead.h"
#include "core/optimizer/Validation.h"
#include "core/text/NumberText.h"
#include "core/worksheet/DocumentFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
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

namespace {

DataKind KindOf(const std::string& path, const InputOptions& options) {
    return options.from.value_or(KindOfName(path));
}

// The input's bytes; false when they cannot be read, the reason on err.
bool ReadInput(const std::string& program, const std::string& path, const InputOptions& options,
               std::vector<uint8_t>& bytes, std::ostream& err) {
    if (path == "-" && !options.from) {
        err << program << ": standard input needs --from csv, tsv or worksheet\n";
        return false;
    }
    std::string reason;
    if (ReadInputBytes(path, bytes, reason))
        return true;
    err << program << ": " << path << ": " << reason << "\n";
    return false;
}

text::TextOptions TextOptionsOf(const InputOptions& options, DataKind kind) {
    text::TextOptions textOptions = options.text;
    if (kind == DataKind::Tsv && textOptions.separator == 0)
        textOptions.separator = '\t';
    return textOptions;
}

std::string_view TextOf(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

InputStatus TextRejected(const std::string& where, const text::TextError& error, std::ostream& err) {
    err << where << error.Describe() << "\n";
    return InputStatus::Rejected;
}

void PrintNotes(const std::string& where, const text::TextDetails& details, std::ostream& err) {
    for (const std::string& note : details.notes)
        err << where << note << "\n";
}

// A file or standard input as the text reader takes it: a piece at a time.
// A fault of the file is kept apart from the faults of its text.
class PieceSource : public text::TextSource {
public:
    // A file is read to its size whatever that is, as it is never held whole;
    // standard input is copied aside for the second pass, up to the longest
    // text the limits can hold.
    bool Open(const std::string& path, const text::TextLimits& limits, std::string& error) {
        return path == "-" ? m_reader.OpenDescriptor(STDIN_FILENO, text::MaxTextBytes(limits), error)
                           : m_reader.OpenFile(path, std::numeric_limits<uint64_t>::max(), error);
    }
    bool Read(char* buffer, size_t size, size_t& got, std::string& error) override {
        return m_reader.Read(buffer, size, got, error) || Faulted(error);
    }
    bool Rewind(std::string& error) override { return m_reader.Rewind(error) || Faulted(error); }
    const std::string& Fault() const { return m_fault; }

private:
    bool Faulted(const std::string& error) {
        m_fault = error;
        if (m_reader.PastLimit())
            m_fault += ", more than a text within the limits holds at 64 bytes a value; give it as a file";
        return false;
    }

    files::PieceReader m_reader;
    std::string m_fault;
};

InputReturns ReturnsOfTable(const WorksheetTable& table) {
    InputReturns input;
    ShareReturns& returns = input.returns;
    returns.shares = std::max(table.Rows() - 1, 0);
    returns.periods = std::max(table.Cols() - 2, 0);
    for (int32_t row = 1; row <= returns.shares; ++row) {
        input.names.push_back(table.TextMatrix(row, 1));
        for (int32_t p = 0; p < returns.periods; ++p) {
            double value = 0.0;
            if (!text::ReadsAsWorksheetNumber(table.TextMatrix(row, p + 2), value))
                value = std::nan("");
            returns.values.push_back(value);
        }
    }
    input.minReturnText = table.minReturnText;
    return input;
}

InputReturns ReturnsOfText(text::TextReturns&& read) {
    InputReturns input;
    input.names = std::move(read.names);
    input.returns.shares = static_cast<int32_t>(input.names.size());
    input.returns.periods = read.periods;
    input.returns.values = std::move(read.values);
    double empty = 0.0;
    text::ReadsAsWorksheetNumber("", empty);
    std::replace_if(
        input.returns.values.begin(), input.returns.values.end(), [](double v) { return std::isnan(v); }, empty);
    input.minReturnText = std::move(read.minReturnText);
    return input;
}

}  // namespace

InputStatus LoadInput(const std::string& program, const std::string& path, const InputOptions& options,
                      const text::TextLimits& limits, WorksheetTable& table, text::TextDetails& details,
                      std::ostream& err) {
    const std::string where = program + ": " + path + ": ";
    std::vector<uint8_t> bytes;
    if (!ReadInput(program, path, options, bytes, err))
        return InputStatus::Unreadable;
    const DataKind kind = KindOf(path, options);
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
        text::TextError error;
        if (!text::ReadDelimitedText(TextOf(bytes), TextOptionsOf(options, kind), limits, table, details, error))
            return TextRejected(where, error, err);
        PrintNotes(where, details, err);
    }
    if (options.minReturn)
        table.minReturnText = *options.minReturn;
    return InputStatus::Loaded;
}

InputStatus LoadReturns(const std::string& program, const std::string& path, const InputOptions& options,
                        const text::TextLimits& limits, InputReturns& input, text::TextDetails& details,
                        std::ostream& err) {
    const DataKind kind = KindOf(path, options);
    if (kind == DataKind::Worksheet) {
        WorksheetTable table;
        const InputStatus status = LoadInput(program, path, options, limits, table, details, err);
        if (status == InputStatus::Loaded)
            input = ReturnsOfTable(table);
        return status;
    }
    const std::string where = program + ": " + path + ": ";
    PieceSource source;
    if (std::string reason; !source.Open(path, limits, reason)) {
        err << where << reason << "\n";
        return InputStatus::Unreadable;
    }
    text::TextReturns read;
    text::TextError error;
    if (!text::ReadDelimitedReturns(source, TextOptionsOf(options, kind), limits, read, details, error)) {
        if (source.Fault().empty())
            return TextRejected(where, error, err);
        err << where << source.Fault() << "\n";
        return InputStatus::Unreadable;
    }
    PrintNotes(where, details, err);
    input = ReturnsOfText(std::move(read));
    if (options.minReturn)
        input.minReturnText = *options.minReturn;
    return InputStatus::Loaded;
}

bool ReturnsAreNumbers(const ShareReturns& returns, std::string& message) {
    const auto bad = std::find_if(returns.values.begin(), returns.values.end(), [](double v) { return std::isnan(v); });
    if (bad == returns.values.end())
        return true;
    const auto at = static_cast<int32_t>(bad - returns.values.begin());
    message = InvalidReturnMessage({at / returns.periods + 1, at % returns.periods + 1});
    return false;
}

WorksheetTable GoTable(const std::vector<std::string>& names, const ShareReturns& returns) {
    WorksheetTable table(returns.shares + 1, returns.periods + 2);
    for (int32_t share = 0; share < returns.shares; ++share) {
        table.SetTextMatrix(share + 1, 1, names[static_cast<size_t>(share)]);
        for (int32_t p = 0; p < returns.periods; ++p) {
            const double value = returns.At(share, p);
            table.SetTextMatrix(share + 1, p + 2, std::isnan(value) ? "nan" : text::ShortestText(value));
        }
    }
    return table;
}

const char* const kMinReturnForms = "a Min Return is a number in percent per period such as 0.5, -1 or 2.5e-1: "
                                    "a decimal point, no % sign, no blanks";

std::string BestShareNote(const std::vector<std::string>& names, const ShareReturns& returns) {
    int32_t best = -1;
    double bestMean = 0.0;
    for (int32_t share = 0; share < returns.shares && returns.periods > 0; ++share) {
        double sum = 0.0;
        int32_t p = 0;
        while (p < returns.periods && !std::isnan(returns.At(share, p)))
            sum += returns.At(share, p++);
        const double mean = sum / returns.periods;
        if (p == returns.periods && std::isfinite(mean) && (best < 0 || mean > bestMean))
            best = share, bestMean = mean;
    }
    if (best < 0)
        return "";
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.6g", bestMean);
    return "the best share, " + text::QuotedExcerpt(names[static_cast<size_t>(best)]) + ", averages " + figure
           + " percent per period";
}

}  // namespace korvel::cli
