#pragma once
// What the basis the engine ended with says about the model, worked out again
// in long double from the worksheet's returns rather than read from the
// tableau, whose entries carry the big M's noise and its cleaning of small
// values: the basic portfolio itself, and a lower bound on the least line
// deviation any portfolio reaching the Min Return can have.
#include "core/optimizer/ShareReturns.h"
#include "core/optimizer/Tableau.h"

#include <optional>
#include <vector>

namespace korvel {

// The model's columns for a basis of the tableau: rows 1 (budget), 2 (return)
// and 2 + p (period p) of the tableau's layout, on the worksheet's numbers.
class BasisCertificate {
public:
    BasisCertificate(const ShareReturns& returns, double minReturn);

    // The basic solution of the tableau's current basis: the weight of every
    // share column 1..N (zero when not basic), or empty when the basis is
    // singular in long double, holds an artificial variable above zero, or
    // gives a weight below zero.
    std::optional<std::vector<long double>> BasicWeights(const Tableau& t) const;

    // A lower bound on the least sum over the periods of |deviation| (the line
    // deviation times M), from the duals of the current basis solved again
    // and from those the tableau's reduced costs hold: the first that reaches
    // `enough`, or the best of them. Any dual point gives a true bound, so the
    // bound holds whatever the basis; at an optimal basis it is the optimum.
    // quick: the first only, a pass in doubles.
    long double DeviationSumBound(const Tableau& t, long double enough, bool quick = false) const;

private:
    using Matrix = std::vector<std::vector<long double>>;
    std::vector<long double> Column(const Tableau& t, int32_t col) const;  // the model's column, M + 2 entries
    Matrix BasisColumns(const Tableau& t) const;
    template <typename Real>
    Real Mean(int32_t share) const;
    template <typename Real>
    long double BoundFromDuals(long double dualReturn, const std::vector<long double>& dualPeriods) const;

    const ShareReturns& m_returns;
    double m_minReturn;
};

}  // namespace korvel
