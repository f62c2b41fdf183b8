// The efficient frontier against optima found independently: by construction
// on hand-built worksheets, by vertex enumeration on seeded random ones.
#include "core/optimizer/DeviationDual.h"
#include "core/optimizer/Frontier.h"
#include "core/optimizer/FrontierCheck.h"
#include "core/optimizer/FrontierWorkingSet.h"
#include "deviation_reference.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace korvel {
namespace {

ShareReturns Returns(const std::vector<std::vector<double>>& rows) {
    ShareReturns r;
    r.shares = static_cast<int32_t>(rows.size());
    r.periods = static_cast<int32_t>(rows[0].size());
    for (const auto& row : rows)
        r.values.insert(r.values.end(), row.begin(), row.end());
    return r;
}

double WeightOf(const FrontierPoint& point, int32_t row) {
    for (const FrontierShare& share : point.shares)
        if (share.row == row)
            return share.weight;
    return 0.0;
}

std::vector<double> Weights(const FrontierPoint& point, int32_t shares) {
    std::vector<double> weights(static_cast<size_t>(shares), 0.0);
    for (const FrontierShare& share : point.shares)
        weights[static_cast<size_t>(share.row - 1)] = share.weight;
    return weights;
}

double DeviationOf(const ShareReturns& r, const std::vector<double>& weights) {
    double total = 0.0;
    for (int32_t p = 0; p < r.periods; ++p) {
        double d = 0.0;
        for (int32_t i = 0; i < r.shares; ++i)
            d += weights[static_cast<size_t>(i)] * (r.At(i, p) - r.Mean(i));
        total += std::fabs(d);
    }
    return total / r.periods;
}

double ReturnOf(const ShareReturns& r, const std::vector<double>& weights) {
    double total = 0.0;
    for (int32_t i = 0; i < r.shares; ++i)
        total += weights[static_cast<size_t>(i)] * r.Mean(i);
    return total;
}

double BestMean(const ShareReturns& r) {
    double best = -INFINITY;
    for (int32_t i = 0; i < r.shares; ++i)
        best = std::max(best, r.Mean(i));
    return best;
}

// Everything the frontier promises, checked without the code under test:
// feasible weights at each point, both ends, and the deviation (and weights)
// between consecutive points moving linearly along the true optimum.
void ExpectExactFrontier(const ShareReturns& r, const FrontierResult& result) {
    ASSERT_EQ(result.outcome, FrontierOutcome::Done) << result.message;
    ASSERT_FALSE(result.points.empty());
    const double tolerance = 1e-9;
    for (const FrontierPoint& point : result.points) {
        const std::vector<double> w = Weights(point, r.shares);
        double sum = 0.0;
        for (double x : w) {
            EXPECT_GE(x, 0.0);
            sum += x;
        }
        EXPECT_NEAR(sum, 1.0, tolerance);
        EXPECT_NEAR(ReturnOf(r, w), point.averageReturn, tolerance);
        EXPECT_NEAR(DeviationOf(r, w), point.lineDeviation, tolerance);
        const auto optimum = testing::BestMadPortfolio(r, point.averageReturn - 1e-12);
        ASSERT_TRUE(optimum.has_value());
        EXPECT_NEAR(static_cast<double>(optimum->lineDeviation), point.lineDeviation, tolerance)
            << "at " << point.averageReturn;
    }
    for (size_t k = 1; k < result.points.size(); ++k) {
        const FrontierPoint& a = result.points[k - 1];
        const FrontierPoint& b = result.points[k];
        EXPECT_LT(a.averageReturn, b.averageReturn);
        EXPECT_LT(a.lineDeviation, b.lineDeviation + tolerance);
        for (double t : {0.25, 0.5, 0.8}) {
            const double bound = a.averageReturn + t * (b.averageReturn - a.averageReturn);
            const double between = a.lineDeviation + t * (b.lineDeviation - a.lineDeviation);
            const auto optimum = testing::BestMadPortfolio(r, bound);
            ASSERT_TRUE(optimum.has_value());
            EXPECT_NEAR(static_cast<double>(optimum->lineDeviation), between, tolerance)
                << "between " << a.averageReturn << " and " << b.averageReturn;
            std::vector<double> w = Weights(a, r.shares);
            const std::vector<double> wb = Weights(b, r.shares);
            for (size_t i = 0; i < w.size(); ++i)
                w[i] += t * (wb[i] - w[i]);
            EXPECT_NEAR(DeviationOf(r, w), between, tolerance);
        }
    }
    const auto least = testing::BestMadPortfolio(r);
    ASSERT_TRUE(least.has_value());
    EXPECT_NEAR(result.points.front().lineDeviation, static_cast<double>(least->lineDeviation), tolerance);
    // The first point is efficient: no least-deviation portfolio returns more.
    const double first = result.points.front().averageReturn;
    if (first < BestMean(r) - 1e-6) {
        const auto above = testing::BestMadPortfolio(r, first + 1e-6);
        EXPECT_GT(static_cast<double>(above->lineDeviation), static_cast<double>(least->lineDeviation) + 1e-13);
    }
    EXPECT_NEAR(result.points.back().averageReturn, BestMean(r), tolerance);
    EXPECT_FALSE(testing::BestMadPortfolio(r, BestMean(r) + 1e-6).has_value());
}

TEST(FrontierBuiltByHand, OneShareIsOnePoint) {
    const ShareReturns r = Returns({{1, 2, 3}});
    const FrontierResult result = ComputeFrontier(r);
    ASSERT_EQ(result.points.size(), 1u);
    EXPECT_DOUBLE_EQ(result.points[0].averageReturn, 2.0);
    EXPECT_DOUBLE_EQ(result.points[0].lineDeviation, 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(WeightOf(result.points[0], 1), 1.0);
    ExpectExactFrontier(r, result);
}

TEST(FrontierBuiltByHand, TiedMeansThatHedgeEndInOneMixedPoint) {
    // Both means are 2, and half of each cancels every deviation.
    const ShareReturns r = Returns({{1, 2, 3}, {3, 2, 1}});
    const FrontierResult result = ComputeFrontier(r);
    ASSERT_EQ(result.points.size(), 1u);
    EXPECT_NEAR(result.points[0].averageReturn, 2.0, 1e-15);
    EXPECT_NEAR(result.points[0].lineDeviation, 0.0, 1e-15);
    EXPECT_NEAR(WeightOf(result.points[0], 1), 0.5, 1e-15);
    EXPECT_NEAR(WeightOf(result.points[0], 2), 0.5, 1e-15);
    ExpectExactFrontier(r, result);
}

TEST(FrontierBuiltByHand, FlatStartBeginsAtTheBestOfTheLeastDeviation) {
    // A and B never deviate (B returns more); C returns most with deviation 4/3.
    // The mixes of A and B before B are not efficient.
    const ShareReturns r = Returns({{1, 1, 1}, {2, 2, 2}, {1, 5, 3}});
    const FrontierResult result = ComputeFrontier(r);
    ASSERT_EQ(result.points.size(), 2u);
    EXPECT_NEAR(result.points[0].averageReturn, 2.0, 1e-15);
    EXPECT_NEAR(result.points[0].lineDeviation, 0.0, 1e-15);
    EXPECT_NEAR(WeightOf(result.points[0], 2), 1.0, 1e-15);
    EXPECT_NEAR(result.points[1].averageReturn, 3.0, 1e-15);
    EXPECT_NEAR(result.points[1].lineDeviation, 4.0 / 3.0, 1e-15);
    EXPECT_NEAR(WeightOf(result.points[1], 3), 1.0, 1e-15);
    ExpectExactFrontier(r, result);
}

TEST(FrontierBuiltByHand, BreakpointsWhereSeveralBasesChangeAtOnce) {
    // Shares 2 and 3 are the same share twice, and share 4 is their mirror
    // about share 1: every step meets ties in the ratio tests.
    const ShareReturns r = Returns({{0, 0, 0, 0}, {4, -2, 2, 0}, {4, -2, 2, 0}, {-2, 4, 2, 0}, {6, 6, 0, 0}});
    ExpectExactFrontier(r, ComputeFrontier(r));
}

TEST(FrontierBuiltByHand, TiedBestMeansEndInTheirLeastDeviationMix) {
    // Shares 2 and 3 share the best mean; their half-and-half mix deviates less.
    const ShareReturns r = Returns({{0, 1, 0}, {5, 1, 3}, {1, 5, 3}});
    const FrontierResult result = ComputeFrontier(r);
    ExpectExactFrontier(r, result);
    EXPECT_NEAR(WeightOf(result.points.back(), 2), 0.5, 1e-12);
    EXPECT_NEAR(WeightOf(result.points.back(), 3), 0.5, 1e-12);
}

// Ordinary shares beside one near the largest double: the ordinary ones sink
// below the doubles' resolution on the common scale, so the frontier is either
// exact or refused for the range, never a line from one share to the other.
TEST(FrontierBuiltByHand, ReturnsOfTooWideARangeAreExactOrRefused) {
    const ShareReturns r = Returns(
        {{1.2, -0.8, 2.5, 0.4}, {0.3, 1.9, -1.1, 2.2}, {2.8, 0.6, 1.4, -0.9}, {1.7e308, 1.75e308, 1.79e308, 1.72e308}});
    const FrontierResult result = ComputeFrontier(r);
    if (result.outcome == FrontierOutcome::Invalid)
        EXPECT_EQ(result.message, kMsgRangeTooWide);
    else
        ExpectExactFrontier(r, result);
}

TEST(FrontierRandom, SeededWorksheetsMatchTheVertexOptimum) {
    std::mt19937 random(17);
    for (int sheet = 0; sheet < 150; ++sheet) {
        std::uniform_int_distribution<int> shares(1, 7), periods(3, 5), coarse(-9, 9);
        std::normal_distribution<double> fine(1.0, 4.0);
        const bool useCoarse = sheet % 2 == 0;  // small integers: many ties
        ShareReturns r;
        r.shares = shares(random);
        r.periods = periods(random);
        for (int k = 0; k < r.shares * r.periods; ++k)
            r.values.push_back(useCoarse ? coarse(random) : std::round(fine(random) * 100) / 100);
        SCOPED_TRACE("sheet " + std::to_string(sheet));
        ExpectExactFrontier(r, ComputeFrontier(r));
        if (::testing::Test::HasFailure())
            return;
    }
}

TEST(FrontierRandom, PowerOfTwoScalesGiveTheSameWeightsAndScaledFigures) {
    std::mt19937 random(3);
    std::normal_distribution<double> value(1.0, 4.0);
    ShareReturns r;
    r.shares = 40;
    r.periods = 6;
    for (int k = 0; k < r.shares * r.periods; ++k)
        r.values.push_back(std::round(value(random) * 100) / 100);
    const FrontierResult unit = ComputeFrontier(r);
    ASSERT_EQ(unit.outcome, FrontierOutcome::Done) << unit.message;
    for (int exponent : {-1000, -40, 30, 1000}) {
        ShareReturns scaled = r;
        for (double& x : scaled.values)
            x = std::ldexp(x, exponent);
        const FrontierResult result = ComputeFrontier(scaled);
        ASSERT_EQ(result.outcome, FrontierOutcome::Done) << exponent << ": " << result.message;
        ASSERT_EQ(result.points.size(), unit.points.size()) << exponent;
        for (size_t k = 0; k < unit.points.size(); ++k) {
            EXPECT_EQ(result.points[k].averageReturn, std::ldexp(unit.points[k].averageReturn, exponent));
            EXPECT_EQ(result.points[k].lineDeviation, std::ldexp(unit.points[k].lineDeviation, exponent));
            ASSERT_EQ(result.points[k].shares.size(), unit.points[k].shares.size());
            for (size_t i = 0; i < unit.points[k].shares.size(); ++i)
                EXPECT_EQ(result.points[k].shares[i].weight, unit.points[k].shares[i].weight);
        }
    }
}

// The frontier's point at a return (or its lowest point) against the vertex
// optimum on inputs that break naive solvers: ties everywhere, no spread, one
// share, two periods, magnitudes 16 decades apart, bounds at and past the top.
TEST(FrontierPointAtReturn, MatchesTheVertexOptimumOnAwkwardInputs) {
    const double kNone = -INFINITY;
    struct Case {
        const char* name;
        std::vector<std::vector<double>> rows;
        double from;
        bool tooWide = false;  // refused with a message rather than answered inexactly
    };
    const Case cases[] = {
        {"identical shares", {{1, 4, 2}, {1, 4, 2}, {3, 0, 3}}, 2.2},
        {"identical shares, least risk", {{1, 4, 2}, {1, 4, 2}, {3, 0, 3}}, kNone},
        {"all returns equal", {{1, 1, 1}, {1, 1, 1}}, 1.0},
        {"all returns equal, least risk", {{1, 1, 1}, {1, 1, 1}}, kNone},
        {"riskless shares tie, least risk", {{1, 1, 1}, {2, 2, 2}, {1, 5, 3}}, kNone},
        {"one share", {{1, 2, 4}}, 0.5},
        {"one share, least risk", {{1, 2, 4}}, kNone},
        {"two periods", {{1, 3}, {3, 0}, {2, 2.5}}, 2.2},
        {"falling market, least risk", {{-1, -3, -2}, {-4, 0, -3}, {-2, -2.5, -1}}, kNone},
        {"falling market, negative bound", {{-1, -3, -2}, {-4, 0, -3}, {-2, -2.5, -1}}, -1.9},
        {"one return near zero", {{1, 2e-7, 3}, {2, 1, 0.5}, {0.5, 2, 1}}, 1.2},
        {"1e-8 beside 1e8", {{1e-8, 3e-8, 2e-8}, {1e8, -1e8, 5e7}, {2e-8, 1e-8, 4e-8}}, 2e-8, true},
        {"1e-8 beside 1e8, large bound", {{1e-8, 3e-8, 2e-8}, {1e8, -1e8, 5e7}, {2e-8, 1e-8, 4e-8}}, 1e7, true},
        {"above every mean", {{1, 2, 3}, {3, 2, 0}}, 2.5},
        {"exactly the best mean", {{0.1, 0.2, 0.4}, {0.3, 0.2, 0.1}, {0.7, 0.1, 0.1}}, 0.7 / 3 + 0.2 / 3},
        {"below every mean", {{1, 4, 2}, {3, 0, 3}, {2, 2, 1}}, -5},
    };
    // The history told twice has the same optimum, and more periods than
    // shares: it takes the other solver.
    for (const Case& c : cases)
        for (int told : {1, 2}) {
            SCOPED_TRACE(std::string(c.name) + (told == 1 ? "" : ", told twice"));
            const ShareReturns once = Returns(c.rows);
            ShareReturns r = once;
            if (told == 2) {
                r.periods *= 2;
                r.values.clear();
                for (const auto& row : c.rows)
                    for (int k = 0; k < 2; ++k)
                        r.values.insert(r.values.end(), row.begin(), row.end());
            }
            FrontierRequest request;
            request.from = c.from;
            request.firstOnly = true;
            const FrontierResult result = ComputeFrontier(r, request);
            if (c.tooWide) {
                EXPECT_EQ(result.outcome, FrontierOutcome::Invalid);
                EXPECT_EQ(result.message, kMsgRangeTooWide);
                continue;
            }
            const auto optimum = testing::BestMadPortfolio(once, c.from);
            if (!optimum) {
                EXPECT_EQ(result.outcome, FrontierOutcome::NoSolution);
                EXPECT_TRUE(result.points.empty());
                continue;
            }
            ASSERT_EQ(result.outcome, FrontierOutcome::Done) << result.message;
            ASSERT_EQ(result.points.size(), 1u);
            const FrontierPoint& point = result.points[0];
            double scale = 0.0;
            for (double x : r.values)
                scale = std::max(scale, std::fabs(x));
            const std::vector<double> w = Weights(point, r.shares);
            EXPECT_NEAR(DeviationOf(r, w), static_cast<double>(optimum->lineDeviation), 1e-12 * scale);
            EXPECT_NEAR(point.lineDeviation, static_cast<double>(optimum->lineDeviation), 1e-12 * scale);
            EXPECT_NEAR(ReturnOf(r, w), point.averageReturn, 1e-12 * scale);
            EXPECT_GE(point.averageReturn, c.from - 1e-12 * scale);
            // The frontier from the bound starts at that point.
            request.firstOnly = false;
            const FrontierResult from = ComputeFrontier(r, request);
            ASSERT_EQ(from.outcome, FrontierOutcome::Done) << from.message;
            EXPECT_NEAR(from.points.front().lineDeviation, point.lineDeviation, 1e-12 * scale);
            EXPECT_NEAR(from.points.back().averageReturn, BestMean(r), 1e-12 * scale);
            // Without a bound, the best return among the least deviation.
            if (c.from == kNone && point.averageReturn < BestMean(r) - 1e-9 * scale) {
                EXPECT_GT(testing::BestMadPortfolio(once, point.averageReturn + 1e-9 * scale)->lineDeviation,
                          static_cast<double>(optimum->lineDeviation) + 1e-12 * scale);
            }
        }
}

TEST(FrontierPointAtReturn, SeededLongHistoriesMatchTheVertexOptimum) {
    std::mt19937 random(29);
    for (int sheet = 0; sheet < 200; ++sheet) {
        std::uniform_int_distribution<int> shares(1, 5), periods(6, 12), coarse(-4, 4);
        std::uniform_real_distribution<double> where(-0.2, 1.1);
        ShareReturns r;
        r.shares = shares(random);
        r.periods = periods(random);
        for (int k = 0; k < r.shares * r.periods; ++k)
            r.values.push_back(sheet % 2 == 0 ? coarse(random) : std::round(where(random) * 1000) / 100);
        double lowest = INFINITY;
        for (int32_t i = 0; i < r.shares; ++i)
            lowest = std::min(lowest, r.Mean(i));
        FrontierRequest request;
        request.firstOnly = true;
        if (sheet % 3 != 0)
            request.from = lowest + where(random) * (BestMean(r) - lowest);
        SCOPED_TRACE("sheet " + std::to_string(sheet));
        const FrontierResult result = ComputeFrontier(r, request);
        const auto optimum = testing::BestMadPortfolio(r, request.from);
        if (!optimum) {
            EXPECT_EQ(result.outcome, FrontierOutcome::NoSolution) << result.message;
            continue;
        }
        ASSERT_EQ(result.outcome, FrontierOutcome::Done) << result.message;
        EXPECT_NEAR(DeviationOf(r, Weights(result.points[0], r.shares)), static_cast<double>(optimum->lineDeviation),
                    1e-12);
        EXPECT_GE(result.points[0].averageReturn, request.from - 1e-12);
        if (::testing::Test::HasFailure())
            return;
    }
}

// Tables started on one or two shares, or on the dual two periods: every one
// that pays must join, as the column the whole table would have had.
TEST(FrontierPointAtReturn, SmallStartingTablesGrowToTheVertexOptimum) {
    std::mt19937 random(31);
    for (int sheet = 0; sheet < 120; ++sheet) {
        const bool dual = sheet % 2 == 1;
        std::uniform_int_distribution<int> shares(dual ? 2 : 6, dual ? 4 : 10), periods(dual ? 6 : 3, dual ? 12 : 4);
        std::uniform_int_distribution<int> cents(-100, 100);
        ShareReturns r;
        r.shares = shares(random);
        r.periods = periods(random);
        for (int k = 0; k < r.shares * r.periods; ++k)
            r.values.push_back(cents(random) / 100.0);
        const double from = BestMean(r) - (sheet / 2 % 4) * 0.1;
        SCOPED_TRACE("sheet " + std::to_string(sheet));
        std::vector<FrontierVertex> vertices;
        if (dual) {
            DeviationDual solver(r, from, 2);
            ASSERT_EQ(solver.Solve(), DualOutcome::Done);
            ASSERT_TRUE(solver.Record(vertices));
        } else {
            const FrontierWalkSpan span{from, FrontierWalkSpan::Stop::AtFrom};
            int64_t pivots = 0;
            ASSERT_EQ(WalkWorkingSet(r, span, vertices, pivots, 1 + sheet / 2 % 2), FrontierWalkOutcome::Done);
        }
        const auto optimum = testing::BestMadPortfolio(r, from);
        ASSERT_TRUE(optimum.has_value());
        ASSERT_EQ(vertices.size(), 1u);
        const FrontierPoint point{vertices[0].averageReturn, vertices[0].lineDeviation, vertices[0].shares};
        EXPECT_NEAR(DeviationOf(r, Weights(point, r.shares)), static_cast<double>(optimum->lineDeviation), 1e-12);
        EXPECT_GE(ReturnOf(r, Weights(point, r.shares)), from - 1e-12);
    }
}

TEST(FrontierWorksheet, ReadsTheCellsAndReportsTheFirstInvalidOne) {
    WorksheetTable sheet = testing::MakeSheet({{"1", "2", "3"}, {"3", "2", "1"}});
    EXPECT_EQ(ComputeFrontier(sheet).points.size(), 1u);
    sheet.SetTextMatrix(2, 4, "1x");
    sheet.SetTextMatrix(1, 3, "2 ");
    const FrontierResult result = ComputeFrontier(sheet);
    EXPECT_EQ(result.outcome, FrontierOutcome::Invalid);
    EXPECT_EQ(result.message, "Invalid Return2 on row 1");
    EXPECT_TRUE(result.points.empty());
}

TEST(FrontierCheck, RejectsEveryKindOfWrongPoint) {
    const ShareReturns r = Returns({{1, 2, 3}, {3, 2, 1}, {0, 4, 2}});
    FrontierPoint good;
    good.averageReturn = 2.0;
    good.lineDeviation = 0.0;
    good.shares = {{1, 0.5}, {2, 0.5}};
    std::string reason;
    EXPECT_TRUE(CheckFrontierPoint(r, good, 4.0, reason)) << reason;

    FrontierPoint bad = good;
    bad.shares = {{1, 0.5}, {2, 0.4}};
    EXPECT_FALSE(CheckFrontierPoint(r, bad, 4.0, reason));
    EXPECT_EQ(reason, "the weights do not sum to 1");
    bad.shares = {{1, 1.2}, {2, -0.2}};
    EXPECT_FALSE(CheckFrontierPoint(r, bad, 4.0, reason));
    EXPECT_EQ(reason, "a negative weight");
    bad = good;
    bad.averageReturn = 2.001;
    EXPECT_FALSE(CheckFrontierPoint(r, bad, 4.0, reason));
    EXPECT_EQ(reason, "the weights do not give the average return");
    bad = good;
    bad.shares = {{1, 0.5}, {3, 0.5}};  // same return, deviation 1
    EXPECT_FALSE(CheckFrontierPoint(r, bad, 4.0, reason));
    EXPECT_EQ(reason, "the weights do not give the line deviation");
    bad.shares = {{4, 1.0}};
    EXPECT_FALSE(CheckFrontierPoint(r, bad, 4.0, reason));
}

// The figures worked out once per point are those Go's check works out for
// itself: the same within long double's rounding, and a perfect hedge whose
// doubles round to a hair above zero is a hedge there too.
TEST(FrontierCheck, SharedFiguresAreGoCheckFigures) {
    // The first seven return 1.5 in every period (to the rounding of their
    // decimals): a seventh of each hedges, and the doubles' sums miss zero.
    const ShareReturns r = Returns({{1.15, 0.69, 0.73},
                                    {0.69, 1.94, 0.68},
                                    {-0.42, 0.88, 1.54},
                                    {1.85, 0.72, 1.26},
                                    {0.33, 0.44, 0.19},
                                    {0.82, 0.22, 0.05},
                                    {-2.92, -3.39, -2.95},
                                    {3, -1, 2}});
    std::vector<FrontierShare> hedge;
    for (int32_t row = 1; row <= 7; ++row)
        hedge.push_back({row, 1.0 / 7});
    const std::vector<std::vector<FrontierShare>> portfolios = {hedge, {{1, 0.2}, {2, 0.3}, {8, 0.5}}, {{8, 1.0}}};
    const FrontierChecker checker(r);
    for (const auto& shares : portfolios) {
        PortfolioClaim claim;
        for (const FrontierShare& share : shares)
            claim.shares.push_back(
                {share.weight,
                 {r.values.begin() + (share.row - 1) * r.periods, r.values.begin() + share.row * r.periods}});
        const PortfolioFigures expected = RecomputeFigures(claim);
        const PortfolioFigures figures = checker.Figures(shares);
        // A hedge's zero is exact.
        EXPECT_NEAR(figures.LineDeviation(), expected.LineDeviation(), 1e-15 * expected.LineDeviation())
            << shares.size();
        EXPECT_NEAR(static_cast<double>(figures.averageReturn), static_cast<double>(expected.averageReturn), 1e-17);
        EXPECT_NEAR(static_cast<double>(figures.weightSum), static_cast<double>(expected.weightSum), 1e-17);
        EXPECT_NEAR(static_cast<double>(figures.deviationSize), static_cast<double>(expected.deviationSize), 1e-16);
    }
}

}  // namespace
}  // namespace korvel
