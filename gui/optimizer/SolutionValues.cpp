#include "gui/optimizer/SolutionValues.h"

#include <string>

namespace korvel {

std::string FormatBoundDouble(double value)
{
    return FormatG15(value);
}

std::string FormatWeight(float weight)
{
    return FormatWeightFigure(static_cast<double>(weight));
}

std::string FormatInteger(int value)
{
    return std::to_string(value);
}

}  // namespace korvel
