// Returns of any magnitude: every portfolio shown is feasible and optimal, and
// "No solution" appears only when no portfolio reaches the Min Return.
#include "core/optimizer/GoCommand.h"
#include "deviation_reference.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace korvel {
namespace {

using testing::MakeSheet;
using testing::RecordingPresenter;

std::string Text(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

struct Sheet {
    std::vector<std::vector<double>> returns;
    double minReturn = 0;
    WorksheetTable Table() const {
        std::vector<std::vector<std::string>> texts;
        for (const auto& share : returns) {
            texts.emplace_back();
            for (double r : share)
                texts.back().push_back(Text(r));
        }
        return MakeSheet(texts);
    }
    double Largest() const {
        double largest = minReturn;
        for (const auto& share : returns)
            for (double r : share)
                largest = std::fmax(largest, std::fabs(r));
        return largest;
    }
};

// Returns with three significant digits around a share mean of 1 to 3 units
// of `scale`, and a Min Return between the lowest and the highest mean (or,
// one time in eight, above every mean).
Sheet RandomSheet(std::mt19937& random, double scale) {
    std::uniform_int_distribution<int> shares(1, 5), periods(3, 6);
    std::uniform_real_distribution<double> mean(1.0, 3.0), noise(-2.0, 2.0), where(0.05, 0.95);
    Sheet sheet;
    const int n = shares(random), m = periods(random);
    double lowMean = INFINITY, highMean = -INFINITY;
    for (int i = 0; i < n; ++i) {
        const double centre = mean(random);
        std::vector<double> share;
        double sum = 0;
        for (int p = 0; p < m; ++p) {
            const double value = std::round((centre + noise(random)) * 100.0) / 100.0 * scale;
            share.push_back(value);
            sum += value;
        }
        lowMean = std::fmin(lowMean, sum / m);
        highMean = std::fmax(highMean, sum / m);
        sheet.returns.push_back(share);
    }
    const bool above = random() % 8 == 0;
    sheet.minReturn = above ? highMean * 1.25 : lowMean + where(random) * (highMean - lowMean);
    if (!(sheet.minReturn > 0))
        sheet.minReturn = 0.01 * scale;
    return sheet;
}

// Everything shown must hold against the worksheet's own numbers.
void ExpectSound(const Sheet& sheet, const GoResult& result, const std::vector<SolutionRecord>& shown,
                 const std::string& what) {
    const auto best = testing::BestMadPortfolio(sheet.returns, sheet.minReturn);
    if (!best) {
        EXPECT_EQ(result.outcome, GoOutcome::NoSolution) << what;
        EXPECT_TRUE(shown.empty()) << what;
        return;
    }
    ASSERT_EQ(result.outcome, GoOutcome::Done) << what << ": " << result.message;
    ASSERT_FALSE(shown.empty()) << what;
    const double scale = sheet.Largest();
    const double expected = static_cast<double>(best->lineDeviation);
    for (const SolutionRecord& record : shown) {
        EXPECT_NEAR(record.lineDeviation, expected, 1e-7 * expected + 1e-8 * scale) << what;
        double total = 0, average = 0;
        for (int32_t k = 0; k < record.shareCount; ++k) {
            const SolutionShare& share = record.shares[static_cast<size_t>(k)];
            EXPECT_GE(share.weight, 0.0f) << what;
            total += share.weight;
            double mean = 0;
            for (double r : sheet.returns[static_cast<size_t>(share.row - 1)])
                mean += r;
            average += share.weight * mean / static_cast<double>(sheet.returns[0].size());
        }
        EXPECT_NEAR(total, 1.0, 1e-6) << what;
        EXPECT_GE(record.averageReturn, sheet.minReturn * (1 - 1e-9)) << what;
        EXPECT_NEAR(record.averageReturn, average, 1e-6 * scale) << what;
    }
}

Sheet FromTexts(const std::vector<std::vector<std::string>>& texts, double minReturn) {
    Sheet sheet;
    for (const auto& share : texts) {
        sheet.returns.emplace_back();
        for (const std::string& text : share)
            sheet.returns.back().push_back(std::strtod(text.c_str(), nullptr));
    }
    sheet.minReturn = minReturn;
    return sheet;
}

void ExpectSoundRun(const Sheet& sheet, const std::string& what) {
    SolutionRecord record;
    RecordingPresenter presenter;
    const GoResult result = RunGo(Text(sheet.minReturn), sheet.Table(), record, presenter);
    ExpectSound(sheet, result, presenter.shown, what);
}

// Worksheets on which a big M of 200000 was too small: a weight above 1 with
// a deviation of -47195.9 (the optimum holds several shares at deviation 0),
// weights summing to 0.913, and "No solution !" where an optimum exists.
TEST(OptimizerScale, ReturnsInTheThousandsAndMillionsGiveTheTrueOptimum) {
    ExpectSoundRun(FromTexts({{"5940", "8908", "24118"},
                              {"5693", "17957", "9393"},
                              {"5132", "29372", "11930"},
                              {"11632", "18371", "7749"},
                              {"24199", "22782", "6327"},
                              {"18382", "18726", "24605"}},
                             15178),
                   "six shares in the tens of thousands");
    ExpectSoundRun(FromTexts({{"3177", "8943", "9809", "6592"},
                              {"5491", "8289", "9648", "2080"},
                              {"3581", "3816", "3274", "6079"},
                              {"8128", "3554", "2118", "9467"}},
                             5285),
                   "four shares in the thousands");
    ExpectSoundRun(FromTexts({{"15267655", "12890514", "17077367", "16690519"},
                              {"13776295", "14882678", "15088222", "10981357"},
                              {"6751136", "6854924", "5224432", "11360092"},
                              {"9608212", "5079314", "10576927", "6172488"}},
                             13607904),
                   "returns near 1e7");
}

// Returns near 1e-320 carry only a few bits, but a power of two moves them
// into range without losing one.
TEST(OptimizerScale, SubnormalReturnsAreSolvedNotOverflowed) {
    const Sheet sheet = FromTexts({{"1e-320", "2e-320", "3e-320"}, {"3e-320", "2e-320", "1e-320"}}, 1e-320);
    SolutionRecord record;
    RecordingPresenter presenter;
    const GoResult result = RunGo("1e-320", sheet.Table(), record, presenter);
    ASSERT_EQ(result.outcome, GoOutcome::Done) << result.message;
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].shareCount, 2);
    EXPECT_EQ(presenter.shown[0].shares[0].weight, 0.5f);
    EXPECT_NEAR(presenter.shown[0].averageReturn, 2e-320, 1e-322);
    EXPECT_EQ(presenter.shown[0].lineDeviation, 0.0);

