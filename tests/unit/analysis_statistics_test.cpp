#include "core/analysis/ReturnText.h"
#include "core/analysis/Statistics.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

using namespace korvel;

namespace {

using Texts = std::vector<std::string>;

AnalysisFigures Figures(const Texts& first, const Texts& second, int periods, int firstPart) {
    const AnalysisOutcome outcome = AnalyseTwoAssets(first, second, periods, firstPart);
    EXPECT_TRUE(std::holds_alternative<AnalysisFigures>(outcome));
    return std::holds_alternative<AnalysisFigures>(outcome) ? std::get<AnalysisFigures>(outcome) : AnalysisFigures{};
}

InvalidReturn Invalid(const Texts& first, const Texts& second, int periods) {
    const AnalysisOutcome outcome = AnalyseTwoAssets(first, second, periods, 50);
    EXPECT_TRUE(std::holds_alternative<InvalidReturn>(outcome));
    return std::holds_alternative<InvalidReturn>(outcome) ? std::get<InvalidReturn>(outcome) : InvalidReturn{-1, -1};
}

std::string PrintfFixed4(double value) {
    std::vector<char> buffer(512);
    std::snprintf(buffer.data(), buffer.size(), "%.4f", value);
    return buffer.data();
}

}  // namespace

TEST(AnalysisFigures, OppositeAssetsHedgeEachOtherAtEqualParts) {
    const AnalysisFigures f = Figures({"1", "2", "3"}, {"3", "2", "1"}, 3, 50);
    EXPECT_EQ(f.correlation, "-1.0000");
    EXPECT_EQ(f.averageReturn, "2.0000");
    EXPECT_EQ(f.standardDeviation, "0.0000");
}

TEST(AnalysisFigures, DeviationIsThePopulationFigure) {
    // sqrt(2/3), not the sample figure 1.0000.
    const AnalysisFigures all = Figures({"1", "2", "3"}, {"3", "2", "1"}, 3, 100);
    EXPECT_EQ(all.averageReturn, "2.0000");
    EXPECT_EQ(all.standardDeviation, "0.8165");

    const AnalysisFigures none = Figures({"1", "2", "3"}, {"0", "0", "6"}, 3, 0);
    EXPECT_EQ(none.averageReturn, "2.0000");
    EXPECT_EQ(none.standardDeviation, "2.8284");  // sqrt(8)
}

TEST(AnalysisFigures, MixWeighsFirstByF) {
    // meanA 2, meanB 10, f 0.25: 0.75 * 10 + 0.25 * 2.
    const AnalysisFigures f = Figures({"1", "2", "3"}, {"10", "10", "10"}, 3, 25);
    EXPECT_EQ(f.averageReturn, "8.0000");
    // Only First varies: sqrt(0.25^2 * 2/3).
    EXPECT_EQ(f.standardDeviation, "0.2041");
}

TEST(AnalysisFigures, ConstantAssetHasNoCorrelation) {
    const AnalysisFigures f = Figures({"2", "2", "2"}, {"1", "2", "3"}, 3, 50);
    EXPECT_EQ(f.correlation, "n.a.");
    EXPECT_EQ(f.averageReturn, "2.0000");
    EXPECT_EQ(f.standardDeviation, "0.4082");

    EXPECT_EQ(Figures({"1", "2", "3"}, {"5", "5", "5"}, 3, 50).correlation, "n.a.");
    // Spreads so small that the denominator falls below 1e-10.
    EXPECT_EQ(Figures({"0", "1e-6", "0"}, {"0", "0", "1e-6"}, 3, 50).correlation, "n.a.");
    EXPECT_EQ(Figures({"0", "1e-4", "0"}, {"0", "1e-4", "0"}, 3, 50).correlation, "1.0000");
}

TEST(AnalysisFigures, PerfectHedgeRoundedBelowZeroShowsZeroDeviation) {
    // With these figures the variance of the mix comes out a hair below zero.
    const PairMoments m = ComputePairMoments(std::vector<double>{4.4, -1.1, -1.9}, std::vector<double>{-3.4, 2.1, 2.9});
    EXPECT_EQ(MixStandardDeviation(m, 0.5), 0.0);
    EXPECT_EQ(Figures({"4.4", "-1.1", "-1.9"}, {"-3.4", "2.1", "2.9"}, 3, 50).standardDeviation, "0.0000");
}

TEST(AnalysisFigures, OnlyThePeriodsInUseAreReadOrChecked) {
    const Texts first{"1", "2", "3", "oops", "100"};
    const Texts second{"3", "2", "1", "1,5", "-100"};
    const AnalysisFigures f = Figures(first, second, 3, 50);
    EXPECT_EQ(f.correlation, "-1.0000");
    EXPECT_EQ(f.standardDeviation, "0.0000");
    EXPECT_EQ(Invalid(first, second, 4).position, 4);
}

