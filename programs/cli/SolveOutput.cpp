#include "programs/cli/SolveOutput.h"

#include "core/optimizer/DisplayFigures.h"

#include <cstdio>

namespace korvel::cli {

std::string DialogFigure(double value) {
    return FormatG15(RoundUpToFourDecimals(value));
}

const char* OutcomeName(GoOutcome outcome) {
    switch (outcome) {
    case GoOutcome::Done:
        return "done";
    case GoOutcome::NoSolution:
        return "no solution";
    case GoOutcome::Unbounded:
        return "unbounded";
    case GoOutcome::Invalid:
    case GoOutcome::NotFinite:
        return "invalid";
    case GoOutcome::PivotLimit:
        return "pivot limit";
    case GoOutcome::Unsound:
        return "unsound";
    }
    return "invalid";
}

namespace {

void AppendSolutionText(std::string& out, size_t number, const SolutionRecord& record, const std::string& measure) {
    char line[96];
    std::snprintf(line, sizeof line, "Solution %zu\n", number);
    out += line;
    out += "Avg.Return    " + DialogFigure(record.averageReturn) + "\n";
    if (measure.empty())
        out += "Line Deviat.  " + DialogFigure(record.lineDeviation) + "\n";
    else
        out += "Risk          " + DialogFigure(record.lineDeviation) + "  (" + measure + ")\n";
    out += " No  Weight     Row  Name\n";
    for (int32_t i = 0; i < record.shareCount; ++i) {
        const SolutionShare& share = record.shares[static_cast<size_t>(i)];
        const std::string weight = FormatWeightFigure(static_cast<double>(share.weight));
        std::snprintf(line, sizeof line, "%3d  %s  %6d  ", i + 1, weight.c_str(), share.row);
        out += line;
        out += NameText(share.name);
        out += "\n";
    }
}

PrintedPortfolio Printed(const SolutionRecord& record, const std::string& measure) {
    PrintedPortfolio portfolio{record.averageReturn, record.lineDeviation, {}, measure};
    for (int32_t i = 0; i < record.shareCount; ++i) {
        const SolutionShare& share = record.shares[static_cast<size_t>(i)];
        portfolio.shares.push_back({share.name, share.solverWeight, share.row});
    }
    return portfolio;
}

}  // namespace

std::string FormatText(const SolveRun& run) {
    std::string out;
    for (size_t k = 0; k < run.solutions.size(); ++k) {
        if (k > 0)
            out += "\n";
        AppendSolutionText(out, k + 1, run.solutions[k], run.riskMeasure);
    }
    if (!run.note.empty())
        out += run.note + "\n";
    if (run.go.outcome == GoOutcome::NoSolution || run.go.outcome == GoOutcome::Unbounded) {
        if (!run.solutions.empty())
            out += "\n";
        out += run.go.message + "\n";
    }
    return out;
}

std::string FormatCsv(const SolveRun& run) {
    std::string out = CsvHeader("Solution", run.riskMeasure);
    for (size_t k = 0; k < run.solutions.size(); ++k)
        AppendCsvRows(out, k + 1, Printed(run.solutions[k], run.riskMeasure));
    return out;
}

std::string FormatJson(const SolveRun& run) {
    std::vector<PrintedPortfolio> solutions;
    for (const SolutionRecord& record : run.solutions)
        solutions.push_back(Printed(record, run.riskMeasure));
    return JsonDocument(OutcomeName(run.go.outcome), run.go.message, "solutions", solutions);
}

}  // namespace korvel::cli
