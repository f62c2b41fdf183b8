#include "core/optimizer/FrontierCheck.h"

#include "core/optimizer/RowLoop.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace korvel {
namespace {

// A double's noise after some hundred pivots on data of unit scale is far
// below these; a real fault (a wrong basis, a lost row) is far above them.
constexpr double kWeightTolerance = 1e-9;
constexpr double kReturnTolerance = 1e-9;  // times the data's scale
constexpr double kDeviationRelative = 1e-7;
constexpr double kDeviationAbsolute = 1e-9;  // times the data's scale
constexpr const char* kMsgOutside = "a share outside the worksheet";
constexpr int32_t kPeriodBlock = 1024;

// sums[p] += weight * (returns[p] - mean), four periods a step so that the
// compiler can pair them into vector instructions.
KORVEL_ROW_LOOP void AddWeightedDeviations(double* sums, const double* returns, double mean, double weight,
                                           int32_t periods) {
    int32_t p = 0;
    for (; p + 4 <= periods; p += 4) {
        sums[p] += weight * (returns[p] - mean);
        sums[p + 1] += weight * (returns[p + 1] - mean);
        sums[p + 2] += weight * (returns[p + 2] - mean);
        sums[p + 3] += weight * (returns[p + 3] - mean);
    }
    for (; p < periods; ++p)
        sums[p] += weight * (returns[p] - mean);
}

// The sum of |values| in long double, in four sums that do not wait on each
// other: one long double addition after another is the slowest part of a
// point's check.
long double AbsoluteSum(const double* values, int32_t count) {
    long double a = 0.0L, b = 0.0L, c = 0.0L, d = 0.0L;
    int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        a += std::fabs(values[k]);
        b += std::fabs(values[k + 1]);
        c += std::fabs(values[k + 2]);
        d += std::fabs(values[k + 3]);
    }
    for (; k < count; ++k)
        a += std::fabs(values[k]);
    return (a + b) + (c + d);
}

bool OutsideWorksheet(const ShareReturns& returns, const FrontierPoint& point) {
    return std::any_of(point.shares.begin(), point.shares.end(),
                       [&returns](const FrontierShare& share) { return share.row < 1 || share.row > returns.shares; });
}

}  // namespace

FrontierChecker::FrontierChecker(const ShareReturns& returns) : m_returns(returns) {
    const size_t shares = static_cast<size_t>(returns.shares);
    m_means.resize(shares);
    m_exactMeans.resize(shares);
    m_spreads.assign(shares, 0.0L);
    m_largest.assign(shares, 0.0);
    m_finite.assign(shares, 1);
    for (int32_t i = 0; i < returns.shares; ++i) {
        const size_t k = static_cast<size_t>(i);
        m_means[k] = returns.Mean(i);
        long double sum = 0.0L;
        for (int32_t p = 0; p < returns.periods; ++p) {
            const double r = returns.At(i, p);
            sum += r;
            m_largest[k] = std::max(m_largest[k], std::fabs(r));
            m_finite[k] = m_finite[k] && std::isfinite(r);
        }
        m_exactMeans[k] = sum / static_cast<long double>(returns.periods);
        for (int32_t p = 0; p < returns.periods; ++p)
            m_spreads[k] += std::fabs(returns.At(i, p) - m_exactMeans[k]);
    }
    m_periodDeviations.resize(static_cast<size_t>(std::min(returns.periods, kPeriodBlock)));
}

// The portfolio's deviation in each period summed in doubles (the weights are
// doubles: long double would add nothing but time), the sums over periods and
// the weights in long double, as Go's check has them. The periods go in
// blocks whose sums stay in the nearest cache while every held share adds in.
PortfolioFigures FrontierChecker::Figures(const std::vector<FrontierShare>& shares) const {
    PortfolioFigures figures;
    figures.periods = static_cast<size_t>(m_returns.periods);
    for (const FrontierShare& share : shares) {
        const size_t i = static_cast<size_t>(share.row - 1);
        const long double weight = share.weight;
        figures.weightSum += weight;
        figures.averageReturn += weight * m_exactMeans[i];
        figures.deviationSize += std::fabs(weight) * m_spreads[i];
    }
    double* sums = m_periodDeviations.data();
    for (int32_t first = 0; first < m_returns.periods; first += kPeriodBlock) {
        const int32_t count = std::min(kPeriodBlock, m_returns.periods - first);
        std::fill(sums, sums + count, 0.0);
        for (const FrontierShare& share : shares) {
            const size_t i = static_cast<size_t>(share.row - 1);
            AddWeightedDeviations(sums, &m_returns.values[i * figures.periods + static_cast<size_t>(first)], m_means[i],
                                  share.weight, count);
        }
        figures.deviationSum += AbsoluteSum(sums, count);
    }
    if (HedgesNearlyPerfectly(figures, shares.size()))
        return FiguresInLongDouble(shares);
    return figures;
}

