#pragma once
// The dot product of two rows of doubles in eight running sums: each sum is
// still its own IEEE double chain, but together they fill the vector units
// a single sum leaves idle. The rounding differs from one sum's only by the
// order of the additions, some length x 1e-16 relative.
#include <cstdint>

namespace korvel {

inline double SplitDot(const double* a, const double* b, int32_t n) {
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0, s5 = 0.0, s6 = 0.0, s7 = 0.0;
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        s0 += a[i] * b[i];
        s1 += a[i + 1] * b[i + 1];
        s2 += a[i + 2] * b[i + 2];
        s3 += a[i + 3] * b[i + 3];
        s4 += a[i + 4] * b[i + 4];
        s5 += a[i + 5] * b[i + 5];
        s6 += a[i + 6] * b[i + 6];
        s7 += a[i + 7] * b[i + 7];
    }
    for (; i < n; ++i)
        s0 += a[i] * b[i];
    return ((s0 + s1) + (s2 + s3)) + ((s4 + s5) + (s6 + s7));
}

}  // namespace korvel
