#pragma once
// The deviation model seen from its dual, for histories longer than the list
// of shares: one row per share, and one variable per period boxed in [-1, 1]
// (the price of that period's deviation). Its table has shares x (periods +
// shares) cells, where the primal one has periods x (shares + 2 periods), and
// the weights are the prices of its rows.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/FrontierCheck.h"
#include "core/optimizer/FrontierTableau.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace korvel {

enum class DualOutcome { Done, NoSolution, PivotLimit, Lost };

class DeviationDual {
public:
    // returns: every value at most 1 in absolute value, kept by reference
    // while the solver lives. With a finite bound, the least deviation among
    // portfolios returning at least it; without one, the least of all.
    // tablePeriods: how many periods' prices the table holds (0: all); the
    // others keep their start's price, summed in one fixed column, until
    // SolveAll prices them in. Walk needs them all. checker: on the same
    // returns, kept by reference (the solver makes its own without one).
    DeviationDual(const ShareReturns& returns, double bound, int32_t tablePeriods = 0,
                  const FrontierChecker* checker = nullptr);

    DualOutcome Solve();
    // Solve, and the periods outside the table that pay join it, until none does.
    DualOutcome SolveAll();
    // The frontier from the optimum up: the bound rises breakpoint by
    // breakpoint (starting at the least deviation's return when there is
    // none) until no portfolio reaches a higher one, or with flatStartOnly
    // until the deviation first rises; vertices get each.
    DualOutcome Walk(std::vector<FrontierVertex>& vertices, bool flatStartOnly = false);
    // Adds the optimum's portfolio with the deviation its weights give, and
    // their figures; false when that is not the dual's value (the least
    // deviation).
    bool Record(std::vector<FrontierVertex>& vertices) const;
    int64_t Pivots() const { return m_pivots; }

private:
    // Columns: the prices of the table's W periods 0..W-1, the budget's price
    // W, the bound's price W+1, the slack of share i at W+2+i, and last the
    // fixed prices of the other periods (at 1: their sum is in the column).
    int32_t BudgetColumn() const { return m_width; }
    int32_t BoundColumn() const { return m_width + 1; }
    int32_t SlackColumn(int32_t share) const { return m_width + 2 + share; }
    int32_t FixedColumn() const { return m_cols - 1; }
    double Deviation(int32_t share, int32_t period) const {
        return m_returns.At(share, period) - m_means[static_cast<size_t>(share)];
    }
    double* Row(int32_t r) { return m_cells.data() + static_cast<size_t>(r) * static_cast<size_t>(m_cols); }
    const double* Row(int32_t r) const { return m_cells.data() + static_cast<size_t>(r) * static_cast<size_t>(m_cols); }
    // Inline: the pricing and the ratio tests ask for every column.
    double Lower(int32_t col) const {
        if (col < m_width)
            return -1.0;
        if (col == FixedColumn())
            return 1.0;
        return col == BudgetColumn() ? -std::numeric_limits<double>::infinity() : 0.0;
    }
    double Upper(int32_t col) const {
        if (col < m_width || col == FixedColumn())
            return 1.0;
        if (col == BoundColumn())
            return m_bounded ? std::numeric_limits<double>::infinity() : 0.0;
        return std::numeric_limits<double>::infinity();
    }

    void ChooseTablePeriods(int32_t tablePeriods);
    void Fill();
    void Start();
    std::vector<int32_t> PeriodsThatPay(size_t most) const;
    void AddPeriods(const std::vector<int32_t>& periods);
    void Widen(int32_t added);
    void Pivot(int32_t row, int32_t col);
    void RecomputeBasicValues();
    void RecomputeCosts();
    FrontierVertex Vertex() const;  // with the dual's deviation
    double DualDeviation() const;

    enum class Step { Moved, Degenerate, Unbounded };
    Step Move(int32_t col, double direction, bool bland);
    int32_t NextBreak(double& rise) const;
    int32_t Entering(bool bland) const;
    // The step along col (direction +1 or -1) and the row that blocks it;
    // row -1 when the column reaches its own other bound first.
    double Ratio(int32_t col, double direction, bool bland, int32_t& row) const;

    const ShareReturns& m_returns;
    std::optional<FrontierChecker> m_ownChecker;
    const FrontierChecker* m_checker;
    int32_t m_shares;
    int32_t m_periods;
    int32_t m_width;  // periods in the table
    int32_t m_cols;
    double m_bound;
    bool m_bounded;
    std::vector<double> m_means;
    std::vector<double> m_startPrices;      // of every period
    std::vector<int32_t> m_tablePeriods;    // the period of each of the first W columns
    std::vector<char> m_inTable;            // by period
    std::vector<double> m_cells;            // m_shares rows
    std::vector<double> m_costs;            // reduced cost of every column
    std::vector<double> m_slopes;           // their change per unit of the bound
    std::vector<double> m_values;           // of every column, basic or not
    std::vector<int32_t> m_basis;           // column basic in each row
    std::vector<int32_t> m_rowOf;           // row of each basic column, -1 if not basic
    mutable std::vector<int32_t> m_moving;  // NextBreak's, kept to spare an allocation per breakpoint
    int64_t m_pivots = 0;
    int64_t m_pivotLimit;
};

}  // namespace korvel
