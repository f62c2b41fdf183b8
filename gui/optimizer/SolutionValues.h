#pragma once
// How the Single solution dialog turns a solution record into text.
#include "core/optimizer/DisplayFigures.h"

#include <string>

namespace korvel {

// A bound number box shows a double like printf's %g with 15 significant
// digits, which hides the noise of the rounding product.
std::string FormatBoundDouble(double value);

std::string FormatWeight(float weight);  // "%.4f"
std::string FormatInteger(int value);    // "%d"

}  // namespace korvel
