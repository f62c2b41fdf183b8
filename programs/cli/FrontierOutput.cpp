#include "programs/cli/FrontierOutput.h"

#include "core/optimizer/DisplayFigures.h"

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
    return index < run.frame.tickers.size() ? run.frame.tickers[index] : unnamed;
}

std::string Figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

PrintedPortfolio Printed(const FrontierRun& run, const FrontierPoint& point) {
    PrintedPortfolio portfolio{point.averageReturn, point.lineDeviation, {}};
    for (const FrontierShare& share : point.shares)
        portfolio.shares.push_back({NameOf(run, share), share.weight, share.row});
    return portfolio;
}

std::vector<PrintedPortfolio> Printed(const FrontierRun& run) {
    std::vector<PrintedPortfolio> points;
    for (const FrontierPoint& point : run.frontier.points)
        points.push_back(Printed(run, point));
    return points;
}

}  // namespace

std::string FormatFrontierText(const FrontierRun& run) {
    std::string out;
    if (run.frontier.points.empty())
        return out;
    out += " No  Avg.Return        Line Deviat.      Shares (weight)\n";
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
    return JsonDocument(FrontierOutcomeName(run.frontier.outcome), run.frontier.message, run.frame, "points",
                        Printed(run));
}

std::string FormatFrontierCsv(const FrontierRun& run, CsvForm form) {
    return CsvDocument(run.frame, Printed(run), form);
}

}  // namespace korvel::cli
