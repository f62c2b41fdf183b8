#pragma once
// What korvel-solve --frontier prints: the breakpoints as a table, JSON or CSV.
#include "core/optimizer/Frontier.h"

#include <string>
#include <vector>

namespace korvel::cli {

struct FrontierRun {
    FrontierResult frontier;
    std::vector<std::string> names;  // share names by worksheet row - 1
    std::string riskMeasure;         // empty for mad; else each point's lineDeviation is this risk
};

// "done", "invalid", "check failed" or "pivot limit".
const char* FrontierOutcomeName(FrontierOutcome outcome);

// One line per breakpoint: number, average return, line deviation, shares held.
std::string FormatFrontierText(const FrontierRun& run);

// JsonDocument with the list "points".
std::string FormatFrontierJson(const FrontierRun& run);

// CsvHeader("Point"), then AppendCsvRows of each breakpoint.
std::string FormatFrontierCsv(const FrontierRun& run);

}  // namespace korvel::cli
