// The "Assets' weights" chart: its geometry and slice rules, and the pixels
// the dialog really paints.
#include "support/GridTestSupport.h"

#include "gui/optimizer/PieChart.h"
#include "gui/optimizer/SolutionDialog.h"

#include <QImage>
#include <cmath>
#include <limits>

using namespace korvel::chart;

namespace {

constexpr double kYScale = -0.5;

// Paints the dialog on record and returns what it shows.
QImage RenderDialog(const std::vector<float>& weights)
{
    korvel::SolutionRecord record;
    record.shareCount = static_cast<int32_t>(weights.size());
    for (size_t i = 0; i < weights.size(); ++i) {
        record.shares[i].name = "s" + std::to_string(i + 1);
        record.shares[i].weight = weights[i];
        record.shares[i].row = static_cast<int32_t>(i + 1);
    }
    CSolutionDialog dialog;
    dialog.m_record = &record;
    QImage image;
    const auto previous = CSolutionDialog::SetModalRunHook([&](CSolutionDialog& live) {
        image = live.grab().toImage();
        return int(CSolutionDialog::IDCANCEL);
    });
    dialog.DoModal();
    CSolutionDialog::SetModalRunHook(previous);
    return image;
}

// The pixel at an angle of the pie (0 at the top, clockwise) and a fraction
// of its radius, with the standard layout: centre (372, 161), radius 72.
QColor PieAt(const QImage& image, double degrees, double fraction)
{
    const double a = degrees * M_PI / 180;
    const int x = static_cast<int>(std::lround(372 + fraction * 72 * std::sin(a)));
    const int y = static_cast<int>(std::lround(161 - fraction * 36 * std::cos(a)));
    return image.pixelColor(x, y);
}

QColor Colour(int entry)
{
    const Rgb c = kPalette[entry];
    return QColor(c.red, c.green, c.blue);
}

}  // namespace

class SolutionChartTest : public QObject {
    Q_OBJECT
private slots:
    void standardBoxGivesTheDocumentedGeometry();
    void sliceVerticesRunAlongTheArcToTheEnd();
    void degenerateSlices();
    void smallSharesGoTogetherIntoOneWhiteSliceAtTheEnd();
    void renderedChartKeepsTheDrawingRules();
    void recordWithoutSharesLeavesAnEmptyFramedBox();
};

void SolutionChartTest::standardBoxGivesTheDocumentedGeometry()
{
    const ChartLayout layout = LayoutChart(282, 71, 180, 175, kYScale);
    QCOMPARE(layout.box, (EdgeRect{282, 71, 462, 246}));
    QCOMPARE(layout.radius, 72);
    QCOMPARE(layout.centre, (Point{372, 161}));
    QCOMPARE(layout.ellipse, (EdgeRect{299, 124, 445, 198}));
    QCOMPARE(layout.title, (Point{317, 76}));
}

void SolutionChartTest::sliceVerticesRunAlongTheArcToTheEnd()
{
    const Point centre{372, 161};
    // 90 degrees: n = 92 vertices, the centre first.
    const std::vector<Point> quarter = SliceVertices(centre, 72, 0.0f, 90.0f, kYScale);
    QCOMPARE(quarter.size(), size_t(92));
    QCOMPARE(quarter.front(), centre);
    QCOMPARE(quarter[1], (Point{372, 125}));  // the top of the pie
    // The last vertex lands on 90 degrees (truncated toward the centre).
    QCOMPARE(quarter.back(), (Point{443, 161}));
    for (size_t k = 2; k < quarter.size(); ++k) {
        QVERIFY(quarter[k].x >= quarter[k - 1].x);
        QVERIFY(quarter[k].y >= quarter[k - 1].y);
    }

    // Truncation toward zero, not flooring, on the left half.
    const std::vector<Point> back = SliceVertices(centre, 72, 180.0f, 360.0f, kYScale);
    QCOMPARE(back.size(), size_t(182));
    QCOMPARE(back[1].y, 196);
    QCOMPARE(back.back().x, 372);
}

void SolutionChartTest::degenerateSlices()
{
    const Point centre{372, 161};
    // A remainder below one degree: two vertices, the second at the start.
    const std::vector<Point> sliver = SliceVertices(centre, 72, 359.5f, 360.0f, kYScale);
    QCOMPARE(sliver.size(), size_t(2));
    QCOMPARE(sliver[1], SliceVertices(centre, 72, 359.5f, 370.0f, kYScale)[1]);
    // A slice that runs backwards draws nothing.
    QVERIFY(SliceVertices(centre, 72, 10.0f, 9.5f, kYScale).empty());
    QVERIFY(SliceVertices(centre, 72, 10.0f, 5.0f, kYScale).empty());
    // A weight far outside its budget gives no slice instead of a huge polygon.
    QVERIFY(SliceVertices(centre, 72, 0.0f, 1e30f, kYScale).empty());
    QVERIFY(SliceVertices(centre, 72, 0.0f, std::numeric_limits<float>::quiet_NaN(), kYScale).empty());
}

