#include "gui/app/MenuColumns.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace korvel {
namespace {

constexpr int kBarWidth = 8;

QString LabelPart(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab < 0 ? text : text.left(tab);
}

QString AcceleratorPart(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab < 0 ? QString() : text.mid(tab + 1);
}

// The character after a single '&', upper-cased; null when there is none.
QChar Mnemonic(const QString& text)
{
    const QString label = LabelPart(text);
    for (qsizetype i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != QLatin1Char('&'))
            continue;
        if (label[i + 1] != QLatin1Char('&'))
            return label[i + 1].toUpper();
        ++i;
    }
    return {};
}

}  // namespace

MenuColumnsWidget::MenuColumnsWidget(QList<QList<QAction*>> columns, QObject* statusTarget, QWidget* parent)
    : QWidget(parent), m_columns(std::move(columns)), m_statusTarget(statusTarget)
{
    setMouseTracking(true);
    // The menu keeps the keyboard focus and hands its keys over (eventFilter),
    // so that opening this menu leaves the focus of the main window alone.
    setFocusPolicy(Qt::NoFocus);
    for (const QList<QAction*>& column : m_columns) {
        for (QAction* action : column)
            connect(action, &QAction::changed, this, [this] {
                Layout();
                update();
            });
    }
    Layout();
}

QAction* MenuColumnsWidget::ActionAt(Position position) const
{
    if (!position.IsValid())
        return nullptr;
    return m_columns[position.column][position.row];
}

QAction* MenuColumnsWidget::SelectedAction() const
{
    return ActionAt(m_selected);
}

QRect MenuColumnsWidget::ItemRect(const QAction* action) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        const qsizetype row = m_columns[c].indexOf(action);
        if (row >= 0)
            return m_rects[c][row];
    }
    return {};
}

void MenuColumnsWidget::InitStyleOption(QStyleOptionMenuItem* option, const QAction* action, const QRect& rect,
                                        int tabWidth, bool selected) const
{
    option->initFrom(this);
    option->palette = palette();
    option->state = QStyle::State_None;
    if (window()->isActiveWindow())
        option->state |= QStyle::State_Active;
    if (action->isEnabled())
        option->state |= QStyle::State_Enabled;
    else
        option->palette.setCurrentColorGroup(QPalette::Disabled);
    if (selected && !action->isSeparator())
        option->state |= QStyle::State_Selected;
    option->font = action->font().resolve(font());
    option->fontMetrics = QFontMetrics(option->font);
    option->menuHasCheckableItems = false;
    option->checkType = action->isCheckable() ? QStyleOptionMenuItem::NonExclusive : QStyleOptionMenuItem::NotCheckable;
    option->checked = action->isChecked();
    option->menuItemType = action->isSeparator() ? QStyleOptionMenuItem::Separator : QStyleOptionMenuItem::Normal;
    option->text = action->text();
    option->reservedShortcutWidth = tabWidth;
    option->maxIconWidth = 0;
    option->rect = rect;
    option->menuRect = this->rect();
}

QSize MenuColumnsWidget::ItemSize(const QAction* action, int tabWidth) const
{
    QStyleOptionMenuItem option;
    InitStyleOption(&option, action, QRect(), tabWidth, false);
    if (action->isSeparator())
        return style()->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(2, 2), this);
    const QFontMetrics metrics(option.font);
    QSize contents = metrics.size(Qt::TextShowMnemonic, LabelPart(action->text()));
    contents.setHeight(qMax(contents.height(), metrics.height()));
    QSize size = style()->sizeFromContents(QStyle::CT_MenuItem, &option, contents, this);
    size.rwidth() += tabWidth;
    return size;
}

void MenuColumnsWidget::Layout()
{
    m_rects.clear();
    m_tabWidths.clear();
    m_barX.clear();
    int x = 0;
    int height = 0;
    for (int c = 0; c < m_columns.size(); ++c) {
        const QList<QAction*>& column = m_columns[c];
        int tabWidth = 0;
        for (const QAction* action : column) {
            const QString accelerator = AcceleratorPart(action->text());
            if (!accelerator.isEmpty())
                tabWidth = qMax(tabWidth, QFontMetrics(action->font().resolve(font())).horizontalAdvance(accelerator));
        }
        int width = 0;
        QList<int> heights;
        for (const QAction* action : column) {
            const QSize size = ItemSize(action, tabWidth);
            width = qMax(width, size.width());
            heights.append(size.height());
        }
        QList<QRect> rects;
        int y = 0;
        for (int h : heights) {
            rects.append(QRect(x, y, width, h));
            y += h;
        }
        m_rects.append(rects);
        m_tabWidths.append(tabWidth);
        height = qMax(height, y);
        x += width;
        if (c + 1 < m_columns.size()) {
            m_barX.append(x);
            x += kBarWidth;
        }
    }
    m_size = QSize(x, height);
    updateGeometry();
}

QSize MenuColumnsWidget::sizeHint() const
{
    return m_size;
}

void MenuColumnsWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int c = 0; c < m_columns.size(); ++c) {
        for (int r = 0; r < m_columns[c].size(); ++r) {
            QStyleOptionMenuItem option;
            const bool selected = m_selected.column == c && m_selected.row == r;
            InitStyleOption(&option, m_columns[c][r], m_rects[c][r], m_tabWidths[c], selected);
            style()->drawControl(QStyle::CE_MenuItem, &option, &painter, this);
        }
    }
    // The divider: an etched vertical line down the whole menu.
    for (int x : m_barX) {
        const int middle = x + kBarWidth / 2 - 1;
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(middle, 0, middle, height() - 1);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(middle + 1, 0, middle + 1, height() - 1);
    }
}

