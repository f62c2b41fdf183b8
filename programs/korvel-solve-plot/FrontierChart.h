#pragma once
// The frontier chart on any paint device: return against deviation.
#include "programs/cli/FrontierPicture.h"

#include <QRectF>

class QPainter;

namespace korvel::plot {

// An axis from low to high in steps of 1, 2 or 5 times a power of ten.
struct ChartAxis {
    double low = 0.0;
    double high = 1.0;
    double step = 0.2;
};

// About five steps covering [low, high]; a range of one value is widened.
ChartAxis NiceAxis(double low, double high);

// Shares are drawn first and are the only ellipses (the SVG titles rely on it).
void DrawFrontierChart(QPainter& painter, const QRectF& area, const cli::FrontierPicture& picture);

}  // namespace korvel::plot
