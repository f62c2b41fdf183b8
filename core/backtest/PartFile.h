#pragma once
// A slice of a backtest's rebalances computed on one machine, as a text file
// that another run joins with the other slices. A part carries all that the
// outputs need (the run's setup, names and dates) and its numbers as the
// shortest text that reads back, so that the joined parts print exactly what
// one run prints.
#include "core/backtest/Holding.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::backtest {

// What a backtest was asked and on which data, for the outputs.
struct Setup {
    std::string goal;  // "least-risk", or "min-return " and the Min Return's text
    int32_t periods = 0;
    int32_t window = 0;
    int32_t every = 0;
    double costBps = 0.0;
    std::vector<std::string> names;  // one per share, the worksheet's bytes
    std::vector<std::string> dates;  // one per period's return, or none
};

struct Part {
    int32_t index = 1;  // 1..count
    int32_t count = 1;
    int32_t first = 0;  // the index of its first rebalance among all
    int32_t total = 0;  // rebalances of the whole run
    Setup setup;
    std::vector<Rebalance> rebalances;
};

std::string PartText(const Part& part);

// False with a reason naming the line when the text is no part or breaks its
// own counts; every count is bounded by what the text can hold.
bool ReadPart(std::string_view text, Part& part, std::string& error);

// The parts of one run, in any order, as one part holding every rebalance.
// False with a reason when they are not exactly the 1..N of one run.
bool JoinParts(std::vector<Part> parts, Part& whole, std::string& error);

}  // namespace korvel::backtest
