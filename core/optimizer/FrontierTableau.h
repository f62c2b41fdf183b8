#pragma once
// The simplex tableau behind the frontier: the deviation model with the return
// bound as a parameter, without artificial variables or a big M, on data
// scaled to unit size.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/PortfolioCheck.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace korvel {

// A breakpoint as the tableau holds it: on the scaled data, weights unfiltered.
struct FrontierVertex {
    double averageReturn = 0.0;
    double lineDeviation = 0.0;
    std::vector<FrontierShare> shares;
    // What the weights give on the returns, when the solver worked it out
    // already for its own certificate.
    std::optional<PortfolioFigures> figures;
};

enum class FrontierWalkOutcome { Done, PivotLimit, Lost };

// Where a walk records breakpoints and where it stops. The bound is on the
// scaled data. A walk from a bound records the portfolio at that bound first,
// then every breakpoint above it; one that stops early saves the pivots above.
struct FrontierWalkSpan {
    enum class Stop { AtTop, AtFrom, AfterFlatStart };
    double from = -std::numeric_limits<double>::infinity();
    Stop stop = Stop::AtTop;
};

class FrontierTableau {
public:
    // returns: every value at most 1 in absolute value. The bound starts at
    // the lowest mean, or at startBelow when that is lower.
    explicit FrontierTableau(const ShareReturns& returns, double startBelow = std::numeric_limits<double>::infinity());

    // Minimises the deviation with the bound below every mean, then raises the
    // bound breakpoint by breakpoint until no portfolio reaches a higher one.
    FrontierWalkOutcome Walk(std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span = {});

    int64_t Pivots() const { return m_pivots; }

    // The prices of the return row and of each period's row at the basis the
    // walk ended on, and a share it holds (whose reduced cost is zero, which
    // gives the budget's price); they price shares the table never saw.
    struct Prices {
        double ofReturn = 0.0;
        std::vector<double> ofPeriods;
        int32_t heldShare = -1;
    };
    Prices RowPrices() const;
    // Shares join the table as columns after the others, at the basis the
    // walk ended on (whose inverse is in the deviation and surplus columns);
    // heldColumn is a basic share's column, held its returns.
    void AddShares(const ShareReturns& joining, const ShareReturns& held, int32_t heldColumn);
    // The least deviation at the bound reached, after shares joined: adds
    // its portfolio to vertices when found.
    FrontierWalkOutcome Reoptimise(std::vector<FrontierVertex>& vertices);

private:
    // Columns: shares 0..N-1, the surplus N, u_p at N+1+2p and w_p at N+2+2p,
    // then the right-hand side and its change per unit of the bound.
    int32_t SurplusColumn() const { return m_shares; }
    int32_t RhsColumn() const { return m_cols - 2; }
    int32_t DirectionColumn() const { return m_cols - 1; }
    int32_t CostRow() const { return m_rows; }
    double* Row(int32_t r) { return m_cells.data() + static_cast<size_t>(r) * static_cast<size_t>(m_cols); }
    const double* Row(int32_t r) const { return m_cells.data() + static_cast<size_t>(r) * static_cast<size_t>(m_cols); }
    double Rhs(int32_t r) const { return Row(r)[RhsColumn()]; }

    void Fill(const ShareReturns& returns, double startBelow);
    void Widen(int32_t added);
    void StartBasis();
    void FillCostRow();
    void Pivot(int32_t row, int32_t col);

    FrontierWalkOutcome MinimiseDeviation();
    int32_t PrimalEntering(bool bland) const;
    int32_t PrimalLeaving(int32_t col, bool bland, double& ratio) const;
    // Raises the bound until row's basic variable reaches zero, or to the
    // span's start when that comes first (row is then -1: no pivot is due);
    // false when no row limits the bound or the step loses feasibility.
    bool RaiseBound(std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span, int32_t& row);
    void RecordTop(std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span) const;
    bool Finished(const std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span) const;
    int32_t BoundLeaving(double& step) const;
    int32_t DualEntering(int32_t row) const;
    bool Feasible();
    FrontierVertex Vertex() const;

    int32_t m_shares;
    int32_t m_periods;
    int32_t m_rows;  // constraint rows: budget, return, one per period
    int32_t m_cols;
    std::vector<double> m_cells;  // m_rows + 1 rows (the last: reduced costs)
    std::vector<int32_t> m_basis;
    double m_bound = 0.0;
    int64_t m_pivots = 0;
    int64_t m_pivotLimit;
};

}  // namespace korvel
