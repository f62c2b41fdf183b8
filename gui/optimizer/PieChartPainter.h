#pragma once
// Draws the pie chart of PieChart.h with QPainter so that its pixels match
// the classic drawing calls: rectangles and ellipses cover their bounding box
// without its right and bottom edges, text is placed by its top-left corner
// on an opaque white background, slices have no outline and no smoothing.
#include "gui/optimizer/PieChart.h"

#include <QBrush>
#include <QColor>

class QPainter;

namespace korvel::chart {

QColor ToQColor(Rgb colour);

inline constexpr const char* kChartTitle = "Assets' weights";

// The white box with its one-pixel black outline, then framed with frameBrush.
void DrawChartBox(QPainter& painter, const EdgeRect& box, const QBrush& frameBrush);

// The ellipse, the title and every slice of the plan.
void DrawPie(QPainter& painter, const ChartLayout& layout, const std::vector<Slice>& slices,
             const std::array<Rgb, 14>& palette, double yScale);

// One slice as a winding-rule polygon of its vertices; nothing when the
// slice runs backwards.
void FillSlice(QPainter& painter, Point centre, int radius, float start, float end, const QColor& colour,
               double yScale);

}  // namespace korvel::chart
