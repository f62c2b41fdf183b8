#pragma once
// A popup menu whose items stand in two or more columns divided by a vertical
// bar, as a menu item with the column-break flag lays them out on the desktop
// this program came from. QMenu has no column break, so the columns are one
// widget inside the menu that draws its items with the style's own menu-item
// look and handles the mouse and the keyboard as a menu does.
#include <QList>
#include <QWidget>
#include <QWidgetAction>

class QAction;
class QMenu;
class QStyleOptionMenuItem;

namespace korvel {

class MenuColumnsWidget : public QWidget {
    Q_OBJECT
public:
    // columns: the items of each column; separator actions draw as separators.
    // statusTarget receives the prompt of the item under the pointer.
    MenuColumnsWidget(QList<QList<QAction*>> columns, QObject* statusTarget, QWidget* parent = nullptr);

    const QList<QList<QAction*>>& Columns() const { return m_columns; }
    QAction* SelectedAction() const;
    QRect ItemRect(const QAction* action) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The menu's keys: arrows, Enter, Space and the mnemonics. False for a key
    // left to the menu (Escape, or Left and Right at the outer columns).
    bool HandleKey(int key, const QString& text);
    // Selects the first item unless one is selected already: a menu opened
    // from the keyboard starts on its first item.
    void SelectFirstItem();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Position {
        int column = -1;
        int row = -1;
        bool IsValid() const { return column >= 0; }
    };

    void Layout();
    QSize ItemSize(const QAction* action, int tabWidth) const;
    void InitStyleOption(QStyleOptionMenuItem* option, const QAction* action, const QRect& rect, int tabWidth,
                         bool selected) const;
    Position HitTest(const QPoint& point) const;
    void Select(Position position);
    void Activate(Position position);
    void MoveVertically(int step);
    void MoveToColumn(int column);
    bool ActivateMnemonic(const QString& text);
    QAction* ActionAt(Position position) const;
    void ShowPrompt(const QString& prompt);

    QList<QList<QAction*>> m_columns;
    QObject* m_statusTarget;
    QList<QList<QRect>> m_rects;
    QList<int> m_tabWidths;
    QList<int> m_barX;  // left edge of each divider
    QSize m_size;
    Position m_selected;
};

// The action that puts a MenuColumnsWidget into a QMenu, and routes the
// menu's keys to it.
class MenuColumnsAction : public QWidgetAction {
    Q_OBJECT
public:
    MenuColumnsAction(QMenu* menu, QList<QList<QAction*>> columns, QObject* statusTarget);
    MenuColumnsWidget* Columns() const { return m_widget; }

private:
    MenuColumnsWidget* m_widget;
};

}  // namespace korvel
