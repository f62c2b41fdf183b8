#include "core/optimizer/ShareReturns.h"

#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace korvel {

double ShareReturns::Mean(int32_t share) const {
    double sum = 0.0;
    for (int32_t p = 0; p < periods; ++p)
        sum = sum + At(share, p);
    return sum / static_cast<double>(periods);
}

bool RangeTooWide(const ShareReturns& returns, double minReturn) {
    double largest = std::max(minReturn, 0.0);
    double smallest = minReturn > 0.0 ? minReturn : INFINITY;
    for (double value : returns.values) {
        const double size = std::fabs(value);
        largest = std::max(largest, size);
        if (size > 0.0)
            smallest = std::min(smallest, size);
    }
    return largest > kWidestRange * smallest;
}

bool ReadWorksheetReturns(const CellSource& cells, ShareReturns& returns, ReturnCell& bad) {
    returns.shares = std::max(cells.Rows() - 1, 0);
    returns.periods = std::max(cells.Cols() - 2, 0);
    returns.values.assign(static_cast<size_t>(returns.shares) * static_cast<size_t>(returns.periods), 0.0);
    double* value = returns.values.data();
    for (int32_t i = 1; i <= returns.shares; ++i) {
        for (int32_t p = 1; p <= returns.periods; ++p) {
            if (!text::ReadsAsWorksheetNumber(cells.TextMatrix(i, p + 1), *value++)) {
                bad = {i, p};
                return false;
            }
        }
    }
    return true;
}

}  // namespace korvel
