#include "core/optimizer/SolutionText.h"

#include "core/optimizer/DisplayFigures.h"
#include "core/text/DelimitedText.h"

namespace korvel {

std::string SolutionAsTabText(const SolutionRecord& record) {
    std::string out = "Avg.Return\t" + FormatG15(RoundUpToFourDecimals(record.averageReturn)) + "\n";
    out += "Line Deviat.\t" + FormatG15(RoundUpToFourDecimals(record.lineDeviation)) + "\n";
    for (int32_t i = 0; i < record.shareCount; ++i) {
        const SolutionShare& share = record.shares[static_cast<size_t>(i)];
        out += text::QuoteField(share.name, '\t') + "\t" + FormatWeightFigure(static_cast<double>(share.weight)) + "\t"
               + std::to_string(share.row) + "\n";
    }
    return out;
}

}  // namespace korvel
