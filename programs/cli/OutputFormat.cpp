#include "programs/cli/OutputFormat.h"

#include "core/grid/DisplayText.h"
#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"
#include "core/text/Utf16.h"

#include <cmath>
#include <cstdio>

namespace korvel::cli {
namespace {

bool IsControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

void AppendEscaped(std::string& out, char32_t c) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
    out += escaped;
}

void AppendJsonPortfolio(std::string& out, const PrintedPortfolio& portfolio) {
    out += "{\"averageReturn\": ";
    AppendJsonNumber(out, portfolio.averageReturn);
    if (portfolio.riskMeasure.empty()) {
        out += ", \"lineDeviation\": ";
    } else {
        out += ", \"riskMeasure\": ";
        AppendJsonString(out, portfolio.riskMeasure);
        out += ", \"risk\": ";
    }
    AppendJsonNumber(out, portfolio.lineDeviation);
    out += ", \"shares\": [";
    for (size_t i = 0; i < portfolio.shares.size(); ++i) {
        const PrintedShare& share = portfolio.shares[i];
        out += i > 0 ? ", {\"name\": " : "{\"name\": ";
        AppendJsonString(out, NameText(share.name));
        out += ", \"weight\": ";
        AppendJsonNumber(out, share.weight);
        out += ", \"row\": " + std::to_string(share.row) + "}";
    }
    out += "]}";
}

}  // namespace

std::string TextAsUtf8(std::string_view bytes) {
    std::u16string units;
    // Every byte gives at most one unit, so the grid's cap never cuts a name here.
    grid::DecodeForDisplay(bytes, units, bytes.size() + 1);
    std::string out;
    doc::AppendUtf8FromUtf16(units, out);
    return out;
}

std::string NameText(std::string_view bytes) {
    std::u16string units;
    grid::DecodeForDisplay(bytes, units, bytes.size() + 1);
    std::u16string_view rest = units;
    std::string out;
    while (!rest.empty()) {
        size_t plain = 0;
        while (plain < rest.size() && !IsControl(rest[plain]))
            ++plain;
        doc::AppendUtf8FromUtf16(rest.substr(0, plain), out);
        if (plain < rest.size())
            AppendEscaped(out, rest[plain++]);
        rest.remove_prefix(plain);
    }
    return out;
}

std::string NumberText(double value) {
    return text::ShortestText(value);
}

void AppendJsonNumber(std::string& out, double value) {
    out += std::isfinite(value) ? NumberText(value) : std::string("null");
}

void AppendJsonString(std::string& out, std::string_view bytes) {
    out += '"';
    for (const char byte : TextAsUtf8(bytes)) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += byte;
        } else if (c < 0x20) {
            AppendEscaped(out, c);
        } else {
            out += byte;
        }
    }
    out += '"';
}

std::string CsvHeader(std::string_view first, std::string_view riskMeasure) {
    const std::string risk = riskMeasure.empty() ? "Line Deviat." : "Risk (" + std::string(riskMeasure) + ")";
    return std::string(first) + ",Avg.Return," + risk + ",Row,Name,Weight\n";
}

void AppendCsvRows(std::string& out, size_t number, const PrintedPortfolio& portfolio) {
    const std::string figures = std::to_string(number) + "," + NumberText(portfolio.averageReturn) + ","
                                + NumberText(portfolio.lineDeviation) + ",";
    for (const PrintedShare& share : portfolio.shares)
        out += figures + std::to_string(share.row) + "," + text::QuoteField(NameText(share.name), ',') + ","
               + NumberText(share.weight) + "\n";
}

std::string JsonDocument(std::string_view outcome, std::string_view message, std::string_view listName,
                         const std::vector<PrintedPortfolio>& portfolios) {
    std::string out = "{\"outcome\": ";
    AppendJsonString(out, outcome);
    out += ", \"message\": ";
    if (message.empty())
        out += "null";
    else
        AppendJsonString(out, message);
    out += ", ";
    AppendJsonString(out, listName);
    out += ": [";
    for (size_t k = 0; k < portfolios.size(); ++k) {
        if (k > 0)
            out += ", ";
        AppendJsonPortfolio(out, portfolios[k]);
    }
    out += "]}\n";
    return out;
}

}  // namespace korvel::cli