void SolutionChartTest::smallSharesGoTogetherIntoOneWhiteSliceAtTheEnd()
{
    const float weights[] = {0.5f, 0.0149f, 0.25f, 0.0149f, 0.2051f, 0.015f};
    const std::vector<Slice> slices = PlanSlices(weights, 6);
    QCOMPARE(slices.size(), size_t(5));
    const int colours[] = {0, 1, 2, 3, kOtherColour};
    const float starts[] = {0.0f, 180.0f, 270.0f};
    for (size_t i = 0; i < slices.size(); ++i) {
        QCOMPARE(slices[i].colour, colours[i]);
        if (i > 0)
            QCOMPARE(slices[i].start, slices[i - 1].end);
        if (i < 3)
            QCOMPARE(slices[i].start, starts[i]);
    }
    QCOMPARE(slices.back().end, 360.0f);
    QVERIFY(std::fabs(slices.back().start - 360.0 * 0.9701) < 1e-3);

    // Spans that add up to 360 leave no white slice.
    const float halves[] = {0.5f, 0.5f};
    const std::vector<Slice> full = PlanSlices(halves, 2);
    QCOMPARE(full.size(), size_t(2));
    QCOMPARE(full.back().end, 360.0f);
}

void SolutionChartTest::renderedChartKeepsTheDrawingRules()
{
    // Slices: red 0..180, yellow 180..270, green 270..~344, blue ~344..~349,
    // then white for the two shares of 0.0149 up to 360.
    const QImage image = RenderDialog({0.5f, 0.0149f, 0.25f, 0.0149f, 0.2051f, 0.015f});
    QVERIFY(!image.isNull());
    const QColor black(0, 0, 0), white(255, 255, 255);

    // The box: a one-pixel black frame on its edge pixels, white inside,
    // nothing past its right and bottom edges.
    QCOMPARE(image.pixelColor(282, 71), black);
    QCOMPARE(image.pixelColor(461, 71), black);
    QCOMPARE(image.pixelColor(282, 245), black);
    QCOMPARE(image.pixelColor(461, 245), black);
    QCOMPARE(image.pixelColor(283, 72), white);
    QCOMPARE(image.pixelColor(460, 244), white);
    QVERIFY(image.pixelColor(462, 150) != black && image.pixelColor(462, 150) != white);
    QVERIFY(image.pixelColor(350, 246) != black && image.pixelColor(350, 246) != white);

    // The ellipse outline: (299, 124) to (445, 198), right and bottom excluded.
    QCOMPARE(image.pixelColor(299, 161), black);
    QCOMPARE(image.pixelColor(444, 161), black);
    QCOMPARE(image.pixelColor(372, 124), black);
    QCOMPARE(image.pixelColor(372, 197), black);
    QCOMPARE(image.pixelColor(298, 161), white);
    QCOMPARE(image.pixelColor(445, 161), white);
    QCOMPARE(image.pixelColor(372, 123), white);
    QCOMPARE(image.pixelColor(372, 198), white);

    // Slices at known angles, clockwise from the top.
    QCOMPARE(PieAt(image, 90, 0.6), Colour(0));
    QCOMPARE(PieAt(image, 170, 0.8), Colour(0));
    QCOMPARE(PieAt(image, 225, 0.6), Colour(1));
    QCOMPARE(PieAt(image, 300, 0.6), Colour(2));
    QCOMPARE(PieAt(image, 346.6, 0.9), Colour(3));
    QCOMPARE(PieAt(image, 355, 0.8), white);
    // No outline between slices: next to the centre both sides keep their colour.
    QCOMPARE(image.pixelColor(375, 165), Colour(0));
    QCOMPARE(image.pixelColor(368, 165), Colour(1));

    // The title: black text on white at (317, 76), nothing above it.
    int inked = 0;
    for (int y = 76; y < 76 + 14; ++y)
        for (int x = 317; x < 317 + 80; ++x)
            inked += image.pixelColor(x, y).lightness() < 100;
    QVERIFY(inked > 20);
    for (int x = 283; x < 461; ++x)
        QCOMPARE(image.pixelColor(x, 75), white);
}

void SolutionChartTest::recordWithoutSharesLeavesAnEmptyFramedBox()
{
    const QImage image = RenderDialog({});
    QCOMPARE(image.pixelColor(282, 71), QColor(0, 0, 0));
    QCOMPARE(image.pixelColor(461, 245), QColor(0, 0, 0));
    QCOMPARE(image.pixelColor(299, 161), QColor(255, 255, 255));
    QCOMPARE(image.pixelColor(372, 161), QColor(255, 255, 255));
}

KORVEL_TEST_MAIN(SolutionChartTest)
#include "solution_chart_test.moc"
