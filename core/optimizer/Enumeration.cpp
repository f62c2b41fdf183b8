#include "core/optimizer/Enumeration.h"

#include "core/optimizer/PortfolioCheck.h"
#include "core/optimizer/SimplexEngine.h"
#include "core/optimizer/Validation.h"

#include <cmath>
#include <optional>

namespace korvel {
namespace {

constexpr double kTolerance = 1e-10;

enum class ReportOutcome { Shown, Passed, Stopped, NoSolution, Unsound };

// One enumeration: the tableau, its worksheet and the last average return shown.
class SolutionWalk {
public:
    SolutionWalk(Tableau& t, const CellSource& cells, double minReturn, SolutionRecord& record,
                 SolutionPresenter& presenter, const TableauScale& scale)
        : m_t(t), m_cells(cells), m_minReturn(minReturn), m_record(record), m_presenter(presenter), m_scale(scale),
          m_tableauMinReturn(scale.ToTableau(minReturn)),
          m_tableauNoise(ObjectiveNoiseFloor(scale.ToTableau(scale.largest))) {}

    EnumerationResult Run();

private:
    EnumerationOutcome Walk(int& pivots);
    ReportOutcome Report();
    bool BuildRecord();  // false when an artificial is basic above the tolerance
    bool IsBasic(int32_t col) const;
    double LineDeviation() const;
    PortfolioClaim Claim() const;

    Tableau& m_t;
    const CellSource& m_cells;
    double m_minReturn;
    SolutionRecord& m_record;
    SolutionPresenter& m_presenter;
    TableauScale m_scale;
    double m_tableauMinReturn;
    double m_tableauNoise;         // of the objective, in the tableau's units
    double m_tableauReturn = 0.0;  // the record's average return in the tableau's units
    double m_lastShownReturn = -1.0;
    int m_shown = 0;
};

bool SolutionWalk::BuildRecord() {
    const int32_t n = m_t.Shares();
    const int32_t firstArtificial = m_t.Cols() - 2;
    m_record.shareCount = 0;
    m_tableauReturn = m_tableauMinReturn;
    for (int32_t r = 1; r < m_t.ZRow(); ++r) {
        const int32_t b = m_t.basis[r];
        const double value = m_t.At(r, 0);
        if (b >= firstArtificial && std::fabs(value) > kTolerance)
            return false;
        if (b <= n) {
            if (m_record.shares.size() <= static_cast<size_t>(m_record.shareCount))
                m_record.shares.resize(static_cast<size_t>(m_record.shareCount) + 1);
            SolutionShare& share = m_record.shares[static_cast<size_t>(m_record.shareCount++)];
            share.name = m_cells.TextMatrix(b, 1);
            share.weight = static_cast<float>(value);
            share.solverWeight = value;
            share.row = b;
        } else if (b == n + 1) {
            m_tableauReturn = m_tableauReturn + value;
        }
    }
    m_record.averageReturn = m_scale.ToWorksheet(m_tableauReturn);
    m_record.lineDeviation = m_scale.ToWorksheet(LineDeviation());
    return true;
}

// A perfect hedge reaches zero only up to the big M's noise, of either sign;
// inside that noise the deviation is zero.
double SolutionWalk::LineDeviation() const {
    const double deviation = m_t.At(m_t.ZRow(), 0) / static_cast<double>(m_t.Periods());
    return std::fabs(deviation) <= m_tableauNoise ? 0.0 : deviation;
}

// The basis as the worksheet's numbers: weights in full precision, and the
// held shares' returns read again from the cells.
PortfolioClaim SolutionWalk::Claim() const {
    PortfolioClaim claim;
    const int32_t n = m_t.Shares();
    for (int32_t r = 1; r < m_t.ZRow(); ++r) {
        const int32_t b = m_t.basis[r];
        const double value = m_t.At(r, 0);
        if (b == m_t.Cols() - 1)
            claim.budgetArtificial = value;
        if (b == m_t.Cols() - 2)
            claim.returnArtificial = m_scale.ToWorksheet(value);
        if (b > n)
            continue;
        HeldShare share;
        share.weight = value;
        for (int32_t p = 1; p <= m_t.Periods(); ++p) {
            double parsed = 0.0;
            ParseWholeNumber(m_cells.TextMatrix(b, p + 1), parsed);
            share.returns.push_back(parsed);
        }
        claim.shares.push_back(std::move(share));
    }
    claim.averageReturn = m_record.averageReturn;
    claim.lineDeviation = m_record.lineDeviation;
    return claim;
}

ReportOutcome SolutionWalk::Report() {
    if (!BuildRecord())
        return ReportOutcome::NoSolution;
    if (!(m_tableauReturn - m_lastShownReturn > kTolerance))
        return ReportOutcome::Passed;
    if (CheckPortfolio(Claim(), m_minReturn, m_scale.ToWorksheet(m_tableauNoise)) != PortfolioFault::None)
        return ReportOutcome::Unsound;
    m_lastShownReturn = m_tableauReturn;
    ++m_shown;
    return m_presenter.Present(m_record) == PresenterAnswer::Enough ? ReportOutcome::Stopped : ReportOutcome::Shown;
}

bool SolutionWalk::IsBasic(int32_t col) const {
    for (int32_t r = 1; r < m_t.ZRow(); ++r)
        if (m_t.basis[r] == col)
            return true;
    return false;
}

std::optional<EnumerationOutcome> Ending(ReportOutcome report) {
    if (report == ReportOutcome::NoSolution)
        return EnumerationOutcome::NoSolution;
    if (report == ReportOutcome::Stopped)
        return EnumerationOutcome::Stopped;
    if (report == ReportOutcome::Unsound)
        return EnumerationOutcome::Unsound;
    return std::nullopt;
}

EnumerationOutcome SolutionWalk::Walk(int& pivots) {
    if (auto end = Ending(Report()))
        return *end;
    const double* z = m_t.Row(m_t.ZRow());
    const int32_t n = m_t.Shares();
    // One pass in increasing order; a pivot never sends the walk back.
    for (int32_t j = 1; j <= n; ++j) {
        if (!(std::fabs(z[j]) < kTolerance) || IsBasic(j))
            continue;
        const int32_t row = FindLeavingRow(m_t, j);
        if (row < 0)
            continue;
        ++pivots;
        if (!Pivot(m_t, j, row))
            return EnumerationOutcome::NotFinite;
        if (auto end = Ending(Report()))
            return *end;
    }
    return EnumerationOutcome::Finished;
}

EnumerationResult SolutionWalk::Run() {
    EnumerationResult result;
    result.outcome = Walk(result.walkPivots);
    result.solutionsShown = m_shown;
    return result;
}

}  // namespace

EnumerationResult EnumerateSolutions(Tableau& tableau, const CellSource& cells, double minReturn,
                                     SolutionRecord& record, SolutionPresenter& presenter, const TableauScale& scale) {
    return SolutionWalk(tableau, cells, minReturn, record, presenter, scale).Run();
}

}  // namespace korvel
