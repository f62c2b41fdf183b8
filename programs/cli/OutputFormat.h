#pragma once
// The one convention of the companions' outputs: how a name, a number, a CSV
// row and a JSON document are written, alike for solutions and frontier points.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::cli {

// A worksheet text as the grid shows it, in UTF-8: well-formed UTF-8 sequences
// as they are, every other byte as its Windows-1252 character.
std::string TextAsUtf8(std::string_view bytes);

// A name as every output prints it: TextAsUtf8, with each control character
// written \u00XX, so that a name stays on its line and in its field.
std::string NameText(std::string_view bytes);

// The shortest text that reads back to the value.
std::string NumberText(double value);

// JSON values: a number as NumberText (null when not finite), and a text
// decoded as TextAsUtf8 does, quotes, backslashes and control characters escaped.
void AppendJsonNumber(std::string& out, double value);
void AppendJsonString(std::string& out, std::string_view bytes);

struct PrintedShare {
    std::string_view name;  // the worksheet's bytes
    double weight = 0.0;
    int32_t row = 0;
};

struct PrintedPortfolio {
    double averageReturn = 0.0;
    double lineDeviation = 0.0;  // or the risk by riskMeasure
    std::vector<PrintedShare> shares;
    std::string riskMeasure;  // empty for the mean absolute deviation
};

// "<first>,Avg.Return,Line Deviat.,Row,Name,Weight", then per portfolio one
// line per share: its number, the portfolio's figures, the share's row, name
// and weight.
// With a riskMeasure, its risk column is "Risk (<measure>)".
std::string CsvHeader(std::string_view first, std::string_view riskMeasure = {});
void AppendCsvRows(std::string& out, size_t number, const PrintedPortfolio& portfolio);

// {"outcome": ..., "message": ... or null, "<listName>": [{"averageReturn": ...,
// "lineDeviation": ..., "shares": [{"name": ..., "weight": ..., "row": ...}]}]}
// on one line.
std::string JsonDocument(std::string_view outcome, std::string_view message, std::string_view listName,
                         const std::vector<PrintedPortfolio>& portfolios);

}  // namespace korvel::cli
