#include "core/optimizer/Enumeration.h"

#include "core/optimizer/BasisCertificate.h"
#include "core/optimizer/PortfolioCheck.h"
#include "core/optimizer/SimplexEngine.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

namespace korvel {
namespace {

constexpr double kTolerance = 1e-10;
// A portfolio is shown only when its deviation is within this share of the
// least one any portfolio can reach.
constexpr long double kOptimalityGap = 1e-9L;
// The tableau's figures are kept while they miss the weights' own by no more
// than the big M's noise and this share of the largest magnitude the portfolio
// holds: beyond that they would show digits the weights do not give.
constexpr double kFigureAgreement = 1e-9;

enum class ReportOutcome { Shown, Passed, Stopped, NoSolution, Unsound };

// One enumeration: the tableau, its worksheet and the last average return shown.
class SolutionWalk {
public:
    SolutionWalk(Tableau& t, const CellSource& cells, const ShareReturns& returns, double minReturn,
                 SolutionRecord& record, SolutionPresenter& presenter, const TableauScale& scale)
        : m_t(t), m_cells(cells), m_returns(returns), m_minReturn(minReturn), m_record(record), m_presenter(presenter),
          m_scale(scale), m_tableauMinReturn(scale.ToTableau(minReturn)), m_certificate(returns, minReturn) {}

    EnumerationResult Run();

private:
    EnumerationOutcome Walk(int& pivots);
    ReportOutcome Report();
    bool BuildRecord();  // false when an artificial is basic above the tolerance
    bool IsBasic(int32_t col) const;
    double HeldNoise();
    double LineDeviation() const;
    PortfolioClaim Claim() const;
    bool Settle(PortfolioClaim& claim);
    bool Optimal(const PortfolioFigures& figures, bool quick = false);
    bool ShowBasicWeights(PortfolioClaim& claim);

    Tableau& m_t;
    const CellSource& m_cells;
    const ShareReturns& m_returns;
    double m_minReturn;
    SolutionRecord& m_record;
    SolutionPresenter& m_presenter;
    TableauScale m_scale;
    double m_tableauMinReturn;
    BasisCertificate m_certificate;
    std::optional<long double> m_bound;  // on the least deviation sum, once worked out
    double m_tableauNoise = 0.0;         // of the objective, in the tableau's units
    double m_heldLargest = 0.0;          // the Min Return's and the held shares' largest magnitude
    double m_tableauReturn = 0.0;        // the record's average return in the tableau's units
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
    m_tableauNoise = HeldNoise();
    m_record.averageReturn = m_scale.ToWorksheet(m_tableauReturn);
    m_record.lineDeviation = m_scale.ToWorksheet(LineDeviation());
    return true;
}

// The big M's noise in the objective, from the magnitudes of the Min Return
// and of the shares the basis holds: a share it does not hold adds none.
double SolutionWalk::HeldNoise() {
    double largest = std::fabs(m_minReturn);
    for (int32_t k = 0; k < m_record.shareCount; ++k) {
        const int32_t share = m_record.shares[static_cast<size_t>(k)].row - 1;
        for (int32_t p = 0; p < m_returns.periods; ++p)
            largest = std::max(largest, std::fabs(m_returns.At(share, p)));
    }
    m_heldLargest = largest;
    return ObjectiveNoiseFloor(m_scale.ToTableau(largest));
}

// A perfect hedge reaches zero only up to the big M's noise, of either sign;
// inside that noise the deviation is zero.
double SolutionWalk::LineDeviation() const {
    const double deviation = m_t.At(m_t.ZRow(), 0) / static_cast<double>(m_t.Periods());
    return std::fabs(deviation) <= m_tableauNoise ? 0.0 : deviation;
}

// The basis as the worksheet's numbers: weights in full precision, and the
// held shares' returns as validation read them.
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
        for (int32_t p = 0; p < m_t.Periods(); ++p)
            share.returns.push_back(m_returns.At(b - 1, p));
        claim.shares.push_back(std::move(share));
    }
    claim.averageReturn = m_record.averageReturn;
    claim.lineDeviation = m_record.lineDeviation;
    return claim;
}

