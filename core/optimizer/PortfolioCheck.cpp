#include "core/optimizer/PortfolioCheck.h"

#include <algorithm>
#include <cmath>

namespace korvel {
namespace {

bool AllFinite(const PortfolioClaim& claim, double minReturn) {
    bool finite = std::isfinite(claim.averageReturn) && std::isfinite(claim.lineDeviation)
                  && std::isfinite(claim.budgetArtificial) && std::isfinite(claim.returnArtificial)
                  && std::isfinite(minReturn);
    for (const HeldShare& share : claim.shares) {
        finite = finite && std::isfinite(share.weight);
        for (double r : share.returns)
            finite = finite && std::isfinite(r);
    }
    return finite;
}

double LargestMagnitude(const PortfolioClaim& claim, double minReturn) {
    double largest = std::fabs(minReturn);
    for (const HeldShare& share : claim.shares)
        for (double r : share.returns)
            largest = std::max(largest, std::fabs(r));
    return largest;
}

long double Mean(const std::vector<double>& values) {
    long double sum = 0.0L;
    for (double v : values)
        sum += v;
    return values.empty() ? 0.0L : sum / static_cast<long double>(values.size());
}

struct Recomputed {
    double weightSum = 0.0;
    double averageReturn = 0.0;
    double lineDeviation = 0.0;
};

// Long double keeps the recomputation's own rounding far below the slack, and
// its wider exponent lets returns near the largest double sum without overflow.
Recomputed Recompute(const PortfolioClaim& claim) {
    Recomputed out;
    size_t periods = 0;
    for (const HeldShare& share : claim.shares)
        periods = std::max(periods, share.returns.size());
    std::vector<long double> deviation(periods, 0.0L);
    long double weightSum = 0.0L, average = 0.0L;
    for (const HeldShare& share : claim.shares) {
        const long double mean = Mean(share.returns);
        weightSum += share.weight;
        average += static_cast<long double>(share.weight) * mean;
        for (size_t p = 0; p < share.returns.size(); ++p)
            deviation[p] += static_cast<long double>(share.weight) * (share.returns[p] - mean);
    }
    long double absolute = 0.0L;
    for (long double d : deviation)
        absolute += std::fabs(d);
    out.weightSum = static_cast<double>(weightSum);
    out.averageReturn = static_cast<double>(average);
    out.lineDeviation = periods == 0 ? 0.0 : static_cast<double>(absolute / static_cast<long double>(periods));
    return out;
}

}  // namespace

PortfolioFault CheckPortfolio(const PortfolioClaim& claim, double minReturn, double noise) {
    if (!AllFinite(claim, minReturn))
        return PortfolioFault::NotFinite;
    const double slack = kFigureSlack * LargestMagnitude(claim, minReturn) + std::fabs(noise);
    for (const HeldShare& share : claim.shares)
        if (share.weight < -kWeightSlack)
            return PortfolioFault::NegativeWeight;
    const Recomputed real = Recompute(claim);
    if (std::fabs(real.weightSum - 1.0) > kWeightSlack)
        return PortfolioFault::WeightsDoNotSumToOne;
    if (std::fabs(claim.budgetArtificial) > kWeightSlack || std::fabs(claim.returnArtificial) > slack)
        return PortfolioFault::ArtificialNotZero;
    if (claim.averageReturn < minReturn - slack || real.averageReturn < minReturn - slack)
        return PortfolioFault::BelowMinReturn;
    if (std::fabs(claim.averageReturn - real.averageReturn) > slack)
        return PortfolioFault::AverageReturnDiffers;
    if (std::fabs(claim.lineDeviation - real.lineDeviation) > slack)
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