MenuColumnsWidget::Position MenuColumnsWidget::HitTest(const QPoint& point) const
{
    for (int c = 0; c < m_rects.size(); ++c) {
        for (int r = 0; r < m_rects[c].size(); ++r) {
            if (m_rects[c][r].contains(point))
                return {c, r};
        }
    }
    return {};
}

void MenuColumnsWidget::ShowPrompt(const QString& prompt)
{
    if (!m_statusTarget)
        return;
    QStatusTipEvent tip(prompt);
    QCoreApplication::sendEvent(m_statusTarget, &tip);
}

void MenuColumnsWidget::Select(Position position)
{
    QAction* action = ActionAt(position);
    if (action && action->isSeparator())
        position = {};
    if (position.column == m_selected.column && position.row == m_selected.row)
        return;
    m_selected = position;
    update();
    if (QAction* selected = SelectedAction()) {
        selected->hover();
        ShowPrompt(selected->statusTip());
    } else {
        ShowPrompt(QString());
    }
}

void MenuColumnsWidget::Activate(Position position)
{
    QAction* action = ActionAt(position);
    if (!action || action->isSeparator() || !action->isEnabled())
        return;
    // Close the menu first, as a menu does, so that the command runs with the
    // main window in front (a modal dialog of the command then owns it).
    if (auto* menu = qobject_cast<QMenu*>(parentWidget()))
        menu->close();
    action->activate(QAction::Trigger);
}

void MenuColumnsWidget::MoveVertically(int step)
{
    const int column = m_selected.IsValid() ? m_selected.column : 0;
    const int rows = static_cast<int>(m_columns[column].size());
    int row = m_selected.IsValid() ? m_selected.row : (step > 0 ? -1 : rows);
    for (int tries = 0; tries < rows; ++tries) {
        row = ((row + step) % rows + rows) % rows;
        if (!m_columns[column][row]->isSeparator()) {
            Select({column, row});
            return;
        }
    }
}

void MenuColumnsWidget::MoveToColumn(int column)
{
    const QList<QAction*>& actions = m_columns[column];
    const int start = std::min(m_selected.row, static_cast<int>(actions.size()) - 1);
    for (int offset = 0; offset < actions.size(); ++offset) {
        for (int row : {start + offset, start - offset}) {
            if (row >= 0 && row < actions.size() && !actions[row]->isSeparator()) {
                Select({column, row});
                return;
            }
        }
    }
}

void MenuColumnsWidget::SelectFirstItem()
{
    if (!m_selected.IsValid())
        MoveVertically(+1);
}

bool MenuColumnsWidget::ActivateMnemonic(const QString& text)
{
    if (text.size() != 1 || !text[0].isPrint())
        return false;
    const QChar key = text[0].toUpper();
    QList<Position> matches;
    for (int c = 0; c < m_columns.size(); ++c) {
        for (int r = 0; r < m_columns[c].size(); ++r) {
            if (!m_columns[c][r]->isSeparator() && Mnemonic(m_columns[c][r]->text()) == key)
                matches.append({c, r});
        }
    }
    if (matches.isEmpty())
        return false;
    if (matches.size() == 1) {
        Activate(matches.front());
        return true;
    }
    // Several items share the letter: each press moves to the next of them.
    auto current = std::find_if(matches.begin(), matches.end(), [this](Position p) {
        return p.column == m_selected.column && p.row == m_selected.row;
    });
    Select(current == matches.end() || current + 1 == matches.end() ? matches.front() : *(current + 1));
    return true;
}

bool MenuColumnsWidget::HandleKey(int key, const QString& text)
{
    switch (key) {
    case Qt::Key_Up:
        MoveVertically(-1);
        return true;
    case Qt::Key_Down:
        MoveVertically(+1);
        return true;
    case Qt::Key_Left:
        if (m_selected.IsValid() && m_selected.column > 0) {
            MoveToColumn(m_selected.column - 1);
            return true;
        }
        return false;
    case Qt::Key_Right:
        if (m_selected.IsValid() && m_selected.column + 1 < m_columns.size()) {
            MoveToColumn(m_selected.column + 1);
            return true;
        }
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!m_selected.IsValid())
            return false;
        Activate(m_selected);
        return true;
    default:
        return ActivateMnemonic(text);
    }
}

void MenuColumnsWidget::mouseMoveEvent(QMouseEvent* event)
{
    Select(HitTest(event->position().toPoint()));
}

void MenuColumnsWidget::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void MenuColumnsWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Activate(HitTest(event->position().toPoint()));
}

void MenuColumnsWidget::leaveEvent(QEvent*)
{
    Select({});
}

void MenuColumnsWidget::hideEvent(QHideEvent*)
{
    m_selected = {};
}

bool MenuColumnsWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        return HandleKey(key->key(), key->text());
    }
    return QWidget::eventFilter(watched, event);
}

MenuColumnsAction::MenuColumnsAction(QMenu* menu, QList<QList<QAction*>> columns, QObject* statusTarget)
    : QWidgetAction(menu), m_widget(new MenuColumnsWidget(std::move(columns), statusTarget))
{
    setDefaultWidget(m_widget);
    menu->addAction(this);
    menu->installEventFilter(m_widget);
    // The menu makes this action current when it is opened from the keyboard
    // (Alt and the menu's letter); the columns then select their first item,
    // once the menu has shown this action's own (empty) prompt.
    connect(menu, &QMenu::hovered, m_widget, [this](QAction* action) {
        if (action == this)
            QMetaObject::invokeMethod(m_widget, &MenuColumnsWidget::SelectFirstItem, Qt::QueuedConnection);
    });
}

}  // namespace korvel
