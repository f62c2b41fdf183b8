#pragma once
// What korvel-solve prints: the shown solutions as text for people or as JSON.
#include "core/optimizer/GoCommand.h"
#include "programs/cli/OutputFormat.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvel::cli {

struct SolveRun {
    GoResult go;
    std::vector<SolutionRecord> solutions;  // every record shown, in order
    PrintedFrame frame;                     // tickers, dates, and the risk measure when not mad
    std::string note;                       // a line after the solutions (the best ratio's)
};

// The Single solution dialog's figure: rounded up, toward +infinity, to 4
// decimals (rounding noise aside), shown like %.15g.
std::string DialogFigure(double value);

// Each solution with its number, Avg.Return, Line Deviat. and share list, then
// the closing message ("No solution", "No solution !") when there is one.
std::string FormatText(const SolveRun& run);

// WriteCsv of the solutions, with the solver's own doubles.
void PrintCsv(std::ostream& out, const SolveRun& run, CsvForm form = CsvForm::Long);

// JsonDocument with the list "solutions".
std::string FormatJson(const SolveRun& run);

// "done", "no solution", "unbounded", "invalid" (a rejected input), "pivot limit"
// or "unsound" (a result that failed its check against the worksheet).
const char* OutcomeName(GoOutcome outcome);

}  // namespace korvel::cli
