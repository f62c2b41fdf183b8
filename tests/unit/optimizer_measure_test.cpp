// The risk measures' solver against least risks found independently by
// trying every vertex, on seeded random sheets, with and without bounds.
#include "core/optimizer/BestRatio.h"
#include "core/optimizer/MeasureCheck.h"
#include "core/optimizer/MeasureSolver.h"
#include "measure_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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
    {"cvar", 0.0, 1.0},         {"cvar:0.3", 0.0, 1.0},        {"cvar:1", 0.0, 1.0},      {"downside", 0.0, 1.0},
    {"downside:0.5", 0.0, 1.0}, {"worst", 0.0, 1.0},           {"mad", 0.05, 0.6},        {"cvar:0.25", 0.1, 0.5},
    {"worst", 0.0, 0.4},        {"downside:-0.2", 0.02, 0.45}, {"cvar:1e-300", 0.0, 1.0},
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

// Beyond the reference's reach, a basis core many shares wide and hundreds
// of exchanges: every point is certified, and the single solve from its own
// start lands on the frontier's segment through its return.
TEST(MeasureSolver, WideCoresStayCertifiedAndAgree) {
    const ShareReturns r = RandomSheet(11, 40, 120);
    for (const Case& c : {Case{"cvar:0.2", 0.0, 1.0}, Case{"downside:0.5", 0.0, 1.0}, Case{"worst", 0.0, 1.0},
                          Case{"mad", 0.0, 0.1}, Case{"cvar", 0.01, 0.08}}) {
        SCOPED_TRACE(c.measure);
        const RiskMeasure measure = Measure(c.measure);
        const WeightBounds bounds = UniformBounds(r.shares, c.lower, c.upper);
        const FrontierResult frontier = ComputeMeasureFrontier(r, measure, bounds);
        ASSERT_EQ(frontier.outcome, FrontierOutcome::Done) << frontier.message;
        ASSERT_GE(frontier.points.size(), 3u);
        const FrontierPoint& a = frontier.points[frontier.points.size() / 2 - 1];
        const FrontierPoint& b = frontier.points[frontier.points.size() / 2];
        const double middle = 0.5 * (a.averageReturn + b.averageReturn);
        const FrontierResult single = ComputeMeasureFrontier(r, measure, bounds, {middle, true});
        ASSERT_EQ(single.points.size(), 1u) << single.message;
        EXPECT_NEAR(single.points[0].lineDeviation, 0.5 * (a.lineDeviation + b.lineDeviation), 1e-9);
    }
}

// Long histories of few shares: the engine holds the returns and a core of at
// most shares + 2, never a table of periods squared.
TEST(MeasureSolver, LongHistoriesOfFewSharesAreSolved) {
    const ShareReturns r = RandomSheet(5, 12, 6000);
    for (const char* text : {"cvar", "mad"}) {
        const FrontierResult single =
            ComputeMeasureFrontier(r, Measure(text), UniformBounds(r.shares, 0.0, 0.3), {-INFINITY, true});
        EXPECT_EQ(single.outcome, FrontierOutcome::Done) << text << ": " << single.message;
    }
}

