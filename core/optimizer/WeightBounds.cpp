#include "core/optimizer/WeightBounds.h"

#include "core/text/NumberText.h"

#include <algorithm>
#include <numeric>

namespace korvel {
namespace {

std::string Named(const std::vector<std::string>& names, int32_t share) {
    const size_t index = static_cast<size_t>(share);
    return "\"" + (index < names.size() ? names[index] : std::to_string(share + 1)) + "\"";
}

// Sums within a bound's rounding are taken as equal to the budget.
constexpr double kBudgetSlack = 1e-12;

}  // namespace

WeightBounds UniformBounds(int32_t shares, double lower, double upper) {
    WeightBounds bounds;
    bounds.lower.assign(static_cast<size_t>(shares), lower);
    bounds.upper.assign(static_cast<size_t>(shares), upper);
    return bounds;
}

std::string BoundsFault(const WeightBounds& bounds, const std::vector<std::string>& names) {
    const int32_t shares = static_cast<int32_t>(names.size());
    long double lowSum = 0, highSum = 0;
    for (int32_t i = 0; i < shares; ++i) {
        const double low = bounds.Lower(i), high = bounds.Upper(i);
        if (!(low >= 0.0 && low <= 1.0))
            return Named(names, i) + ": its least weight " + text::ShortestText(low) + " is not within 0 to 1";
        if (!(high >= 0.0 && high <= 1.0))
            return Named(names, i) + ": its largest weight " + text::ShortestText(high) + " is not within 0 to 1";
        if (high < low)
            return Named(names, i) + ": its largest weight " + text::ShortestText(high) + " is below its least, "
                   + text::ShortestText(low);
        lowSum += low;
        highSum += high;
        if (lowSum > 1.0L + kBudgetSlack)
            return "the least weights sum to more than 1 from " + Named(names, 0) + " to " + Named(names, i);
    }
    if (highSum < 1.0L - kBudgetSlack)
        return "the largest weights of all shares sum to less than 1";
    return "";
}

std::vector<double> ExtremePortfolio(const ShareReturns& returns, const WeightBounds& bounds, bool highest) {
    std::vector<int32_t> order(static_cast<size_t>(returns.shares));
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> means(order.size());
    for (int32_t i = 0; i < returns.shares; ++i)
        means[static_cast<size_t>(i)] = returns.Mean(i);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return highest ? means[static_cast<size_t>(a)] > means[static_cast<size_t>(b)]
                       : means[static_cast<size_t>(a)] < means[static_cast<size_t>(b)];
    });
    std::vector<double> weights(order.size());
    long double left = 1.0L;
    for (int32_t i = 0; i < returns.shares; ++i) {
        weights[static_cast<size_t>(i)] = bounds.Lower(i);
        left -= bounds.Lower(i);
    }
    for (int32_t share : order) {
        if (left <= 0)
            break;
        const size_t i = static_cast<size_t>(share);
        const long double room = static_cast<long double>(bounds.Upper(share)) - weights[i];
        const long double add = std::min(room, left);
        weights[i] = static_cast<double>(weights[i] + add);
        left -= add;
    }
    return weights;
}

}  // namespace korvel
