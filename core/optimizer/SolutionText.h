#pragma once
// A shown solution as tab-separated text for the clipboard: the figures the
// Single solution dialog shows, so that what is pasted matches what was seen.
#include "core/optimizer/SolutionRecord.h"

#include <string>

namespace korvel {

// "Avg.Return<TAB>figure", "Line Deviat.<TAB>figure", then one line per share:
// name, weight ("%.4f"), worksheet row. Names holding a tab, quote or line
// break are quoted so that spreadsheets paste them into one cell.
std::string SolutionAsTabText(const SolutionRecord& record);

}  // namespace korvel
