#include "core/optimizer/Frontier.h"

#include "core/optimizer/DeviationDual.h"
#include "core/optimizer/Enumeration.h"
#include "core/optimizer/FrontierCheck.h"
#include "core/optimizer/FrontierPivot.h"
#include "core/optimizer/FrontierTableau.h"
#include "core/optimizer/FrontierWorkingSet.h"
#include "core/optimizer/Validation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace korvel {

bool ReadShareReturns(const CellSource& cells, ShareReturns& returns, std::string& message) {
    ReturnCell bad;
    if (ReadWorksheetReturns(cells, returns, bad))
        return true;
    message = InvalidReturnMessage(bad);
    return false;
}

namespace {

// A point found for a return may miss it by the rounding of the bound's steps
// (on the scaled data); more than that and it does not reach the return.
constexpr double kReachTolerance = 1e-12;
constexpr const char* kMsgNotLeast = "The optimizer stopped: the arithmetic lost the portfolio of the least deviation.";
constexpr const char* kMsgLostFeasibility = "The frontier stopped: the arithmetic lost the portfolio's feasibility.";

// The largest return in absolute value, and the power of two that brings it
// into [0.5, 1). Scaling by a power of two is exact, so the weights found on
// the scaled data are those of the data, and returns and deviations scale back
// without rounding; the tolerances of the pivots can then be absolute.
struct DataScale {
    double largest = 0.0;
    int exponent = 0;
};

DataScale ScaleOf(const ShareReturns& returns) {
    DataScale scale;
    for (double value : returns.values)
        scale.largest = std::max(scale.largest, std::fabs(value));
    if (scale.largest > 0.0)
        std::frexp(scale.largest, &scale.exponent);
    return scale;
}

void ScaleInPlace(ShareReturns& returns, int exponent) {
    for (double& value : returns.values)
        value = std::ldexp(value, -exponent);
}

// The tables are scaled by the largest return, and their tolerances are
// absolute: a share all of whose returns sink toward those tolerances is lost
// in the arithmetic. One small return among ordinary ones is only a small
// coefficient (real histories have them), so the rule compares the shares'
// own scales rather than single returns.
bool ShareScalesTooFarApart(const ShareReturns& returns) {
    double largest = 0.0;
    double smallest = std::numeric_limits<double>::infinity();
    for (int32_t i = 0; i < returns.shares; ++i) {
        double scale = 0.0;
        for (int32_t p = 0; p < returns.periods; ++p)
            scale = std::max(scale, std::fabs(returns.At(i, p)));
        largest = std::max(largest, scale);
        if (scale > 0.0)
            smallest = std::min(smallest, scale);
    }
    return largest > kWidestRange * smallest;
}

FrontierPoint AsPoint(const FrontierVertex& vertex) {
    return {vertex.averageReturn, vertex.lineDeviation, vertex.shares};
}

FrontierPoint Unscaled(const FrontierVertex& vertex, int exponent) {
    FrontierPoint point;
    point.averageReturn = std::ldexp(vertex.averageReturn, exponent);
    point.lineDeviation = std::ldexp(vertex.lineDeviation, exponent);
    point.shares = vertex.shares;
    return point;
}

// A weight a hair below zero is a rounding of zero: it passed the check, and
// a reader of the portfolio should not meet it.
void DropZeroWeights(FrontierPoint& point) {
    std::erase_if(point.shares, [](const FrontierShare& share) { return !(share.weight > 0.0); });
}

// The walk may start on a flat piece: portfolios of the least deviation with
// a lower return than the best of them. They are not efficient.
void DropFlatStart(std::vector<FrontierPoint>& points, double largest) {
    const double tolerance = frontier::kFlatTolerance * largest;
    size_t first = 0;
    while (first + 1 < points.size() && points[first + 1].lineDeviation - points[first].lineDeviation <= tolerance)
        ++first;
    points.erase(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(first));
}

FrontierResult Failed(FrontierResult result, FrontierOutcome outcome, std::string message) {
    result.outcome = outcome;
    result.message = std::move(message);
    return result;
}

std::string CheckFailure(const FrontierPoint& point, const std::string& reason) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "The frontier stopped: the portfolio at average return %.10g failed the check of the result (%s).",
                  point.averageReturn, reason.c_str());
    return text;
}

FrontierWalkSpan WalkSpan(const FrontierRequest& request, int exponent) {
    FrontierWalkSpan span;
    span.from = std::ldexp(request.from, -exponent);
    if (request.firstOnly)
        span.stop = std::isfinite(span.from) ? FrontierWalkSpan::Stop::AtFrom : FrontierWalkSpan::Stop::AfterFlatStart;
    return span;
}

// Checked on the scaled data, where no sum can overflow or sink into
// subnormal numbers; the scaling is exact, so this checks the data.
bool AddChecked(FrontierResult& result, const FrontierChecker& checker, const FrontierVertex& vertex, double from,
                int exponent) {
    FrontierPoint point = Unscaled(vertex, exponent);
    std::string reason = "below the return asked for";
    const PortfolioFigures* figures = vertex.figures ? &*vertex.figures : nullptr;
    if (!(vertex.averageReturn >= from - kReachTolerance) || !checker.Check(AsPoint(vertex), 1.0, reason, figures)) {
        result.outcome = FrontierOutcome::CheckFailed;
        result.message = CheckFailure(point, reason);
        return false;
    }
    DropZeroWeights(point);
    result.points.push_back(std::move(point));
    return true;
}

