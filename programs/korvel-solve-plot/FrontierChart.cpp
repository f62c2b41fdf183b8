#include "programs/korvel-solve-plot/FrontierChart.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

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

// Plot coordinates of data values.
class ChartFrame {
public:
    ChartFrame(const QRectF& plot, const ChartAxis& x, const ChartAxis& y) : m_plot(plot), m_x(x), m_y(y) {}
    QPointF At(double deviation, double ret) const {
        return {m_plot.left() + (deviation - m_x.low) / (m_x.high - m_x.low) * m_plot.width(),
                m_plot.bottom() - (ret - m_y.low) / (m_y.high - m_y.low) * m_plot.height()};
    }
    const QRectF& Plot() const { return m_plot; }
    const ChartAxis& X() const { return m_x; }
    const ChartAxis& Y() const { return m_y; }

private:
    QRectF m_plot;
    ChartAxis m_x;
    ChartAxis m_y;
};

ChartFrame FrameFor(const QRectF& area, const cli::FrontierPicture& picture) {
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
    const QRectF plot = area.adjusted(84, 44, -28, -64);
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

void DrawAxesAndTitles(QPainter& painter, const ChartFrame& frame, const QRectF& area, size_t points,
                       const std::string& axisName) {
    const QRectF& plot = frame.Plot();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    const QFontMetricsF metrics(painter.font());
    const QString xTitle = QString::fromStdString(axisName);
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(xTitle) / 2, area.bottom() - 16), xTitle);
    const QString yTitle = QStringLiteral("Avg.Return");
    painter.save();
    painter.translate(area.left() + 20, plot.center().y() + metrics.horizontalAdvance(yTitle) / 2);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), yTitle);
    painter.restore();
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    const QString title = QStringLiteral("Efficient frontier: %1 breakpoints").arg(points);
    painter.drawText(QPointF(plot.left(), area.top() + 28), title);
}

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
    painter.setPen(QPen(kLeastColour.darker(150), 1));
    painter.drawText(at + QPointF(10, 16), QString::fromStdString(picture.leastLabel));
}

// Markers are squares and a diamond, so that the share dots stay the only ellipses.
void DrawLegend(QPainter& painter, const ChartFrame& frame, const cli::FrontierPicture& picture) {
    const QFontMetricsF metrics(painter.font());
    const QSizeF box(metrics.horizontalAdvance(QStringLiteral("Frontier and its breakpoints")) + 36, 62);
    const QRectF boxRect(frame.Plot().bottomRight() - QPointF(box.width() + 10, box.height() + 10), box);
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
    label(1, QString::fromStdString(picture.leastLegend));
    painter.setPen(QPen(kShareColour.darker(130), 0.8));
    painter.setBrush(kShareColour);
    painter.drawPolygon(Diamond(origin + QPointF(0, 36), 3.5));
    label(2, QStringLiteral("A share on its own"));
}

}  // namespace

void DrawFrontierChart(QPainter& painter, const QRectF& area, const cli::FrontierPicture& picture) {
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setFamily(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    const ChartFrame frame = FrameFor(area, picture);
    DrawGridAndTicks(painter, frame);
    painter.save();
    painter.setClipRect(frame.Plot().adjusted(-8, -8, 8, 8));
    DrawShares(painter, frame, picture);
    DrawFrontier(painter, frame, picture);
    DrawLeastDeviation(painter, frame, picture);
    painter.restore();
    DrawLegend(painter, frame, picture);
    DrawAxesAndTitles(painter, frame, area, picture.points.size(), picture.axisName);
}

}  // namespace korvel::plot
