// The risk measures' solver against least risks found independently by
// trying every vertex, on seeded random sheets, with and without bounds.
#include "core/optimizer/MeasureSolver.h"
#include "measure_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace korvel {
namespace {

ShareReturns RandomSheet(uint32_t seed, int32_t shares, int32_t periods) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(-60, 80);
    ShareReturns r;
    r.shares = shares;
    r.periods = periods;
    for (int32_t k = 0; k < shares * periods; ++k)
        r.values.push_back(percent(random) / 10.0);
    return r;
}

RiskMeasure Measure(const char* text) {
    RiskMeasure measure;
    std::string error;
    EXPECT_TRUE(ParseRiskMeasure(text, measure, error)) << error;
    return measure;
}

struct Case {
    const char* measure;
    double lower, upper;
};

const Case kCases[] = {
    {"cvar", 0.0, 1.0},         {"cvar:0.3", 0.0, 1.0},        {"cvar:1", 0.0, 1.0}, {"downside", 0.0, 1.0},
    {"downside:0.5", 0.0, 1.0}, {"worst", 0.0, 1.0},           {"mad", 0.05, 0.6},   {"cvar:0.25", 0.1, 0.5},
    {"worst", 0.0, 0.4},        {"downside:-0.2", 0.02, 0.45},
};

// The single portfolio at a Min Return and every breakpoint of the frontier
// lie on the reference's least risk.
TEST(MeasureSolver, LeastRiskMatchesEveryVertexTried) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        const ShareReturns r = RandomSheet(seed, 4, 6);
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(c.measure) + " seed " + std::to_string(seed));
            const RiskMeasure measure = Measure(c.measure);
            const WeightBounds bounds = UniformBounds(r.shares, c.lower, c.upper);
            const FrontierResult frontier = ComputeMeasureFrontier(r, measure, bounds);
            ASSERT_EQ(frontier.outcome, FrontierOutcome::Done) << frontier.message;
            for (const FrontierPoint& point : frontier.points) {
                const auto best = testing::LeastRisk(r, measure, bounds, point.averageReturn);
                ASSERT_TRUE(best);
                EXPECT_NEAR(point.lineDeviation, static_cast<double>(best->risk), 1e-9);
            }
            const double middle =
                frontier.points.front().averageReturn * 0.5 + frontier.points.back().averageReturn * 0.5;
            const FrontierResult single = ComputeMeasureFrontier(r, measure, bounds, {middle, true});
            ASSERT_EQ(single.points.size(), 1u) << single.message;
            EXPECT_NEAR(single.points[0].lineDeviation,
                        static_cast<double>(testing::LeastRisk(r, measure, bounds, middle)->risk), 1e-9);
        }
    }
}

}  // namespace
}  // namespace korvel
