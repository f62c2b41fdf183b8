#include "gui/worksheet/CellEdit.h"

#include "gui/grid/MSFlexGrid.h"
#include "gui/worksheet/FieldText.h"

#include <QKeyEvent>

#include <algorithm>

CCellEdit::CCellEdit(QWidget* parent) : QLineEdit(parent)
{
    // textEdited is raised for the user's changes only (typing, cut, paste,
    // undo), never for setText: exactly the edit control's modify flag.
    connect(this, &QLineEdit::textEdited, this, [this] { m_userEdited = true; });
}

void CCellEdit::SetCellBytes(const std::string& bytes)
{
    m_loadedBytes = bytes;
    const QString whole = korvel::DisplayTextFromBytes(m_loadedBytes);
    // Set before the text, whose change handler asks for the bytes at once.
    m_loadedText = korvel::ShownText(whole);
    korvel::SetTextKeepingWhole(this, whole, m_limit);
}

std::string CCellEdit::CellBytes() const
{
    const QString shown = text();
    if (shown == m_loadedText)
        return m_loadedBytes;
    return shown.toStdString();
}

void CCellEdit::SetTextLimit(int characters)
{
    m_limit = std::clamp(characters, 1, korvel::kLineEditCeiling);
    const int limit = std::max(m_limit, static_cast<int>(text().size()));
    if (maxLength() != limit)
        setMaxLength(limit);
}

bool CCellEdit::HandleGridKey(const QKeyEvent* event)
{
    if (!m_pGrid)
        return true;
    const int32_t row = m_pGrid->GetRow();
    const int32_t col = m_pGrid->GetCol();
    switch (event->key()) {
    case Qt::Key_Shift:
        m_shiftDown = true;
        return true;
    case Qt::Key_Up:
        if (row > 1)
            m_pGrid->SetRow(row - 1);
        return true;
    case Qt::Key_Down:
        if (row < m_pGrid->GetRows() - 1)
            m_pGrid->SetRow(row + 1);
        return true;
    case Qt::Key_Left:
        if (m_shiftDown && col > 1) {
            m_pGrid->SetCol(col - 1);
            return true;
        }
        return false;
    case Qt::Key_Right:
        if (m_shiftDown && col < m_pGrid->GetCols() - 1) {
            m_pGrid->SetCol(col + 1);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void CCellEdit::keyPressEvent(QKeyEvent* event)
{
    // Shift released while another window had the focus never reaches this
    // box, so every key also reports whether Shift is held now.
    if (event->key() != Qt::Key_Shift)
        m_shiftDown = event->modifiers().testFlag(Qt::ShiftModifier);
    if (HandleGridKey(event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CCellEdit::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        m_shiftDown = false;
        event->accept();
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}
