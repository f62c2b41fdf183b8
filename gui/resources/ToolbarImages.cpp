#include "gui/resources/ToolbarImages.h"

#include "gui/resources/CommandIds.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <initializer_list>

namespace korvel {
namespace {

// One character per pixel; '.' is transparent.
QRgb PaletteColour(char key)
{
    switch (key) {
    case 'k': return qRgb(0, 0, 0);
    case 'w': return qRgb(255, 255, 255);
    case 'g': return qRgb(128, 128, 128);
    case 's': return qRgb(192, 192, 192);
    case 'y': return qRgb(255, 255, 0);
    case 'o': return qRgb(192, 160, 0);
    case 'n': return qRgb(0, 0, 128);
    case 't': return qRgb(0, 128, 128);
    default: return qRgba(0, 0, 0, 0);
    }
}

QPixmap FromPixelArt(std::initializer_list<const char*> rows, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width && row[x] != '\0'; ++x)
            image.setPixel(x, y, PaletteColour(row[x]));
        if (++y == height)
            break;
    }
    return QPixmap::fromImage(image);
}

QPixmap NewImage()
{
    return FromPixelArt({
        "................",
        "...kkkkkkk......",
        "...kwwwwwkk.....",
        "...kwwwwwkwk....",
        "...kwwwwwkkkk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kkkkkkkkkk...",
        "................",
    }, 16, 15);
}

QPixmap OpenImage()
{
    return FromPixelArt({
        "................",
        "................",
        "................",
        ".kkkk...........",
        "kooook..........",
        "koooookkkkkkk...",
        "kooooooooooook..",
        "kooookkkkkkkkkkk",
        "koookyyyyyyyyyyk",
        "kookyyyyyyyyyyk.",
        "kokyyyyyyyyyyk..",
        "kkyyyyyyyyyyk...",
        "kkkkkkkkkkkk....",
        "................",
        "................",
    }, 16, 15);
}

QPixmap SaveImage()
{
    return FromPixelArt({
        "................",
        ".kkkkkkkkkkkkkk.",
        ".knkwwwwwwwwknk.",
        ".knkwwwwwwwwknk.",
        ".knkwwwwwwwwknk.",
        ".knkwwwwwwwwknk.",
        ".knkkkkkkkkkknk.",
        ".knnnnnnnnnnnnk.",
        ".knnsssssssssnk.",
        ".knnssggsssssnk.",
        ".knnssggsssssnk.",
        ".knnssggsssssnk.",
        ".kknsssssssssnk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    }, 16, 15);
}

QPixmap CutImage()
{
    return FromPixelArt({
        "................",
        "....k.....k.....",
        "....k.....k.....",
        "....kk...kk.....",
        ".....k...k......",
        ".....kk.kk......",
        "......kgk.......",
        ".......k........",
        "......nkn.......",
        "....nnn.nnn.....",
        "...n..n.n..n....",
        "...n..n.n..n....",
        "...n..n.n..n....",
        "....nn...nn.....",
        "................",
    }, 16, 15);
}

QPixmap CopyImage()
{
    return FromPixelArt({
        "kkkkkkkk........",
        "kwwwwwwk........",
        "kwnnnnwk........",
        "kwwwwwwk........",
        "kwnnnnwk........",
        "kwwwwkkkkkkkkkk.",
        "kwnnnkwwwwwwwwk.",
        "kwwwwkwnnnnnnwk.",
        "kwnnnkwwwwwwwwk.",
        "kkkkkkwnnnnnnwk.",
        ".....kwwwwwwwwk.",
        ".....kwnnnnnnwk.",
        ".....kwwwwwwwwk.",
        ".....kkkkkkkkkk.",
        "................",
    }, 16, 15);
}

QPixmap PasteImage()
{
    return FromPixelArt({
        "....kkkk........",
        ".kkksssskkk.....",
        ".kookkkkook.....",
        ".kooooooook.....",
        ".kooooooook.....",
        ".kookkkkkkkkkk..",
        ".kookwwwwwwwwk..",
        ".kookwnnnnnnwk..",
        ".kookwwwwwwwwk..",
        ".kookwnnnnnnwk..",
        ".kookwwwwwwwwk..",
        ".kookwnnnnwwwk..",
        ".kookwwwwwwwwk..",
        ".kkkkkkkkkkkkk..",
        "................",
    }, 16, 15);
}

QPixmap AboutImage()
{
    return FromPixelArt({
        "................",
        ".....nnnnn......",
        "....nn...nn.....",
        "....nn...nn.....",
        ".........nn.....",
        "........nn......",
        ".......nn.......",
        "......nn........",
        "......nn........",
        "......nn........",
        "................",
        "......nn........",
        "......nn........",
        "................",
        "................",
    }, 16, 15);
}

// The action toolbar's images are plain shapes, drawn smooth.
QPixmap PaintedImage(void (*paint)(QPainter&))
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap;
}

void PaintGo(QPainter& painter)
{
    QPainterPath triangle;
    triangle.moveTo(3.5, 1.5);
    triangle.lineTo(14.5, 8.0);
    triangle.lineTo(3.5, 14.5);
    triangle.closeSubpath();
    painter.setPen(QPen(QColor(0, 96, 0), 1.0));
    painter.setBrush(QColor(0, 192, 0));
    painter.drawPath(triangle);
}

void PaintDeletePeriod(QPainter& painter)
{
    painter.setPen(QPen(QColor(128, 0, 128), 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void PaintAnalyse(QPainter& painter)
{
    painter.setPen(QPen(QColor(64, 64, 64), 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10.0, 10.0), QPointF(14.0, 14.0));
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(QColor(0, 230, 230));
    painter.drawEllipse(QPointF(6.5, 6.5), 5.0, 5.0);
    painter.setPen(QPen(Qt::white, 1.2));
    painter.drawArc(QRectF(3.5, 3.5, 6.0, 6.0), 100 * 16, 70 * 16);
}

void PaintInsertShare(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 255));
    painter.drawRect(QRectF(6.5, 2.5, 3.0, 11.0));
    painter.drawRect(QRectF(2.5, 6.5, 11.0, 3.0));
}

void PaintDeleteShare(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 0, 255));
    painter.drawRect(QRectF(2.5, 6.5, 11.0, 3.0));
}

}  // namespace

QPixmap ToolbarButtonImage(int commandId)
{
    switch (commandId) {
    case ID_FILE_NEW: return NewImage();
    case ID_FILE_OPEN: return OpenImage();
    case ID_FILE_SAVE: return SaveImage();
    case ID_EDIT_CUT: return CutImage();
    case ID_EDIT_COPY: return CopyImage();
    case ID_EDIT_PASTE: return PasteImage();
    case ID_APP_ABOUT: return AboutImage();
    case ID_GO: return PaintedImage(PaintGo);
    case ID_DELETE_PERIOD: return PaintedImage(PaintDeletePeriod);
    case ID_ANALYSE: return PaintedImage(PaintAnalyse);
    case ID_INSERT_SHARE: return PaintedImage(PaintInsertShare);
    case ID_DELETE_SHARE: return PaintedImage(PaintDeleteShare);
    default: return {};
    }
}

}  // namespace korvel