// True when the deviation the weights give is within kOptimalityGap of the
// least any portfolio can reach, as a bound from the model's duals shows.
bool SolutionWalk::Optimal(const PortfolioFigures& figures, bool quick) {
    const long double allowed = kOptimalityGap * figures.deviationSum + figures.Rounding();
    if (!m_bound || figures.deviationSum - *m_bound > allowed) {
        const long double bound = m_certificate.DeviationSumBound(m_t, figures.deviationSum - allowed, quick);
        m_bound = std::max(m_bound.value_or(0.0L), bound);
    }
    return figures.deviationSum - *m_bound <= allowed;
}

// The tableau's weights lost too much to the big M's noise or the cleaning of
// small entries: the same basis solved again from the returns gives the
// weights it stands for.
bool SolutionWalk::ShowBasicWeights(PortfolioClaim& claim) {
    const auto weights = m_certificate.BasicWeights(m_t);
    if (!weights)
        return false;
    for (int32_t k = 0; k < m_record.shareCount; ++k) {
        SolutionShare& share = m_record.shares[static_cast<size_t>(k)];
        const double weight = static_cast<double>((*weights)[static_cast<size_t>(share.row - 1)]);
        share.weight = static_cast<float>(weight);
        share.solverWeight = weight;
        claim.shares[static_cast<size_t>(k)].weight = weight;
    }
    const PortfolioFigures figures = RecomputeFigures(claim);
    m_record.averageReturn = m_record.ownAverageReturn = static_cast<double>(figures.averageReturn);
    m_record.lineDeviation = m_record.ownLineDeviation = figures.LineDeviation();
    return Optimal(figures);
}

// The figures shown are the weights' own. The tableau's figures are kept where
// they agree with them (so that a worksheet shows what it always showed), and
// a perfect hedge keeps its zero; a figure the weights do not give, or a
// deviation below the least one possible, is replaced by what they give.
bool SolutionWalk::Settle(PortfolioClaim& claim) {
    const PortfolioFigures figures = RecomputeFigures(claim);
    const double agreement = std::min(m_scale.ToWorksheet(m_tableauNoise), kFigureAgreement * m_heldLargest);
    const double average = static_cast<double>(figures.averageReturn);
    const double deviation = figures.LineDeviation();
    m_record.ownAverageReturn = average;
    m_record.ownLineDeviation = deviation;
    if (!(std::fabs(m_record.averageReturn - average) <= agreement) || m_record.averageReturn < m_minReturn)
        m_record.averageReturn = average;
    // A perfect hedge's tableau weights give its noise, which no bound reaches:
    // the basis solved again gives the hedge itself, so the costly bounds wait.
    if (!Optimal(figures, true))
        return ShowBasicWeights(claim);
    const long double least = *m_bound / static_cast<long double>(figures.periods);
    if (!(std::fabs(m_record.lineDeviation - deviation) <= agreement) || m_record.lineDeviation < least)
        m_record.lineDeviation = deviation;
    return true;
}

ReportOutcome SolutionWalk::Report() {
    if (!BuildRecord())
        return ReportOutcome::NoSolution;
    if (!(m_tableauReturn - m_lastShownReturn > kTolerance))
        return ReportOutcome::Passed;
    PortfolioClaim claim = Claim();
    if (!Settle(claim))
        return ReportOutcome::Unsound;
    claim.averageReturn = m_record.averageReturn;
    claim.lineDeviation = m_record.lineDeviation;
    if (CheckPortfolio(claim, m_minReturn, m_scale.ToWorksheet(m_tableauNoise)) != PortfolioFault::None)
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

EnumerationResult EnumerateSolutions(Tableau& tableau, const CellSource& cells, const ShareReturns& returns,
                                     double minReturn, SolutionRecord& record, SolutionPresenter& presenter,
                                     const TableauScale& scale) {
    return SolutionWalk(tableau, cells, returns, minReturn, record, presenter, scale).Run();
}

EnumerationResult EnumerateSolutions(Tableau& tableau, const CellSource& cells, double minReturn,
                                     SolutionRecord& record, SolutionPresenter& presenter, const TableauScale& scale) {
    ShareReturns returns;
    ReturnCell bad;
    ReadWorksheetReturns(cells, returns, bad);
    return EnumerateSolutions(tableau, cells, returns, minReturn, record, presenter, scale);
}

}  // namespace korvel
