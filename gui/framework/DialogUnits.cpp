#include "gui/framework/DialogUnits.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace korvel {

QFont DialogFont()
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (alphabetWidth / 26 + 1) / 2;
    m_baseY = metrics.height();
}

void DialogUnits::Place(QWidget* widget, int x, int y, int width, int height) const
{
    widget->setFont(DialogFont());
    widget->setGeometry(Rect(x, y, width, height));
}

static double LogicalDpi(const QWidget* widget)
{
    if (widget)
        return widget->logicalDpiX();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchX();
    return 96.0;
}

int TwipsToPixels(int twips, const QWidget* widget)
{
    return static_cast<int>(twips * LogicalDpi(widget) / 1440.0 + 0.5);
}

}  // namespace korvel
