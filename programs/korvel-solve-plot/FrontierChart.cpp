#include "programs/korvel-solve-plot/FrontierChart.h"

#include "programs/cli/PictureLayout.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace korvel::plot {

ChartAxis NiceAxis(double low, double high) {
    if (!(high > low)) {
        const double widen = low != 0.0 ? std::fabs(low) * 0.1 : 1.0;
        low -= widen;
        high += widen;
    }
    const double raw = (high - low) / 5.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / magnitude;
    const double step = magnitude * (fraction <= 1.0 ? 1.0 : fraction <= 2.0 ? 2.0 : fraction <= 5.0 ? 5.0 : 10.0);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

namespace {

const QColor kShareColour(150, 150, 150);
const QColor kFrontierColour(31, 90, 170);
const QColor kLeastColour(200, 40, 40);
const QColor kGridColour(225, 225, 225);

// reserve: room kept right of the plot, for a legend that finds no free corner.
ChartFrame FrameFor(const QRectF& area, const cli::FrontierPicture& picture, double reserve) {
    double xHigh = 0.0;
    double yLow = INFINITY, yHigh = -INFINITY;
    auto take = [&](double deviation, double ret) {
        xHigh = std::max(xHigh, deviation);
        yLow = std::min(yLow, ret);
        yHigh = std::max(yHigh, ret);
    };
    for (const cli::PictureShare& share : picture.shares)
        take(share.deviation, share.mean);
    for (const FrontierPoint& point : picture.points)
        take(point.lineDeviation, point.averageReturn);
    const QRectF plot = area.adjusted(84, 44, -28 - reserve, -64);
    return ChartFrame(plot, NiceAxis(0.0, xHigh), NiceAxis(yLow, yHigh));
}

QString TickText(double value, double step) {
    if (std::fabs(value) < step * 1e-9)
        value = 0.0;
    return QString::number(value, 'g', 6);
}

int TickCount(const ChartAxis& axis) {
    return static_cast<int>(std::lround((axis.high - axis.low) / axis.step));
}

}  // namespace

void DrawGridAndTicks(QPainter& painter, const ChartFrame& frame) {
    const QRectF& plot = frame.Plot();
    const QFontMetricsF metrics(painter.font());
    for (int k = 0; k <= TickCount(frame.X()); ++k) {
        const double value = frame.X().low + k * frame.X().step;
        const double x = frame.At(value, frame.Y().low).x();
        painter.setPen(QPen(kGridColour, 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 5));
        const QString text = TickText(value, frame.X().step);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2, plot.bottom() + 8 + metrics.ascent()), text);
    }
    for (int k = 0; k <= TickCount(frame.Y()); ++k) {
        const double value = frame.Y().low + k * frame.Y().step;
        const double y = frame.At(frame.X().low, value).y();
        painter.setPen(QPen(kGridColour, 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(QPointF(plot.left() - 5, y), QPointF(plot.left(), y));
        const QString text = TickText(value, frame.Y().step);
        painter.drawText(QPointF(plot.left() - 8 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2 - 1),
                         text);
    }
}

void DrawAxesAndTitles(QPainter& painter, const ChartFrame& frame, const QRectF& area, const QString& xTitle,
                       const QString& yTitle, const QString& title) {
    const QRectF& plot = frame.Plot();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    const QFontMetricsF metrics(painter.font());
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(xTitle) / 2, area.bottom() - 16), xTitle);
    painter.save();
    painter.translate(area.left() + 20, plot.center().y() + metrics.horizontalAdvance(yTitle) / 2);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), yTitle);
    painter.restore();
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QPointF(plot.left(), area.top() + 20), title);
}

