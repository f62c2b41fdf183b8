#pragma once
// The frontier chart on any paint device: return against deviation.
#include "programs/cli/FrontierPicture.h"

#include <QPointF>
#include <QRectF>

class QPainter;
class QString;

namespace korvel::plot {

// An axis from low to high in steps of 1, 2 or 5 times a power of ten.
struct ChartAxis {
    double low = 0.0;
    double high = 1.0;
    double step = 0.2;
};

// About five steps covering [low, high]; a range of one value is widened.
ChartAxis NiceAxis(double low, double high);

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

// Every chart's smoothing and font.
void StartChart(QPainter& painter);

// The grid lines and the ticks, labelled, of both axes.
void DrawGridAndTicks(QPainter& painter, const ChartFrame& frame);

// The plot's frame, the axes' titles and the chart's title above it.
void DrawAxesAndTitles(QPainter& painter, const ChartFrame& frame, const QRectF& area, const QString& xTitle,
                       const QString& yTitle, const QString& title);

// Shares are drawn first and are the only ellipses (the SVG titles rely on it).
void DrawFrontierChart(QPainter& painter, const QRectF& area, const cli::FrontierPicture& picture);

}  // namespace korvel::plot
