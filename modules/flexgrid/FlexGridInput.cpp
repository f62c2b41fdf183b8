// Mouse and keyboard: both move the current cell exactly as SetRow and SetCol
// do, with the same events.
#include "modules/flexgrid/FlexGridWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace korvel::grid {

void FlexGridWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    const QPoint at = event->position().toPoint();
    const CellPos cell = m_geometry.HitTest(at.x(), at.y());
    if (m_model.CanBeCurrent(cell))
        MoveCurrent(cell);
}

void FlexGridWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a click of its own.
    mousePressEvent(event);
}

void FlexGridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    if (viewport()->rect().contains(event->position().toPoint()))
        Fire(&IFlexGridEvents::OnClick);
}

void FlexGridWidget::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        MoveByKey(event->key(), event->modifiers());
        event->accept();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void FlexGridWidget::MoveByKey(int key, Qt::KeyboardModifiers modifiers)
{
    const CellPos current = m_model.Current();
    const bool control = modifiers & Qt::ControlModifier;
    CellPos target = current;
    switch (key) {
    case Qt::Key_Up:
        --target.row;
        break;
    case Qt::Key_Down:
        ++target.row;
        break;
    case Qt::Key_Left:
        --target.col;
        break;
    case Qt::Key_Right:
        ++target.col;
        break;
    case Qt::Key_PageUp:
        target.row -= m_geometry.PageRows();
        break;
    case Qt::Key_PageDown:
        target.row += m_geometry.PageRows();
        break;
    case Qt::Key_Home:
        target.col = 0;
        if (control)
            target.row = 0;
        break;
    case Qt::Key_End:
        target.col = m_model.Cols() - 1;
        if (control)
            target.row = m_model.Rows() - 1;
        break;
    default:
        break;
    }
    target = m_model.ClampToScrollable(target);
    if (target == current)
        ScrollIntoView(current);
    else
        MoveCurrent(target);
}

void FlexGridWidget::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    UpdateCell(m_model.Current().row, m_model.Current().col);
}

void FlexGridWidget::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    UpdateCell(m_model.Current().row, m_model.Current().col);
}

}  // namespace korvel::grid
