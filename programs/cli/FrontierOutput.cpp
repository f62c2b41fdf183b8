#include "programs/cli/FrontierOutput.h"

#include "core/optimizer/DisplayFigures.h"

#include <algorithm>
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
    const std::vector<FrontierPoint>& points = run.frontier.points;
    if (points.empty())
        return out;
    // Columns as wide as their longest entry: long frontiers and far exponents.
    const size_t noWidth = std::max<size_t>(3, std::to_string(points.size()).size());
    size_t figureWidth = 16;
    for (const FrontierPoint& point : points)
        figureWidth = std::max({figureWidth, Figure(point.averageReturn).size(), Figure(point.lineDeviation).size()});
    const std::string& measure = run.frame.riskMeasure;
    out += PadLeft("No", noWidth) + "  " + PadRight("Avg.Return", figureWidth) + "  "
           + PadRight(measure.empty() ? "Line Deviat." : "Risk", figureWidth) + "  Shares (weight)"
           + (measure.empty() ? "" : "   risk: " + measure) + "\n";
    for (size_t k = 0; k < points.size(); ++k) {
        const FrontierPoint& point = points[k];
        out += PadLeft(std::to_string(k + 1), noWidth) + "  " + PadRight(Figure(point.averageReturn), figureWidth)
               + "  " + PadRight(Figure(point.lineDeviation), figureWidth) + "  ";
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

void PrintFrontierCsv(std::ostream& out, const FrontierRun& run, CsvForm form) {
    WriteCsv(out, run.frame, Printed(run), form);
}

}  // namespace korvel::cli
