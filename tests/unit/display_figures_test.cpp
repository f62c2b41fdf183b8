#include "core/optimizer/DisplayFigures.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace korvel {
namespace {

std::string Shown(double value) {
    return FormatG15(RoundUpToFourDecimals(value));
}

TEST(DisplayFigures, RoundsUpToFourDecimals) {
    EXPECT_EQ(Shown(0.12341), "0.1235");
    EXPECT_EQ(Shown(-0.12349), "-0.1234");
    EXPECT_EQ(Shown(2.0 / 3.0), "0.6667");
    EXPECT_EQ(Shown(2.0), "2");
}

TEST(DisplayFigures, RoundingNoiseAndNegativeZeroDoNotShow) {
    EXPECT_EQ(Shown(2.0000000000000004), "2");
    EXPECT_EQ(Shown(-1.7e-9), "0");
    EXPECT_EQ(Shown(-0.0), "0");
    EXPECT_EQ(Shown(0.00001), "0.0001");
}

// Noise is a few ulps of the value, not a share of it: from about 50,000 up a
// relative tolerance would swallow real digits and round to nearest.
TEST(DisplayFigures, LargeValuesAboveAStepStillRoundUp) {
    EXPECT_EQ(Shown(123456.78901), "123456.7891");
    EXPECT_EQ(Shown(64749.182828), "64749.1829");
    EXPECT_EQ(Shown(20632.00001), "20632.0001");
    EXPECT_EQ(Shown(-64749.182828), "-64749.1828");
    EXPECT_EQ(Shown(0.1 + 0.2), "0.3");
    EXPECT_EQ(Shown(std::nextafter(123456.7891, INFINITY)), "123456.7891");
    EXPECT_EQ(Shown(123456.7891 + 1e-9), "123456.7892");
}

TEST(DisplayFigures, FixedFormHasNoLengthLimit) {
    EXPECT_EQ(FormatWeightFigure(0.5), "0.5000");
    EXPECT_EQ(FormatWeightFigure(-1.0), "-1.0000");
    const std::string huge = FormatWeightFigure(DBL_MAX);
    EXPECT_EQ(huge.size(), 309u + 5u);
    EXPECT_EQ(huge.substr(huge.size() - 5), ".0000");
}

}  // namespace
}  // namespace korvel
