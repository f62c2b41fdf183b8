#include "cli/SolveOutput.h"

#include "optimizer/core/DisplayFigures.h"
#include "worksheet/core/DelimitedText.h"
#include "worksheet/core/NumberText.h"

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
    case GoOutcome::Done: return "done";
    case GoOutcome::NoSolution: return "no solution";
    case GoOutcome::Unbounded: return "unbounded";
    case GoOutcome::Invalid:
    case GoOutcome::NotFinite: return "invalid";
    case GoOutcome::PivotLimit: return "pivot limit";
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
        out += share.name;
        out += "\n";
    }
}

// Length of the well-formed UTF-8 sequence at the start of bytes, 0 if malformed.
size_t Utf8SequenceLength(std::string_view bytes) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;       // no overlong forms
        if (lead == 0xED) high = 0x9F;      // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;      // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

}  // namespace

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr;
    out.append(text, end);
}

void AppendJsonString(std::string& out, std::string_view bytes) {
    out += '"';
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            ++i;
        } else if (const size_t length = Utf8SequenceLength(bytes.substr(i)); length > 0) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += "\\ufffd";
            ++i;
        }
    }
    out += '"';
}

std::string FormatText(const SolveRun& run) {
    std::string out;
    for (size_t k = 0; k < run.solutions.size(); ++k) {
        if (k > 0) out += "\n";
        AppendSolutionText(out, k + 1, run.solutions[k]);
    }
    if (run.go.outcome == GoOutcome::NoSolution || run.go.outcome == GoOutcome::Unbounded) {
        if (!run.solutions.empty()) out += "\n";
        out += run.go.message + "\n";
    }
    return out;
}

std::string FormatCsv(const SolveRun& run) {
    std::string out = "Solution,Avg.Return,Line Deviat.,Row,Name,Weight\n";
    for (size_t k = 0; k < run.solutions.size(); ++k) {
        const SolutionRecord& record = run.solutions[k];
        const std::string figures = std::to_string(k + 1) + "," + text::ShortestText(record.averageReturn) + "," +
                                    text::ShortestText(record.lineDeviation) + ",";
        for (int32_t i = 0; i < record.shareCount; ++i) {
            const SolutionShare& share = record.shares[static_cast<size_t>(i)];
            out += figures + std::to_string(share.row) + "," + text::QuoteField(share.name, ',') + "," +
                   text::ShortestText(share.weight) + "\n";
        }
    }
    return out;
}

std::string FormatJson(const SolveRun& run) {
    std::string out = "{\"outcome\": ";
    AppendJsonString(out, OutcomeName(run.go.outcome));
    out += ", \"message\": ";
    if (run.go.message.empty()) out += "null";
    else AppendJsonString(out, run.go.message);
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
            AppendJsonNumber(out, static_cast<double>(share.weight));
            out += ", \"row\": " + std::to_string(share.row) + "}";
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

}  // namespace korvel::cli
