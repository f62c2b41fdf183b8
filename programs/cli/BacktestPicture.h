#pragma once
// The seam through which a drawing library (only in korvel-solve-plot) draws
// a backtest's two wealth curves; korvel-backtest itself has none.
#include "programs/cli/BacktestOutput.h"
#include "programs/cli/SolveOptions.h"

#include <iosfwd>
#include <string>

namespace korvel::cli {

// Writes the picture to path; false with a reason when it cannot.
using WealthPainter = bool (*)(const BacktestResult& result, const std::string& path, PictureKind kind,
                               std::string& error);

void SetWealthPainter(WealthPainter painter);

// Draws with the painter set; false, with the reason on err, without one or
// when it fails.
bool DrawWealth(const BacktestResult& result, const std::string& path, std::ostream& err);

}  // namespace korvel::cli
