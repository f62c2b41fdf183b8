#include "programs/cli/PictureLayout.h"

#include <algorithm>

namespace korvel::cli {
namespace {

bool Clear(const Box& box, const std::vector<Box>& obstacles) {
    return std::none_of(obstacles.begin(), obstacles.end(), [&](const Box& o) { return box.Overlaps(o); });
}

// Right of the point first, as a reader expects a name, then left, above,
// below and the diagonals; when all are taken, the same further out, where
// the chart draws a line back to the point.
std::optional<Box> PlaceOne(const Box& plot, const LabelRequest& label, const std::vector<Box>& obstacles) {
    constexpr double kGaps[] = {6.0, 14.0, 26.0, 40.0, 60.0, 85.0, 115.0, 150.0};
    const double w = label.width, h = label.height, x = label.x, y = label.y;
    for (const double gap : kGaps) {
        const Box candidates[] = {
            {x + gap, y - h / 2, w, h},       {x - gap - w, y - h / 2, w, h}, {x - w / 2, y - gap - h, w, h},
            {x - w / 2, y + gap, w, h},       {x + gap, y - gap - h, w, h},   {x + gap, y + gap, w, h},
            {x - gap - w, y - gap - h, w, h}, {x - gap - w, y + gap, w, h},
        };
        for (const Box& box : candidates)
            if (plot.Holds(box) && Clear(box, obstacles))
                return box;
    }
    return std::nullopt;
}

}  // namespace

bool Box::Overlaps(const Box& other) const {
    return left < other.Right() && other.left < Right() && top < other.Bottom() && other.top < Bottom();
}

bool Box::Holds(const Box& inner) const {
    return inner.left >= left && inner.Right() <= Right() && inner.top >= top && inner.Bottom() <= Bottom();
}

Box MarkBox(double x, double y, double radius) {
    return {x - radius, y - radius, 2 * radius, 2 * radius};
}

std::optional<Box> FreeCorner(const Box& plot, double width, double height, double margin,
                              const std::vector<Box>& marks) {
    const double left = plot.left + margin, right = plot.Right() - margin - width;
    const double top = plot.top + margin, bottom = plot.Bottom() - margin - height;
    const Box corners[] = {{right, top, width, height},
                           {left, top, width, height},
                           {right, bottom, width, height},
                           {left, bottom, width, height}};
    for (const Box& corner : corners)
        if (plot.Holds(corner) && Clear(corner, marks))
            return corner;
    return std::nullopt;
}

std::vector<std::optional<Box>> PlaceLabels(const Box& plot, const std::vector<LabelRequest>& labels,
                                            std::vector<Box> obstacles) {
    std::vector<std::optional<Box>> placed;
    for (const LabelRequest& label : labels) {
        placed.push_back(PlaceOne(plot, label, obstacles));
        if (placed.back())
            obstacles.push_back(*placed.back());
    }
    return placed;
}

}  // namespace korvel::cli
