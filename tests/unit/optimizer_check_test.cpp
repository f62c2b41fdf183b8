// The check every basis passes before it is shown, and the noise floor of a
// perfect hedge's deviation.
#include "core/optimizer/DataScale.h"
#include "core/optimizer/DisplayFigures.h"
#include "core/optimizer/GoCommand.h"
#include "core/optimizer/PortfolioCheck.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

using testing::MakeSheet;
using testing::RecordingPresenter;

// Half of 1, 2, 3 and half of 3, 2, 1: average 2, deviation 0.
PortfolioClaim MirroredHalves() {
    PortfolioClaim claim;
    claim.shares = {{0.5, {1, 2, 3}}, {0.5, {3, 2, 1}}};
    claim.averageReturn = 2.0;
    claim.lineDeviation = 0.0;
    return claim;
}

TEST(PortfolioCheck, EachWayAClaimCanFailIsCaught) {
    EXPECT_EQ(CheckPortfolio(MirroredHalves(), 1.5), PortfolioFault::None);

    PortfolioClaim claim = MirroredHalves();
    claim.shares[0].weight = 1.2;
    claim.shares[1].weight = -0.2;
    EXPECT_EQ(CheckPortfolio(claim, 1.5), PortfolioFault::NegativeWeight);

    claim = MirroredHalves();
    claim.shares[1].weight = 0.4443;
    EXPECT_EQ(CheckPortfolio(claim, 1.5), PortfolioFault::WeightsDoNotSumToOne);

    claim = MirroredHalves();
    claim.returnArtificial = 0.25;
    EXPECT_EQ(CheckPortfolio(claim, 1.5), PortfolioFault::ArtificialNotZero);

    EXPECT_EQ(CheckPortfolio(MirroredHalves(), 2.5), PortfolioFault::BelowMinReturn);

    claim = MirroredHalves();
    claim.averageReturn = 2.2;
    EXPECT_EQ(CheckPortfolio(claim, 1.5), PortfolioFault::AverageReturnDiffers);

    claim = MirroredHalves();
    claim.lineDeviation = -2268600488.5334;
    EXPECT_EQ(CheckPortfolio(claim, 1.5), PortfolioFault::LineDeviationDiffers);

    claim = MirroredHalves();
    claim.shares[0].returns[1] = NAN;
    EXPECT_EQ(CheckPortfolio(claim, 1.5), PortfolioFault::NotFinite);
}

TEST(PortfolioCheck, SlackFollowsTheDataAndTheSolversNoise) {
    // A tenth of a millionth of the largest number is arithmetic, not a fault.
    PortfolioClaim claim;
    claim.shares = {{1.0, {1e6, 2e6, 3e6}}};
    claim.averageReturn = 2e6 + 0.05;
    claim.lineDeviation = 2e6 / 3 - 0.05;
    EXPECT_EQ(CheckPortfolio(claim, 1e6), PortfolioFault::None);
    claim.lineDeviation = 2e6 / 3 - 0.5;
    EXPECT_EQ(CheckPortfolio(claim, 1e6), PortfolioFault::LineDeviationDiffers);
    EXPECT_EQ(CheckPortfolio(claim, 1e6, 1.0), PortfolioFault::None);
    // Returns near the largest double are recomputed without overflow.
    claim.shares = {{1.0, {1e308, 1e308, 1e308}}};
    claim.averageReturn = 1e308;
    claim.lineDeviation = 0.0;
    EXPECT_EQ(CheckPortfolio(claim, 1.0), PortfolioFault::None);
}

// A basis that does not hold against the cells is never shown: the walk ends
// with the message instead.
TEST(PortfolioCheck, AnUnsoundBasisIsNotShown) {
    const WorksheetTable built = MakeSheet({{"1", "2", "3"}, {"3", "2", "1"}});
    const WorksheetTable other = MakeSheet({{"1", "2", "3"}, {"3", "2", "9"}});
    Tableau t = MakeTableauFor(built);
    BuildTableau(t, built, 1.0);
    ASSERT_EQ(Solve(t), SolveOutcome::Optimal);
    SolutionRecord record;
    RecordingPresenter presenter;
    const EnumerationResult result = EnumerateSolutions(t, other, 1.0, record, presenter);
    EXPECT_EQ(result.outcome, EnumerationOutcome::Unsound);
    EXPECT_EQ(result.solutionsShown, 0);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST(DataScale, OnlyNumbersOutsideTheOrdinaryRangeAreScaledIntoTheUnitBand) {
    EXPECT_EQ(ScaleExponentFor(1000.0), 0);
    EXPECT_EQ(ScaleExponentFor(1.0 / 64.0), 0);
    EXPECT_EQ(ScaleExponentFor(3.5), 0);
    for (double largest : {1000.0000001, 1024.0, 28104.0, 1e8, 1.7e308, 0.0156, 1e-6, 1e-320, 4.9e-324}) {
        const int32_t e = ScaleExponentFor(largest);
        EXPECT_NE(e, 0) << largest;
        const double scaled = ScaledBy(largest, e);
        EXPECT_GT(scaled, 0.5) << largest;
        EXPECT_LE(scaled, 1.0) << largest;
        EXPECT_EQ(ScaledBy(scaled, -e), largest) << largest;  // exactly back
    }
}

// Shares that hedge perfectly: the deviation's noise of either sign shows 0,
// never 0.0001.
TEST(NoiseFloor, PerfectHedgesShowAZeroDeviation) {
    const struct {
        std::vector<std::vector<std::string>> returns;
        const char* minReturn;
    } cases[] = {
        {{{"446", "658", "-275"}, {"179", "-33", "900"}}, "112.5"},
        {{{"10.62", "10.38", "10.98", "9.66", "-5.22"}, {"-1.22", "-1.1", "-1.4", "-0.74", "6.7"}}, "1.275"},
    };
    for (const auto& c : cases) {
        SolutionRecord record;
        RecordingPresenter presenter;
        ASSERT_EQ(RunGo(c.minReturn, MakeSheet(c.returns), record, presenter).outcome, GoOutcome::Done);
        ASSERT_FALSE(presenter.shown.empty());
        EXPECT_EQ(presenter.shown[0].lineDeviation, 0.0) << c.minReturn;
        EXPECT_EQ(FormatG15(RoundUpToFourDecimals(presenter.shown[0].lineDeviation)), "0");
    }
    // The floor is far below any deviation a worksheet of that size shows.
    EXPECT_LT(ObjectiveNoiseFloor(1.0), 5e-8);
    EXPECT_LT(ObjectiveNoiseFloor(1000.0), 2e-5);
}

}  // namespace
}  // namespace korvel
