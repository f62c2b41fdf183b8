#pragma once
// The deviation model seen from its dual, for histories longer than the list
// of shares: one row per share, and one variable per period boxed in [-1, 1]
// (the price of that period's deviation); the weights are the prices of its
// rows.
//
// Each row has a slack of its own, a unit column, and in any basis most of
// them are basic: only the shares a portfolio may hold have theirs out. So
// the basis is those unit columns and a square core, the basic prices on the
// rows whose slack is not basic, and only the core is inverted. A pivot
// costs the core's inverse and a pass over the held shares' returns; the
// dense table it replaces rewrote shares x (periods + shares) entries.
#include "core/optimizer/CoreInverse.h"
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
    // pricedPeriods: how many periods' prices Solve tries first (0: all);
    // the others wait at their start's price until the weights show that
    // they pay. Walk prices them all. checker: on the same returns, kept by
    // reference (the solver makes its own without one).
    DeviationDual(const ShareReturns& returns, double bound, int32_t pricedPeriods = 0,
                  const FrontierChecker* checker = nullptr);

    DualOutcome Solve();
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
    // Columns: the prices of the periods 0..P-1, the budget's price P, the
    // bound's price P+1, and the slack of share i at P+2+i.
    int32_t BudgetColumn() const { return m_periods; }
    int32_t BoundColumn() const { return m_periods + 1; }
    int32_t SlackColumn(int32_t share) const { return m_periods + 2 + share; }
    bool IsSlack(int32_t col) const { return col >= SlackColumn(0); }
    double Deviation(int32_t share, int32_t period) const {
        return m_returns.At(share, period) - m_means[static_cast<size_t>(share)];
    }
    // Inline: the pricing and the ratio tests ask for every column.
    double Lower(int32_t col) const {
        if (col < m_periods)
            return -1.0;
        return col == BudgetColumn() ? -std::numeric_limits<double>::infinity() : 0.0;
    }
    double Upper(int32_t col) const {
        if (col < m_periods)
            return 1.0;
        if (col == BoundColumn())
            return m_bounded ? std::numeric_limits<double>::infinity() : 0.0;
        return std::numeric_limits<double>::infinity();
    }

    // The basis and its core (DeviationDualCore.cpp).
    std::vector<double> ChooseStartPrices();
    // The periods priced: those the start's guess comes nearest to hedging.
    void ChoosePricedPeriods(const std::vector<double>& guess, int32_t count);
    // Of the periods not priced, those that pay at fresh costs join; false
    // when none does.
    bool PriceMorePeriods();
    void Start(int32_t pricedPeriods);
    std::vector<double> ColumnEntries(int32_t col) const;
    // How every basic variable changes per unit of col: the core's in core
    // order, each basic slack's by share (the core rows' entries unused).
    void Ftran(int32_t col, std::vector<double>& coreRates, std::vector<double>& slackRates) const;
    // The entering column takes the leaving one's place (a core column's, or
    // a share's slack); the core's inverse follows. coreRates: Ftran's for
    // the entering column. False when the core is singular.
    bool Exchange(int32_t entering, int32_t leaving, const std::vector<double>& coreRates);
    bool Refactor();
    // Before an exchange: every reduced cost and slope moves along the
    // leaving variable's row of the table, pivot its entry in the entering
    // column.
    void UpdateCosts(int32_t entering, int32_t leaving, double pivot);
    void RecomputeCosts();
    void RecomputeBasicValues();

    void RefreshOnSchedule();
    // freshAtEnd: the optimum is confirmed on figures taken afresh.
    DualOutcome Optimise(bool freshAtEnd);
    FrontierVertex Vertex() const;  // with the dual's deviation
    double DualDeviation() const;

    enum class Step { Moved, Degenerate, Unbounded, Lost };
    Step Move(int32_t col, double direction, bool bland);
    int32_t NextBreak(double& rise) const;
    int32_t Entering(bool bland) const;
    // The step along col (direction +1 or -1) and the basic column that
    // blocks it; -1 when the column reaches its own other bound first.
    double Ratio(double direction, bool bland, int32_t col, int32_t& leaving) const;

    const ShareReturns& m_returns;
    std::optional<FrontierChecker> m_ownChecker;
    const FrontierChecker* m_checker;
    int32_t m_shares;
    int32_t m_periods;
    int32_t m_cols;
    double m_bound;
    bool m_bounded;
    std::vector<double> m_means;
    std::vector<double> m_costs;   // reduced cost of every column
    std::vector<double> m_slopes;  // their change per unit of the bound
    std::vector<double> m_values;  // of every column, basic or not
    // The periods whose prices may enter, in order; all of them, or those
    // marked, whose costs alone are kept up between fresh takes.
    std::vector<int32_t> m_priced;
    std::vector<char> m_isPriced;
    bool m_allPriced = true;
    // The core: its columns (the basic prices) and its rows (the shares
    // whose slack is not basic), each column's entries on every share.
    std::vector<int32_t> m_coreCols;
    std::vector<int32_t> m_coreRows;
    std::vector<std::vector<double>> m_coreEntries;
    std::vector<int32_t> m_coreSlot;   // by column: its place in the core, -1 if none
    std::vector<int32_t> m_coreRowOf;  // by share: its row's place in the core, -1 if none
    CoreInverse m_inverse;
    int32_t m_sinceRefactor = 0;  // exchanges since the inverse was taken afresh
    // Ftran's, kept to spare two allocations per pivot.
    mutable std::vector<double> m_coreRates, m_slackRates;
    mutable std::vector<int32_t> m_moving;  // NextBreak's, likewise
    int64_t m_pivots = 0;
    int64_t m_pivotLimit;
    int32_t m_sinceFresh = 0;  // pivots since the figures were taken afresh
};

}  // namespace korvel
