#include "core/optimizer/DisplayFigures.h"

#include "core/text/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvel {

double RoundUpToFourDecimals(double value) {
    // A sum that should be 2 may come out as 2.0000000000000004, a few ulps
    // above; rounding that up would show 2.0001. Only such a value, within a
    // few ulps of a 4-decimal step, keeps the step; anything further above is
    // really above it and is rounded up. The tolerance counts ulps of the
    // product, which carries the value's own ulps (times 10000, within a factor
    // of two) plus the half ulp of the product's rounding.
    constexpr double kNoiseUlps = 4.0;
    const double scaled = value * 10000;
    const double nearest = std::nearbyint(scaled);
    const double ulp = std::nextafter(std::fabs(scaled), INFINITY) - std::fabs(scaled);
    const double steps = std::fabs(scaled - nearest) <= kNoiseUlps * ulp ? nearest : std::ceil(scaled);
    // Adding +0 turns -0 into +0 and leaves every other value alone.
    return steps * 0.0001 + 0.0;
}

namespace {

// to_chars with a format and a precision is specified as printf in the C locale.
std::string ToChars(double value, std::chars_format format, int precision) {
    char text[64];  // "%.15g" needs at most 24 characters
    const auto result = std::to_chars(text, text + sizeof text, value, format, precision);
    return std::string(text, result.ptr);
}

}  // namespace

std::string FormatG15(double value) {
    return ToChars(value, std::chars_format::general, 15);
}

std::string FormatWeightFigure(double value) {
    return text::FixedText(value, 4);
}

}  // namespace korvel
