#pragma once
// The check every frontier breakpoint passes before it is returned.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/PortfolioCheck.h"

#include <string>
#include <vector>

namespace korvel {

// The worksheet's side of the check, worked out per share once, so that each
// point costs one pass over its held shares' returns: that pass gives the
// figures the dual's certificate, the frontier's check and Go's check share.
class FrontierChecker {
public:
    // returns: kept by reference while the checker lives.
    explicit FrontierChecker(const ShareReturns& returns);

    // What the weights give on the returns. Every row must be 1..N.
    PortfolioFigures Figures(const std::vector<FrontierShare>& shares) const;

    // The line deviation the figures give, before any rounding to zero.
    static double RawLineDeviation(const PortfolioFigures& figures);

    // CheckFrontierPoint, on the figures of the point's weights when they
    // are known already.
    bool Check(const FrontierPoint& point, double scale, std::string& reason,
               const PortfolioFigures* known = nullptr) const;

private:
    bool CheckFigures(const FrontierPoint& point, const PortfolioFigures& figures, double scale,
                      std::string& reason) const;
    bool HedgesNearlyPerfectly(const PortfolioFigures& figures, size_t held) const;
    PortfolioFigures FiguresInLongDouble(const std::vector<FrontierShare>& shares) const;
    bool PassesPortfolioCheck(const FrontierPoint& point, const PortfolioFigures& figures, std::string& reason) const;

    const ShareReturns& m_returns;
    std::vector<double> m_means;            // as the tables have them
    std::vector<long double> m_exactMeans;  // as Go's check has them
    std::vector<long double> m_spreads;     // sum over the periods of |return - exact mean|
    std::vector<double> m_largest;          // the largest |return|
    std::vector<char> m_finite;
    mutable std::vector<double> m_periodDeviations;  // one block of periods at a time
};

// True when the point is a portfolio of the model: weights not below zero and
// summing to 1, the average return they give equal to the one claimed, and the
// line deviation recomputed from them equal to the claimed one. The
// tolerances are relative to scale, the largest return in absolute value.
// reason names the first failing item.
bool CheckFrontierPoint(const ShareReturns& returns, const FrontierPoint& point, double scale, std::string& reason);

}  // namespace korvel
