// Reported portfolios against their own data, beyond the worksheet's size too,
// and the clipboard text of a shown solution.
#include "core/optimizer/GoCommand.h"
#include "core/optimizer/SolutionText.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// What a shown record's weights give on the worksheet's own returns: its
// average return and line deviation, worked out apart from the optimizer.
struct Recomputed {
    double weightSum = 0.0;
    double lowestWeight = 0.0;
    double averageReturn = 0.0;
    double lineDeviation = 0.0;
};

Recomputed Recompute(const WorksheetTable& sheet, const SolutionRecord& record) {
    const int32_t periods = sheet.Cols() - 2;
    std::vector<double> portfolio(static_cast<size_t>(periods), 0.0);
    Recomputed r;
    for (int32_t s = 0; s < record.shareCount; ++s) {
        const SolutionShare& share = record.shares[static_cast<size_t>(s)];
        r.weightSum += share.weight;
        r.lowestWeight = std::min(r.lowestWeight, static_cast<double>(share.weight));
        for (int32_t p = 0; p < periods; ++p)
            portfolio[static_cast<size_t>(p)] += share.weight * std::atof(sheet.TextMatrix(share.row, p + 2).c_str());
    }
    for (double value : portfolio)
        r.averageReturn += value / periods;
    for (double value : portfolio)
        r.lineDeviation += std::fabs(value - r.averageReturn) / periods;
    return r;
}

// Beyond the worksheet's size the pivots' noise once reached the figures: a
// 2000-share, 60-period model reported a deviation of -251.
TEST(PortfolioCheck, LargeModelsGiveSoundPortfolios) {
    std::mt19937 random(1);
    std::normal_distribution<double> unit(0.0, 1.0);
    for (const auto& [shares, periods, minReturn] : {std::tuple{2000, 60, "1"}, std::tuple{2000, 60, "3"}}) {
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
            // The weights are single precision, so the figures they give agree to about 1e-6.
            const Recomputed r = Recompute(sheet, shown);
            const std::string where = std::string(minReturn) + " #" + std::to_string(&shown - presenter.shown.data());
            EXPECT_NEAR(r.weightSum, 1.0, 1e-5) << where;
            EXPECT_GE(r.lowestWeight, 0.0) << where;
            EXPECT_GE(r.averageReturn, std::atof(minReturn) - 1e-5) << where;
            EXPECT_NEAR(r.averageReturn, shown.averageReturn, 1e-5) << where;
            EXPECT_NEAR(r.lineDeviation, shown.lineDeviation, 1e-5) << where;
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
