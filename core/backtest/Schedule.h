#pragma once
// When a rolling backtest rebalances: after the first `window` returns, then
// every `every` returns; each portfolio is held until the next rebalance or
// the end of the history.
#include <cstdint>
#include <string>

namespace korvel::backtest {

struct Schedule {
    int32_t periods = 0;  // returns in the whole history
    int32_t window = 0;   // returns each portfolio is estimated on
    int32_t every = 0;    // returns between rebalances
};

// The shortest window: the fewest periods a text of returns may have, so that
// every window can be given to korvel-solve on its own.
inline constexpr int32_t kMinWindow = 3;

// Empty when the schedule has at least one rebalance; else why not.
std::string ScheduleError(const Schedule& schedule);

int32_t RebalanceCount(const Schedule& schedule);
// Rebalance r (0-based) follows this many returns: its window is the returns
// [at - window, at), it holds [at, HoldEnd).
int32_t RebalanceAt(const Schedule& schedule, int32_t r);
int32_t HoldEnd(const Schedule& schedule, int32_t r);

// The I-th (1-based) of `parts` slices of `count` items, as equal as they
// can be (the first ones one longer): [begin, end).
struct Slice {
    int32_t begin = 0;
    int32_t end = 0;
};
Slice SliceOf(int32_t count, int32_t part, int32_t parts);

}  // namespace korvel::backtest
