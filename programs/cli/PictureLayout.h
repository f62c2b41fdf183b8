#pragma once
// Where a chart's legend and labels go, in the picture's pixels (y down), so
// that neither hides a point the chart shows nor another label.
#include <optional>
#include <vector>

namespace korvel::cli {

struct Box {
    double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
    bool Overlaps(const Box& other) const;
    bool Holds(const Box& inner) const;
};

// A mark of radius r around (x, y) as the box it covers.
Box MarkBox(double x, double y, double radius);

// The first corner of plot (top right, top left, bottom right, bottom left),
// inset by margin, where a box of the size covers no mark; none when every
// corner covers one.
std::optional<Box> FreeCorner(const Box& plot, double width, double height, double margin,
                              const std::vector<Box>& marks);

struct LabelRequest {
    double x = 0.0, y = 0.0;           // the point it names
    double width = 0.0, height = 0.0;  // of its text
};

// Where a line from a label's point meets its box, when the box lies so far
// from the point that the reader needs the line; none when it is close.
struct LeaderLine {
    double fromX, fromY, toX, toY;
};
std::optional<LeaderLine> LeaderOf(const LabelRequest& label, const Box& box);

// Each label beside its point, within plot, clear of the obstacles, of the
// other labels and of their leader lines: first every one that fits close to
// its point, in the order asked (the first matter most), then the rest
// further out; none for a label that finds no free place.
std::vector<std::optional<Box>> PlaceLabels(const Box& plot, const std::vector<LabelRequest>& labels,
                                            std::vector<Box> obstacles);

}  // namespace korvel::cli
