#pragma once
// The one convention of the companions' outputs: how a name, a number, a CSV
// row and a JSON document are written, alike for solutions and frontier points.
#include "core/worksheet/WorksheetTable.h"

#include <cstdint>
#include <iosfwd>
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

// Text tables: text padded with blanks to width, on the left (numbers) or on
// the right; a longer text stays whole.
std::string PadLeft(std::string_view text, size_t width);
std::string PadRight(std::string_view text, size_t width);

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
    double lineDeviation = 0.0;  // or the risk by the frame's riskMeasure
    std::vector<PrintedShare> shares;
};

// The figures printed for every portfolio, in this order: a further figure is
// one more member and one more entry here, and every output shows it.
struct FigureColumn {
    std::string_view header;  // CSV
    std::string_view key;     // JSON
    double PrintedPortfolio::*value;
};
inline constexpr FigureColumn kFigureColumns[] = {
    {"Avg.Return", "averageReturn", &PrintedPortfolio::averageReturn},
    {"Line Deviat.", "lineDeviation", &PrintedPortfolio::lineDeviation},
};

// What all portfolios of one run are printed against.
struct PrintedFrame {
    std::vector<std::string> tickers;  // every share's name (worksheet bytes), by row - 1
    std::string firstDate, lastDate;   // of the window's first and last return; empty: no dates
    // Empty for the mean absolute deviation; else the measure whose risk each
    // portfolio's lineDeviation holds: CSV heads it "Risk (<measure>)", JSON
    // writes "riskMeasure" and "risk" in place of "lineDeviation".
    std::string riskMeasure;
};

// The shares' names and, when the reader found dates, the window's ends.
PrintedFrame FrameOf(const std::vector<std::string>& names, const std::vector<std::string>& dates);

enum class CsvForm {
    Long,  // a line per share held: ...,Row,Name,Weight
    Wide,  // a line per portfolio, a weight column per ticker of the frame, zeros included
};

// Both forms, for solutions and frontier points alike: the header
// "Solution,Avg.Return,Line Deviat." (then "First Date,Last Date" when the
// frame has dates), then the share columns; each line starts with the
// portfolio's number (from 1), its figures and the dates. Written line by
// line: a wide table of thousands of shares is never held whole.
void WriteCsv(std::ostream& out, const PrintedFrame& frame, const std::vector<PrintedPortfolio>& portfolios,
              CsvForm form);

// {"outcome": ..., "message": ... or null, ("firstDate": ..., "lastDate": ...,
// when dated) "<listName>": [{"averageReturn": ..., "lineDeviation": ...,
// "shares": [{"name": ..., "weight": ..., "row": ...}]}]} on one line.
std::string JsonDocument(std::string_view outcome, std::string_view message, const PrintedFrame& frame,
                         std::string_view listName, const std::vector<PrintedPortfolio>& portfolios);

}  // namespace korvel::cli
