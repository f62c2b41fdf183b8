#pragma once
// A worksheet's returns, read from its text once: validation reads them, and
// the tableau, the check of each portfolio and the frontier use what it read.
#include "core/text/CellSource.h"

#include <cstdint>
#include <vector>

namespace korvel {

// Per-period returns of every share, row-major (share, then period).
struct ShareReturns {
    int32_t shares = 0;
    int32_t periods = 0;
    std::vector<double> values;

    double At(int32_t share, int32_t period) const {
        return values[static_cast<size_t>(share) * static_cast<size_t>(periods) + static_cast<size_t>(period)];
    }
    // The mean as the Go command computes it: summed in period order from 0.0, divided by M.
    double Mean(int32_t share) const;
};

// Where the first return that is not a finite number was met.
struct ReturnCell {
    int32_t row = 0;     // worksheet row 1..N
    int32_t period = 0;  // 1..M
};

inline constexpr const char* kMsgRangeTooWide =
    "The returns differ too widely in size for the optimizer's double arithmetic to find the optimum exactly, "
    "so no portfolio is shown.";

// True when the largest magnitude among the returns and a Min Return above 0
// (0 for none) is more than kWidestRange times the smallest one above zero.
// Beyond that the engines' absolute tolerances and the big M's noise, relative
// to the largest, reach the smallest: a failure of the arithmetic is then put
// down to the range, and the frontier is not drawn at all.
inline constexpr double kWidestRange = 1e6;
bool RangeTooWide(const ShareReturns& returns, double minReturn = 0.0);

// Reads every return cell row by row, each as a worksheet number. False at the
// first cell that is not one, with its place in bad.
bool ReadWorksheetReturns(const CellSource& cells, ShareReturns& returns, ReturnCell& bad);

}  // namespace korvel
