// The backtest's arithmetic on histories small enough to follow by hand, and
// the part files that carry it between machines.
#include "core/backtest/PartFile.h"
#include "core/backtest/Performance.h"
#include "core/backtest/Schedule.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel::backtest {
namespace {

// Two shares, three periods: A +10, -20, +10 percent; B -10, +10, +5.
ShareReturns TwoShares() {
    return {2, 3, {10, -20, 10, -10, 10, 5}};
}

// Half and half held for two periods, then all in A for the third, at a
// cost of 100 basis points. By hand: the halves earn 0, drift to 0.55/0.45
// and earn 0.55*-20 + 0.45*10 = -6.5, drifting to 44/93.5 and 49.5/93.5.
// Entering from cash trades 1 (kept 0.99: -1 percent); moving to A trades
// 2*49.5/93.5 (kept 1 - 0.01*99/93.5), then A earns 10. Wealth 0.99,
// 0.99*0.935, then times (1 + the third return); the drawdown bottoms at
// 0.92565, 7.435 percent below the start.
TEST(BacktestArithmetic, HandCheckedHistory) {
    const ShareReturns returns = TwoShares();
    std::vector<Rebalance> rebalances(2);
    rebalances[0].strategy = Hold(returns, {0.5, 0.5}, 0, 2);
    rebalances[1].strategy = Hold(returns, {1.0, 0.0}, 2, 3);
    const Performance p = Evaluate(rebalances, &Rebalance::strategy, 100.0);

    const double kept = 1.0 - 0.01 * 99.0 / 93.5;
    const double third = kept * 110.0 - 100.0;
    const std::vector<double> expectedReturns{-1.0, -6.5, third};
    const std::vector<double> expectedWealth{0.99, 0.92565, 0.92565 * (1.0 + third / 100.0)};
    ASSERT_EQ(p.returns.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(p.returns[k], expectedReturns[k], 1e-12) << k;
        EXPECT_NEAR(p.wealth[k], expectedWealth[k], 1e-12) << k;
    }
    EXPECT_NEAR(rebalances[0].strategy.drifted[0], 44.0 / 93.5, 1e-15);
    EXPECT_NEAR(p.averageReturn, (-7.5 + third) / 3.0, 1e-12);
    EXPECT_EQ(p.worstPeriod, -6.5);
    EXPECT_NEAR(p.maxDrawdown, 7.435, 1e-10);
    EXPECT_NEAR(p.turnover, (1.0 + 99.0 / 93.5) / 2.0 * 100.0, 1e-10);
    const double mean = (-7.5 + third) / 3.0;
    EXPECT_NEAR(p.meanAbsoluteDeviation,
                (std::fabs(-1.0 - mean) + std::fabs(-6.5 - mean) + std::fabs(third - mean)) / 3.0, 1e-12);
}

TEST(BacktestSchedule, RebalancesAndSlices) {
    const Schedule s{10, 3, 3};  // rebalances after 3, 6 and 9 returns; the last holds one
    EXPECT_EQ(RebalanceCount(s), 3);
    EXPECT_EQ(HoldEnd(s, 2), 10);
    struct Case {
        int32_t count, part, parts, begin, end;
    } cases[] = {{7, 1, 3, 0, 3}, {7, 2, 3, 3, 5}, {7, 3, 3, 5, 7}, {2, 3, 3, 2, 2}};
    for (const Case& c : cases) {
        const Slice slice = SliceOf(c.count, c.part, c.parts);
        EXPECT_EQ(slice.begin, c.begin) << c.part;
        EXPECT_EQ(slice.end, c.end) << c.part;
    }
}

Part SmallPart(int32_t index, int32_t count) {
    Part part;
    part.index = index;
    part.count = count;
    part.total = 2;
    part.setup = {"min-return 1", 6, 3, 2, 10.0, {"A\nB", "C"}, {}};
    const ShareReturns returns{2, 6, {1, 2, 3, 4, 5, 6, 6, 5, 4, 3, 2, 1}};
    const Slice slice = SliceOf(2, index, count);
    part.first = slice.begin;
    for (int32_t r = slice.begin; r < slice.end; ++r) {
        Rebalance rebalance;
        rebalance.at = 3 + 2 * r;
        rebalance.strategy = Hold(returns, {0.1, 0.9}, rebalance.at, rebalance.at + 2 - r);
        rebalance.equal = Hold(returns, EqualWeights(2), rebalance.at, rebalance.at + 2 - r);
        part.rebalances.push_back(rebalance);
    }
    return part;
}

TEST(BacktestParts, JoinRefusesWhatIsNotOneRun) {
    const Part one = SmallPart(1, 2), two = SmallPart(2, 2);
    Part other = two;
    other.setup.costBps = 20.0;
    struct Case {
        std::vector<Part> parts;
        const char* error;
    } cases[] = {
        {{two}, "part 1 of 2 is missing"},
        {{one, one}, "part 1 is given twice"},
        {{one, other}, "comes from another run"},
    };
    for (const Case& c : cases) {
        Part whole;
        std::string error;
        EXPECT_FALSE(JoinParts(c.parts, whole, error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(BacktestParts, TextReadsBackExactlyAndRefusesDamage) {
    const Part part = SmallPart(1, 1);
    const std::string text = PartText(part);
    Part read;
    std::string error;
    ASSERT_TRUE(ReadPart(text, read, error)) << error;
    EXPECT_EQ(PartText(read), text);
    EXPECT_EQ(read.setup.names[0], "A\nB");

    struct Case {
        std::string from, to;
        const char* error;
    } cases[] = {
        {"end\n", "", "line 23: the part ends"},
        {"names 2\n", "names 2000000000\n", "line 7: more lines announced"},
        {"target 0.1 0.9", "target 0.1 nan", "line 12: \"nan\" is no finite number"},
        {"target 0.1 0.9", "target 0.1", "line 12: 2 numbers expected"},
        {"rebalance 5", "rebalance 4", "line 17: rebalance 2 does not follow"},
        {"schedule 6 3 2", "schedule 6 6 2", "too short for one rebalance"},
    };
    for (const Case& c : cases) {
        std::string damaged = text;
        damaged.replace(damaged.find(c.from), c.from.size(), c.to);
        EXPECT_FALSE(ReadPart(damaged, read, error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace korvel::backtest
