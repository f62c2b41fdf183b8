#include "core/worksheet/TextExport.h"

#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"

namespace korvel::text {
namespace {

constexpr std::string_view kMinReturnOpening = " (Min Return ";

bool CheckReturns(const WorksheetTable& table, TextError& error)
{
    for (int32_t r = 1; r < table.Rows(); ++r)
        for (int32_t c = 2; c < table.Cols(); ++c) {
            const std::string& cell = table.TextMatrix(r, c);
            double value = 0.0;
            if (!cell.empty() && !ReadsAsWorksheetNumber(cell, value)) {
                error = TextError{r + 1, c,
                                  "return " + std::to_string(c - 1) + " of row " + std::to_string(r) + ", "
                                      + QuotedExcerpt(cell) + ", is not a number"};
                return false;
            }
        }
    return true;
}

}  // namespace

bool SplitMinReturnHeader(std::string_view header, std::string_view& label, std::string_view& minReturn)
{
    const size_t opening = header.find(kMinReturnOpening);
    if (opening == std::string_view::npos || !header.ends_with(')'))
        return false;
    label = header.substr(0, opening);
    minReturn = header.substr(opening + kMinReturnOpening.size());
    minReturn.remove_suffix(1);
    return true;
}

bool WriteDelimitedText(const WorksheetTable& table, const std::vector<std::string>& dates, char separator,
                        std::string& out, TextError& error)
{
    if (!CheckReturns(table, error))
        return false;
    const int32_t periods = table.Cols() - 2;
    const bool dated = dates.size() == static_cast<size_t>(periods);
    std::string first = dated ? "Date" : "Period";
    if (!table.minReturnText.empty())
        first += std::string(kMinReturnOpening) + table.minReturnText + ")";
    // Quoted, a decimal comma in the Min Return is not read as a decimal point.
    out = QuoteField(first, separator, false, ",");
    for (int32_t r = 1; r < table.Rows(); ++r)
        out += separator + QuoteField(table.TextMatrix(r, 1), separator, true);
    out += '\n';
    for (int32_t p = 0; p < periods; ++p) {
        out += dated ? QuoteField(dates[static_cast<size_t>(p)], separator, true) : std::to_string(p + 1);
        for (int32_t r = 1; r < table.Rows(); ++r)
            out += separator + QuoteField(table.TextMatrix(r, p + 2), separator);
        out += '\n';
    }
    return true;
}

}  // namespace korvel::text
