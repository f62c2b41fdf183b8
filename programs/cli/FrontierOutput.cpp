#include "programs/cli/FrontierOutput.h"

#include "core/optimizer/DisplayFigures.h"
#include "programs/cli/OutputFormat.h"

#include <cstdio>

namespace korvel::cli {

const char* FrontierOutcomeName(FrontierOutcome outcome) {
    switch (outcome) {
    case FrontierOutcome::Done:
        return "done";
    case FrontierOutcome::Invalid:
        return "invalid";
    case FrontierOutcome::NoSolution:
        return "no solution";
    case FrontierOutcome::CheckFailed:
        return "check failed";
    case FrontierOutcome::PivotLimit:
        return "pivot limit";
    }
    return "invalid";
}

namespace {

const std::string& NameOf(const FrontierRun& run, const FrontierShare& share) {
    static const std::string unnamed;
    const size_t index = static_cast<size_t>(share.row - 1);
    return index < run.names.size() ? run.names[index] : unnamed;
}

std::string Figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

PrintedPortfolio Printed(const FrontierRun& run, const FrontierPoint& point) {
    PrintedPortfolio portfolio{point.averageReturn, point.lineDeviation, {}, run.riskMeasure};
    for (const FrontierShare& share : point.shares)
        portfolio.shares.push_back({NameOf(run, share), share.weight, share.row});
    return portfolio;
}

}  // namespace

std::string FormatFrontierText(const FrontierRun& run) {
    std::string out;
    if (run.frontier.points.empty())
        return out;
    if (run.riskMeasure.empty())
        out += " No  Avg.Return        Line Deviat.      Shares (weight)\n";
    else
        out += " No  Avg.Return        Risk              Shares (weight)   risk: " + run.riskMeasure + "\n";
    char line[96];
    for (size_t k = 0; k < run.frontier.points.size(); ++k) {
        const FrontierPoint& point = run.frontier.points[k];
        std::snprintf(line, sizeof line, "%3zu  %-16s  %-16s  ", k + 1, Figure(point.averageReturn).c_str(),
                      Figure(point.lineDeviation).c_str());
        out += line;
        for (size_t i = 0; i < point.shares.size(); ++i) {
            if (i > 0)
                out += ", ";
            out += NameText(NameOf(run, point.shares[i])) + " " + FormatWeightFigure(point.shares[i].weight);
        }
        out += "\n";
    }
    return out;
}

std::string FormatFrontierJson(const FrontierRun& run) {
    std::vector<PrintedPortfolio> points;
    for (const FrontierPoint& point : run.frontier.points)
        points.push_back(Printed(run, point));
    return JsonDocument(FrontierOutcomeName(run.frontier.outcome), run.frontier.message, "points", points);
}

std::string FormatFrontierCsv(const FrontierRun& run) {
    std::string out = CsvHeader("Point", run.riskMeasure);
    for (size_t k = 0; k < run.frontier.points.size(); ++k)
        AppendCsvRows(out, k + 1, Printed(run, run.frontier.points[k]));
    return out;
}

}  // namespace korvel::cli
