#include "core/worksheet/TextExport.h"

#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"

namespace korvel::text {

bool WriteDelimitedText(const WorksheetTable& table, char separator, std::string& out, TextError& error)
{
    out = "Name";
    const int32_t periods = table.Cols() - 2;
    for (int32_t p = 1; p <= periods; ++p)
        out += separator + ("R" + std::to_string(p));
    out += '\n';
    for (int32_t r = 1; r < table.Rows(); ++r) {
        const std::string& name = table.TextMatrix(r, 1);
        // Quoted when empty, so that a share without name or returns is no blank line.
        out += name == kMinReturnLabel ? "\"" + name + "\"" : QuoteField(name, separator, true);
        for (int32_t c = 2; c < table.Cols(); ++c) {
            const std::string& cell = table.TextMatrix(r, c);
            double value = 0.0;
            if (!ReadsAsWorksheetNumber(cell, value)) {
                error = TextError{r + 1, c,
                                  "return " + std::to_string(c - 1) + " of row " + std::to_string(r) + ", \"" + cell
                                      + "\", is not a number"};
                return false;
            }
            out += separator + QuoteField(cell, separator);
        }
        out += '\n';
    }
    if (!table.minReturnText.empty()) {
        // Quoted, a decimal comma is not read back as a decimal point.
        out += std::string(kMinReturnLabel) + separator + QuoteField(table.minReturnText, separator, false, ",") + '\n';
    }
    return true;
}

}  // namespace korvel::text
