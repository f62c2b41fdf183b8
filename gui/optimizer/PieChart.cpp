#include "gui/optimizer/PieChart.h"

#include <cmath>

namespace korvel::chart {
namespace {

// The degree-to-radian factor as the chart has always stored it.
constexpr double kDegreeToRadian = 0.017453292;

// Weights share a budget of 1, so a real slice spans at most a turn and a
// little noise; anything wider (or not a number) is not drawn rather than
// given millions of vertices.
constexpr double kWidestSlice = 3600.0;

Point ArcPoint(Point centre, int radius, float angle, double yScale)
{
    const double radians = angle * kDegreeToRadian;
    return {static_cast<int>(centre.x + radius * std::sin(radians)),
            static_cast<int>(centre.y + yScale * radius * std::cos(radians))};
}

}  // namespace

std::vector<int> AssignColours(const float* weights, int count)
{
    std::vector<int> colours;
    colours.reserve(count > 0 ? count : 0);
    int next = 0;
    for (int i = 0; i < count; ++i) {
        if (TakesSlice(weights[i]) && next < kSliceColourCount)
            colours.push_back(next++);
        else
            colours.push_back(kOtherColour);
    }
    return colours;
}

ChartLayout LayoutChart(int left, int top, int width, int height, double yScale)
{
    ChartLayout layout{};
    layout.box = {left, top, left + width, top + height};
    layout.radius = static_cast<int>(width * 0.4);
    layout.centre = {left + width / 2, top + width / 2};
    const int r = layout.radius;
    const Point c = layout.centre;
    layout.ellipse = {c.x - r - 1, static_cast<int>(c.y + yScale * r - 1), c.x + r + 1,
                      static_cast<int>(c.y - yScale * r + 1)};
    layout.title = {left + 35, top + 5};
    return layout;
}

std::vector<Slice> PlanSlices(const float* weights, int count)
{
    std::vector<Slice> slices;
    const std::vector<int> colours = AssignColours(weights, count);
    float angle = 0.0f;
    for (int i = 0; i < count; ++i) {
        if (colours[i] == kOtherColour)
            continue;
        // The sum is exact in double, so this is one rounding to single precision.
        const float end = static_cast<float>(static_cast<double>(weights[i]) * 360.0 + angle);
        slices.push_back({angle, end, colours[i]});
        angle = end;
    }
    if (angle < 360.0f)
        slices.push_back({angle, 360.0f, kOtherColour});
    return slices;
}

std::vector<Point> SliceVertices(Point centre, int radius, float start, float end, double yScale)
{
    const double span = static_cast<double>(end) - start;
    if (!(span <= kWidestSlice))
        return {};
    const int n = static_cast<int>(span + 2);
    if (n < 1)
        return {};
    const float step = static_cast<float>(span / n);
    if (step < 0.0f)
        return {};

    std::vector<Point> vertices;
    vertices.reserve(n);
    vertices.push_back(centre);
    // About one arc point per degree; the last point jumps over two steps so
    // that it lands on the slice's end.
    float a = start;
    for (int k = 1; k < n; ++k) {
        vertices.push_back(ArcPoint(centre, radius, a, yScale));
        a += step;
        if (k == n - 2)
            a += 2 * step;
    }
    return vertices;
}

}  // namespace korvel::chart
