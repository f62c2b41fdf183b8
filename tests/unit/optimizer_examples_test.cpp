// The worked examples of the model, the engine and the enumeration, end to end.
#include "core/optimizer/GoCommand.h"
#include "core/optimizer/PortfolioCheck.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using testing::MakeSheet;
using testing::RecordingPresenter;

WorksheetTable TwoMirroredShares() {
    return MakeSheet({{"1", "2", "3"}, {"3", "2", "1"}}, {"Up", "Down"});
}

TEST(OptimizerExamples, ThreePivotsWithTheirEnteringAndLeavingSequence) {
    const WorksheetTable sheet = TwoMirroredShares();
    Tableau t = MakeTableauFor(sheet);
    ASSERT_EQ(t.Rows(), 7);
    ASSERT_EQ(t.Cols(), 12);
    BuildTableau(t, sheet, 1.0);
    EXPECT_EQ(t.At(6, 0), 200000.0 * 2.0);

    EXPECT_EQ(t.At(6, 1), 600000.0);
    EXPECT_EQ(t.At(6, 2), 600000.0);
    ASSERT_EQ(FindEnteringColumn(t), 1);
    ASSERT_EQ(FindLeavingRow(t, 1), 5);
    Pivot(t, 1, 5);

    EXPECT_FALSE(IsOptimal(t));
    EXPECT_EQ(t.At(6, 2), 1200000.0);
    ASSERT_EQ(FindEnteringColumn(t), 2);
    ASSERT_EQ(FindLeavingRow(t, 2), 2);
    Pivot(t, 2, 2);

    EXPECT_EQ(t.At(6, 3), 100000.0);
    ASSERT_EQ(FindEnteringColumn(t), 3);
    ASSERT_EQ(FindLeavingRow(t, 3), 1);
    Pivot(t, 3, 1);
    EXPECT_TRUE(IsOptimal(t));

    const int32_t basis[] = {3, 2, 4, 6, 1};
    const double values[] = {1.0, 0.5, 0.0, 0.0, 0.5};
    for (int32_t r = 1; r <= 5; ++r) {
        EXPECT_EQ(t.basis[r], basis[r - 1]) << "row " << r;
        EXPECT_EQ(t.At(r, 0), values[r - 1]) << "row " << r;
    }
    EXPECT_EQ(t.At(6, 0), 0.0);
}

TEST(OptimizerExamples, SolveMakesTheSameThreePivots) {
    const WorksheetTable sheet = TwoMirroredShares();
    Tableau t = MakeTableauFor(sheet);
    BuildTableau(t, sheet, 1.0);
    int64_t pivots = -1;
    EXPECT_EQ(Solve(t, kDefaultPivotLimit, &pivots), SolveOutcome::Optimal);
    EXPECT_EQ(pivots, 3);
    EXPECT_EQ(t.basis[1], 3);
    EXPECT_EQ(t.basis[5], 1);
}

TEST(OptimizerExamples, MirroredSharesGiveOneSolutionOfHalfAndHalf) {
    const WorksheetTable sheet = TwoMirroredShares();
    SolutionRecord record;
    RecordingPresenter presenter;
    const GoResult result = RunGo("1", sheet, record, presenter);
    EXPECT_EQ(result.outcome, GoOutcome::Done);
    EXPECT_EQ(result.message, "");
    ASSERT_EQ(presenter.shown.size(), 1u);
    const SolutionRecord& shown = presenter.shown[0];
    ASSERT_EQ(shown.shareCount, 2);
    // Rows in which the shares are basic: Down in row 2, Up in row 5.
    EXPECT_EQ(shown.shares[0].name, "Down");
    EXPECT_EQ(shown.shares[0].row, 2);
    EXPECT_EQ(shown.shares[0].weight, 0.5f);
    EXPECT_EQ(shown.shares[1].name, "Up");
    EXPECT_EQ(shown.shares[1].row, 1);
    EXPECT_EQ(shown.shares[1].weight, 0.5f);
    EXPECT_EQ(shown.averageReturn, 2.0);  // Min Return 1 plus the surplus 1
    EXPECT_EQ(shown.lineDeviation, 0.0);
    EXPECT_EQ(result.walkPivots, 0);
}

