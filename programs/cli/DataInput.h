#pragma once
// Where korvel-solve and korvel-convert take their worksheet from: a worksheet
// document, or delimited text (by the file's name or --from), with the options
// both programs share.
#include "core/optimizer/ShareReturns.h"
#include "core/worksheet/TextImport.h"
#include "core/worksheet/WorksheetTable.h"
#include "programs/cli/OptionTable.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

enum class DataKind { Worksheet, Csv, Tsv };

struct InputOptions {
    std::optional<DataKind> from;  // else by the file's name
    text::TextOptions text;
    std::optional<std::string> minReturn;  // replaces the input's Min Return, as if typed
};

// A name ending in .csv or .txt is comma (or detected) text, .tsv tab text,
// any letter case; anything else a worksheet document.
DataKind KindOfName(const std::string& path);
bool ParseDataKind(const std::string& word, DataKind& kind);

// The options both programs read their input with, into options.
void AppendInputOptions(OptionTable& table, InputOptions& options);
// --min-return TEXT, the same words in both programs.
OptionSpec MinReturnOption(std::optional<std::string>& minReturn);

enum class InputStatus { Loaded, Rejected, Unreadable };

// Loads path ("-" for standard input, which needs --from) into table, the Min
// Return replaced when asked. Rejected: the text broke a rule or a limit;
// Unreadable: the file cannot be read or is no worksheet document. Either way
// the reason, naming line and field for text, goes to err after "program: path: ".
InputStatus LoadInput(const std::string& program, const std::string& path, const InputOptions& options,
                      const text::TextLimits& limits, WorksheetTable& table, std::ostream& err);
// The same, with the dates of the periods read (empty when the text has none)
// for the outputs to print. What the reader did unasked goes to err as a note.
InputStatus LoadInput(const std::string& program, const std::string& path, const InputOptions& options,
                      const text::TextLimits& limits, WorksheetTable& table, text::TextDetails& details,
                      std::ostream& err);

// What korvel-solve and korvel-backtest solve: the returns read once, as numbers.
struct InputReturns {
    std::vector<std::string> names;  // by worksheet row - 1
    ShareReturns returns;            // NaN where a worksheet document's cell holds no number
    std::string minReturnText;
};

// LoadInput's input as numbers: text is read straight into them (an empty
// field reads as the worksheet reads an empty cell), a worksheet document
// through its cells.
InputStatus LoadReturns(const std::string& program, const std::string& path, const InputOptions& options,
                        const text::TextLimits& limits, InputReturns& input, text::TextDetails& details,
                        std::ostream& err);

// False with the optimizer's message for the first return that is no number.
bool ReturnsAreNumbers(const ShareReturns& returns, std::string& message);

// The worksheet that Go reads for these returns: each return's shortest text,
// which reads back to the same double, and a text that reads as no number
// where there was none.
WorksheetTable GoTable(const std::vector<std::string>& names, const ShareReturns& returns);

// For "No solution": the share with the highest mean return and that mean,
// as "the best share, "D", averages 2.5 percent per period"; empty when no
// share has numbers in every period.
std::string BestShareNote(const std::vector<std::string>& names, const ShareReturns& returns);

// For a Min Return that is no number: the forms that are read.
extern const char* const kMinReturnForms;

}  // namespace korvel::cli
