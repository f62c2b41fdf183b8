#include "programs/cli/FrontierOutput.h"

#include "programs/cli/SolveOutput.h"

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

// A field as spreadsheets read it: quoted when it holds a separator, a quote
// or a line break, quotes doubled.
void AppendCsvField(std::string& out, const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
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
            std::snprintf(line, sizeof line, " %.4f", point.shares[i].weight);
            out += NameOf(run, point.shares[i]) + line;
        }
        out += "\n";
    }
    return out;
}

std::string FormatFrontierJson(const FrontierRun& run) {
    std::string out = "{\"outcome\": ";
    AppendJsonString(out, FrontierOutcomeName(run.frontier.outcome));
    out += ", \"message\": ";
    if (run.frontier.message.empty())
        out += "null";
    else
        AppendJsonString(out, run.frontier.message);
    out += ", \"points\": [";
    for (size_t k = 0; k < run.frontier.points.size(); ++k) {
        const FrontierPoint& point = run.frontier.points[k];
        out += k > 0 ? ", {\"averageReturn\": " : "{\"averageReturn\": ";
        AppendJsonNumber(out, point.averageReturn);
        out += ", \"lineDeviation\": ";
        AppendJsonNumber(out, point.lineDeviation);
        out += ", \"shares\": [";
        for (size_t i = 0; i < point.shares.size(); ++i) {
            const FrontierShare& share = point.shares[i];
            out += i > 0 ? ", {\"name\": " : "{\"name\": ";
            AppendJsonString(out, NameOf(run, share));
            out += ", \"weight\": ";
            AppendJsonNumber(out, share.weight);
            out += ", \"row\": " + std::to_string(share.row) + "}";
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

std::string FormatFrontierCsv(const FrontierRun& run) {
    std::string out = "point,averageReturn,lineDeviation,row,name,weight\n";
    for (size_t k = 0; k < run.frontier.points.size(); ++k) {
        const FrontierPoint& point = run.frontier.points[k];
        for (const FrontierShare& share : point.shares) {
            out += std::to_string(k + 1) + ",";
            AppendJsonNumber(out, point.averageReturn);
            out += ",";
            AppendJsonNumber(out, point.lineDeviation);
            out += "," + std::to_string(share.row) + ",";
            AppendCsvField(out, NameOf(run, share));
            out += ",";
            AppendJsonNumber(out, share.weight);
            out += "\n";
        }
    }
    return out;
}

}  // namespace korvel::cli
