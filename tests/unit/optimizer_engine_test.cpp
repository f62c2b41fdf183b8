// The simplex engine's rules on small hand-made tableaus.
#include "core/optimizer/GoCommand.h"
#include "core/optimizer/SimplexEngine.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace korvel {
namespace {

// A tableau of 3 constraint rows (rows 1..3, Z = 4) and columns 0..9: column 0
// the right-hand side, 1..7 examined, 8 and 9 the artificials.
Tableau Small() {
    return Tableau(5, 10);
}

void SetRow(Tableau& t, int32_t r, std::initializer_list<double> values) {
    int32_t c = 0;
    for (double v : values)
        t.At(r, c++) = v;
}

TEST(SimplexEngine, EnteringColumnIsTheLargestReducedCostLowestIndexFirst) {
    Tableau t = Small();
    SetRow(t, 4, {0, -1, 3, 0.5, 3, 2, 0, 0, 0, 0});
    EXPECT_EQ(FindEnteringColumn(t), 2);
    EXPECT_FALSE(IsOptimal(t));

    SetRow(t, 4, {0, -1, -3, 0, 0, -2, 0, 0, 0, 0});
    EXPECT_EQ(FindEnteringColumn(t), -1);
    EXPECT_TRUE(IsOptimal(t));

    t.At(4, 7) = 1e-300;  // no tolerance: the tiniest positive value counts
    EXPECT_FALSE(IsOptimal(t));
    EXPECT_EQ(FindEnteringColumn(t), 7);
}

TEST(SimplexEngine, ArtificialColumnsNeverEnter) {
    Tableau t = Small();
    SetRow(t, 4, {5, -1, 0, 0, 0, 0, 0, -2, 400000, 400000});
    t.At(1, 8) = 1.0;
    EXPECT_TRUE(IsOptimal(t));
    EXPECT_TRUE(IsBounded(t));
    EXPECT_EQ(FindEnteringColumn(t), -1);
    int64_t pivots = -1;
    EXPECT_EQ(Solve(t, kDefaultPivotLimit, &pivots), SolveOutcome::Optimal);
    EXPECT_EQ(pivots, 0);
}

TEST(SimplexEngine, LeavingRowHasTheSmallestRatioLowestRowFirst) {
    Tableau t = Small();
    t.At(1, 0) = 0.0;
    t.At(1, 3) = 0.0;  // zero entry: never leaves, though its rhs is 0
    t.At(2, 0) = 4.0;
    t.At(2, 3) = 2.0;  // ratio 2
    t.At(3, 0) = 6.0;
    t.At(3, 3) = 3.0;  // ratio 2, later row
    EXPECT_EQ(FindLeavingRow(t, 3), 2);

    t.At(1, 3) = -5.0;  // negative entry: never leaves
    EXPECT_EQ(FindLeavingRow(t, 3), 2);
    t.At(3, 0) = 5.0;  // now strictly smaller
    EXPECT_EQ(FindLeavingRow(t, 3), 3);

    t.At(4, 3) = 1.0;
    t.At(4, 0) = 0.0;  // row Z is never a candidate
    t.At(2, 3) = 0.0;
    t.At(3, 3) = 0.0;
    EXPECT_EQ(FindLeavingRow(t, 3), -1);
}

TEST(SimplexEngine, PivotDividesEliminatesAndCleans) {
    Tableau t = Small();
    SetRow(t, 1, {2, 2, 4, 2e-11, -0.0, 0, 0, 0, 0, 1});
    SetRow(t, 2, {1, 1, 2.00000000001, 5, 1e-10, -0.0, 3, 0, 1, 0});
    SetRow(t, 3, {1e-12, 0, -0.0, 1e-11, 0, 0, 7, 0, 0, 0});
    SetRow(t, 4, {9, 3, 1, 0, 0, 0, 0, 0, 0, 0});
    t.basis = {0, 9, 8, 5, 0};
    Pivot(t, 1, 1);

    // The pivot row is divided and keeps its small values.
    EXPECT_EQ(t.At(1, 0), 1.0);
    EXPECT_EQ(t.At(1, 1), 1.0);
    EXPECT_EQ(t.At(1, 2), 2.0);
    EXPECT_EQ(t.At(1, 3), 1e-11);
    EXPECT_EQ(t.At(1, 9), 0.5);
    EXPECT_EQ(t.basis[1], 1);

    // Row 2 (f = 1): differences below 1e-10 become +0.0, exactly 1e-10 stays.
    EXPECT_EQ(t.At(2, 0), 0.0);
    EXPECT_EQ(t.At(2, 1), 0.0);
    EXPECT_EQ(t.At(2, 2), 0.0);  // 2.00000000001 - 2 is about 1e-11
    EXPECT_EQ(t.At(2, 3), 5.0 - 1e-11);
    EXPECT_EQ(t.At(2, 4), 1e-10);
    EXPECT_FALSE(std::signbit(t.At(2, 5)));
    EXPECT_EQ(t.At(2, 9), -0.5);

    // Row 3 has f = 0, yet its small values and -0.0 are cleaned too.
    EXPECT_EQ(t.At(3, 0), 0.0);
    EXPECT_EQ(t.At(3, 3), 0.0);
    EXPECT_FALSE(std::signbit(t.At(3, 2)));
    EXPECT_EQ(t.At(3, 6), 7.0);

    // Row Z is eliminated like a constraint row; row 0 is left alone.
    EXPECT_EQ(t.At(4, 0), 6.0);
    EXPECT_EQ(t.At(4, 1), 0.0);
    EXPECT_EQ(t.At(4, 2), -5.0);
    for (int32_t c = 0; c < t.Cols(); ++c)
        EXPECT_EQ(t.At(0, c), 0.0);
}

TEST(SimplexEngine, EveryImprovingColumnIsTestedForBoundedness) {
    Tableau t = Small();
    SetRow(t, 1, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0});
    SetRow(t, 2, {1, 1, -1, 0, 0, 0, 0, 0, 0, 0});
    SetRow(t, 4, {0, 5, 1, 0, 0, 0, 0, 0, 0, 0});
    // Column 1 would enter and has a ratio; column 2 improves too and has no
    // positive entry, so the problem is unbounded before any pivot.
    EXPECT_FALSE(IsBounded(t));
    int64_t pivots = -1;
    EXPECT_EQ(Solve(t, kDefaultPivotLimit, &pivots), SolveOutcome::Unbounded);
    EXPECT_EQ(pivots, 0);

