#pragma once
// The deviation model seen from its dual, for histories longer than the list
// of shares: one row per share, and one variable per period boxed in [-1, 1]
// (the price of that period's deviation). Its table has shares x (periods +
// shares) cells, where the primal one has periods x (shares + 2 periods), and
// the weights are the prices of its rows.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/FrontierTableau.h"

#include <cstdint>
#include <vector>

namespace korvel {

enum class DualOutcome { Done, NoSolution, PivotLimit, Lost };

class DeviationDual {
public:
    // returns: every value at most 1 in absolute value, kept by reference
    // while the solver lives. With a finite bound, the least deviation among
    // portfolios returning at least it; without one, the least of all.
    DeviationDual(const ShareReturns& returns, double bound);

    DualOutcome Solve();
    // The frontier from the optimum up: the bound rises breakpoint by
    // breakpoint (starting at the least deviation's return when there is
    // none) until no portfolio reaches a higher one, or with flatStartOnly
    // until the deviation first rises; vertices get each.
    DualOutcome Walk(std::vector<FrontierVertex>& vertices, bool flatStartOnly = false);
    // Adds the optimum's portfolio with the deviation its weights give;
    // false when that is not the dual's value (the least deviation).
    bool Record(std::vector<FrontierVertex>& vertices) const;
    int64_t Pivots() const { return m_pivots; }

private:
    // Columns: period prices 0..M-1, the budget's price M, the bound's price
    // M+1, the slack of share i at M+2+i.
    int32_t BudgetColumn() const { return m_periods; }
    int32_t BoundColumn() const { return m_periods + 1; }
    int32_t SlackColumn(int32_t share) const { return m_periods + 2 + share; }
    double* Row(int32_t r) { return m_cells.data() + static_cast<size_t>(r) * static_cast<size_t>(m_cols); }
    const double* Row(int32_t r) const { return m_cells.data() + static_cast<size_t>(r) * static_cast<size_t>(m_cols); }
    double Lower(int32_t col) const;
    double Upper(int32_t col) const;

    void Start();
    void Pivot(int32_t row, int32_t col);
    void RecomputeBasicValues();
    void RecomputeCosts();
    FrontierVertex Vertex() const;  // with the dual's deviation
    double DualDeviation() const;
    double DeviationOf(const FrontierVertex& vertex) const;  // in long double

    enum class Step { Moved, Degenerate, Unbounded };
    Step Move(int32_t col, double direction, bool bland);
    int32_t NextBreak(double& rise) const;
    int32_t Entering(bool bland) const;
    // The step along col (direction +1 or -1) and the row that blocks it;
    // row -1 when the column reaches its own other bound first.
    double Ratio(int32_t col, double direction, bool bland, int32_t& row) const;

    const ShareReturns& m_returns;
    int32_t m_shares;
    int32_t m_periods;
    int32_t m_cols;
    double m_bound;
    bool m_bounded;
    std::vector<double> m_means;
    std::vector<double> m_cells;   // m_shares rows
    std::vector<double> m_costs;   // reduced cost of every column
    std::vector<double> m_slopes;  // their change per unit of the bound
    std::vector<double> m_values;  // of every column, basic or not
    std::vector<int32_t> m_basis;  // column basic in each row
    std::vector<int32_t> m_rowOf;  // row of each basic column, -1 if not basic
    int64_t m_pivots = 0;
    int64_t m_pivotLimit;
};

}  // namespace korvel
