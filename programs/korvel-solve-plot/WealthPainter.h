#pragma once
// Draws a backtest's wealth curves with Qt into a PNG or an SVG. Needs a
// QGuiApplication (any platform, offscreen too).
#include "programs/cli/BacktestOutput.h"
#include "programs/cli/SolveOptions.h"

#include <string>

namespace korvel::plot {

bool PaintWealth(const cli::BacktestResult& result, const std::string& path, cli::PictureKind kind, std::string& error);

}  // namespace korvel::plot
