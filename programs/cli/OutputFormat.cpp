#include "programs/cli/OutputFormat.h"

#include "core/grid/DisplayText.h"
#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"
#include "core/text/Utf16.h"

#include <cmath>
#include <cstdio>
#include <ostream>

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

bool IsRisk(const FigureColumn& figure) {
    return figure.value == &PrintedPortfolio::lineDeviation;
}

void AppendJsonPortfolio(std::string& out, const PrintedPortfolio& portfolio, std::string_view riskMeasure) {
    out += '{';
    for (const FigureColumn& figure : kFigureColumns) {
        if (IsRisk(figure) && !riskMeasure.empty()) {
            out += "\"riskMeasure\": ";
            AppendJsonString(out, riskMeasure);
            out += ", \"risk\": ";
        } else {
            out += "\"" + std::string(figure.key) + "\": ";
        }
        AppendJsonNumber(out, portfolio.*figure.value);
        out += ", ";
    }
    out += "\"shares\": [";
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

bool Dated(const PrintedFrame& frame) {
    return !frame.firstDate.empty();
}

// "Solution,Avg.Return,Line Deviat.[,First Date,Last Date]", the columns
// every line starts with.
std::string CsvLeadingHeader(const PrintedFrame& frame) {
    std::string out = "Solution";
    for (const FigureColumn& figure : kFigureColumns)
        out += IsRisk(figure) && !frame.riskMeasure.empty() ? ",Risk (" + frame.riskMeasure + ")"
                                                            : "," + std::string(figure.header);
    return Dated(frame) ? out + ",First Date,Last Date" : out;
}

std::string CsvLeadingFields(const PrintedFrame& frame, size_t number, const PrintedPortfolio& portfolio) {
    std::string out = std::to_string(number);
    for (const FigureColumn& figure : kFigureColumns)
        out += "," + NumberText(portfolio.*figure.value);
    if (Dated(frame))
        out += "," + text::QuoteField(NameText(frame.firstDate), ',') + ","
               + text::QuoteField(NameText(frame.lastDate), ',');
    return out;
}

void AppendLongRows(std::string& out, const std::string& leading, const PrintedPortfolio& portfolio) {
    for (const PrintedShare& share : portfolio.shares)
        out += leading + "," + std::to_string(share.row) + "," + text::QuoteField(NameText(share.name), ',') + ","
               + NumberText(share.weight) + "\n";
}

void AppendWideRow(std::string& out, const std::string& leading, size_t tickers, const PrintedPortfolio& portfolio) {
    std::vector<double> weights(tickers, 0.0);
    for (const PrintedShare& share : portfolio.shares)
        if (share.row >= 1 && static_cast<size_t>(share.row) <= tickers)
            weights[static_cast<size_t>(share.row - 1)] = share.weight;
    out += leading;
    for (const double weight : weights)
        out += "," + NumberText(weight);
    out += "\n";
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

std::string PadLeft(std::string_view text, size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + std::string(text);
}

std::string PadRight(std::string_view text, size_t width) {
    return std::string(text) + std::string(width > text.size() ? width - text.size() : 0, ' ');
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

PrintedFrame FrameOf(const std::vector<std::string>& names, const std::vector<std::string>& dates) {
    PrintedFrame frame;
    frame.tickers = names;
    if (!dates.empty()) {
        frame.firstDate = dates.front();
        frame.lastDate = dates.back();
    }
    return frame;
}

void WriteCsv(std::ostream& out, const PrintedFrame& frame, const std::vector<PrintedPortfolio>& portfolios,
              CsvForm form) {
    std::string line = CsvLeadingHeader(frame);
    if (form == CsvForm::Long) {
        line += ",Row,Name,Weight";
    } else {
        for (const std::string& ticker : frame.tickers)
            line += "," + text::QuoteField(NameText(ticker), ',');
    }
    out << line << '\n';
    for (size_t k = 0; k < portfolios.size(); ++k) {
        const std::string leading = CsvLeadingFields(frame, k + 1, portfolios[k]);
        line.clear();
        if (form == CsvForm::Long)
            AppendLongRows(line, leading, portfolios[k]);
        else
            AppendWideRow(line, leading, frame.tickers.size(), portfolios[k]);
        out << line;
    }
}

std::string JsonDocument(std::string_view outcome, std::string_view message, const PrintedFrame& frame,
                         std::string_view listName, const std::vector<PrintedPortfolio>& portfolios) {
    std::string out = "{\"outcome\": ";
    AppendJsonString(out, outcome);
    out += ", \"message\": ";
    if (message.empty())
        out += "null";
    else
        AppendJsonString(out, message);
    if (Dated(frame)) {
        out += ", \"firstDate\": ";
        AppendJsonString(out, frame.firstDate);
        out += ", \"lastDate\": ";
        AppendJsonString(out, frame.lastDate);
    }
    out += ", ";
    AppendJsonString(out, listName);
    out += ": [";
    for (size_t k = 0; k < portfolios.size(); ++k) {
        if (k > 0)
            out += ", ";
        AppendJsonPortfolio(out, portfolios[k], frame.riskMeasure);
    }
    out += "]}\n";
    return out;
}

}  // namespace korvel::cli
