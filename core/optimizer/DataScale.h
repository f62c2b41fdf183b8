#pragma once
// Returns far from unit size are solved on copies multiplied by a power of two.
//
// The model's big M (200000) must outweigh the deviations: from returns of a
// few thousand on it no longer does, and the optimum the simplex reaches is
// not the portfolio's. At the other end the engine's fixed limits are
// absolute: entries below 1e-10 are cleaned to zero, and the big M's sums
// leave about 1e-10 of noise in the objective, so returns of 1e-4 keep only
// six digits. Between kSmallestUnscaled and kLargestUnscaled the worksheet is
// solved as typed, bit for bit as it always was; outside, every return and the
// Min Return are multiplied by 2^exponent so that the largest of them lies in
// (0.5, 1]. A power of two changes only the binary exponent, so the copy holds
// the same digits, the weights of its optimum are the worksheet's, and the
// figures are scaled back exactly.
#include <cmath>
#include <cstdint>

namespace korvel {

inline constexpr double kLargestUnscaled = 1000.0;
inline constexpr double kSmallestUnscaled = 1.0 / 64.0;

// The power of two that brings `largest` (the largest |return| or Min Return
// of a worksheet, finite and above 0) into range; 0 inside the range.
int32_t ScaleExponentFor(double largest);

// The power of two that brings `largest` into (0.5, 1], whatever its size.
int32_t UnitScaleExponentFor(double largest);

// value * 2^exponent, exact unless the result leaves the range of doubles.
// Inline: the tableau is filled through it once per return.
inline double ScaledBy(double value, int32_t exponent) {
    return exponent == 0 ? value : std::ldexp(value, exponent);
}

// The noise of an objective value near zero, in the units the engine solved
// in, for a worksheet whose largest magnitude there is `largest`: see the .cpp.
double ObjectiveNoiseFloor(double largest);

}  // namespace korvel

namespace korvel {

// How the numbers of a tableau relate to the worksheet's.
struct TableauScale {
    int32_t exponent = 0;  // the tableau holds the worksheet's numbers times 2^exponent
    double largest = 0.0;  // the worksheet's largest |return| or Min Return

    static TableauScale For(double largest) { return {ScaleExponentFor(largest), largest}; }
    // Whatever the range: the largest magnitude brought into (0.5, 1].
    static TableauScale Unit(double largest) { return {UnitScaleExponentFor(largest), largest}; }
    double ToTableau(double value) const { return ScaledBy(value, exponent); }
    double ToWorksheet(double value) const { return ScaledBy(value, -exponent); }
};

}  // namespace korvel
