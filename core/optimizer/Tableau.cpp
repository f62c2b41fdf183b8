#include "core/optimizer/Tableau.h"

#include "core/optimizer/DataScale.h"

#include <cstring>
#include <stdexcept>

namespace korvel {

Tableau::Tableau(int32_t rows, int32_t cols) : m_rows(rows), m_cols(cols) {
    // At least one period and one share.
    if (rows < 5 || rows > kMaxTableauRows || cols < 2 * rows - 3)
        throw std::invalid_argument("tableau size fits no portfolio model");
    m_cells.assign(static_cast<size_t>(rows) * static_cast<size_t>(cols), 0.0);
    basis.assign(static_cast<size_t>(rows), 0);
    basisCost.assign(static_cast<size_t>(rows), 0.0);
}

// An infinity or NaN has every exponent bit set, and only then does adding one
// to the exponent field carry into the sign bit. Integer AND, ADD and OR only,
// so the loop runs on vectors without any floating-point compare.
bool Tableau::AllFinite() const {
    constexpr uint64_t kExponent = 0x7FF0000000000000u;
    constexpr uint64_t kExponentOne = uint64_t{1} << 52;
    uint64_t carries = 0;
    for (double value : m_cells) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        carries |= (bits & kExponent) + kExponentOne;
    }
    return (carries >> 63) == 0;
}

Tableau MakeTableauFor(const CellSource& cells) {
    return Tableau(cells.Cols() + 2, cells.Rows() + 2 * cells.Cols() - 1);
}

namespace {

// Share column i: 1.0 in the budget row, the mean in the return row (its
// returns summed in period order from 0.0, divided by M), then each return's
// deviation from the mean in the period rows. The columns are filled row by
// row: walking down one column strides the whole tableau width at every step.
void FillShareColumns(Tableau& t, const ShareReturns& returns, int32_t scaleExponent) {
    const int32_t m = t.Periods();
    const int32_t n = t.Shares();
    double* budget = t.Row(1);
    double* means = t.Row(2);
    for (int32_t i = 1; i <= n; ++i) {
        double sum = 0.0;
        for (int32_t p = 0; p < m; ++p)
            sum = sum + ScaledBy(returns.At(i - 1, p), scaleExponent);
        budget[i] = 1.0;
        means[i] = sum / static_cast<double>(m);
    }
    for (int32_t p = 1; p <= m; ++p) {
        double* row = t.Row(2 + p);
        for (int32_t i = 1; i <= n; ++i)
            row[i] = ScaledBy(returns.At(i - 1, p - 1), scaleExponent) - means[i];
    }
}

void FillSlackAndArtificialColumns(Tableau& t, double minReturn) {
    const int32_t m = t.Periods();
    const int32_t n = t.Shares();
    const int32_t k = t.Cols();
    for (int32_t p = 1; p <= m; ++p) {
        t.At(2 + p, n + 2 * p) = 1.0;
        t.At(2 + p, n + 2 * p + 1) = -1.0;
        t.At(0, n + 2 * p) = 1.0;
        t.At(0, n + 2 * p + 1) = 1.0;
        t.basis[2 + p] = n + 2 * p;
        t.basisCost[2 + p] = 1.0;
    }
    t.At(2, 0) = minReturn;
    t.At(2, n + 1) = -1.0;
    t.At(2, k - 2) = 1.0;
    t.At(0, k - 2) = kBigM;
    t.basisCost[2] = kBigM;
    t.basis[2] = k - 2;

    t.At(1, 0) = 1.0;
    t.At(0, k - 1) = kBigM;
    t.At(1, k - 1) = 1.0;
    t.basisCost[1] = kBigM;
    t.basis[1] = k - 1;
}

// Row Z = sum over constraint rows (in increasing order, from 0.0) of the
// basic cost times the entry, minus the cost row. Accumulating row by row keeps
// that order for every column while walking memory in sequence.
void FillReducedCostRow(Tableau& t) {
    const int32_t k = t.Cols();
    double* z = t.Row(t.ZRow());
    for (int32_t j = 0; j < k; ++j)
        z[j] = 0.0;
    for (int32_t r = 1; r < t.ZRow(); ++r) {
        const double cost = t.basisCost[r];
        const double* row = t.Row(r);
        for (int32_t j = 0; j < k; ++j)
            z[j] = z[j] + cost * row[j];
    }
    const double* costs = t.Row(0);
    for (int32_t j = 0; j < k; ++j)
        z[j] = z[j] - costs[j];
}

}  // namespace

void BuildTableau(Tableau& tableau, const ShareReturns& returns, double minReturn, int32_t scaleExponent) {
    FillShareColumns(tableau, returns, scaleExponent);
    FillSlackAndArtificialColumns(tableau, ScaledBy(minReturn, scaleExponent));
    FillReducedCostRow(tableau);
}

void BuildTableau(Tableau& tableau, const CellSource& cells, double minReturn, int32_t scaleExponent) {
    ShareReturns returns;
    ReturnCell bad;
    ReadWorksheetReturns(cells, returns, bad);
    BuildTableau(tableau, returns, minReturn, scaleExponent);
}

}  // namespace korvel
