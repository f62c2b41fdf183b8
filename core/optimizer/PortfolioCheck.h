#pragma once
// The last word before a portfolio is shown: do its weights and figures hold
// against the worksheet's own numbers? Independent of how they were found, so
// any solver's result can be put to it.
#include <string>
#include <vector>

namespace korvel {

struct HeldShare {
    double weight = 0.0;          // as the solver found it (before any narrowing to float)
    std::vector<double> returns;  // the share's return in every period, as parsed from the worksheet
};

struct PortfolioClaim {
    std::vector<HeldShare> shares;  // every share with a weight; the others hold nothing
    double averageReturn = 0.0;     // as it is to be shown
    double lineDeviation = 0.0;     // as it is to be shown
    double budgetArtificial = 0.0;  // levels of the model's artificial variables, which a
    double returnArtificial = 0.0;  // real portfolio has at zero (the second in return units)
};

enum class PortfolioFault {
    None,
    NotFinite,  // a weight, return or figure is infinite or NaN
    NegativeWeight,
    WeightsDoNotSumToOne,
    ArtificialNotZero,
    BelowMinReturn,
    AverageReturnDiffers,  // from the mean return the weights give
    LineDeviationDiffers,  // from the mean absolute deviation the weights give
};

// Weights may miss 0 and their sum 1 by kWeightSlack; a figure may miss what
// the weights give by kFigureSlack times the largest magnitude among the Min
// Return and the held shares' returns, plus `noise`, the solver's own absolute
// error in the figures (zero for an exact solver).
inline constexpr double kWeightSlack = 1e-7;
inline constexpr double kFigureSlack = 1e-7;

PortfolioFault CheckPortfolio(const PortfolioClaim& claim, double minReturn, double noise = 0.0);

// What the claim's weights give on its shares' returns, in long double: its
// own rounding is far below any figure's last digit, and its wider exponent
// lets returns near the largest double sum without overflow.
struct PortfolioFigures {
    long double weightSum = 0.0L;
    long double averageReturn = 0.0L;
    long double deviationSum = 0.0L;   // sum over the periods of |deviation|
    long double deviationSize = 0.0L;  // sum over the periods and shares of |weight * deviation|
    size_t periods = 0;
    // Below the rounding of the weights to doubles and of the recomputation,
    // a deviation sum is zero: the weights hedge perfectly.
    long double Rounding() const;
    double LineDeviation() const;
};
PortfolioFigures RecomputeFigures(const PortfolioClaim& claim);

// What the check needs of the held shares' returns besides the figures.
struct HeldReturnsSummary {
    double largest = 0.0;  // in absolute value
    bool finite = true;
};

// The same check for a caller that has worked out the figures of the claim's
// weights (as RecomputeFigures gives them, or nearer) and the summary of
// their returns once, for several uses; the claim's returns are not read.
PortfolioFault CheckPortfolioFigures(const PortfolioClaim& claim, const PortfolioFigures& figures,
                                     const HeldReturnsSummary& held, double minReturn, double noise = 0.0);

// A short English name of the fault, for messages and test output.
const char* DescribePortfolioFault(PortfolioFault fault);

}  // namespace korvel
