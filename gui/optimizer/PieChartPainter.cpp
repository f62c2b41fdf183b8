#include "gui/optimizer/PieChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace korvel::chart {
namespace {

// A one-pixel aliased outline of QRect(x, y, w, h) covers x..x+w, so the
// rectangle is shrunk by one to leave out the right and bottom edges.
QRect OutlineRect(const EdgeRect& r)
{
    return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

QRect FillRect(const EdgeRect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void FrameRect(QPainter& painter, const EdgeRect& r, const QBrush& brush)
{
    const QRect area = FillRect(r);
    if (area.isEmpty() || brush.style() == Qt::NoBrush)
        return;
    painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), brush);
    painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), brush);
    painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), brush);
    painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), brush);
}

void DrawOpaqueText(QPainter& painter, Point topLeft, const QString& text)
{
    const QFontMetrics metrics(painter.font());
    painter.fillRect(QRect(topLeft.x, topLeft.y, metrics.horizontalAdvance(text), metrics.height()), Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(topLeft.x, topLeft.y + metrics.ascent()), text);
}

}  // namespace

QColor ToQColor(Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

void DrawChartBox(QPainter& painter, const EdgeRect& box, const QBrush& frameBrush)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(FillRect(box), Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(OutlineRect(box));
    FrameRect(painter, box, frameBrush);
    painter.restore();
}

void DrawPie(QPainter& painter, const ChartLayout& layout, const std::vector<Slice>& slices,
             const std::array<Rgb, 14>& palette, double yScale)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(OutlineRect(layout.ellipse));
    DrawOpaqueText(painter, layout.title, QString::fromLatin1(kChartTitle));
    for (const Slice& slice : slices)
        FillSlice(painter, layout.centre, layout.radius, slice.start, slice.end, ToQColor(palette[slice.colour]),
                  yScale);
    painter.restore();
}

void FillSlice(QPainter& painter, Point centre, int radius, float start, float end, const QColor& colour, double yScale)
{
    const std::vector<Point> vertices = SliceVertices(centre, radius, start, end, yScale);
    if (vertices.empty())
        return;
    QPolygon polygon;
    polygon.reserve(static_cast<int>(vertices.size()));
    for (const Point& p : vertices)
        polygon << QPoint(p.x, p.y);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(colour, Qt::SolidPattern));
    painter.drawPolygon(polygon, Qt::WindingFill);
    painter.restore();
}

}  // namespace korvel::chart