TEST(AnalysisFigures, PeriodsBeyondTheListsUseWhatTheyHold) {
    const AnalysisFigures f = Figures({"1", "2", "3"}, {"3", "2", "1"}, 12, 100);
    EXPECT_EQ(f.standardDeviation, "0.8165");
    const AnalysisFigures none = Figures({"1"}, {"1"}, 0, 50);
    EXPECT_EQ(none.averageReturn, "n.a.");
    EXPECT_EQ(none.standardDeviation, "n.a.");
    EXPECT_EQ(none.correlation, "n.a.");
}

TEST(AnalysisFigures, FirstInvalidTextIsFirstsBeforeSeconds) {
    const InvalidReturn inFirst = Invalid({"1", "x", "3"}, {"1", "2", "y"}, 3);
    EXPECT_EQ(inFirst.asset, 0);
    EXPECT_EQ(inFirst.position, 2);

    const InvalidReturn inSecond = Invalid({"1", "2", "3"}, {"1", "2", "0.5%"}, 3);
    EXPECT_EQ(inSecond.asset, 1);
    EXPECT_EQ(inSecond.position, 3);
}

TEST(AnalysisFigures, HugeReturnsNeitherOverflowNorShowNonsense) {
    const AnalysisFigures f = Figures({"1e200", "0", "0"}, {"1", "2", "3"}, 3, 50);
    // The average is finite and printed in full; the spreads overflow.
    EXPECT_EQ(f.averageReturn, PrintfFixed4(0.5 * 2 + 0.5 * (1e200 / 3)));
    EXPECT_GT(f.averageReturn.size(), 200u);
    // An overflowed figure is named as such, never "n.a.", which says that an
    // asset is constant.
    EXPECT_EQ(f.standardDeviation, "overflow");
    EXPECT_EQ(f.correlation, "overflow");

    // Even with none of it in First, First's overflowed spread spoils the
    // deviation rather than hiding behind a plausible 0.
    EXPECT_EQ(Figures({"1e200", "0", "0"}, {"1", "2", "3"}, 3, 0).standardDeviation, "overflow");

    // The average overflows too; a constant Second still makes the correlation "n.a.".
    const AnalysisFigures both = Figures({"1e308", "1e308", "0"}, {"5", "5", "5"}, 3, 100);
    EXPECT_EQ(both.averageReturn, "overflow");
    EXPECT_EQ(both.standardDeviation, "overflow");
    EXPECT_EQ(both.correlation, "n.a.");
}

TEST(ReturnText, BlanksAroundANumberAreIgnoredAndBlankIsZero) {
    EXPECT_EQ(ReadReturnText(""), 0.0);
    EXPECT_EQ(ReadReturnText("   "), 0.0);
    EXPECT_EQ(ReadReturnText(" 0.5 "), 0.5);
    EXPECT_EQ(ReadReturnText("\t-2.5e1\r\n"), -25.0);
    EXPECT_EQ(ReadReturnText("+.5"), 0.5);
    EXPECT_EQ(ReadReturnText("0x10"), 16.0);  // strtod reads hexadecimal too
}

TEST(ReturnText, AnythingLeftUnreadOrNotFiniteIsInvalid) {
    for (const char* text :
         {"0.5%", "1,5", "1 5", "abc", "1e", "--1", "inf", "-inf", "infinity", "nan", "NAN(1)", "1e999", "-1e999"})
        EXPECT_FALSE(ReadReturnText(text).has_value()) << text;
    EXPECT_FALSE(ReadReturnText(std::string("1\0"
                                            "2",
                                            3))
                     .has_value());
    EXPECT_EQ(ReadReturnText("1e-400"), 0.0);  // underflow is a number, if a small one
}

TEST(ReturnText, DecimalPointWhateverTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_ALL, name)) {
            switched = true;
            break;
        }
    if (!switched)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const std::optional<double> point = ReadReturnText("1.5");
    const std::optional<double> comma = ReadReturnText("1,5");
    const std::string formatted = FormatFixed4(1.5);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(point, 1.5);
    EXPECT_FALSE(comma.has_value());
    EXPECT_EQ(formatted, "1.5000");
}

TEST(FormatFixed4, MatchesPrintfForAnySize) {
    for (double value : {0.0, -0.0, 2.0, -1.0, 0.81649658, 0.00005, 0.00015, -0.00004, 123456.78915, 1e20, 1e200,
                         -1.7976931348623157e308})
        EXPECT_EQ(FormatFixed4(value), PrintfFixed4(value)) << value;
    EXPECT_EQ(FormatFixed4(1e308).size(), 309u + 5u);
}
