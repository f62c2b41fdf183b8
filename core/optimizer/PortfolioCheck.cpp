#include "core/optimizer/PortfolioCheck.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace korvel {
namespace {

HeldReturnsSummary Summarize(const PortfolioClaim& claim) {
    HeldReturnsSummary held;
    for (const HeldShare& share : claim.shares)
        for (double r : share.returns) {
            held.finite = held.finite && std::isfinite(r);
            held.largest = std::max(held.largest, std::fabs(r));
        }
    return held;
}

bool AllFinite(const PortfolioClaim& claim, const HeldReturnsSummary& held, double minReturn) {
    bool finite = held.finite && std::isfinite(claim.averageReturn) && std::isfinite(claim.lineDeviation)
                  && std::isfinite(claim.budgetArtificial) && std::isfinite(claim.returnArtificial)
                  && std::isfinite(minReturn);
    for (const HeldShare& share : claim.shares)
        finite = finite && std::isfinite(share.weight);
    return finite;
}

long double Mean(const std::vector<double>& values) {
    long double sum = 0.0L;
    for (double v : values)
        sum += v;
    return values.empty() ? 0.0L : sum / static_cast<long double>(values.size());
}

}  // namespace

PortfolioFigures RecomputeFigures(const PortfolioClaim& claim) {
    PortfolioFigures out;
    for (const HeldShare& share : claim.shares)
        out.periods = std::max(out.periods, share.returns.size());
    std::vector<long double> deviation(out.periods, 0.0L);
    for (const HeldShare& share : claim.shares) {
        const long double mean = Mean(share.returns);
        out.weightSum += share.weight;
        out.averageReturn += static_cast<long double>(share.weight) * mean;
        for (size_t p = 0; p < share.returns.size(); ++p) {
            const long double term = static_cast<long double>(share.weight) * (share.returns[p] - mean);
            deviation[p] += term;
            out.deviationSize += std::fabs(term);
        }
    }
    for (long double d : deviation)
        out.deviationSum += std::fabs(d);
    return out;
}

long double PortfolioFigures::Rounding() const {
    // Weights are doubles: each is its value within half an ulp, which moves
    // the sum by at most DBL_EPSILON of its terms' size; the long double sums
    // add far less.
    return (DBL_EPSILON + 64.0L * static_cast<long double>(periods + 2) * LDBL_EPSILON) * deviationSize;
}

double PortfolioFigures::LineDeviation() const {
    if (periods == 0 || deviationSum <= Rounding())
        return 0.0;
    return static_cast<double>(deviationSum / static_cast<long double>(periods));
}

PortfolioFault CheckPortfolio(const PortfolioClaim& claim, double minReturn, double noise) {
    const HeldReturnsSummary held = Summarize(claim);
    if (!AllFinite(claim, held, minReturn))
        return PortfolioFault::NotFinite;
    return CheckPortfolioFigures(claim, RecomputeFigures(claim), held, minReturn, noise);
}

PortfolioFault CheckPortfolioFigures(const PortfolioClaim& claim, const PortfolioFigures& figures,
                                     const HeldReturnsSummary& held, double minReturn, double noise) {
    if (!AllFinite(claim, held, minReturn))
        return PortfolioFault::NotFinite;
    const double slack = kFigureSlack * std::max(held.largest, std::fabs(minReturn)) + std::fabs(noise);
    for (const HeldShare& share : claim.shares)
        if (share.weight < -kWeightSlack)
            return PortfolioFault::NegativeWeight;
    const double weightSum = static_cast<double>(figures.weightSum);
    const double averageReturn = static_cast<double>(figures.averageReturn);
    if (std::fabs(weightSum - 1.0) > kWeightSlack)
        return PortfolioFault::WeightsDoNotSumToOne;
    if (std::fabs(claim.budgetArtificial) > kWeightSlack || std::fabs(claim.returnArtificial) > slack)
        return PortfolioFault::ArtificialNotZero;
    if (claim.averageReturn < minReturn - slack || averageReturn < minReturn - slack)
        return PortfolioFault::BelowMinReturn;
    if (std::fabs(claim.averageReturn - averageReturn) > slack)
        return PortfolioFault::AverageReturnDiffers;
    if (std::fabs(claim.lineDeviation - figures.LineDeviation()) > slack)
        return PortfolioFault::LineDeviationDiffers;
    return PortfolioFault::None;
}

const char* DescribePortfolioFault(PortfolioFault fault) {
    switch (fault) {
    case PortfolioFault::None:
        return "sound";
    case PortfolioFault::NotFinite:
        return "a number is not finite";
    case PortfolioFault::NegativeWeight:
        return "a weight is negative";
    case PortfolioFault::WeightsDoNotSumToOne:
        return "the weights do not sum to 1";
    case PortfolioFault::ArtificialNotZero:
        return "an artificial variable is not zero";
    case PortfolioFault::BelowMinReturn:
        return "the average return is below the Min Return";
    case PortfolioFault::AverageReturnDiffers:
        return "the average return is not what the weights give";
    case PortfolioFault::LineDeviationDiffers:
        return "the line deviation is not what the weights give";
    }
    return "unknown";
}

}  // namespace korvel
