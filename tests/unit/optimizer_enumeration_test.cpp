// The walk over alternative optima and what each shown record holds.
#include "core/optimizer/GoCommand.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>

namespace korvel {
namespace {

using testing::MakeSheet;
using testing::RecordingPresenter;

// Shares with the same deviations and rising means: every portfolio has the
// same deviation, so each share is an alternative optimum with a higher return.
WorksheetTable Staircase() {
    return MakeSheet({{"1", "2", "3"}, {"1", "2", "3"}, {"2", "3", "4"}, {"3", "4", "5"}}, {"A", "B", "C", "D"});
}

TEST(Enumeration, ShowsEachRisingReturnInTurn) {
    SolutionRecord record;
    RecordingPresenter presenter;
    const GoResult result = RunGo("1", Staircase(), record, presenter);
    EXPECT_EQ(result.outcome, GoOutcome::Done);
    ASSERT_EQ(presenter.shown.size(), 3u);
    const int32_t rows[] = {1, 3, 4};
    const char* names[] = {"A", "C", "D"};
    for (size_t k = 0; k < 3; ++k) {
        const SolutionRecord& shown = presenter.shown[k];
        ASSERT_EQ(shown.shareCount, 1);
        EXPECT_EQ(shown.shares[0].row, rows[k]);
        EXPECT_EQ(shown.shares[0].name, names[k]);
        EXPECT_EQ(shown.shares[0].weight, 1.0f);
        EXPECT_NEAR(shown.averageReturn, 2.0 + static_cast<double>(k), 1e-12);
        EXPECT_NEAR(shown.lineDeviation, 2.0 / 3.0, 1e-9);
    }
    EXPECT_EQ(result.solutionsShown, 3);
    EXPECT_EQ(result.walkPivots, 3);  // B's pivot brings no rise and is passed over
}

TEST(Enumeration, ALowerReturnIsPassedOverButStillRebuildsTheRecord) {
    const WorksheetTable sheet = MakeSheet({{"2", "3", "4"}, {"1", "2", "3"}});
    SolutionRecord record;
    RecordingPresenter presenter;
    const GoResult result = RunGo("1", sheet, record, presenter);
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].shares[0].row, 2);
    EXPECT_EQ(presenter.shown[1].shares[0].row, 1);
    EXPECT_EQ(result.walkPivots, 2);
    // The last walk pivot went back to share 2 (return 2, not shown); the record
    // keeps that last basis.
    EXPECT_EQ(record.shares[0].row, 2);
    EXPECT_NEAR(record.averageReturn, 2.0, 1e-12);
}

TEST(Enumeration, EnoughEndsTheWalkAtOnce) {
    SolutionRecord record;
    RecordingPresenter first(1);
    GoResult result = RunGo("1", Staircase(), record, first);
    EXPECT_EQ(result.outcome, GoOutcome::Done);
    EXPECT_TRUE(result.stoppedByPresenter);
    EXPECT_EQ(first.shown.size(), 1u);
    EXPECT_EQ(result.walkPivots, 0);

    RecordingPresenter second(2);
    result = RunGo("1", Staircase(), record, second);
    EXPECT_EQ(second.shown.size(), 2u);
    EXPECT_EQ(result.walkPivots, 2);
}

TEST(Enumeration, PresenterExceptionsPassThrough) {
    struct Throwing : SolutionPresenter {
        PresenterAnswer Present(const SolutionRecord&) override { throw std::runtime_error("dialog"); }
    } presenter;
    SolutionRecord record;
    EXPECT_THROW(RunGo("1", Staircase(), record, presenter), std::runtime_error);
}

WorksheetTable RandomSheet(std::mt19937& random, int32_t shares, int32_t periods) {
    std::uniform_real_distribution<double> value(-10.0, 10.0);
    std::vector<std::vector<std::string>> rows(static_cast<size_t>(shares));
    char text[32];
    for (auto& row : rows) {
        for (int32_t p = 0; p < periods; ++p) {
            std::snprintf(text, sizeof text, "%.2f", value(random));
            row.push_back(text);
        }
    }
    return MakeSheet(rows);
}

// Each record lists the basic shares in the order of their rows, with the
// basic values as floats, and never more than M + 2 of them.
TEST(Enumeration, RecordFollowsTheBasisRowByRow) {
    std::mt19937 random(7);
    for (int run = 0; run < 20; ++run) {
        const WorksheetTable sheet = RandomSheet(random, 40, 10);
        Tableau t = MakeTableauFor(sheet);
        BuildTableau(t, sheet, 0.5);
        ASSERT_EQ(Solve(t), SolveOutcome::Optimal);

        struct Checker : SolutionPresenter {
            const Tableau* t = nullptr;
            int shown = 0;
            PresenterAnswer Present(const SolutionRecord& record) override {
                ++shown;
                EXPECT_LE(record.shareCount, t->Periods() + 2);
                int32_t k = 0;
                for (int32_t r = 1; r < t->ZRow(); ++r) {
                    const int32_t b = t->basis[r];
                    if (b > t->Shares())
                        continue;
                    EXPECT_EQ(record.shares[k].row, b);
                    EXPECT_EQ(record.shares[k].name, "S" + std::to_string(b));
                    EXPECT_EQ(record.shares[k].weight, static_cast<float>(t->At(r, 0)));
                    ++k;
                }
                EXPECT_EQ(record.shareCount, k);
                // A perfect hedge's objective is noise of either sign, shown as zero.
                const double objective = t->At(t->ZRow(), 0) / t->Periods();
                if (std::fabs(objective) > 1e-7) {
                    EXPECT_EQ(record.lineDeviation, objective);
                }
                if (std::fabs(objective) < 1e-9) {
                    EXPECT_EQ(record.lineDeviation, 0.0);
                }
                return PresenterAnswer::Continue;
            }
        } checker;
        checker.t = &t;
        SolutionRecord record;
        const EnumerationResult result = EnumerateSolutions(t, sheet, 0.5, record, checker);
        EXPECT_NE(result.outcome, EnumerationOutcome::Stopped);
        EXPECT_EQ(result.solutionsShown, checker.shown);
    }
}

