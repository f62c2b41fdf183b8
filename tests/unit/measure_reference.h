#pragma once
// An independent least risk for small sheets, without any simplex. Every
// measure is convex and piecewise linear in the weights, linear between its
// kinks (two periods' returns equal, or a period's return at the downside
// target), so its least over the box, the budget and the return bound lies
// where the budget and N - 1 of the hyperplanes "weight at a bound", "return
// at the bound" and "a kink" meet; every such point is tried, and the
// measure is evaluated on its own definition in long double.
#include "core/optimizer/RiskMeasure.h"
#include "core/optimizer/WeightBounds.h"
#include "deviation_reference.h"

#include <optional>

namespace korvel::testing {

struct MeasureOptimum {
    long double risk = 0;
    long double averageReturn = 0;
};

inline std::optional<MeasureOptimum> LeastRisk(const ShareReturns& r, const RiskMeasure& measure,
                                               const WeightBounds& bounds, double minReturn) {
    using mad_detail::Row;
    const size_t n = static_cast<size_t>(r.shares);
    Row mean(n);
    for (size_t i = 0; i < n; ++i)
        mean[i] = r.Mean(static_cast<int32_t>(i));
    std::vector<Row> planes;
    Row targets;
    const auto add = [&](Row a, long double b) {
        planes.push_back(std::move(a));
        targets.push_back(b);
    };
    for (size_t i = 0; i < n; ++i) {
        Row a(n, 0);
        a[i] = 1;
        add(a, bounds.Lower(static_cast<int32_t>(i)));
        add(a, bounds.Upper(static_cast<int32_t>(i)));
    }
    add(mean, minReturn);
    const auto periodRow = [&](int32_t p) {
        Row a(n);
        for (size_t i = 0; i < n; ++i)
            a[i] = r.At(static_cast<int32_t>(i), p) - (measure.kind == RiskKind::Mad ? mean[i] : 0.0L);
        return a;
    };
    for (int32_t p = 0; p < r.periods; ++p) {
        if (measure.kind == RiskKind::Mad || measure.kind == RiskKind::Downside)
            add(periodRow(p), measure.kind == RiskKind::Downside ? measure.target : 0.0);
        for (int32_t q = p + 1; q < r.periods && measure.kind != RiskKind::Mad; ++q) {
            Row a = periodRow(p), b = periodRow(q);
            for (size_t i = 0; i < n; ++i)
                a[i] -= b[i];
            add(a, 0);
        }
    }
    std::optional<MeasureOptimum> best;
    mad_detail::ForEachMeeting(n, planes, targets, [&](const Row& x) {
        long double average = 0;
        bool feasible = true;
        std::vector<double> weights;
        for (size_t i = 0; i < n; ++i) {
            const int32_t share = static_cast<int32_t>(i);
            feasible = feasible && x[i] >= bounds.Lower(share) - 1e-12L && x[i] <= bounds.Upper(share) + 1e-12L;
            average += mean[i] * x[i];
            weights.push_back(static_cast<double>(x[i]));
        }
        if (feasible && average >= minReturn - 1e-12L) {
            const long double risk = RiskOfReturns(measure, PortfolioReturns(r, weights));
            if (!best || risk < best->risk)
                best = MeasureOptimum{risk, average};
        }
    });
    return best;
}

}  // namespace korvel::testing
