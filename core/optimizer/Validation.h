#pragma once
#include "core/text/CellSource.h"

#include <string>
#include <string_view>

namespace korvel {

inline constexpr const char* kMsgMinReturnNotValid = "MinReturn not valid !";
inline constexpr const char* kMsgMinReturnNotPositive = "Min Return must be positive value !";
inline constexpr const char* kFmtInvalidReturn = "Invalid Return%d on row %d";

// Reads text as strtod does in the classic locale, whatever the process locale
// (leading blanks, signs, hexadecimal forms, "inf" and "nan" included). True only
// when the whole text is consumed and the value is finite; value is set whatever
// the outcome (0 when nothing could be read). A text of any length is parsed
// whole; a text with a NUL byte inside is never consumed to its end.
bool ParseWholeNumber(std::string_view text, double& value);

enum class ValidationError { None, MinReturnNotValid, MinReturnNotPositive, InvalidReturn };

struct ValidationResult {
    ValidationError error = ValidationError::None;
    std::string message;         // the exact text shown to the user; empty when valid
    double minReturn = 0.0;      // as parsed, whatever followed
    int32_t period = 0;          // for InvalidReturn: period number (column - 1)
    int32_t row = 0;             // for InvalidReturn: worksheet row
    double largestReturn = 0.0;  // the largest |return| of the worksheet, when valid
    bool ok() const { return error == ValidationError::None; }
};

// The Go command's input checks: the Min Return text, then every return cell
// row by row; only the first fault is reported.
ValidationResult ValidateInput(const std::string& minReturnText, const CellSource& cells);

}  // namespace korvel
