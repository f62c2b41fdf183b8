#include "programs/cli/ConvertCommand.h"

#include "core/files/FileReplace.h"
#include "core/worksheet/DocumentFormat.h"
#include "core/worksheet/TextExport.h"
#include "programs/cli/CommandRun.h"
#include "programs/cli/DataInput.h"

#include <optional>
#include <ostream>

namespace korvel::cli {
namespace {

constexpr int kConverted = 0, kRejected = 1, kFailed = 2;
constexpr const char* kProgram = "korvel-convert";

const std::string kConvertUsageLine = "Usage: korvel-convert [OPTION]... IN OUT\n";

struct ConvertOptions {
    bool help = false;
    InputOptions input;
    std::optional<DataKind> to;
    std::vector<std::string> files;
};

OptionTable ConvertOptionTable(ConvertOptions& options) {
    OptionTable table = {{"--to", "", "KIND", "write OUT as csv, tsv or worksheet, whatever its name",
                          [&options](const std::string& value, std::string& error) {
                              DataKind kind{};
                              if (!ParseDataKind(value, kind)) {
                                  error = "--to takes csv, tsv or worksheet";
                                  return false;
                              }
                              options.to = kind;
                              return true;
                          }}};
    AppendInputOptions(table, options.input);
    table.push_back(MinReturnOption(options.input.minReturn));
    table.push_back(HelpOption(options.help));
    return table;
}

std::string ConvertUsageText() {
    ConvertOptions unused;
    return kConvertUsageLine
           + "\n"
             "Converts between Korvel worksheet documents and delimited text (CSV, TSV).\n"
             "A name ending in .csv, .tsv or .txt (any letter case) is text, anything\n"
             "else a worksheet document; - is standard input or output and needs --from\n"
             "or --to. Text is written one column per share: a header row Date,NAME,...\n"
             "(Date (Min Return TEXT) when there is one), then a line per period with its\n"
             "date, or its number under Period. A worksheet takes 1 to 1000 shares, 3 to 10\n"
             "periods, cell texts of up to 127 characters and a Min Return of up to 20.\n"
             "Returns and the Min Return are in percent per period, also when they are\n"
             "made from --prices.\n"
             "\n"
           + OptionsHelp(ConvertOptionTable(unused))
           + "\n"
             "Exit status: 0 converted, 1 the input breaks a rule or a limit (the line and\n"
             "field on stderr; OUT is left untouched), 2 a file cannot be read or written,\n"
             "or the usage is wrong.\n";
}

bool ParseConvertArguments(const std::vector<std::string>& args, ConvertOptions& options, std::string& error) {
    if (!ParseArguments(args, ConvertOptionTable(options), options.files, error))
        return false;
    if (options.help)
        return true;
    if (options.files.size() != 2) {
        error = "IN and OUT are needed";
        return false;
    }
    if (options.files[1] == "-" && !options.to) {
        error = "standard output needs --to csv, tsv or worksheet";
        return false;
    }
    return true;
}

// The bytes of OUT; false (exit 1) when the worksheet cannot be written as asked.
bool Encode(const WorksheetTable& table, const std::vector<std::string>& dates, DataKind kind, std::string& bytes,
            std::string& reason) {
    text::TextError error;
    if (kind == DataKind::Worksheet) {
        if (!text::CheckMinReturnText(table.minReturnText, text::kWorksheetLimits, error)) {
            reason = error.Describe();
            return false;
        }
        const std::vector<uint8_t> document = doc::SaveDocument(table);
        bytes.assign(document.begin(), document.end());
        return true;
    }
    if (!text::WriteDelimitedText(table, dates, kind == DataKind::Tsv ? '\t' : ',', bytes, error)) {
        reason = error.message;
        return false;
    }
    return true;
}

int Convert(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& in = options.files[0];
    const std::string& outPath = options.files[1];
    const DataKind kind = options.to.value_or(KindOfName(outPath));
    // A worksheet must fit what Tavo edits; text to text may be as large as
    // korvel-solve takes.
    const text::TextLimits& limits = kind == DataKind::Worksheet ? text::kWorksheetLimits : text::kLargeLimits;
    WorksheetTable table;
    text::TextDetails details;
    switch (LoadInput(kProgram, in, options.input, limits, table, details, err)) {
    case InputStatus::Rejected:
        return kRejected;
    case InputStatus::Unreadable:
        return kFailed;
    case InputStatus::Loaded:
        break;
    }
    std::string bytes, reason;
    if (!Encode(table, details.dates, kind, bytes, reason)) {
        err << kProgram << ": " << in << ": " << reason << "\n";
        return kRejected;
    }
    if (outPath == "-") {
        out << bytes;
        return out.flush() ? kConverted : kFailed;
    }
    if (!files::ReplaceFile(outPath, bytes, reason)) {
        err << kProgram << ": " << outPath << ": " << reason << "\n";
        return kFailed;
    }
    return kConverted;
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ConvertOptions options;
    std::string error;
    if (!ParseConvertArguments(args, options, error)) {
        err << kProgram << ": " << error << "\n" << kConvertUsageLine;
        return kFailed;
    }
    return RunCommand(kProgram, options.help, ConvertUsageText(), out, err, [&] { return Convert(options, out, err); });
}

}  // namespace korvel::cli
