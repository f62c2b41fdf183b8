#pragma once
// The linear program of a risk measure under weight bounds, as one dense
// tableau with bounded variables. Rows: one per period, the budget, the
// return. Columns: the weights, a shortfall and a surplus per period (the
// worst loss keeps the surplus alone), a free level (cvar's z, the worst
// loss itself), and the return row's surplus. Every measure is then
// "least cost" over the same structure, so one primal simplex, one dual
// ratio test and one parametric walk on the return serve them all.
#include "core/optimizer/RiskMeasure.h"
#include "core/optimizer/WeightBounds.h"

#include <cstdint>
#include <vector>

namespace korvel {

enum class TableauStep { Optimal, Pivoted, Unbounded };

class MeasureTableau {
public:
    // returns must be scaled so that the largest lies near 1; target and the
    // bound likewise. weights is a portfolio within the bounds whose average
    // return is at least bound: the start is built from it, already feasible.
    MeasureTableau(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds,
                   const std::vector<double>& weights, double bound);

    // Dense entries the tableau of these sizes needs.
    static uint64_t EntriesFor(int32_t shares, int32_t periods, RiskKind kind);

    // One primal simplex pivot (or bound flip) toward the least cost.
    TableauStep PrimalStep();
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
    // Stored columns only.
    double& At(int32_t row, int32_t column) { return m_table[Index(row, column)]; }
    double At(int32_t row, int32_t column) const { return m_table[Index(row, column)]; }
    size_t Index(int32_t row, int32_t column) const {
        return static_cast<size_t>(row) * static_cast<size_t>(m_stored) + static_cast<size_t>(column);
    }
    // Any column: a surplus beside a shortfall is that shortfall negated, so
    // it is not stored, which spares a third of every pivot's work.
    bool Virtual(int32_t column) const { return column >= m_stored; }
    int32_t Twin(int32_t column) const { return column - m_surplus + m_shortfall; }
    double Entry(int32_t row, int32_t column) const {
        return Virtual(column) ? -At(row, Twin(column)) : At(row, column);
    }
    double Reduced(int32_t column) const;
    void BuildColumns(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds);
    void BuildStart(const std::vector<double>& weights);
    void Pivot(int32_t row, int32_t column);
    int32_t EnteringColumn(int& direction) const;
    int32_t LeavingRow(int32_t column, int direction, double& step) const;
    int32_t DualEntering(int32_t row, bool leavesAtLower) const;

    int32_t m_shares = 0;
    int32_t m_periods = 0;
    int32_t m_rows = 0;
    int32_t m_columns = 0;     // every column
    int32_t m_stored = 0;      // the columns the table holds, the first ones
    int32_t m_shortfall = -1;  // first shortfall column, -1 for none
    int32_t m_surplus = 0;     // first per-period surplus column (virtual beside shortfalls)
    int32_t m_level = -1;      // the free level's column, -1 for none
    int32_t m_returnSurplus = 0;
    double m_bound = 0.0;
    std::vector<double> m_table;  // rows x columns, the basis inverse times the constraints
    std::vector<double> m_cost, m_lower, m_upper, m_value, m_rhs;
    std::vector<double> m_reduced;     // of the stored columns
    std::vector<double> m_means;       // the return row's entries
    std::vector<int32_t> m_basic;      // column of each row
    std::vector<int32_t> m_rowOf;      // row of each column, -1 when nonbasic
    std::vector<double> m_firstShare;  // the first share's period entries, before any pivot
};

}  // namespace korvel
