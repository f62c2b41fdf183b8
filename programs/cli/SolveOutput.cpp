#include "programs/cli/SolveOutput.h"

#include "core/optimizer/DisplayFigures.h"

#include <algorithm>

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
    out += "Solution " + std::to_string(number) + "\n";
    out += "Avg.Return    " + DialogFigure(record.averageReturn) + "\n";
    if (measure.empty())
        out += "Line Deviat.  " + DialogFigure(record.lineDeviation) + "\n";
    else
        out += "Risk          " + DialogFigure(record.lineDeviation) + "  (" + measure + ")\n";
    // Beyond the worksheet a solution may hold thousands of shares.
    const size_t noWidth = std::max<size_t>(3, std::to_string(record.shareCount).size());
    out += PadLeft("No", noWidth) + "  Weight     Row  Name\n";
    for (int32_t i = 0; i < record.shareCount; ++i) {
        const SolutionShare& share = record.shares[static_cast<size_t>(i)];
        out += PadLeft(std::to_string(i + 1), noWidth) + "  " + FormatWeightFigure(static_cast<double>(share.weight))
               + "  " + PadLeft(std::to_string(share.row), 6) + "  " + NameText(share.name) + "\n";
    }
}

PrintedPortfolio Printed(const SolutionRecord& record) {
    PrintedPortfolio portfolio{record.ownAverageReturn, record.ownLineDeviation, {}};
    for (int32_t i = 0; i < record.shareCount; ++i) {
        const SolutionShare& share = record.shares[static_cast<size_t>(i)];
        portfolio.shares.push_back({share.name, share.solverWeight, share.row});
    }
    return portfolio;
}

std::vector<PrintedPortfolio> Printed(const std::vector<SolutionRecord>& records) {
    std::vector<PrintedPortfolio> portfolios;
    for (const SolutionRecord& record : records)
        portfolios.push_back(Printed(record));
    return portfolios;
}

}  // namespace

std::string FormatText(const SolveRun& run) {
    std::string out;
    for (size_t k = 0; k < run.solutions.size(); ++k) {
        if (k > 0)
            out += "\n";
        AppendSolutionText(out, k + 1, run.solutions[k], run.frame.riskMeasure);
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

void PrintCsv(std::ostream& out, const SolveRun& run, CsvForm form) {
    WriteCsv(out, run.frame, Printed(run.solutions), form);
}

std::string FormatJson(const SolveRun& run) {
    return JsonDocument(OutcomeName(run.go.outcome), run.go.message, run.frame, "solutions", Printed(run.solutions));
}

}  // namespace korvel::cli