TEST(OptimizerExamples, MinReturnAboveEveryMeanHasNoSolution) {
    const WorksheetTable sheet = TwoMirroredShares();
    SolutionRecord record;
    RecordingPresenter presenter;
    const GoResult result = RunGo("2.5", sheet, record, presenter);
    EXPECT_EQ(result.outcome, GoOutcome::NoSolution);
    EXPECT_EQ(result.message, "No solution");
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_FALSE(HasErrorCaption(result));
}

TEST(OptimizerExamples, SingleShareHoldsTheWholeBudget) {
    const WorksheetTable sheet = MakeSheet({{"1", "2", "3"}});
    SolutionRecord record;
    RecordingPresenter presenter;
    const GoResult result = RunGo("1", sheet, record, presenter);
    EXPECT_EQ(result.outcome, GoOutcome::Done);
    ASSERT_EQ(presenter.shown.size(), 1u);
    const SolutionRecord& shown = presenter.shown[0];
    ASSERT_EQ(shown.shareCount, 1);
    EXPECT_EQ(shown.shares[0].weight, 1.0f);
    EXPECT_EQ(shown.shares[0].row, 1);
    EXPECT_EQ(shown.averageReturn, 2.0);
    EXPECT_DOUBLE_EQ(shown.lineDeviation, 2.0 / 3.0);
}

TEST(OptimizerExamples, StartingTableauAlreadyOptimalLeavesTheArtificialsBasic) {
    const WorksheetTable sheet = MakeSheet({{"-3", "-2", "-1"}});
    Tableau t = MakeTableauFor(sheet);
    BuildTableau(t, sheet, 1.0);
    int64_t pivots = -1;
    EXPECT_EQ(Solve(t, kDefaultPivotLimit, &pivots), SolveOutcome::Optimal);
    EXPECT_EQ(pivots, 0);
    EXPECT_EQ(t.basis[1], t.Cols() - 1);
    EXPECT_EQ(t.basis[2], t.Cols() - 2);

    SolutionRecord record;
    RecordingPresenter presenter;
    EXPECT_EQ(RunGo("1", sheet, record, presenter).outcome, GoOutcome::NoSolution);
    EXPECT_TRUE(presenter.shown.empty());
}

// The dialog may keep the tableau's figures where they round alike; what is
// printed whole must be the solver's weights' own, to the last digit.
TEST(OptimizerExamples, TheFiguresPrintedWholeAreTheWeightsOwn) {
    const WorksheetTable sheet = MakeSheet({{"4.86", "5.35", "1.2", "-1.29", "-2.28", "1.09", "-2.07", "-3.31"},
                                            {"1.6", "1.4", "2.64", "-1.74", "1.02", "0.81", "-3.52", "2.61"},
                                            {"1.96", "8.17", "1.61", "0.57", "4.7", "1.6", "3.73", "-0.1"},
                                            {"1.65", "4.07", "3.09", "1.39", "-2.25", "2.34", "1.23", "3.16"},
                                            {"1.65", "4.26", "0.85", "1.61", "3.0", "-2.26", "-0.2", "-0.5"},
                                            {"6.94", "0.72", "2.96", "2.86", "0.16", "-3.65", "3.89", "-0.22"}});
    SolutionRecord record;
    RecordingPresenter presenter;
    ASSERT_EQ(RunGo("0.5", sheet, record, presenter).outcome, GoOutcome::Done);
    ASSERT_FALSE(presenter.shown.empty());
    for (const SolutionRecord& shown : presenter.shown) {
        PortfolioClaim claim;
        for (int32_t k = 0; k < shown.shareCount; ++k) {
            HeldShare share;
            share.weight = shown.shares[static_cast<size_t>(k)].solverWeight;
            for (int32_t p = 1; p <= 8; ++p)
                share.returns.push_back(std::stod(sheet.TextMatrix(shown.shares[static_cast<size_t>(k)].row, p + 1)));
            claim.shares.push_back(share);
        }
        const PortfolioFigures figures = RecomputeFigures(claim);
        EXPECT_EQ(shown.ownAverageReturn, static_cast<double>(figures.averageReturn));
        EXPECT_EQ(shown.ownLineDeviation, figures.LineDeviation());
    }
}

}  // namespace
}  // namespace korvel
