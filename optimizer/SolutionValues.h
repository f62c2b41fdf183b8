#pragma once
// How the Single solution dialog turns a solution record into text.
#include <string>

namespace korvel {

// Rounded up, toward +infinity, to 4 decimals. A value within rounding noise
// of a 4-decimal step is taken as that step, and a value that rounds to zero
// from below gives +0, so that it never shows as "-0".
double RoundUpToFourDecimals(double value);

// A bound number box shows a double like printf's %g with 15 significant
// digits, which hides the noise of the rounding product.
std::string FormatBoundDouble(double value);

std::string FormatWeight(float weight);  // "%.4f"
std::string FormatInteger(int value);    // "%d"

}  // namespace korvel
