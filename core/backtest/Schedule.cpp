#include "core/backtest/Schedule.h"

#include <algorithm>

namespace korvel::backtest {

std::string ScheduleError(const Schedule& s)
{
    if (s.window < kMinWindow)
        return "the window must hold at least " + std::to_string(kMinWindow) + " periods";
    if (s.every < 1)
        return "--every must be at least 1";
    if (s.window > s.periods)
        return "the window of " + std::to_string(s.window) + " periods is longer than the history of "
               + std::to_string(s.periods);
    if (s.window == s.periods)
        return "the history of " + std::to_string(s.periods)
               + " periods is too short for one rebalance: it ends with the first window";
    return "";
}

int32_t RebalanceCount(const Schedule& s)
{
    if (!ScheduleError(s).empty())
        return 0;
    const int64_t held = static_cast<int64_t>(s.periods) - s.window;
    return static_cast<int32_t>((held + s.every - 1) / s.every);
}

int32_t RebalanceAt(const Schedule& s, int32_t r)
{
    return static_cast<int32_t>(s.window + static_cast<int64_t>(r) * s.every);
}

int32_t HoldEnd(const Schedule& s, int32_t r)
{
    return static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(RebalanceAt(s, r)) + s.every, s.periods));
}

Slice SliceOf(int32_t count, int32_t part, int32_t parts)
{
    const int32_t base = count / parts, longer = count % parts;
    const int32_t index = part - 1;
    const int32_t begin = index * base + std::min(index, longer);
    return {begin, begin + base + (index < longer ? 1 : 0)};
}

}  // namespace korvel::backtest
