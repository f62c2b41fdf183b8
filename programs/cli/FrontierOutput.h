#pragma once
// What korvel-solve --frontier prints: the breakpoints as a table, JSON or CSV.
#include "core/optimizer/Frontier.h"
#include "programs/cli/OutputFormat.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvel::cli {

struct FrontierRun {
    FrontierResult frontier;
    PrintedFrame frame;  // tickers, dates, and the risk measure when not mad; each point's lineDeviation is its risk
};

// "done", "invalid", "check failed" or "pivot limit".
const char* FrontierOutcomeName(FrontierOutcome outcome);

// One line per breakpoint: number, average return, line deviation, shares held.
std::string FormatFrontierText(const FrontierRun& run);

// JsonDocument with the list "points".
std::string FormatFrontierJson(const FrontierRun& run);

// WriteCsv of the breakpoints.
void PrintFrontierCsv(std::ostream& out, const FrontierRun& run, CsvForm form = CsvForm::Long);

}  // namespace korvel::cli
