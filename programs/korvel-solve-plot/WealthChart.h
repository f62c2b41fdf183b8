#pragma once
// A backtest's two wealth curves on any paint device, drawn like the frontier.
#include "programs/cli/BacktestOutput.h"

#include <QRectF>

class QPainter;

namespace korvel::plot {

void DrawWealthChart(QPainter& painter, const QRectF& area, const cli::BacktestResult& result);

}  // namespace korvel::plot
