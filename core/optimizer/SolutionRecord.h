#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

struct SolutionShare {
    std::string name;           // worksheet text at (row, 1) when the record was built
    float weight = 0.0f;        // as the dialog shows it
    int32_t row = 0;            // worksheet row 1..N, equal to the share's tableau column
    double solverWeight = 0.0;  // the solver's own value, for outputs that print it whole
};

// One reported basis. Entries past shareCount may hold an earlier record's
// shares and are never read. A basis holds at most periods + 2 shares: 12 on
// a worksheet, more on text given to korvel-solve.
struct SolutionRecord {
    std::vector<SolutionShare> shares = std::vector<SolutionShare>(13);
    int32_t shareCount = 0;
    double averageReturn = 0.0;  // as the dialog shows it (the tableau's where it agrees)
    double lineDeviation = 0.0;
    // What the solver's weights give, recomputed from the returns: printed
    // whole, every digit must be the weights' own.
    double ownAverageReturn = 0.0;
    double ownLineDeviation = 0.0;
};

}  // namespace korvel