    t.At(1, 2) = 1e-300;
    EXPECT_TRUE(IsBounded(t));
}

TEST(SimplexEngine, BoundednessLooksAtEveryColumnBlock) {
    // More columns than one block of the scan; the unbounded column is the last examined.
    Tableau t(5, 700);
    for (int32_t j = 1; j <= 697; ++j) {
        t.At(4, j) = 1.0;
        t.At(1 + j % 3, j) = 1.0;
    }
    EXPECT_TRUE(IsBounded(t));
    t.At(1 + 697 % 3, 697) = 0.0;
    EXPECT_FALSE(IsBounded(t));
}

TEST(SimplexEngine, AnOverflowingPivotEndsTheSolve) {
    Tableau t = Small();
    SetRow(t, 1, {0, 1e-300, 1e10, 0, 0, 0, 0, 0, 0, 1});
    SetRow(t, 4, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0});
    Tableau copy = t;
    EXPECT_FALSE(Pivot(copy, 1, 1));  // 1e10 / 1e-300 is infinite

    int64_t pivots = 0;
    EXPECT_EQ(Solve(t, kDefaultPivotLimit, &pivots), SolveOutcome::NotFinite);
    EXPECT_EQ(pivots, 1);

    Tableau sane = Small();
    SetRow(sane, 1, {1, 2, 4, 0, 0, 0, 0, 0, 0, 1});
    EXPECT_TRUE(Pivot(sane, 1, 1));
}

// Beale's example: Dantzig's rule with the lowest-row tie-break returns to the
// starting basis after six degenerate pivots and would go round for ever.
Tableau BealeCycle() {
    Tableau t = Small();
    //           rhs  x1 x2 x3  x4     x5   x6    x7  aR aB
    SetRow(t, 1, {0, 1, 0, 0, 0.25, -8, -1, 9, 0, 0});
    SetRow(t, 2, {0, 0, 1, 0, 0.5, -12, -0.5, 3, 0, 0});
    SetRow(t, 3, {1, 0, 0, 1, 0, 0, 1, 0, 0, 0});
    SetRow(t, 4, {0, 0, 0, 0, 0.75, -20, 0.5, -6, 0, 0});
    t.basis = {0, 1, 2, 3, 0};
    return t;
}

TEST(SimplexEngine, PivotLimitEndsACyclingRun) {
    Tableau t = BealeCycle();
    int64_t pivots = 0;
    EXPECT_EQ(Solve(t, 6, &pivots), SolveOutcome::PivotLimit);
    EXPECT_EQ(pivots, 6);
    EXPECT_EQ(t.basis[1], 1);  // back where it started
    EXPECT_EQ(t.basis[2], 2);
    EXPECT_EQ(t.basis[3], 3);

    Tableau again = BealeCycle();
    EXPECT_EQ(Solve(again, kDefaultPivotLimit, &pivots), SolveOutcome::PivotLimit);
    EXPECT_EQ(pivots, kDefaultPivotLimit);
}

TEST(SimplexEngine, PivotLimitReachedInTheGoCommand) {
    const WorksheetTable sheet = testing::MakeSheet({{"1", "2", "3"}, {"3", "2", "1"}});
    SolutionRecord record;
    testing::RecordingPresenter presenter;
    GoResult result = RunGo("1", sheet, record, presenter, 2);
    EXPECT_EQ(result.outcome, GoOutcome::PivotLimit);
    EXPECT_EQ(result.message, kMsgPivotLimit);
    EXPECT_EQ(result.solvePivots, 2);
    EXPECT_TRUE(presenter.shown.empty());

    // Three pivots reach the optimum: a limit of three is enough.
    result = RunGo("1", sheet, record, presenter, 3);
    EXPECT_EQ(result.outcome, GoOutcome::Done);
    EXPECT_EQ(presenter.shown.size(), 1u);
}

}  // namespace
}  // namespace korvel
