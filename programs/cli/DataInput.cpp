#include "programs/cli/DataInput.h"

#include "core/files/DescriptorRead.h"
#include "core/worksheet/DocumentFormat.h"

#include <algorithm>
#include <ostream>
#include <string_view>
#include <unistd.h>

namespace korvel::cli {

const char* const kInputOptionsHelp =
    "  --from KIND        read the input as csv, tsv or worksheet, whatever its name\n"
    "  --sep SEP          separator of the input text: , ; or tab (else detected)\n"
    "  --by-row           text holds one row per share: name, then its returns\n"
    "  --by-column        text holds one column per share, names in the header\n"
    "                     row, optionally a first column of dates\n"
    "  --header, --no-header\n"
    "                     the text's first row is (not) a header (else detected)\n"
    "  --prices           the text holds prices: n prices give n-1 returns in percent\n"
    "  --min-return TEXT  use TEXT as the Min Return instead of the input's\n";

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
    else
        return false;
    return true;
}

// The value of "--name VALUE" or "--name=VALUE"; false when arg is not that option.
bool OptionValue(const std::vector<std::string>& args, size_t& i, std::string_view name,
                 std::optional<std::string>& value) {
    const std::string& arg = args[i];
    if (arg == name) {
        value = i + 1 < args.size() ? std::optional<std::string>(args[++i]) : std::nullopt;
        return true;
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

OptionMatch Missing(std::string_view name, std::string& error) {
    error = std::string(name) + " needs a value";
    return OptionMatch::Failed;
}

}  // namespace

OptionMatch ParseInputOption(const std::vector<std::string>& args, size_t& i, InputOptions& options,
                             std::string& error) {
    const std::string& arg = args[i];
    std::optional<std::string> value;
    if (arg == "--by-row")
        options.text.layout = text::TextLayout::ByRow;
    else if (arg == "--by-column")
        options.text.layout = text::TextLayout::ByColumn;
    else if (arg == "--header")
        options.text.header = text::HeaderRow::Present;
    else if (arg == "--no-header")
        options.text.header = text::HeaderRow::Absent;
    else if (arg == "--prices")
        options.text.prices = true;
    else if (OptionValue(args, i, "--min-return", value)) {
        // The next argument is the text whatever it looks like: "-1" is a Min Return.
        if (!value)
            return Missing("--min-return", error);
        options.minReturn = *value;
    } else if (OptionValue(args, i, "--from", value)) {
        DataKind kind{};
        if (!value)
            return Missing("--from", error);
        if (!ParseDataKind(*value, kind)) {
            error = "--from takes csv, tsv or worksheet, not " + *value;
            return OptionMatch::Failed;
        }
        options.from = kind;
    } else if (OptionValue(args, i, "--sep", value)) {
        if (!value)
            return Missing("--sep", error);
        if (!ParseSeparator(*value, options.text.separator)) {
            error = "--sep takes , ; or tab, not " + *value;
            return OptionMatch::Failed;
        }
    } else {
        return OptionMatch::NotMine;
    }
    return OptionMatch::Taken;
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
        if (!text::ReadDelimitedText(content, textOptions, limits, table, error)) {
            err << where << error.Describe() << "\n";
            return InputStatus::Rejected;
        }
    }
    if (options.minReturn)
        table.minReturnText = *options.minReturn;
    return InputStatus::Loaded;
}

}  // namespace korvel::cli