// Go's check counts a deviation within the rounding of long double sums as
// none; where the doubles' own rounding (each period's sum of held terms,
// and their differences from the mean) could reach that line, the figures are
// worked out again as that check does.
bool FrontierChecker::HedgesNearlyPerfectly(const PortfolioFigures& figures, size_t held) const {
    const long double doubles = static_cast<long double>(held + 2) * DBL_EPSILON * figures.deviationSize;
    return figures.deviationSum <= figures.Rounding() + doubles;
}

PortfolioFigures FrontierChecker::FiguresInLongDouble(const std::vector<FrontierShare>& shares) const {
    PortfolioClaim claim;
    for (const FrontierShare& share : shares) {
        const auto first = m_returns.values.begin() + static_cast<std::ptrdiff_t>(share.row - 1) * m_returns.periods;
        claim.shares.push_back({share.weight, std::vector<double>(first, first + m_returns.periods)});
    }
    return RecomputeFigures(claim);
}

double FrontierChecker::RawLineDeviation(const PortfolioFigures& figures) {
    return static_cast<double>(figures.deviationSum / static_cast<long double>(figures.periods));
}

// The check every portfolio Go shows must pass, with the point's own return
// as the bound it was found at.
bool FrontierChecker::PassesPortfolioCheck(const FrontierPoint& point, const PortfolioFigures& figures,
                                           std::string& reason) const {
    PortfolioClaim claim;
    claim.averageReturn = point.averageReturn;
    claim.lineDeviation = point.lineDeviation;
    HeldReturnsSummary held;
    for (const FrontierShare& share : point.shares) {
        const size_t i = static_cast<size_t>(share.row - 1);
        claim.shares.push_back({share.weight, {}});
        held.largest = std::max(held.largest, m_largest[i]);
        held.finite = held.finite && m_finite[i];
    }
    const PortfolioFault fault = CheckPortfolioFigures(claim, figures, held, point.averageReturn);
    if (fault == PortfolioFault::None)
        return true;
    reason = DescribePortfolioFault(fault);
    return false;
}

// Tighter tolerances than Go's, since the frontier's tableau starts feasible
// and carries no big M, and then Go's own check as well.
bool FrontierChecker::CheckFigures(const FrontierPoint& point, const PortfolioFigures& figures, double scale,
                                   std::string& reason) const {
    double weightSum = 0.0;
    double averageReturn = 0.0;
    for (const FrontierShare& share : point.shares) {
        if (share.row < 1 || share.row > m_returns.shares) {
            reason = kMsgOutside;
            return false;
        }
        if (!(share.weight >= -kWeightTolerance)) {
            reason = "a negative weight";
            return false;
        }
        weightSum += share.weight;
        averageReturn += share.weight * m_means[static_cast<size_t>(share.row - 1)];
    }
    if (!(std::fabs(weightSum - 1.0) <= kWeightTolerance)) {
        reason = "the weights do not sum to 1";
        return false;
    }
    if (!(std::fabs(averageReturn - point.averageReturn) <= kReturnTolerance * scale)) {
        reason = "the weights do not give the average return";
        return false;
    }
    const double deviation = RawLineDeviation(figures);
    const double tolerance = kDeviationRelative * std::fabs(point.lineDeviation) + kDeviationAbsolute * scale;
    if (!(std::fabs(deviation - point.lineDeviation) <= tolerance)) {
        reason = "the weights do not give the line deviation";
        return false;
    }
    return PassesPortfolioCheck(point, figures, reason);
}

bool FrontierChecker::Check(const FrontierPoint& point, double scale, std::string& reason,
                            const PortfolioFigures* known) const {
    if (OutsideWorksheet(m_returns, point)) {
        reason = kMsgOutside;
        return false;
    }
    return CheckFigures(point, known ? *known : Figures(point.shares), scale, reason);
}

bool CheckFrontierPoint(const ShareReturns& returns, const FrontierPoint& point, double scale, std::string& reason) {
    return FrontierChecker(returns).Check(point, scale, reason);
}

}  // namespace korvel
