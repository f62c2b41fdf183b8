#include "optimizer/core/DisplayFigures.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvel {

double RoundUpToFourDecimals(double value)
{
    // The optimizer's sums carry a few units of rounding noise: an average
    // return of 2.0000000000000004 is 2, and rounding the noise up would show
    // 2.0001. So a product that lies within noise of a whole step keeps it.
    constexpr double kNoise = 1e-9;
    const double scaled = value * 10000;
    const double nearest = std::nearbyint(scaled);
    const double steps = std::fabs(scaled - nearest) <= kNoise * std::max(1.0, std::fabs(scaled))
                             ? nearest
                             : std::ceil(scaled);
    // Adding +0 turns -0 into +0 and leaves every other value alone.
    return steps * 0.0001 + 0.0;
}

namespace {

// to_chars with a format and a precision is specified as printf in the C locale.
std::string ToChars(double value, std::chars_format format, int precision)
{
    char text[400];  // "%.4f" of the largest double needs 314 characters
    const auto result = std::to_chars(text, text + sizeof text, value, format, precision);
    return std::string(text, result.ptr);
}

}  // namespace

std::string FormatG15(double value)
{
    return ToChars(value, std::chars_format::general, 15);
}

std::string FormatWeightFigure(double value)
{
    return ToChars(value, std::chars_format::fixed, 4);
}

}  // namespace korvel
