// Reported portfolios against their own data, beyond the worksheet's size too,
// and the clipboard text of a shown solution.
#include "optimizer/core/GoCommand.h"
#include "optimizer/core/PortfolioCheck.h"
#include "optimizer/core/SolutionText.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <random>

namespace korvel {
namespace {

SolutionRecord Holding(std::vector<std::pair<int32_t, float>> weights, double average, double deviation) {
    SolutionRecord record;
    record.shareCount = static_cast<int32_t>(weights.size());
    for (size_t i = 0; i < weights.size(); ++i) {
        record.shares[i].row = weights[i].first;
        record.shares[i].weight = weights[i].second;
    }
    record.averageReturn = average;
    record.lineDeviation = deviation;
    return record;
}

TEST(PortfolioCheck, CatchesEveryFigureTheWeightsDoNotGive) {
    const WorksheetTable sheet = testing::MakeSheet({{"1", "2", "3"}, {"3", "2", "1"}});
    std::string fault;
    EXPECT_TRUE(CheckPortfolio(sheet, 2.0, Holding({{1, 0.5f}, {2, 0.5f}}, 2.0, 0.0), fault)) << fault;
    EXPECT_TRUE(CheckPortfolio(sheet, 1.0, Holding({{1, 1.0f}}, 2.0, 2.0 / 3.0), fault)) << fault;

    EXPECT_FALSE(CheckPortfolio(sheet, 1.0, Holding({{1, 1.0f}}, 2.0, -251.0), fault));
    EXPECT_NE(fault.find("Line Deviat."), std::string::npos) << fault;
    EXPECT_FALSE(CheckPortfolio(sheet, 1.0, Holding({{1, 0.9f}}, 2.0, 0.6), fault));
    EXPECT_NE(fault.find("sum to 0.9"), std::string::npos) << fault;
    EXPECT_FALSE(CheckPortfolio(sheet, 1.0, Holding({{1, 1.5f}, {2, -0.5f}}, 2.0, 1.0), fault));
    EXPECT_NE(fault.find("negative"), std::string::npos) << fault;
    EXPECT_FALSE(CheckPortfolio(sheet, 2.5, Holding({{1, 0.5f}, {2, 0.5f}}, 2.5, 0.0), fault));
    EXPECT_NE(fault.find("Avg.Return"), std::string::npos) << fault;
}

// Beyond the worksheet's size the pivots' noise once reached the figures: a
// 2000-share, 60-period model reported a deviation of -251.
TEST(PortfolioCheck, LargeModelsGiveSoundPortfolios) {
    std::mt19937 random(1);
    std::normal_distribution<double> unit(0.0, 1.0);
    for (const auto [shares, periods, minReturn] : {std::tuple{2000, 60, "1"}, std::tuple{2000, 60, "3"}}) {
        WorksheetTable sheet(shares + 1, periods + 2);
        for (int32_t i = 1; i <= shares; ++i) {
            const double mean = 1.0 + 1.5 * unit(random);
            const double spread = 0.5 + 7.5 * std::uniform_real_distribution<double>(0, 1)(random);
            for (int32_t p = 1; p <= periods; ++p) {
                char text[32];
                std::snprintf(text, sizeof text, "%.2f", mean + spread * unit(random));
                sheet.SetTextMatrix(i, p + 1, text);
            }
        }
        testing::RecordingPresenter presenter;
        SolutionRecord record;
        const GoResult result = RunGo(minReturn, sheet, record, presenter);
        ASSERT_EQ(result.outcome, GoOutcome::Done) << result.message;
        ASSERT_FALSE(presenter.shown.empty());
        for (const SolutionRecord& shown : presenter.shown) {
            std::string fault;
            EXPECT_TRUE(CheckPortfolio(sheet, std::atof(minReturn), shown, fault))
                << minReturn << " #" << (&shown - presenter.shown.data()) << " of " << presenter.shown.size() << ": " << fault;
        }
    }
}

TEST(SolutionText, FiguresAsShownAndNamesInOneCell) {
    SolutionRecord record = Holding({{3, 0.5f}, {7, 0.123456f}}, 0.12341, -0.12349);
    record.shares[0].name = "Plain";
    record.shares[1].name = "Tab\there \"q\"";
    EXPECT_EQ(SolutionAsTabText(record),
              "Avg.Return\t0.1235\nLine Deviat.\t-0.1234\nPlain\t0.5000\t3\n\"Tab\there \"\"q\"\"\"\t0.1235\t7\n");
}

}  // namespace
}  // namespace korvel
