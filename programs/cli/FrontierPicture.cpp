#include "programs/cli/FrontierPicture.h"

#include <cmath>

namespace korvel::cli {
namespace {

FrontierPainter g_painter = nullptr;

double OwnDeviation(const ShareReturns& returns, int32_t share, double mean) {
    double total = 0.0;
    for (int32_t p = 0; p < returns.periods; ++p)
        total += std::fabs(returns.At(share, p) - mean);
    return total / static_cast<double>(returns.periods);
}

}  // namespace

FrontierPicture MakeFrontierPicture(const FrontierResult& frontier, const ShareReturns& returns,
                                    const std::vector<std::string>& names) {
    FrontierPicture picture;
    picture.points = frontier.points;
    for (int32_t i = 0; i < returns.shares; ++i) {
        PictureShare share;
        share.name = static_cast<size_t>(i) < names.size() ? names[static_cast<size_t>(i)] : std::string();
        share.mean = returns.Mean(i);
        share.deviation = OwnDeviation(returns, i, share.mean);
        picture.shares.push_back(std::move(share));
    }
    return picture;
}

FrontierPicture MakeFrontierPicture(const FrontierResult& frontier, const ShareReturns& returns,
                                    const std::vector<std::string>& names, const RiskMeasure& measure) {
    FrontierPicture picture = MakeFrontierPicture(frontier, returns, names);
    if (measure.kind == RiskKind::Mad)
        return picture;
    picture.axisName = "Risk (" + RiskMeasureName(measure) + ")";
    picture.leastLabel = "Least risk";
    picture.leastLegend = "Least-risk portfolio";
    for (int32_t i = 0; i < returns.shares; ++i) {
        std::vector<double> alone(static_cast<size_t>(returns.shares), 0.0);
        alone[static_cast<size_t>(i)] = 1.0;
        picture.shares[static_cast<size_t>(i)].deviation =
            static_cast<double>(RiskOfReturns(measure, PortfolioReturns(returns, alone)));
    }
    return picture;
}

void SetFrontierPainter(FrontierPainter painter) {
    g_painter = painter;
}
FrontierPainter CurrentFrontierPainter() {
    return g_painter;
}

}  // namespace korvel::cli
