#include "core/optimizer/DataScale.h"

#include "core/optimizer/Tableau.h"

#include <cfloat>
#include <cmath>

namespace korvel {

int32_t ScaleExponentFor(double largest) {
    if (largest >= kSmallestUnscaled && largest <= kLargestUnscaled)
        return 0;
    return UnitScaleExponentFor(largest);
}

int32_t UnitScaleExponentFor(double largest) {
    if (!(largest > 0.0) || !std::isfinite(largest))
        return 0;
    // largest = f * 2^e with f in [0.5, 1): times 2^-e it is f. A power of
    // two itself (f = 0.5) goes to 1 instead, the top of the band.
    int exponent = 0;
    const double fraction = std::frexp(largest, &exponent);
    return fraction == 0.5 ? 1 - exponent : -exponent;
}

// The objective starts at 200000 * (1 + Min Return) and reaches the optimum by
// cancellation, so its error is a number of roundings of values the size of
// the big M times the data, each at most half an ulp (2^-53 of the value).
// 512 of them, generously above what the pivots of a worksheet add up (their
// errors are mostly not of one sign), bound it at kBigM * (1 + largest) * 2^-44:
// about 1.1e-8 for returns of unit size, proportional above. An objective
// within that bound of zero cannot be told from a perfect hedge.
double ObjectiveNoiseFloor(double largest) {
    return kBigM * (1.0 + std::fabs(largest)) * std::ldexp(DBL_EPSILON, 8);
}

}  // namespace korvel
