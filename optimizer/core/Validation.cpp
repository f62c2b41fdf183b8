#include "optimizer/core/Validation.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <new>

namespace korvel {
namespace {

// The classic locale, made once: strtod_l reads with it whatever locale the
// process has set, so "1.5" means one and a half on every desktop.
locale_t ClassicLocale() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (classic == static_cast<locale_t>(nullptr)) throw std::bad_alloc();
    return classic;
}

// strtod needs a terminated string. Texts typed into the worksheet fit the
// stack buffer; a longer one (only a loaded file can bring it) is parsed whole
// from a heap copy rather than cut short.
bool ParseTerminated(const char* text, size_t size, double& value) {
    char* end = nullptr;
    value = strtod_l(text, &end, ClassicLocale());
    return end == text + size && std::isfinite(value);
}

ValidationResult Fault(ValidationError error, std::string message, double minReturn) {
    ValidationResult result;
    result.error = error;
    result.message = std::move(message);
    result.minReturn = minReturn;
    return result;
}

ValidationResult InvalidReturn(int32_t period, int32_t row, double minReturn) {
    char text[64];
    std::snprintf(text, sizeof text, kFmtInvalidReturn, period, row);
    ValidationResult result = Fault(ValidationError::InvalidReturn, text, minReturn);
    result.period = period;
    result.row = row;
    return result;
}

ValidationResult Validate(const std::string& minReturnText, const CellSource& cells,
                          std::vector<double>* returns) {
    double minReturn = 0.0;
    if (!ParseWholeNumber(minReturnText, minReturn))
        return Fault(ValidationError::MinReturnNotValid, kMsgMinReturnNotValid, minReturn);
    if (!(minReturn > 0.0))
        return Fault(ValidationError::MinReturnNotPositive, kMsgMinReturnNotPositive, minReturn);

    const int32_t rows = cells.Rows();
    const int32_t cols = cells.Cols();
    if (returns) {
        returns->clear();
        if (rows > 1 && cols > 2) returns->reserve(static_cast<size_t>(rows - 1) * (cols - 2));
    }
    for (int32_t i = 1; i < rows; ++i) {
        for (int32_t c = 2; c < cols; ++c) {
            double value = 0.0;
            if (!ParseWholeNumber(cells.TextMatrix(i, c), value)) {
                if (returns) returns->clear();
                return InvalidReturn(c - 1, i, minReturn);
            }
            if (returns) returns->push_back(value);
        }
    }
    ValidationResult ok;
    ok.minReturn = minReturn;
    return ok;
}

}  // namespace

bool ParseWholeNumber(std::string_view text, double& value) {
    constexpr size_t kBuffer = 128;
    if (text.size() < kBuffer) {
        char buffer[kBuffer];
        if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
        return ParseTerminated(buffer, text.size(), value);
    }
    const std::string copy(text);
    return ParseTerminated(copy.c_str(), copy.size(), value);
}

ValidationResult ValidateInput(const std::string& minReturnText, const CellSource& cells) {
    return Validate(minReturnText, cells, nullptr);
}

ValidationResult ValidateInput(const std::string& minReturnText, const CellSource& cells,
                               std::vector<double>& returns) {
    return Validate(minReturnText, cells, &returns);
}

}  // namespace korvel
