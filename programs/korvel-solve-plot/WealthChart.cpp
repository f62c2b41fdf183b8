#include "programs/korvel-solve-plot/WealthChart.h"

#include "programs/korvel-solve-plot/FrontierChart.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace korvel::plot {
namespace {

const QColor kStrategyColour(31, 90, 170);
const QColor kEqualColour(200, 40, 40);

struct Curve {
    const std::vector<double>& wealth;
    QColor colour;
    QString label;
};

ChartFrame FrameFor(const QRectF& area, const std::vector<Curve>& curves) {
    double low = 1.0, high = 1.0;
    size_t periods = 1;
    for (const Curve& curve : curves) {
        for (double w : curve.wealth) {
            low = std::min(low, w);
            high = std::max(high, w);
        }
        periods = std::max(periods, curve.wealth.size());
    }
    return ChartFrame(area.adjusted(84, 44, -28, -64), NiceAxis(0.0, static_cast<double>(periods)),
                      NiceAxis(low, high));
}

// Wealth starts at 1 before the first period out of sample.
void DrawCurve(QPainter& painter, const ChartFrame& frame, const Curve& curve) {
    QPolygonF line;
    line << frame.At(0.0, 1.0);
    for (size_t k = 0; k < curve.wealth.size(); ++k)
        line << frame.At(static_cast<double>(k + 1), curve.wealth[k]);
    painter.setPen(QPen(curve.colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
}

void DrawLegend(QPainter& painter, const ChartFrame& frame, const std::vector<Curve>& curves) {
    const QFontMetricsF metrics(painter.font());
    double width = 0.0;
    for (const Curve& curve : curves)
        width = std::max(width, metrics.horizontalAdvance(curve.label));
    const QRectF box(frame.Plot().topLeft() + QPointF(10, 10), QSizeF(width + 44, 18.0 * curves.size() + 10));
    painter.setPen(QPen(QColor(225, 225, 225).darker(120), 1));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    for (size_t k = 0; k < curves.size(); ++k) {
        const QPointF at = box.topLeft() + QPointF(14, 14 + 18.0 * k);
        painter.setPen(QPen(curves[k].colour, 2));
        painter.drawLine(at + QPointF(-6, 0), at + QPointF(10, 0));
        painter.setPen(Qt::black);
        painter.drawText(at + QPointF(18, metrics.ascent() / 2 - 1), curves[k].label);
    }
}

}  // namespace

void DrawWealthChart(QPainter& painter, const QRectF& area, const cli::BacktestResult& result) {
    StartChart(painter);
    const std::vector<Curve> curves{
        {result.strategy.wealth, kStrategyColour, QString::fromStdString("Strategy: " + result.setup.goal)},
        {result.equal.wealth, kEqualColour, QStringLiteral("Equal weights")},
    };
    const ChartFrame frame = FrameFor(area, curves);
    DrawGridAndTicks(painter, frame);
    painter.save();
    painter.setClipRect(frame.Plot().adjusted(-4, -4, 4, 4));
    for (const Curve& curve : curves)
        DrawCurve(painter, frame, curve);
    painter.restore();
    DrawLegend(painter, frame, curves);
    DrawAxesAndTitles(painter, frame, area, QStringLiteral("Periods out of sample"), QStringLiteral("Wealth"),
                      QStringLiteral("Wealth out of sample: %1 rebalances, window %2, every %3")
                          .arg(result.rebalances.size())
                          .arg(result.setup.window)
                          .arg(result.setup.every));
}

}  // namespace korvel::plot
