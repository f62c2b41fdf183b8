#include "core/analysis/Statistics.h"

#include "core/analysis/ReturnText.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

namespace korvel {
namespace {

// Below this the assets' spreads are treated as nil and the correlation is undefined.
constexpr double kMinCorrelationDenominator = 1e-10;

std::string FormatFigure(double value)
{
    // Returns near 1e154 and up overflow double precision.
    return std::isfinite(value) ? FormatFixed4(value) : std::string(kOverflow);
}

std::string FormatCorrelation(const PairMoments& m)
{
    const double s = std::sqrt(m.varA * m.varB);
    if (!(std::fabs(s) >= kMinCorrelationDenominator))
        return kNotAvailable;
    // An overflowed spread would make any covariance look uncorrelated (0.0000).
    if (!std::isfinite(s))
        return kOverflow;
    return FormatFigure(m.cov / s);
}

// Reads every text into values; returns the 1-based position of the first invalid one, or 0.
int ReadSeries(std::span<const std::string> texts, std::vector<double>& values)
{
    values.clear();
    for (const std::string& text : texts) {
        const std::optional<double> value = ReadReturnText(text);
        if (!value)
            return static_cast<int>(values.size()) + 1;
        values.push_back(*value);
    }
    return 0;
}

}  // namespace

PairMoments ComputePairMoments(std::span<const double> a, std::span<const double> b)
{
    const std::size_t count = std::min(a.size(), b.size());
    const double n = static_cast<double>(count);
    PairMoments m;
    double sumA = 0.0;
    double sumB = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        sumA += a[i];
        sumB += b[i];
    }
    m.meanA = sumA / n;
    m.meanB = sumB / n;
    double squaresA = 0.0;
    double squaresB = 0.0;
    double products = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double da = a[i] - m.meanA;
        const double db = b[i] - m.meanB;
        squaresA += da * da;
        squaresB += db * db;
        products += da * db;
    }
    m.varA = squaresA / n;
    m.varB = squaresB / n;
    m.cov = products / n;
    return m;
}

double MixAverage(const PairMoments& m, double f)
{
    return (1 - f) * m.meanB + f * m.meanA;
}

double MixStandardDeviation(const PairMoments& m, double f)
{
    const double variance = (1 - f) * ((1 - f) * m.varB + 2 * f * m.cov) + f * f * m.varA;
    // A mix's variance is never negative; rounding can leave a perfect hedge a
    // hair below zero, and the root of that would be "nan". An overflowed
    // variance stays what it is.
    return std::sqrt(variance < 0.0 ? 0.0 : variance);
}

std::string FormatFixed4(double value)
{
    return text::FixedText(value, 4);
}

AnalysisOutcome AnalyseTwoAssets(std::span<const std::string> first, std::span<const std::string> second, int periods,
                                 int firstPart)
{
    const std::size_t n = std::min({static_cast<std::size_t>(std::max(periods, 0)), first.size(), second.size()});
    std::vector<double> a;
    std::vector<double> b;
    if (const int position = ReadSeries(first.first(n), a))
        return InvalidReturn{0, position};
    if (const int position = ReadSeries(second.first(n), b))
        return InvalidReturn{1, position};
    if (n == 0)
        return AnalysisFigures{kNotAvailable, kNotAvailable, kNotAvailable};

    const PairMoments m = ComputePairMoments(a, b);
    const double f = firstPart * 0.01;
    return AnalysisFigures{FormatFigure(MixAverage(m, f)), FormatFigure(MixStandardDeviation(m, f)),
                           FormatCorrelation(m)};
}

}  // namespace korvel
