#include "gui/resources/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace korvel {
namespace {

QIcon BuildIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(AppIconPixmap(size));
    return icon;
}

}  // namespace

// A portfolio as a pie: three holdings, the largest pulled out a little.
QPixmap AppIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal unit = size / 32.0;
    const QRectF pie(3 * unit, 4 * unit, 25 * unit, 25 * unit);
    const qreal pull = 2.5 * unit;
    QPen outline(QColor(32, 32, 48), qMax<qreal>(1.0, unit));

    struct Slice {
        int start;  // in degrees, counter-clockwise from 3 o'clock
        int span;
        QColor colour;
        QPointF offset;
    };
    const Slice slices[] = {
        {-30, 150, QColor(40, 90, 200), {0, 0}},
        {120, 100, QColor(40, 170, 80), {0, 0}},
        {220, 110, QColor(245, 190, 30), {pull * 0.55, pull * 0.85}},
    };
    for (const Slice& slice : slices) {
        painter.setPen(outline);
        painter.setBrush(slice.colour);
        painter.drawPie(pie.translated(slice.offset), slice.start * 16, slice.span * 16);
    }
    // The highlight that gives the disc some depth.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawEllipse(QRectF(pie.left() + 4 * unit, pie.top() + 3 * unit, 10 * unit, 6 * unit));
    return pixmap;
}

QIcon AppIcon()
{
    static const QIcon icon = BuildIcon();
    return icon;
}

}  // namespace korvel
