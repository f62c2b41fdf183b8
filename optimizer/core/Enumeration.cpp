#include "optimizer/core/Enumeration.h"

#include "optimizer/core/SimplexEngine.h"

#include <cmath>
#include <optional>

namespace korvel {
namespace {

constexpr double kTolerance = 1e-10;

enum class ReportOutcome { Shown, Passed, Stopped, NoSolution };

// One enumeration: the tableau, its worksheet and the last average return shown.
class SolutionWalk {
public:
    SolutionWalk(Tableau& t, const CellSource& cells, double minReturn, SolutionRecord& record,
                 SolutionPresenter& presenter)
        : m_t(t), m_cells(cells), m_minReturn(minReturn), m_record(record), m_presenter(presenter) {}

    EnumerationResult Run();

private:
    EnumerationOutcome Walk(int& pivots);
    ReportOutcome Report();
    bool BuildRecord();  // false when an artificial is basic above the tolerance
    bool IsBasic(int32_t col) const;

    Tableau& m_t;
    const CellSource& m_cells;
    double m_minReturn;
    SolutionRecord& m_record;
    SolutionPresenter& m_presenter;
    double m_lastShownReturn = -1.0;
    int m_shown = 0;
};

bool SolutionWalk::BuildRecord() {
    const int32_t n = m_t.Shares();
    const int32_t firstArtificial = m_t.Cols() - 2;
    m_record.shareCount = 0;
    m_record.averageReturn = m_minReturn;
    for (int32_t r = 1; r < m_t.ZRow(); ++r) {
        const int32_t b = m_t.basis[r];
        const double value = m_t.At(r, 0);
        if (b >= firstArtificial && std::fabs(value) > kTolerance) return false;
        if (b <= n) {
            if (m_record.shares.size() <= static_cast<size_t>(m_record.shareCount))
                m_record.shares.resize(static_cast<size_t>(m_record.shareCount) + 1);
            SolutionShare& share = m_record.shares[static_cast<size_t>(m_record.shareCount++)];
            share.name = m_cells.TextMatrix(b, 1);
            share.weight = static_cast<float>(value);
            share.row = b;
        } else if (b == n + 1) {
            m_record.averageReturn = m_record.averageReturn + value;
        }
    }
    m_record.lineDeviation = m_t.At(m_t.ZRow(), 0) / static_cast<double>(m_t.Periods());
    return true;
}

ReportOutcome SolutionWalk::Report() {
    if (!BuildRecord()) return ReportOutcome::NoSolution;
    if (!(m_record.averageReturn - m_lastShownReturn > kTolerance)) return ReportOutcome::Passed;
    m_lastShownReturn = m_record.averageReturn;
    ++m_shown;
    return m_presenter.Present(m_record) == PresenterAnswer::Enough ? ReportOutcome::Stopped
                                                                    : ReportOutcome::Shown;
}

bool SolutionWalk::IsBasic(int32_t col) const {
    for (int32_t r = 1; r < m_t.ZRow(); ++r)
        if (m_t.basis[r] == col) return true;
    return false;
}

std::optional<EnumerationOutcome> Ending(ReportOutcome report) {
    if (report == ReportOutcome::NoSolution) return EnumerationOutcome::NoSolution;
    if (report == ReportOutcome::Stopped) return EnumerationOutcome::Stopped;
    return std::nullopt;
}

EnumerationOutcome SolutionWalk::Walk(int& pivots) {
    if (auto end = Ending(Report())) return *end;
    const double* z = m_t.Row(m_t.ZRow());
    const int32_t n = m_t.Shares();
    // One pass in increasing order; a pivot never sends the walk back.
    for (int32_t j = 1; j <= n; ++j) {
        if (!(std::fabs(z[j]) < kTolerance) || IsBasic(j)) continue;
        const int32_t row = FindLeavingRow(m_t, j);
        if (row < 0) continue;
        ++pivots;
        if (!Pivot(m_t, j, row)) return EnumerationOutcome::NotFinite;
        if (auto end = Ending(Report())) return *end;
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
                                     SolutionRecord& record, SolutionPresenter& presenter) {
    return SolutionWalk(tableau, cells, minReturn, record, presenter).Run();
}

}  // namespace korvel
