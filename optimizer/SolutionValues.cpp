#include "optimizer/SolutionValues.h"

#include <cmath>
#include <cstdio>

namespace korvel {

double RoundUpToFourDecimals(double value)
{
    // Adding +0 turns -0 into +0 and leaves every other value alone.
    return std::ceil(value * 10000) * 0.0001 + 0.0;
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
