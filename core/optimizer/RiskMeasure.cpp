#include "core/optimizer/RiskMeasure.h"

#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace korvel {
namespace {

bool ReadParameter(std::string_view text, double& value) {
    return !text.empty() && text::ReadsAsWorksheetNumber(text, value);
}

long double MeanAbsoluteDeviation(const std::vector<long double>& r) {
    long double mean = 0;
    for (long double x : r)
        mean += x;
    mean /= static_cast<long double>(r.size());
    long double total = 0;
    for (long double x : r)
        total += std::fabs(x - mean);
    return total / static_cast<long double>(r.size());
}

// z + sum max(0, loss - z) / (ALPHA T) is least where z is the loss ranked
// ceil(ALPHA T) from the largest: fewer than ALPHA T losses lie above it and
// at least that many at or above.
long double ConditionalValueAtRisk(const std::vector<long double>& r, double level) {
    std::vector<long double> losses;
    for (long double x : r)
        losses.push_back(-x);
    const long double tail = static_cast<long double>(level) * static_cast<long double>(r.size());
    const size_t rank = std::clamp<size_t>(static_cast<size_t>(std::ceil(tail - 1e-12L)), 1, losses.size());
    // Only the losses ranked up to z add to the excess, so only they are put
    // in order (largest first, the order the sum has always taken).
    const auto ranked = losses.begin() + static_cast<std::ptrdiff_t>(rank);
    std::nth_element(losses.begin(), ranked - 1, losses.end(), std::greater<>());
    std::sort(losses.begin(), ranked, std::greater<>());
    const long double z = losses[rank - 1];
    long double excess = 0;
    for (auto loss = losses.begin(); loss != ranked; ++loss)
        excess += std::max(0.0L, *loss - z);
    return z + excess / tail;
}

long double MeanShortfall(const std::vector<long double>& r, double target) {
    long double total = 0;
    for (long double x : r)
        total += std::max(0.0L, static_cast<long double>(target) - x);
    return total / static_cast<long double>(r.size());
}

long double WorstLoss(const std::vector<long double>& r) {
    long double worst = -r.front();
    for (long double x : r)
        worst = std::max(worst, -x);
    return worst;
}

}  // namespace

bool ParseRiskMeasure(std::string_view text, RiskMeasure& measure, std::string& error) {
    measure = RiskMeasure{};
    const size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    const bool hasParameter = colon != std::string_view::npos;
    const std::string_view parameter = hasParameter ? text.substr(colon + 1) : std::string_view();
    if ((name == "mad" || name == "worst") && !hasParameter) {
        measure.kind = name == "mad" ? RiskKind::Mad : RiskKind::Worst;
        return true;
    }
    if (name == "cvar") {
        measure.kind = RiskKind::Cvar;
        if (!hasParameter)
            return true;
        if (ReadParameter(parameter, measure.level) && measure.level > 0.0 && measure.level <= 1.0)
            return true;
        error = "--risk cvar:ALPHA takes ALPHA above 0 and at most 1, not " + std::string(parameter);
        return false;
    }
    if (name == "downside") {
        measure.kind = RiskKind::Downside;
        if (!hasParameter || ReadParameter(parameter, measure.target))
            return true;
        error = "--risk downside:TARGET takes a number, not " + std::string(parameter);
        return false;
    }
    error = "--risk takes mad, cvar[:ALPHA], downside[:TARGET] or worst, not " + std::string(text);
    return false;
}

std::string RiskMeasureName(const RiskMeasure& measure) {
    switch (measure.kind) {
    case RiskKind::Mad:
        return "mad";
    case RiskKind::Cvar:
        return "cvar:" + text::ShortestText(measure.level);
    case RiskKind::Downside:
        return "downside:" + text::ShortestText(measure.target);
    case RiskKind::Worst:
        return "worst";
    }
    return "mad";
}

long double RiskOfReturns(const RiskMeasure& measure, const std::vector<long double>& periodReturns) {
    if (periodReturns.empty())
        return 0;
    switch (measure.kind) {
    case RiskKind::Mad:
        return MeanAbsoluteDeviation(periodReturns);
    case RiskKind::Cvar:
        return ConditionalValueAtRisk(periodReturns, measure.level);
    case RiskKind::Downside:
        return MeanShortfall(periodReturns, measure.target);
    case RiskKind::Worst:
        return WorstLoss(periodReturns);
    }
    return 0;
}

std::vector<long double> PortfolioReturns(const ShareReturns& returns, const std::vector<double>& weights) {
    std::vector<long double> result(static_cast<size_t>(returns.periods), 0.0L);
    for (int32_t i = 0; i < returns.shares; ++i) {
        const long double weight = weights[static_cast<size_t>(i)];
        if (weight == 0)
            continue;
        for (int32_t p = 0; p < returns.periods; ++p)
            result[static_cast<size_t>(p)] += weight * returns.At(i, p);
    }
    return result;
}

}  // namespace korvel
