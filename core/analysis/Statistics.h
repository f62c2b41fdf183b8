#pragma once
// The two-asset figures of the Single analysis window: correlation of the two
// assets, and average return and standard deviation of a mix of them.
#include <span>
#include <string>
#include <variant>

namespace korvel {

inline constexpr int kAnalysisMaxPeriods = 10;
inline constexpr const char* kNotAvailable = "n.a.";
// A figure beyond double precision. Not "n.a.", which says that an asset is
// constant; and not the "inf" or "-nan" of the number format, which tell the
// user less.
inline constexpr const char* kOverflow = "overflow";

// Population moments (divided by n, not n - 1) of two return series read in pairs.
struct PairMoments {
    double meanA = 0.0;
    double meanB = 0.0;
    double varA = 0.0;
    double varB = 0.0;
    double cov = 0.0;
};

// Both spans hold the same number of values, at least one.
PairMoments ComputePairMoments(std::span<const double> a, std::span<const double> b);

// The mix puts the fraction f in A and 1 - f in B.
double MixAverage(const PairMoments& m, double f);
double MixStandardDeviation(const PairMoments& m, double f);

// "%.4f" in the classic locale, of any length (1e200 runs to over 200 digits).
std::string FormatFixed4(double value);

struct AnalysisFigures {
    std::string averageReturn;
    std::string standardDeviation;
    std::string correlation;
};

// The first return text that is not a number: asset 0 is First, 1 is Second;
// position counts from 1.
struct InvalidReturn {
    int asset = 0;
    int position = 0;
};

using AnalysisOutcome = std::variant<AnalysisFigures, InvalidReturn>;

// Reads returns 1 to periods of First, then of Second, and stops at the first
// invalid text; texts beyond periods are not looked at. firstPart is the
// percentage invested in First. Periods beyond the shorter list are not used;
// with no period to use every figure is "n.a.".
AnalysisOutcome AnalyseTwoAssets(std::span<const std::string> first, std::span<const std::string> second, int periods,
                                 int firstPart);

}  // namespace korvel
