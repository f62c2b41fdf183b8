#pragma once
// Geometry and colours of the "Assets' weights" pie chart, apart from any
// drawing surface. Angles are single-precision degrees, 0 at 12 o'clock,
// growing clockwise; the vertical radius is the horizontal one times yScale
// (negative, so that angle 0 lies at the top).
#include <array>
#include <cstdint>
#include <vector>

namespace korvel::chart {

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// 13 slice colours in order of use, then the colour of every small share.
inline constexpr int kSliceColourCount = 13;
inline constexpr int kOtherColour = 13;
inline constexpr std::array<Rgb, 14> kPalette{{
    {255, 0, 0},
    {255, 255, 0},
    {0, 255, 0},
    {0, 0, 255},
    {255, 128, 255},
    {128, 255, 255},
    {0, 128, 64},
    {255, 128, 64},
    {128, 255, 128},
    {255, 0, 255},
    {255, 255, 128},
    {128, 0, 255},
    {255, 128, 192},
    {255, 255, 255},
}};

// The packed form the grid takes: red in the low byte (0x00BBGGRR).
constexpr uint32_t ToBgr(Rgb c)
{
    return uint32_t{c.red} | uint32_t{c.green} << 8 | uint32_t{c.blue} << 16;
}

// A share below this weight gets no slice and no colour of its own.
inline constexpr float kSliceThreshold = 0.015f;
inline bool TakesSlice(float weight)
{
    return weight >= kSliceThreshold;
}

// Palette index of each share, in record order: the next slice colour for a
// share that takes a slice, kOtherColour for the rest. Never more than 13
// shares take a slice (a record holds at most 13 shares).
std::vector<int> AssignColours(const float* weights, int count);

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

// A rectangle as the classic drawing calls take it: right and bottom excluded.
struct EdgeRect {
    int left;
    int top;
    int right;
    int bottom;
    bool operator==(const EdgeRect&) const = default;
};

struct ChartLayout {
    EdgeRect box;  // the framed white box
    int radius;    // horizontal radius of the pie
    Point centre;
    EdgeRect ellipse;  // outline of the pie, one pixel out from the slices
    Point title;       // top-left of "Assets' weights"
};

// The vertical centre is placed by the box width on purpose: the pie sits in
// the upper part of the box, below the title.
ChartLayout LayoutChart(int left, int top, int width, int height, double yScale);

struct Slice {
    float start;
    float end;
    int colour;  // palette index
};

// One slice per share that takes one, in record order, then the white slice
// of the small shares up to 360 degrees when anything is left.
std::vector<Slice> PlanSlices(const float* weights, int count);

// The polygon of one slice: the centre, then points on the arc. Empty when
// the slice runs backwards.
std::vector<Point> SliceVertices(Point centre, int radius, float start, float end, double yScale);

}  // namespace korvel::chart