    // Tiny returns against an ordinary Min Return: truly no portfolio.
    const GoResult unreachable = RunGo("1", sheet.Table(), record, presenter);
    EXPECT_EQ(unreachable.outcome, GoOutcome::NoSolution);
    EXPECT_EQ(unreachable.message, "No solution");
}

// Shares of very different sizes side by side: the figures shown are the
// optimum's (within 1e-9 of it, never below it), or the worksheet is refused
// for its range; a deviation of 0 or a "No solution !" is never shown where the
// optimum is neither.
TEST(OptimizerScale, MixedMagnitudesGiveTheOptimumOrARefusal) {
    const std::vector<std::vector<std::string>> ordinary = {{"1.2", "-0.8", "2.5", "0.4", "1.6", "-0.2", "0.9", "2.1"},
                                                            {"0.3", "1.9", "-1.1", "2.2", "0.8", "1.4", "-0.6", "1.1"},
                                                            {"2.8", "0.6", "1.4", "-0.9", "2.3", "0.1", "1.8", "-0.4"},
                                                            {"-0.5", "2.1", "0.9", "1.7", "-1.2", "2.6", "0.4", "1.3"},
                                                            {"1.1", "1.3", "0.2", "2.6", "0.5", "1.9", "-0.3", "0.7"},
                                                            {"0.7", "-1.4", "3.1", "1.0", "2.2", "-0.7", "1.5", "0.6"}};
    const auto with = [](std::vector<std::vector<std::string>> rows, std::vector<std::string> extra) {
        rows.push_back(std::move(extra));
        return rows;
    };
    std::vector<std::vector<std::string>> tiny;
    for (const auto& share : ordinary) {
        tiny.emplace_back();
        for (const std::string& r : share)
            tiny.back().push_back(r + "e-8");
    }
    const struct {
        const char* what;
        std::vector<std::vector<std::string>> returns;
        double minReturn;
    } cases[] = {
        {"one share alternating 1e8", with(ordinary, {"1e8", "-1e8", "1e8", "-1e8", "1e8", "-1e8", "1e8", "-1e8"}),
         0.5},
        {"every share near 1e-8", tiny, 0.5e-8},
        {"near 1e-8 beside one 1e8", with(tiny, {"1e8", "-1e8", "1e8", "-1e8", "1e8", "-1e8", "1e8", "-1e8"}), 0.5e-8},
        {"one share near 1e-9",
         with(ordinary, {"1e-9", "2e-9", "1.5e-9", "1.2e-9", "1.8e-9", "1.1e-9", "1.9e-9", "1.4e-9"}), 1e-9},
        {"one share near the largest double",
         with(ordinary,
              {"1.7e308", "1.75e308", "1.79e308", "1.72e308", "1.78e308", "1.71e308", "1.76e308", "1.73e308"}),
         0.5},
    };
    for (const auto& c : cases) {
        const Sheet sheet = FromTexts(c.returns, c.minReturn);
        SolutionRecord record;
        RecordingPresenter presenter;
        const GoResult result = RunGo(Text(c.minReturn), sheet.Table(), record, presenter);
        if (result.outcome != GoOutcome::Done) {
            EXPECT_EQ(result.message, kMsgRangeTooWide) << c.what;
            EXPECT_TRUE(presenter.shown.empty()) << c.what;
            continue;
        }
        const auto best = testing::BestMadPortfolio(sheet.returns, sheet.minReturn);
        ASSERT_TRUE(best) << c.what;
        const double optimum = static_cast<double>(best->lineDeviation);
        ASSERT_FALSE(presenter.shown.empty()) << c.what;
        for (const SolutionRecord& shown : presenter.shown) {
            EXPECT_GE(shown.lineDeviation, optimum * (1 - 1e-12)) << c.what;
            EXPECT_LE(shown.lineDeviation, optimum * (1 + 1e-9)) << c.what;
            EXPECT_GE(shown.averageReturn, c.minReturn * (1 - 1e-12)) << c.what;
        }
    }
}

TEST(OptimizerScale, EveryScaleFromMicroToHundredMillionsAgreesWithAnIndependentOptimum) {
    std::mt19937 random(2024);
    for (int exponent = -6; exponent <= 8; ++exponent) {
        const double scale = std::pow(10.0, exponent);
        for (int run = 0; run < 60; ++run) {
            ExpectSoundRun(RandomSheet(random, scale),
                           "scale 1e" + std::to_string(exponent) + " run " + std::to_string(run));
        }
    }
}

}  // namespace
}  // namespace korvel
