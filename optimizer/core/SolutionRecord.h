#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace korvel {

struct SolutionShare {
    std::string name;   // worksheet text at (row, 1) when the record was built
    float weight = 0.0f;
    int32_t row = 0;    // worksheet row 1..N, equal to the share's tableau column
};

// One reported basis. Entries past shareCount may hold an earlier record's
// shares and are never read.
struct SolutionRecord {
    std::array<SolutionShare, 13> shares;
    int32_t shareCount = 0;
    double averageReturn = 0.0;
    double lineDeviation = 0.0;
};

}  // namespace korvel
