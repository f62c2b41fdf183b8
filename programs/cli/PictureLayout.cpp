#include "programs/cli/PictureLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace korvel::cli {
namespace {

bool Clear(const Box& box, const std::vector<Box>& obstacles) {
    return std::none_of(obstacles.begin(), obstacles.end(), [&](const Box& o) { return box.Overlaps(o); });
}

// A leader line as the small boxes along it.
std::vector<Box> LeaderBoxes(const LeaderLine& line) {
    std::vector<Box> boxes;
    const double length = std::hypot(line.toX - line.fromX, line.toY - line.fromY);
    const int steps = static_cast<int>(std::ceil(length / 3.0));
    for (int i = 1; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        boxes.push_back(MarkBox(line.fromX + t * (line.toX - line.fromX), line.fromY + t * (line.toY - line.fromY), 1));
    }
    return boxes;
}

// How many of the boxes a far label's line back to its point crosses, once
// it has left its own mark; 0 for a label close to its point.
size_t LeaderCrossings(const LabelRequest& label, const Box& box, const std::vector<Box>& boxes) {
    const std::optional<LeaderLine> leader = LeaderOf(label, box);
    if (!leader)
        return 0;
    size_t crossings = 0;
    for (const Box& step : LeaderBoxes(*leader))
        if (std::hypot(step.left + 1 - label.x, step.top + 1 - label.y) > 10.0 && !Clear(step, boxes))
            ++crossings;
    return crossings;
}

// The obstacles a label of this point may meet, its line included: a
// crowded picture has thousands, few of them near any one point.
std::vector<Box> Around(const LabelRequest& label, const std::vector<Box>& obstacles) {
    const double reach = 160.0 + label.width + label.height;
    const Box area{label.x - reach, label.y - reach, 2 * reach, 2 * reach};
    std::vector<Box> near;
    std::copy_if(obstacles.begin(), obstacles.end(), std::back_inserter(near),
                 [&](const Box& o) { return o.Overlaps(area); });
    return near;
}

// Right of the point first, as a reader expects a name, then left, above,
// below and the diagonals, each at the gaps given in turn: the first free
// place whose leader line crosses no mark, else the one that crosses fewest;
// never one whose line crosses a label.
std::optional<Box> PlaceOne(const Box& plot, const LabelRequest& label, const std::vector<double>& gaps,
                            const std::vector<Box>& obstacles, const std::vector<Box>& labels) {
    const double w = label.width, h = label.height, x = label.x, y = label.y;
    std::optional<Box> best;
    size_t bestCrossings = SIZE_MAX;
    for (const double gap : gaps) {
        const Box candidates[] = {
            {x + gap, y - h / 2, w, h},       {x - gap - w, y - h / 2, w, h}, {x - w / 2, y - gap - h, w, h},
            {x - w / 2, y + gap, w, h},       {x + gap, y - gap - h, w, h},   {x + gap, y + gap, w, h},
            {x - gap - w, y - gap - h, w, h}, {x - gap - w, y + gap, w, h},
        };
        for (const Box& box : candidates) {
            if (!plot.Holds(box) || !Clear(box, obstacles) || LeaderCrossings(label, box, labels) > 0)
                continue;
            const size_t crossings = LeaderCrossings(label, box, obstacles);
            if (crossings == 0)
                return box;
            if (crossings < bestCrossings)
                best = box, bestCrossings = crossings;
        }
    }
    return best;
}

}  // namespace

std::optional<LeaderLine> LeaderOf(const LabelRequest& label, const Box& box) {
    const double x = std::clamp(label.x, box.left, box.Right()), y = std::clamp(label.y, box.top, box.Bottom());
    if (std::hypot(x - label.x, y - label.y) <= 16.0)
        return std::nullopt;
    return LeaderLine{label.x, label.y, x, y};
}

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
    // Every label that fits beside its point first; then the rest further
    // out, where a line leads back to the point, so that a far label never
    // takes a near one's place and sits next to the wrong point.
    const std::vector<double> kNear = {6.0, 14.0}, kFar = {26.0, 40.0, 60.0, 85.0, 115.0, 150.0};
    std::vector<std::optional<Box>> placed(labels.size());
    std::vector<Box> placedBoxes;
    for (const std::vector<double>* gaps : {&kNear, &kFar}) {
        for (size_t i = 0; i < labels.size(); ++i) {
            if (placed[i])
                continue;
            placed[i] = PlaceOne(plot, labels[i], *gaps, Around(labels[i], obstacles), placedBoxes);
            if (!placed[i])
                continue;
            obstacles.push_back(*placed[i]);
            placedBoxes.push_back(*placed[i]);
            if (const std::optional<LeaderLine> leader = LeaderOf(labels[i], *placed[i]))
                for (const Box& step : LeaderBoxes(*leader))
                    obstacles.push_back(step);
        }
    }
    return placed;
}

}  // namespace korvel::cli
