#pragma once
#include "core/optimizer/ShareReturns.h"
#include "core/text/CellSource.h"

#include <string>

namespace korvel {

inline constexpr const char* kMsgMinReturnNotValid = "MinReturn not valid !";
inline constexpr const char* kMsgMinReturnNotPositive = "Min Return must be positive value !";
inline constexpr const char* kFmtInvalidReturn = "Invalid Return%d on row %d";

enum class ValidationError { None, MinReturnNotValid, MinReturnNotPositive, InvalidReturn };

struct ValidationResult {
    ValidationError error = ValidationError::None;
    std::string message;         // the exact text shown to the user; empty when valid
    double minReturn = 0.0;      // as parsed, whatever followed
    int32_t period = 0;          // for InvalidReturn: period number (column - 1)
    int32_t row = 0;             // for InvalidReturn: worksheet row
    double largestReturn = 0.0;  // the largest |return| of the worksheet, when valid
    ShareReturns returns;        // every return as read, when valid
    bool ok() const { return error == ValidationError::None; }
};

// "Invalid Return<period> on row <row>".
std::string InvalidReturnMessage(const ReturnCell& cell);

// The Go command's input checks: the Min Return text, then every return cell
// row by row; only the first fault is reported.
ValidationResult ValidateInput(const std::string& minReturnText, const CellSource& cells);

}  // namespace korvel
