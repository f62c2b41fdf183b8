#include "optimizer/SolutionValues.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

std::string FormatBoundDouble(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string FormatWeight(float weight)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(weight));
    return text;
}

std::string FormatInteger(int value)
{
    return std::to_string(value);
}

}  // namespace korvel
