#pragma once
// The dense simplex tableau of the mean-absolute-deviation model.
#include "core/optimizer/ShareReturns.h"
#include "core/text/CellSource.h"

#include <cstdint>
#include <vector>

namespace korvel {

inline constexpr double kBigM = 200000.0;
// The worksheet holds ten periods at most; text given to korvel-solve up to
// ten years of weekly returns.
inline constexpr int32_t kMaxModelPeriods = 520;
inline constexpr int32_t kMaxTableauRows = kMaxModelPeriods + 4;

class Tableau {
public:
    // rows = periods + 4, cols = shares + 2 * periods + 4; every entry 0.0.
    // Throws std::invalid_argument for sizes that fit no model (fewer than one
    // share or period, more than kMaxModelPeriods), std::bad_alloc when the memory
    // cannot be had.
    Tableau(int32_t rows, int32_t cols);

    int32_t Rows() const { return m_rows; }
    int32_t Cols() const { return m_cols; }
    int32_t ZRow() const { return m_rows - 1; }
    int32_t Periods() const { return m_rows - 4; }
    int32_t Shares() const { return m_cols - 2 * m_rows + 4; }
    double* Row(int32_t r) { return m_cells.data() + static_cast<size_t>(r) * m_cols; }
    const double* Row(int32_t r) const { return m_cells.data() + static_cast<size_t>(r) * m_cols; }
    double& At(int32_t r, int32_t c) { return Row(r)[c]; }
    double At(int32_t r, int32_t c) const { return Row(r)[c]; }

    // True when no entry is infinite or NaN.
    bool AllFinite() const;

    // Basic column and starting basic cost of constraint rows 1..rows-2,
    // indexed by row (0 and the last row unused).
    std::vector<int32_t> basis;
    std::vector<double> basisCost;

private:
    int32_t m_rows;
    int32_t m_cols;
    std::vector<double> m_cells;  // row-major, one block
};

// Sizes from the grid: rows = Cols + 2, cols = Rows + 2 * Cols - 1.
Tableau MakeTableauFor(const CellSource& cells);

// Fills a zeroed tableau from the worksheet's returns (as validation read
// them), every return and the Min Return times 2^scaleExponent.
void BuildTableau(Tableau& tableau, const ShareReturns& returns, double minReturn, int32_t scaleExponent = 0);
// The same, reading the returns from cells that passed validation.
void BuildTableau(Tableau& tableau, const CellSource& cells, double minReturn, int32_t scaleExponent = 0);

}  // namespace korvel
