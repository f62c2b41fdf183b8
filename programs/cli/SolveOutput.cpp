#include "programs/cli/SolveOutput.h"

#include "core/grid/DisplayText.h"
#include "core/optimizer/DisplayFigures.h"
#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

void AppendSolutionText(std::string& out, size_t number, const SolutionRecord& record) {
    char line[96];
    std::snprintf(line, sizeof line, "Solution %zu\n", number);
    out += line;
    out += "Avg.Return    " + DialogFigure(record.averageReturn) + "\n";
    out += "Line Deviat.  " + DialogFigure(record.lineDeviation) + "\n";
    out += " No  Weight     Row  Name\n";
    for (int32_t i = 0; i < record.shareCount; ++i) {
        const SolutionShare& share = record.shares[static_cast<size_t>(i)];
        const std::string weight = FormatWeightFigure(static_cast<double>(share.weight));
        std::snprintf(line, sizeof line, "%3d  %s  %6d  ", i + 1, weight.c_str(), share.row);
        out += line;
        out += TextAsUtf8(share.name);
        out += "\n";
    }
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, end);
}

std::string TextAsUtf8(std::string_view bytes) {
    std::u16string units;
    // Every byte gives at most one unit, so the grid's cap never cuts a name here.
    grid::DecodeForDisplay(bytes, units, bytes.size() + 1);
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        const bool pair =
            c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        if (pair)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        AppendUtf8(c, out);
    }
    return out;
}

void AppendJsonString(std::string& out, std::string_view bytes) {
    out += '"';
    for (const char byte : TextAsUtf8(bytes)) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += byte;
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += byte;
        }
    }
    out += '"';
}

std::string FormatText(const SolveRun& run) {
    std::string out;
    for (size_t k = 0; k < run.solutions.size(); ++k) {
        if (k > 0)
            out += "\n";
        AppendSolutionText(out, k + 1, run.solutions[k]);
    }
    if (run.go.outcome == GoOutcome::NoSolution || run.go.outcome == GoOutcome::Unbounded) {
        if (!run.solutions.empty())
            out += "\n";
        out += run.go.message + "\n";
    }
    return out;
}

std::string FormatCsv(const SolveRun& run) {
    std::string out = "Solution,Avg.Return,Line Deviat.,Row,Name,Weight\n";
    for (size_t k = 0; k < run.solutions.size(); ++k) {
        const SolutionRecord& record = run.solutions[k];
        const std::string figures = std::to_string(k + 1) + "," + text::ShortestText(record.averageReturn) + ","
                                    + text::ShortestText(record.lineDeviation) + ",";
        for (int32_t i = 0; i < record.shareCount; ++i) {
            const SolutionShare& share = record.shares[static_cast<size_t>(i)];
            out += figures + std::to_string(share.row) + "," + text::QuoteField(share.name, ',') + ","
                   + text::ShortestText(share.solverWeight) + "\n";
        }
    }
    return out;
}

std::string FormatJson(const SolveRun& run) {
    std::string out = "{\"outcome\": ";
    AppendJsonString(out, OutcomeName(run.go.outcome));
    out += ", \"message\": ";
    if (run.go.message.empty())
        out += "null";
    else
        AppendJsonString(out, run.go.message);
    out += ", \"solutions\": [";
    for (size_t k = 0; k < run.solutions.size(); ++k) {
        const SolutionRecord& record = run.solutions[k];
        out += k > 0 ? ", {\"averageReturn\": " : "{\"averageReturn\": ";
        AppendJsonNumber(out, record.averageReturn);
        out += ", \"lineDeviation\": ";
        AppendJsonNumber(out, record.lineDeviation);
        out += ", \"shares\": [";
        for (int32_t i = 0; i < record.shareCount; ++i) {
            const SolutionShare& share = record.shares[static_cast<size_t>(i)];
            out += i > 0 ? ", {\"name\": " : "{\"name\": ";
            AppendJsonString(out, share.name);
            out += ", \"weight\": ";
            AppendJsonNumber(out, share.solverWeight);
            out += ", \"row\": " + std::to_string(share.row) + "}";
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

}  // namespace korvel::cli