// A point as the solver gives it, then one fault at a time: each is refused.
TEST(MeasureSolver, CheckRefusesWhatTheReturnsDoNotBear) {
    const ShareReturns r = RandomSheet(3, 4, 6);
    const RiskMeasure measure = Measure("cvar:0.3");
    const WeightBounds bounds = UniformBounds(r.shares, 0.0, 0.6);
    const FrontierResult least = ComputeMeasureFrontier(r, measure, bounds, {-INFINITY, true});
    ASSERT_EQ(least.points.size(), 1u) << least.message;
    MeasureClaim claim{std::vector<double>(4, 0.0), least.points[0].averageReturn, least.points[0].lineDeviation};
    for (const FrontierShare& share : least.points[0].shares)
        claim.weights[static_cast<size_t>(share.row - 1)] = share.weight;
    // Prices that bound the risk from below only by -1e9 prove nothing.
    const auto prices = [&](bool proveNothing) {
        std::vector<long double> rows(static_cast<size_t>(r.periods) + 2, 0.0L);
        if (proveNothing)
            rows[static_cast<size_t>(r.periods)] = -1e9L;
        return MeasurePrices{rows, claim.averageReturn};
    };
    struct Fault {
        const char* reason;
        std::function<void(MeasureClaim&)> spoil;
    };
    const Fault faults[] = {
        {"bounds", [](MeasureClaim& c) { c.weights[0] += 0.7, c.weights[1] -= 0.7; }},
        {"sum to 1", [](MeasureClaim& c) { c.weights[0] += 1e-6; }},
        {"average return", [](MeasureClaim& c) { c.averageReturn += 1e-6; }},
        {"risk", [](MeasureClaim& c) { c.risk -= 1e-6; }},
    };
    for (const Fault& fault : faults) {
        MeasureClaim spoilt = claim;
        fault.spoil(spoilt);
        EXPECT_NE(MeasureFault({r, measure, bounds}, -INFINITY, spoilt, prices(false)).find(fault.reason),
                  std::string::npos)
            << fault.reason;
    }
    EXPECT_NE(MeasureFault({r, measure, bounds}, -INFINITY, claim, prices(true)).find("row prices"), std::string::npos);
}

TEST(BestRatio, ABreakpointOrAClearOutcome) {
    struct Case {
        std::vector<std::pair<double, double>> points;  // return, risk
        double riskFree;
        RatioOutcome outcome;
        size_t point;
    };
    const Case cases[] = {
        {{{1, 1}, {2, 1.5}, {3, 4}}, 0.0, RatioOutcome::Found, 1}, {{{1, 1}, {2, 3}}, 0.0, RatioOutcome::Found, 0},
        {{{1, 1}, {2, 3}}, 0.5, RatioOutcome::Found, 0},           {{{1, 1}, {2, 2}}, 3.0, RatioOutcome::NoExcess, 0},
        {{{1, -1}, {2, 1}}, 0.0, RatioOutcome::NoRisk, 0},     // crosses zero risk at return 1.5
        {{{-1, -1}, {0.5, 1}}, 0.0, RatioOutcome::Found, 1},   // crosses it at return -0.25
        {{{1, 1e-17}, {2, 1}}, 0.0, RatioOutcome::NoRisk, 0},  // a perfect hedge in doubles
    };
    for (const Case& c : cases) {
        std::vector<FrontierPoint> points;
        for (const auto& [ret, risk] : c.points)
            points.push_back({ret, risk, {}});
        const BestRatio best = FindBestRatio(points, c.riskFree);
        EXPECT_EQ(best.outcome, c.outcome) << c.points[0].first << " " << c.riskFree;
        if (c.outcome == RatioOutcome::Found) {
            EXPECT_EQ(best.point, c.point) << c.points[0].first << " " << c.riskFree;
        }
    }
}

TEST(WeightBounds, NoPortfolioKeepsThemNamesTheShare) {
    const std::vector<std::string> names = {"Alder", "Birch", "Cedar"};
    struct Case {
        std::vector<double> lower, upper;
        const char* message;  // empty: some portfolio keeps them
    };
    const Case cases[] = {
        {{0, 0, 0}, {0.4, 0.4, 0.4}, ""},
        {{0.5, 0.6, 0}, {1, 1, 1}, "sum to more than 1 from \"Alder\" to \"Birch\""},
        {{0, 0.3, 0}, {1, 0.2, 1}, "\"Birch\": its largest weight 0.2 is below its least, 0.3"},
        {{0, 0, -0.1}, {1, 1, 1}, "\"Cedar\": its least weight -0.1 is not within 0 to 1"},
        {{0, 0, 0}, {1.5, 1, 1}, "\"Alder\": its largest weight 1.5"},
        {{0, 0, 0}, {0.3, 0.3, 0.3}, "sum to less than 1"},
    };
    for (const Case& c : cases) {
        const std::string fault = BoundsFault({c.lower, c.upper}, names);
        if (*c.message == '\0')
            EXPECT_EQ(fault, "");
        else
            EXPECT_NE(fault.find(c.message), std::string::npos) << fault;
    }
}

}  // namespace
}  // namespace korvel
