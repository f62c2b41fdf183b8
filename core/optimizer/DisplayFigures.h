#pragma once
// How a solution's figures are shown, alike in the Single solution dialog and
// in korvel-solve. The texts never depend on the process locale.
#include <string>

namespace korvel {

// Rounded up, toward +infinity, to 4 decimals. A value within a few ulps of a
// 4-decimal step is taken as that step (arithmetic noise, not a real excess),
// and a value that rounds to zero from below gives +0, so that it never shows
// as "-0".
double RoundUpToFourDecimals(double value);

// Like printf's %g with 15 significant digits in the C locale, which hides the
// noise of the rounding product.
std::string FormatG15(double value);

// A weight as printf's "%.4f" shows it in the C locale.
std::string FormatWeightFigure(double value);

}  // namespace korvel
