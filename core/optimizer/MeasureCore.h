#pragma once
// The linear program of a risk measure under weight bounds, solved by a
// revised simplex with bounded variables. Rows: one per period, the budget,
// the return. Columns: the weights, a shortfall and a surplus per period (the
// worst loss keeps the surplus alone), a free level (cvar's z, the worst loss
// itself), and the return row's surplus. Every measure is then "least cost"
// over the same structure, so one primal simplex, one dual ratio test and one
// parametric walk on the return serve them all.
//
// Every period row has a unit column of its own (its shortfall or surplus)
// and in any basis most of them are basic, so the basis is those unit
// columns and a small square core: the basic weights and level on the rows
// whose unit column is not basic. Only the core is factored, and a pivot
// costs the core's factors and passes over the returns as wide as the core;
// a dense table's pivot rewrote (periods + 2) x (shares + periods) entries.
#include "core/optimizer/DenseLu.h"
#include "core/optimizer/RiskMeasure.h"
#include "core/optimizer/WeightBounds.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace korvel {

enum class MeasureStep { Optimal, Pivoted, Unbounded };

class MeasureCore {
public:
    // returns must be scaled so that the largest lies near 1; target and the
    // bound likewise, and returns must outlive the solver; means are its
    // shares' ShareReturns::Mean. weights is a
    // portfolio within the bounds whose average return is at least bound: the
    // start is built from it, already feasible.
    MeasureCore(const ShareReturns& returns, const std::vector<double>& means, const RiskMeasure& measure,
                const WeightBounds& bounds, const std::vector<double>& weights, double bound);

    // The doubles it holds beyond the caller's returns: their copy by period
    // (and mad's centred copy), and the widest core's factors.
    static uint64_t EntriesFor(int32_t shares, int32_t periods, RiskKind kind);

    // One primal simplex pivot (or bound flip) toward the least cost.
    MeasureStep PrimalStep();
    // Raises the return bound to the next breakpoint, at most to `limit`, and
    // pivots there so the basis stays optimal beyond it. False when the
    // bound cannot rise (the highest return is reached) or it reached limit.
    bool RaiseBound(double limit, bool& moved);
    // The cost's rate per unit of return bound at the current basis.
    double BoundSlope() const;
    double Bound() const { return m_bound; }
    double Cost() const;
    std::vector<double> Weights() const;
    // The row prices of the basis: periods, then the budget, then the return.
    std::vector<long double> RowPrices() const;

private:
    // The row whose unit column `column` is and the unit's sign; -1 for a
    // weight or the level.
    int32_t UnitRow(int32_t column) const { return m_unitRow[static_cast<size_t>(column)]; }
    double UnitSign(int32_t column) const { return m_unitSign[static_cast<size_t>(column)]; }
    void BuildUnits();
    double Entry(int32_t row, int32_t column) const;
    // rows[r] += factor x the column's entry in row r, over every row.
    void AddColumn(int32_t column, double factor, std::vector<double>& rows) const;
    // The column's entries times rows, summed.
    double ColumnDot(int32_t column, const std::vector<double>& rows) const;
    void BuildColumns(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds);
    void BuildStart(const std::vector<double>& weights);
    // After the basis changed: the core's factors, and when full the reduced
    // costs from the prices (between, the exchanges move them).
    void Refresh(bool full);
    // Row `slot` of the basis inverse times every column; the pivot row.
    std::vector<double> RowOfSlot(int32_t slot) const;
    std::vector<double> PivotRow(const std::vector<double>& rho) const;
    // The rows' prices of the basis.
    std::vector<double> Prices() const;
    // The basic variables' rates along a column, in m_basic's order.
    std::vector<double> Ftran(int32_t column) const;
    // The row vector whose product with every basic column is that basic's
    // entry of `basicValues` (m_basic's order).
    std::vector<double> Btran(const std::vector<double>& basicValues) const;
    void Exchange(int32_t slot, int32_t entering, const std::vector<double>& pivotRow);
    int32_t EnteringColumn(int& direction) const;
    int32_t LeavingSlot(const std::vector<double>& rates, int32_t column, int direction, double& step) const;
    int32_t DualEntering(const std::vector<double>& pivotRow, bool leavesAtLower) const;

    int32_t m_shares = 0;
    int32_t m_periods = 0;
    int32_t m_rows = 0;
    int32_t m_columns = 0;
    int32_t m_shortfall = -1;  // first shortfall column, -1 for none
    int32_t m_surplus = 0;     // first per-period surplus column
    int32_t m_level = -1;      // the free level's column, -1 for none
    int32_t m_returnSurplus = 0;
    double m_bound = 0.0;
    const double* m_data = nullptr;        // shares x periods, each weight's period entries
    std::vector<double> m_madData;         // mad's, where they differ from the returns
    std::unique_ptr<double[]> m_byPeriod;  // the same, periods x shares
    std::vector<int32_t> m_unitRow;
    std::vector<double> m_unitSign;
    std::vector<double> m_means;
    std::vector<double> m_cost, m_lower, m_upper, m_value, m_rhs;
    std::vector<double> m_reduced;    // every column's, 0 for the basic ones
    std::vector<char> m_isBasic;      // by column
    std::vector<int32_t> m_rowUnit;   // the basic unit column of each row, -1 for none
    std::vector<int32_t> m_core;      // the basic weights and level
    std::vector<int32_t> m_coreRows;  // the rows without a basic unit column
    std::vector<int32_t> m_basic;     // m_core, then the basic unit columns by row
    int32_t m_sinceFresh = 0;         // exchanges since the reduced costs were taken afresh
    DenseLu m_factors;                // of the core's entries on the core's rows
};

}  // namespace korvel