namespace {

void DrawShares(QPainter& painter, const ChartFrame& frame, const cli::FrontierPicture& picture) {
    painter.setPen(QPen(kShareColour.darker(130), 0.8));
    painter.setBrush(kShareColour);
    for (const cli::PictureShare& share : picture.shares)
        painter.drawEllipse(frame.At(share.deviation, share.mean), 3, 3);
}

void DrawFrontier(QPainter& painter, const ChartFrame& frame, const cli::FrontierPicture& picture) {
    QPolygonF line;
    for (const FrontierPoint& point : picture.points)
        line << frame.At(point.lineDeviation, point.averageReturn);
    painter.setPen(QPen(kFrontierColour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
    painter.setPen(QPen(kFrontierColour.darker(130), 1));
    painter.setBrush(kFrontierColour);
    for (const QPointF& at : line)
        painter.drawRect(QRectF(at.x() - 3, at.y() - 3, 6, 6));
}

QPolygonF Diamond(const QPointF& at, double size) {
    return QPolygonF({at + QPointF(0, -size), at + QPointF(size, 0), at + QPointF(0, size), at + QPointF(-size, 0)});
}

void DrawLeastDeviation(QPainter& painter, const ChartFrame& frame, const cli::FrontierPicture& picture) {
    if (picture.points.empty())
        return;
    const FrontierPoint& least = picture.points.front();
    const QPointF at = frame.At(least.lineDeviation, least.averageReturn);
    painter.setPen(QPen(kLeastColour.darker(130), 1));
    painter.setBrush(kLeastColour);
    painter.drawPolygon(Diamond(at, 7));
}

const QString kLeastLabel = QStringLiteral("Least risk");

QSizeF LegendSize(const QFontMetricsF& metrics) {
    return {metrics.horizontalAdvance(QStringLiteral("Frontier and its breakpoints")) + 36, 62};
}

// Markers are squares and a diamond, so that the share dots stay the only ellipses.
void DrawLegend(QPainter& painter, const QRectF& boxRect) {
    const QFontMetricsF metrics(painter.font());
    painter.setPen(QPen(kGridColour.darker(120), 1));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(boxRect);
    const QPointF origin = boxRect.topLeft() + QPointF(14, 13);
    auto label = [&](int line, const QString& text) {
        painter.setPen(Qt::black);
        painter.drawText(origin + QPointF(16, line * 18 + metrics.ascent() / 2 - 1), text);
    };
    painter.setPen(QPen(kFrontierColour, 2));
    painter.drawLine(origin + QPointF(-6, 0), origin + QPointF(6, 0));
    painter.setBrush(kFrontierColour);
    painter.drawRect(QRectF(origin.x() - 3, origin.y() - 3, 6, 6));
    label(0, QStringLiteral("Frontier and its breakpoints"));
    painter.setPen(QPen(kLeastColour.darker(130), 1));
    painter.setBrush(kLeastColour);
    painter.drawPolygon(Diamond(origin + QPointF(0, 18), 6));
    label(1, QStringLiteral("Least-risk portfolio"));
    painter.setPen(QPen(kShareColour.darker(130), 0.8));
    painter.setBrush(kShareColour);
    painter.drawPolygon(Diamond(origin + QPointF(0, 36), 3.5));
    label(2, QStringLiteral("A share on its own"));
}

cli::Box AsBox(const QRectF& rect) {
    return {rect.left(), rect.top(), rect.width(), rect.height()};
}

// What a legend or a label must not hide: every mark, with a little air, and
// the frontier's line.
std::vector<cli::Box> Marks(const ChartFrame& frame, const cli::FrontierPicture& picture) {
    std::vector<cli::Box> marks;
    for (const cli::PictureShare& share : picture.shares) {
        const QPointF at = frame.At(share.deviation, share.mean);
        marks.push_back(cli::MarkBox(at.x(), at.y(), 5));
    }
    for (size_t k = 0; k < picture.points.size(); ++k) {
        const QPointF a = frame.At(picture.points[k].lineDeviation, picture.points[k].averageReturn);
        marks.push_back(cli::MarkBox(a.x(), a.y(), k == 0 ? 9 : 5));
        if (k + 1 == picture.points.size())
            break;
        const QPointF b = frame.At(picture.points[k + 1].lineDeviation, picture.points[k + 1].averageReturn);
        const int steps = static_cast<int>(std::ceil(QLineF(a, b).length() / 3.0));
        for (int i = 1; i < steps; ++i) {
            const QPointF on = a + (b - a) * (static_cast<double>(i) / steps);
            marks.push_back(cli::MarkBox(on.x(), on.y(), 2));
        }
    }
    return marks;
}

// The plot and its legend: in a free corner, else beside the plot.
struct ChartLayout {
    ChartFrame frame;
    QRectF legend;
};

ChartLayout LayOut(const QRectF& area, const cli::FrontierPicture& picture, const QSizeF& legend) {
    ChartFrame frame = FrameFor(area, picture, 0.0);
    const std::optional<cli::Box> corner =
        cli::FreeCorner(AsBox(frame.Plot()), legend.width(), legend.height(), 10, Marks(frame, picture));
    if (corner)
        return {frame, QRectF(corner->left, corner->top, corner->width, corner->height)};
    // Every corner shows something: the legend goes beside the plot.
    frame = FrameFor(area, picture, legend.width() + 12);
    return {frame, QRectF(QPointF(frame.Plot().right() + 12, frame.Plot().top()), legend)};
}

// The least-risk point first, then the shares on or near the frontier.
void DrawLabels(QPainter& painter, const ChartLayout& layout, const cli::FrontierPicture& picture) {
    const QFontMetricsF metrics(painter.font());
    std::vector<cli::LabelRequest> requests;
    std::vector<QString> texts;
    std::vector<QColor> colours;
    auto ask = [&](double deviation, double mean, const QString& text, const QColor& colour) {
        const QPointF at = layout.frame.At(deviation, mean);
        requests.push_back({at.x(), at.y(), metrics.horizontalAdvance(text), metrics.height()});
        texts.push_back(text);
        colours.push_back(colour);
    };
    if (!picture.points.empty())
        ask(picture.points.front().lineDeviation, picture.points.front().averageReturn, kLeastLabel,
            kLeastColour.darker(150));
    for (const cli::PictureShare& share : picture.shares)
        if (share.nearFrontier)
            ask(share.deviation, share.mean, QString::fromStdString(share.name), Qt::black);
    std::vector<cli::Box> obstacles = Marks(layout.frame, picture);
    obstacles.push_back(AsBox(layout.legend.adjusted(-4, -4, 4, 4)));
    // A point at the plot's top or right edge (the best share often is) may
    // be named in the margin beside it, short of the title.
    const QRectF bounds = layout.frame.Plot().adjusted(0, -20, 24, 0);
    const std::vector<std::optional<cli::Box>> placed = cli::PlaceLabels(AsBox(bounds), requests, obstacles);
    for (size_t i = 0; i < placed.size(); ++i) {
        if (!placed[i])
            continue;
        if (const std::optional<cli::LeaderLine> leader = cli::LeaderOf(requests[i], *placed[i])) {
            painter.setPen(QPen(kGridColour.darker(160), 0.8));
            painter.drawLine(QPointF(leader->fromX, leader->fromY), QPointF(leader->toX, leader->toY));
        }
        painter.setPen(colours[i]);
        painter.drawText(QPointF(placed[i]->left, placed[i]->top + metrics.ascent()), texts[i]);
    }
}

}  // namespace

void StartChart(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setFamily(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
}

void DrawFrontierChart(QPainter& painter, const QRectF& area, const cli::FrontierPicture& picture) {
    StartChart(painter);
    const ChartLayout layout = LayOut(area, picture, LegendSize(QFontMetricsF(painter.font())));
    DrawGridAndTicks(painter, layout.frame);
    painter.save();
    painter.setClipRect(layout.frame.Plot().adjusted(-8, -8, 8, 8));
    DrawShares(painter, layout.frame, picture);
    DrawFrontier(painter, layout.frame, picture);
    DrawLeastDeviation(painter, layout.frame, picture);
    painter.restore();
    DrawLabels(painter, layout, picture);
    DrawLegend(painter, layout.legend);
    const QString unit = QStringLiteral(" (%1)").arg(QString::fromStdString(picture.unit));
    DrawAxesAndTitles(painter, layout.frame, area, QString::fromStdString(picture.axisName) + unit,
                      QStringLiteral("Avg.Return") + unit,
                      QStringLiteral("Efficient frontier: %1 breakpoints").arg(picture.points.size()));
}

}  // namespace korvel::plot