// Two shares: the deviation of the mix t, 1 - t is convex and piecewise
// linear in t, so its least value lies at a kink or an end of the range the
// Min Return allows. That gives the optimum without any simplex.
double BestDeviationOfTwo(const std::vector<double>& a, const std::vector<double>& b, double minReturn,
                          bool& feasible) {
    const size_t m = a.size();
    double meanA = 0.0, meanB = 0.0;
    for (size_t p = 0; p < m; ++p) {
        meanA += a[p] / static_cast<double>(m);
        meanB += b[p] / static_cast<double>(m);
    }
    // Feasible t: t * meanA + (1 - t) * meanB >= minReturn, 0 <= t <= 1.
    double low = 0.0, high = 1.0;
    const double slope = meanA - meanB;
    if (slope > 0)
        low = std::max(low, (minReturn - meanB) / slope);
    else if (slope < 0)
        high = std::min(high, (minReturn - meanB) / slope);
    else if (meanB < minReturn)
        low = 2.0;
    feasible = low <= high;
    auto deviation = [&](double t) {
        double sum = 0.0;
        for (size_t p = 0; p < m; ++p)
            sum += std::fabs(t * (a[p] - meanA) + (1 - t) * (b[p] - meanB));
        return sum / static_cast<double>(m);
    };
    double best = std::min(deviation(low), deviation(high));
    for (size_t p = 0; p < m; ++p) {
        const double da = a[p] - meanA, db = b[p] - meanB;
        if (da == db)
            continue;
        const double t = db / (db - da);
        if (t > low && t < high)
            best = std::min(best, deviation(t));
    }
    return best;
}

TEST(Enumeration, OptimalDeviationMatchesAnIndependentCheckOnTwoShares) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-5.0, 8.0);
    std::uniform_int_distribution<int32_t> periods(3, 10);
    int feasibleRuns = 0;
    for (int run = 0; run < 300; ++run) {
        const int32_t m = periods(random);
        std::vector<double> a, b;
        std::vector<std::string> ta, tb;
        char text[32];
        for (int32_t p = 0; p < m; ++p) {
            std::snprintf(text, sizeof text, "%.2f", value(random));
            ta.push_back(text);
            a.push_back(std::strtod(text, nullptr));
            std::snprintf(text, sizeof text, "%.2f", value(random));
            tb.push_back(text);
            b.push_back(std::strtod(text, nullptr));
        }
        const double minReturn = 0.25 + static_cast<double>(run % 8) * 0.5;
        bool feasible = false;
        const double expected = BestDeviationOfTwo(a, b, minReturn, feasible);

        SolutionRecord record;
        RecordingPresenter presenter;
        const GoResult result = RunGo(std::to_string(minReturn), MakeSheet({ta, tb}), record, presenter);
        if (!feasible) {
            EXPECT_EQ(result.outcome, GoOutcome::NoSolution) << "run " << run;
            continue;
        }
        ++feasibleRuns;
        ASSERT_EQ(result.outcome, GoOutcome::Done) << "run " << run;
        ASSERT_FALSE(presenter.shown.empty());
        for (const SolutionRecord& shown : presenter.shown) {
            EXPECT_NEAR(shown.lineDeviation, expected, 1e-7) << "run " << run;
            EXPECT_GE(shown.averageReturn, minReturn - 1e-9);
            float total = 0.0f;
            for (int32_t k = 0; k < shown.shareCount; ++k)
                total += shown.shares[k].weight;
            EXPECT_NEAR(total, 1.0f, 1e-5f);
        }
    }
    EXPECT_GT(feasibleRuns, 100);
}

// Returns whose sums overflow a double are solved on a scaled copy, so the
// portfolio is shown rather than an overflow reported.
TEST(Enumeration, NumbersNearTheLargestDoubleAreSolvedNotOverflowed) {
    SolutionRecord record;
    RecordingPresenter presenter;
    GoResult result = RunGo("1", MakeSheet({{"1e308", "1e308", "1e308"}}), record, presenter);
    EXPECT_EQ(result.outcome, GoOutcome::Done);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].shares[0].weight, 1.0f);
    EXPECT_EQ(presenter.shown[0].averageReturn, 1e308);
    EXPECT_EQ(presenter.shown[0].lineDeviation, 0.0);
    // 200000 * (1 + Min Return) would overflow; scaled, the Min Return is
    // simply above every mean.
    result = RunGo("1e305", MakeSheet({{"1", "2", "3"}}), record, presenter);
    EXPECT_EQ(result.outcome, GoOutcome::NoSolution);
    EXPECT_EQ(presenter.shown.size(), 1u);
}

}  // namespace
}  // namespace korvel
