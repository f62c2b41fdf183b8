#include "core/optimizer/Validation.h"

#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korvel {
namespace {

ValidationResult Fault(ValidationError error, std::string message, double minReturn) {
    ValidationResult result;
    result.error = error;
    result.message = std::move(message);
    result.minReturn = minReturn;
    return result;
}

ValidationResult InvalidReturn(const ReturnCell& cell, double minReturn) {
    ValidationResult result = Fault(ValidationError::InvalidReturn, InvalidReturnMessage(cell), minReturn);
    result.period = cell.period;
    result.row = cell.row;
    return result;
}

}  // namespace

ValidationResult ValidateInput(const std::string& minReturnText, const CellSource& cells) {
    double minReturn = 0.0;
    if (!text::ReadWholeNumber(minReturnText, minReturn))
        return Fault(ValidationError::MinReturnNotValid, kMsgMinReturnNotValid, minReturn);
    // "nan" and "-inf" are simply not above 0.
    if (!(minReturn > 0.0))
        return Fault(ValidationError::MinReturnNotPositive, kMsgMinReturnNotPositive, minReturn);
    // A positive infinity ("inf", "1e999") would poison the tableau.
    if (!std::isfinite(minReturn))
        return Fault(ValidationError::MinReturnNotValid, kMsgMinReturnNotValid, minReturn);

    ValidationResult ok;
    ReturnCell bad;
    if (!ReadWorksheetReturns(cells, ok.returns, bad))
        return InvalidReturn(bad, minReturn);
    double largest = 0.0;
    for (double value : ok.returns.values)
        largest = std::max(largest, std::fabs(value));
    ok.minReturn = minReturn;
    ok.largestReturn = largest;
    return ok;
}

std::string InvalidReturnMessage(const ReturnCell& cell) {
    char text[64];
    std::snprintf(text, sizeof text, kFmtInvalidReturn, cell.period, cell.row);
    return text;
}

}  // namespace korvel
