#pragma once
// Forms and dialogs are laid out in dialog units, as their templates give them:
// a horizontal unit is a quarter of the dialog font's average character width,
// a vertical unit an eighth of its height.
#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace korvel {

// The dialog font of every template: an 8-point sans serif.
QFont DialogFont();

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font = DialogFont());

    int X(int units) const { return (units * m_baseX + 2) / 4; }
    int Y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }

    // Places a child at a template rectangle and gives it the dialog font.
    void Place(QWidget* widget, int x, int y, int width, int height) const;

private:
    int m_baseX;
    int m_baseY;
};

// Column widths are given in twips: 1440 to the inch.
int TwipsToPixels(int twips, const QWidget* widget = nullptr);

}  // namespace korvel
