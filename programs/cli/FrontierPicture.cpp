#include "programs/cli/FrontierPicture.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvel::cli {
namespace {

FrontierPainter g_painter = nullptr;

double OwnDeviation(const ShareReturns& returns, int32_t share, double mean) {
    double total = 0.0;
    for (int32_t p = 0; p < returns.periods; ++p)
        total += std::fabs(returns.At(share, p) - mean);
    return total / static_cast<double>(returns.periods);
}

struct Spans {
    double deviation = 0.0, mean = 0.0;
};

Spans SpansOf(const FrontierPicture& picture) {
    double lowD = INFINITY, highD = -INFINITY, lowM = INFINITY, highM = -INFINITY;
    auto take = [&](double deviation, double mean) {
        lowD = std::min(lowD, deviation), highD = std::max(highD, deviation);
        lowM = std::min(lowM, mean), highM = std::max(highM, mean);
    };
    for (const PictureShare& share : picture.shares)
        take(share.deviation, share.mean);
    for (const FrontierPoint& point : picture.points)
        take(point.lineDeviation, point.averageReturn);
    // A span of one value makes every distance along it count as nothing.
    return {highD > lowD ? highD - lowD : INFINITY, highM > lowM ? highM - lowM : INFINITY};
}

// From (x, y) to the segment a-b, all in units of the spans.
double DistanceToSegment(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, length = dx * dx + dy * dy;
    const double t = length > 0.0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / length, 0.0, 1.0) : 0.0;
    return std::hypot(x - ax - t * dx, y - ay - t * dy);
}

double DistanceToTheLine(const PictureShare& share, const std::vector<FrontierPoint>& points, const Spans& spans) {
    auto x = [&](double deviation) { return deviation / spans.deviation; };
    auto y = [&](double mean) { return mean / spans.mean; };
    double distance = INFINITY;
    for (size_t k = 0; k < points.size(); ++k) {
        const FrontierPoint& a = points[k];
        const FrontierPoint& b = points[k + 1 < points.size() ? k + 1 : k];
        distance = std::min(distance, DistanceToSegment(x(share.deviation), y(share.mean), x(a.lineDeviation),
                                                        y(a.averageReturn), x(b.lineDeviation), y(b.averageReturn)));
    }
    return distance;
}

// The shares within near of the line, the closest first, so many that their
// names still find room beside their dots.
void MarkTheNearest(FrontierPicture& picture, double near) {
    constexpr size_t kMostNamed = 12;
    const Spans spans = SpansOf(picture);
    std::vector<std::pair<double, size_t>> close;
    for (size_t i = 0; i < picture.shares.size(); ++i)
        if (const double distance = DistanceToTheLine(picture.shares[i], picture.points, spans); distance <= near)
            close.emplace_back(distance, i);
    std::sort(close.begin(), close.end());
    for (size_t k = 0; k < close.size() && k < kMostNamed; ++k)
        picture.shares[close[k].second].nearFrontier = true;
}

}  // namespace

std::string PictureUnit(const text::TextOptions& options) {
    if (!options.prices)
        return "return per period";
    switch (options.every) {
    case text::CalendarPeriod::Week:
        return "percent per week";
    case text::CalendarPeriod::Month:
        return "percent per month";
    case text::CalendarPeriod::Quarter:
        return "percent per quarter";
    case text::CalendarPeriod::None:
        break;
    }
    return "percent per period";
}

namespace {

// A share's own risk: its deviation, or its risk by another measure when held alone.
double OwnRisk(const ShareReturns& returns, int32_t share, const RiskMeasure& measure) {
    if (measure.kind == RiskKind::Mad)
        return OwnDeviation(returns, share, returns.Mean(share));
    std::vector<double> alone(static_cast<size_t>(returns.shares), 0.0);
    alone[static_cast<size_t>(share)] = 1.0;
    return static_cast<double>(RiskOfReturns(measure, PortfolioReturns(returns, alone)));
}

}  // namespace

FrontierPicture MakeFrontierPicture(const FrontierResult& frontier, const ShareReturns& returns,
                                    const std::vector<std::string>& names, const std::string& unit,
                                    const RiskMeasure& measure, double near) {
    FrontierPicture picture;
    picture.points = frontier.points;
    picture.unit = unit;
    if (measure.kind != RiskKind::Mad)
        picture.axisName = "Risk (" + RiskMeasureName(measure) + ")";
    for (int32_t i = 0; i < returns.shares; ++i) {
        PictureShare share;
        share.name = static_cast<size_t>(i) < names.size() ? names[static_cast<size_t>(i)] : std::string();
        share.mean = returns.Mean(i);
        share.deviation = OwnRisk(returns, i, measure);
        picture.shares.push_back(std::move(share));
    }
    MarkTheNearest(picture, near);
    return picture;
}

void SetFrontierPainter(FrontierPainter painter) {
    g_painter = painter;
}
FrontierPainter CurrentFrontierPainter() {
    return g_painter;
}

}  // namespace korvel::cli
