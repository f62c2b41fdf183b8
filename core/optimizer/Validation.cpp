#include "core/optimizer/Validation.h"

#include <clocale>
#include <cmath>
#include <cstdint>
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
    if (classic == static_cast<locale_t>(nullptr))
        throw std::bad_alloc();
    return classic;
}

// The common case, a plain decimal such as "-12.75", read exactly as strtod
// reads it: when the digits form an integer w of at most 2^53 and there are at
// most 22 of them after the point, both w and 10^k are exact doubles, so the one
// correctly rounded division gives the correctly rounded value, which is what
// strtod returns. Everything else (blanks, signs other than a leading minus,
// exponents, hexadecimal, inf, nan, long digit strings) goes to strtod_l.
bool ParsePlainDecimal(std::string_view text, double& value) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr uint64_t kExactLimit = uint64_t{1} << 53;
    size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++pos;
    uint64_t digits = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        digits = digits * 10 + static_cast<uint64_t>(c - '0');
        if (digits > kExactLimit)
            return false;
        ++digitCount;
        if (point)
            ++fractionDigits;
    }
    if (digitCount == 0 || fractionDigits > 22)
        return false;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
}

bool ParseTerminated(const char* text, size_t size, double& value) {
    char* end = nullptr;
    value = strtod_l(text, &end, ClassicLocale());
    return end == text + size;
}

// Consumed to the end, whatever the value, infinities and NaN included.
bool ReadWholeNumber(std::string_view text, double& value) {
    if (ParsePlainDecimal(text, value))
        return true;
    // strtod needs a terminated string. Texts typed into the worksheet fit the
    // stack buffer; a longer one (only a loaded file can bring it) is parsed
    // whole from a heap copy rather than cut short.
    constexpr size_t kBuffer = 128;
    if (text.size() < kBuffer) {
        char buffer[kBuffer];
        if (!text.empty())
            std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
        return ParseTerminated(buffer, text.size(), value);
    }
    const std::string copy(text);
    return ParseTerminated(copy.c_str(), copy.size(), value);
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

}  // namespace

ValidationResult ValidateInput(const std::string& minReturnText, const CellSource& cells) {
    double minReturn = 0.0;
    if (!ReadWholeNumber(minReturnText, minReturn))
        return Fault(ValidationError::MinReturnNotValid, kMsgMinReturnNotValid, minReturn);
    // "nan" and "-inf" are simply not above 0.
    if (!(minReturn > 0.0))
        return Fault(ValidationError::MinReturnNotPositive, kMsgMinReturnNotPositive, minReturn);
    // A positive infinity ("inf", "1e999") would poison the tableau.
    if (!std::isfinite(minReturn))
        return Fault(ValidationError::MinReturnNotValid, kMsgMinReturnNotValid, minReturn);

    const int32_t rows = cells.Rows();
    const int32_t cols = cells.Cols();
    double largest = 0.0;
    for (int32_t i = 1; i < rows; ++i) {
        for (int32_t c = 2; c < cols; ++c) {
            double value = 0.0;
            if (!ParseWholeNumber(cells.TextMatrix(i, c), value))
                return InvalidReturn(c - 1, i, minReturn);
            largest = std::fmax(largest, std::fabs(value));
        }
    }
    ValidationResult ok;
    ok.minReturn = minReturn;
    ok.largestReturn = largest;
    return ok;
}

// Consumed to the end, and finite: an infinity or NaN would poison the tableau.
bool ParseWholeNumber(std::string_view text, double& value) {
    return ReadWholeNumber(text, value) && std::isfinite(value);
}

}  // namespace korvel
