#include "core/optimizer/FrontierCheck.h"

#include "core/optimizer/PortfolioCheck.h"

#include <cmath>
#include <vector>

namespace korvel {
namespace {

// A double's noise after some hundred pivots on data of unit scale is far
// below these; a real fault (a wrong basis, a lost row) is far above them.
constexpr double kWeightTolerance = 1e-9;
constexpr double kReturnTolerance = 1e-9;  // times the data's scale
constexpr double kDeviationRelative = 1e-7;
constexpr double kDeviationAbsolute = 1e-9;  // times the data's scale

double RecomputedDeviation(const ShareReturns& returns, const FrontierPoint& point) {
    std::vector<double> means;
    for (const FrontierShare& share : point.shares)
        means.push_back(returns.Mean(share.row - 1));
    double total = 0.0;
    for (int32_t p = 0; p < returns.periods; ++p) {
        double deviation = 0.0;
        for (size_t k = 0; k < point.shares.size(); ++k) {
            const FrontierShare& share = point.shares[k];
            deviation += share.weight * (returns.At(share.row - 1, p) - means[k]);
        }
        total += std::fabs(deviation);
    }
    return total / static_cast<double>(returns.periods);
}

// The check every portfolio Go shows must pass, with the point's own return
// as the bound it was found at.
bool PassesPortfolioCheck(const ShareReturns& returns, const FrontierPoint& point, std::string& reason) {
    PortfolioClaim claim;
    claim.averageReturn = point.averageReturn;
    claim.lineDeviation = point.lineDeviation;
    for (const FrontierShare& share : point.shares) {
        HeldShare held;
        held.weight = share.weight;
        for (int32_t p = 0; p < returns.periods; ++p)
            held.returns.push_back(returns.At(share.row - 1, p));
        claim.shares.push_back(std::move(held));
    }
    const PortfolioFault fault = CheckPortfolio(claim, point.averageReturn);
    if (fault == PortfolioFault::None)
        return true;
    reason = DescribePortfolioFault(fault);
    return false;
}

}  // namespace

// Tighter tolerances than Go's, since the frontier's tableau starts feasible
// and carries no big M, and then Go's own check as well.
bool CheckFrontierPoint(const ShareReturns& returns, const FrontierPoint& point, double scale, std::string& reason) {
    double weightSum = 0.0;
    double averageReturn = 0.0;
    for (const FrontierShare& share : point.shares) {
        if (share.row < 1 || share.row > returns.shares) {
            reason = "a share outside the worksheet";
            return false;
        }
        if (!(share.weight >= -kWeightTolerance)) {
            reason = "a negative weight";
            return false;
        }
        weightSum += share.weight;
        averageReturn += share.weight * returns.Mean(share.row - 1);
    }
    if (!(std::fabs(weightSum - 1.0) <= kWeightTolerance)) {
        reason = "the weights do not sum to 1";
        return false;
    }
    if (!(std::fabs(averageReturn - point.averageReturn) <= kReturnTolerance * scale)) {
        reason = "the weights do not give the average return";
        return false;
    }
    const double deviation = RecomputedDeviation(returns, point);
    const double tolerance = kDeviationRelative * std::fabs(point.lineDeviation) + kDeviationAbsolute * scale;
    if (!(std::fabs(deviation - point.lineDeviation) <= tolerance)) {
        reason = "the weights do not give the line deviation";
        return false;
    }
    return PassesPortfolioCheck(returns, point, reason);
}

}  // namespace korvel