double BestMean(const ShareReturns& returns) {
    double best = -std::numeric_limits<double>::infinity();
    for (int32_t i = 0; i < returns.shares; ++i)
        best = std::max(best, returns.Mean(i));
    return best;
}

// One point on a history longer than the list of shares, from the dual's
// smaller table. Its weights are certified by the duality gap: the deviation
// they give equals the dual's bound on every portfolio's deviation.
FrontierResult PointFromDual(const ShareReturns& scaled, const FrontierChecker& checker, double from, int exponent) {
    FrontierResult result;
    // At a return, the prices start on a few bases' worth of periods.
    const int32_t pricedPeriods = std::isfinite(from) ? std::max(64, 2 * (scaled.shares + 2)) : 0;
    DeviationDual dual(scaled, from, pricedPeriods, &checker);
    std::vector<FrontierVertex> vertices;
    DualOutcome outcome = DualOutcome::Done;
    if (std::isfinite(from)) {
        outcome = dual.Solve();
        if (outcome == DualOutcome::Done && !dual.Record(vertices))
            outcome = DualOutcome::Lost;
    } else {
        // Among portfolios of the least deviation, the one that returns most.
        outcome = dual.Walk(vertices, true);
    }
    result.pivots = dual.Pivots();
    if (outcome == DualOutcome::NoSolution && from > BestMean(scaled))
        return Failed(std::move(result), FrontierOutcome::NoSolution, kMsgNoSolution);
    if (outcome == DualOutcome::PivotLimit)
        return Failed(std::move(result), FrontierOutcome::PivotLimit, kMsgFrontierPivotLimit);
    if (outcome != DualOutcome::Done || vertices.empty())
        return Failed(std::move(result), FrontierOutcome::CheckFailed, kMsgNotLeast);
    size_t last = 0;
    while (last + 1 < vertices.size()
           && vertices[last + 1].lineDeviation - vertices[0].lineDeviation <= frontier::kFlatTolerance)
        ++last;
    const FrontierVertex& vertex = vertices[last];
    AddChecked(result, checker, vertex, from, exponent);
    return result;
}

FrontierWalkOutcome WalkTableau(const ShareReturns& scaled, const FrontierWalkSpan& span,
                                std::vector<FrontierVertex>& vertices, FrontierResult& result) {
    // One point at a return needs only the shares that can be in it.
    if (span.stop == FrontierWalkSpan::Stop::AtFrom && std::isfinite(span.from))
        return WalkWorkingSet(scaled, span, vertices, result.pivots, WorkingSetStart(scaled));
    FrontierTableau tableau(scaled);
    const FrontierWalkOutcome walk = tableau.Walk(vertices, span);
    result.pivots = tableau.Pivots();
    return walk;
}

// Long histories walk on the dual's smaller table.
FrontierWalkOutcome WalkDual(const ShareReturns& scaled, const FrontierChecker& checker, double from,
                             std::vector<FrontierVertex>& vertices, FrontierResult& result) {
    DeviationDual dual(scaled, from, 0, &checker);
    const DualOutcome outcome = dual.Walk(vertices);
    result.pivots = dual.Pivots();
    switch (outcome) {
    case DualOutcome::Done:
    case DualOutcome::NoSolution:
        return FrontierWalkOutcome::Done;
    case DualOutcome::PivotLimit:
        return FrontierWalkOutcome::PivotLimit;
    case DualOutcome::Lost:
        break;
    }
    return FrontierWalkOutcome::Lost;
}

}  // namespace

FrontierResult ComputeFrontier(const ShareReturns& returns, const FrontierRequest& request) {
    return ComputeFrontier(ShareReturns(returns), request);
}

FrontierResult ComputeFrontier(ShareReturns&& returns, const FrontierRequest& request) {
    FrontierResult result;
    if (ShareScalesTooFarApart(returns))
        return Failed(std::move(result), FrontierOutcome::Invalid, kMsgRangeTooWide);
    const DataScale scale = ScaleOf(returns);
    ScaleInPlace(returns, scale.exponent);
    const ShareReturns& scaled = returns;
    const FrontierWalkSpan span = WalkSpan(request, scale.exponent);
    const FrontierChecker checker(scaled);
    if (request.firstOnly && returns.periods > returns.shares)
        return PointFromDual(scaled, checker, span.from, scale.exponent);
    std::vector<FrontierVertex> vertices;
    const FrontierWalkOutcome walk = returns.periods > returns.shares
                                         ? WalkDual(scaled, checker, span.from, vertices, result)
                                         : WalkTableau(scaled, span, vertices, result);
    for (const FrontierVertex& vertex : vertices)
        if (!AddChecked(result, checker, vertex, span.from, scale.exponent))
            return result;
    if (walk == FrontierWalkOutcome::PivotLimit)
        return Failed(std::move(result), FrontierOutcome::PivotLimit, kMsgFrontierPivotLimit);
    if (walk == FrontierWalkOutcome::Lost)
        return Failed(std::move(result), FrontierOutcome::CheckFailed, kMsgLostFeasibility);
    if (result.points.empty())
        return Failed(std::move(result), FrontierOutcome::NoSolution, kMsgNoSolution);
    DropFlatStart(result.points, scale.largest);
    if (request.firstOnly)
        result.points.resize(1);
    return result;
}

FrontierResult ComputeFrontier(const CellSource& cells) {
    ShareReturns returns;
    std::string message;
    if (!ReadShareReturns(cells, returns, message)) {
        FrontierResult result;
        return Failed(std::move(result), FrontierOutcome::Invalid, std::move(message));
    }
    return ComputeFrontier(returns);
}

}  // namespace korvel
