#pragma once
// The risk a portfolio is chosen to least: the mean absolute deviation, or a
// measure of its losses. Every one is the least of a linear program over the
// portfolio's per-period returns, which is what lets one solver serve them all.
#include "core/optimizer/ShareReturns.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

enum class RiskKind {
    Mad,       // mean absolute deviation from the portfolio's own mean
    Cvar,      // mean of the worst ALPHA share of the periods' losses
    Downside,  // mean shortfall below a target return
    Worst,     // the largest loss of any one period
};

struct RiskMeasure {
    RiskKind kind = RiskKind::Mad;
    double level = 0.05;  // Cvar's ALPHA, in (0, 1]
    double target = 0.0;  // Downside's TARGET, in the returns' unit
};

inline constexpr double kDefaultCvarLevel = 0.05;

// "mad", "cvar", "cvar:ALPHA", "downside", "downside:TARGET" or "worst";
// false with a reason.
bool ParseRiskMeasure(std::string_view text, RiskMeasure& measure, std::string& error);

// The name outputs carry: "mad", "cvar:0.05", "downside:0", "worst".
std::string RiskMeasureName(const RiskMeasure& measure);

// The measure of the per-period returns of one portfolio, in long double.
long double RiskOfReturns(const RiskMeasure& measure, const std::vector<long double>& periodReturns);

// The portfolio's per-period returns, sum over shares of weight times return,
// in long double; weights are indexed by share (0 for shares not held).
std::vector<long double> PortfolioReturns(const ShareReturns& returns, const std::vector<double>& weights);

}  // namespace korvel
