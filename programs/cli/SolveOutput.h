#pragma once
// What korvel-solve prints: the shown solutions as text for people or as JSON.
#include "core/optimizer/GoCommand.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel::cli {

struct SolveRun {
    GoResult go;
    std::vector<SolutionRecord> solutions;  // every record shown, in order
};

// The Single solution dialog's figure: rounded up, toward +infinity, to 4
// decimals (rounding noise aside), shown like %.15g.
std::string DialogFigure(double value);

// Each solution with its number, Avg.Return, Line Deviat. and share list, then
// the closing message ("No solution", "No solution !") when there is one.
std::string FormatText(const SolveRun& run);

// A header line, then one line per share held in each solution: solution
// number, average return, line deviation, row, name, weight. The figures are
// the solver's doubles, as the shortest texts that read back to them.
std::string FormatCsv(const SolveRun& run);

// {"outcome": ..., "message": ..., "solutions": [...]} on one line.
std::string FormatJson(const SolveRun& run);

// "done", "no solution", "unbounded", "invalid" (a rejected input), "pivot limit"
// or "unsound" (a result that failed its check against the worksheet).
const char* OutcomeName(GoOutcome outcome);

// A worksheet text as the grid shows it, in UTF-8: well-formed UTF-8 sequences
// as they are, every other byte as its Windows-1252 character.
std::string TextAsUtf8(std::string_view bytes);

// JSON helpers: a double as the shortest text that reads back to it (null when
// not finite), and
// a worksheet text decoded as TextAsUtf8 does.
void AppendJsonNumber(std::string& out, double value);
void AppendJsonString(std::string& out, std::string_view bytes);

}  // namespace korvel::cli
