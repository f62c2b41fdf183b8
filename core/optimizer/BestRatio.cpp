#include "core/optimizer/BestRatio.h"

#include <algorithm>
#include <cmath>

namespace korvel {
namespace {

// Does the segment from a to b pass a point of no positive risk with an
// excess return above zero? (The ends included.)
bool ReachesExcessWithoutRisk(FrontierPoint a, FrontierPoint b, double riskFree, double noise) {
    if (std::fabs(a.lineDeviation) <= noise)
        a.lineDeviation = 0.0;
    if (std::fabs(b.lineDeviation) <= noise)
        b.lineDeviation = 0.0;
    const double excessA = a.averageReturn - riskFree, excessB = b.averageReturn - riskFree;
    if (a.lineDeviation <= 0.0 && excessA > 0.0)
        return true;
    if (!(a.lineDeviation <= 0.0 && b.lineDeviation > 0.0))
        return false;
    const double t = -a.lineDeviation / (b.lineDeviation - a.lineDeviation);
    return excessA + t * (excessB - excessA) > 0.0;
}

}  // namespace

BestRatio FindBestRatio(const std::vector<FrontierPoint>& points, double riskFree) {
    // A risk within the rounding of the figures is none: a perfect hedge
    // computed in doubles keeps a deviation of some 1e-16, not a ratio of 1e16.
    double largest = std::fabs(riskFree);
    for (const FrontierPoint& point : points)
        largest = std::max({largest, std::fabs(point.averageReturn), std::fabs(point.lineDeviation)});
    const double noise = 1e-12 * largest;
    BestRatio best;
    for (size_t k = 0; k < points.size(); ++k) {
        const FrontierPoint& point = points[k];
        if (ReachesExcessWithoutRisk(point, k + 1 < points.size() ? points[k + 1] : point, riskFree, noise))
            return {RatioOutcome::NoRisk, k, 0.0};
        const double excess = point.averageReturn - riskFree;
        if (!(excess > 0.0))
            continue;
        const double ratio = excess / point.lineDeviation;
        if (best.outcome != RatioOutcome::Found || ratio > best.ratio)
            best = {RatioOutcome::Found, k, ratio};
    }
    return best;
}

}  // namespace korvel
