// Insert share, Delete share and the four Edit commands of the form.
#include "gui/worksheet/TavoView.h"

#include "gui/framework/CmdUI.h"
#include "gui/framework/MenuBarFocus.h"
#include "gui/framework/MessageBox.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/FieldText.h"
#include "gui/worksheet/GridCells.h"
#include "gui/worksheet/TavoDoc.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

#include <string>

namespace {

// The text box of this form that has the keyboard focus (or lent it to the
// menu bar), or null. A text box of another window (the Single analysis
// window) is not the form's business.
QLineEdit* FocusedFormEdit(const CTavoView* view)
{
    QWidget* focus = korvel::CommandFocusWidget();
    if (!focus || !CTavoView::IsEditControl(focus) || !view->isAncestorOf(focus))
        return nullptr;
    return static_cast<QLineEdit*>(focus);
}

bool CanCopyOrCut(const QLineEdit* edit)
{
    return edit && edit->hasSelectedText();
}

bool ClipboardHoldsText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

bool CanPaste(const QLineEdit* edit)
{
    return edit && ClipboardHoldsText();
}

bool CanUndo(const QLineEdit* edit)
{
    return edit && edit->isUndoAvailable();
}

// The cell box shows the blanked current cell, as loading it from the cell would.
void ShowBlankCell(CCellEdit* cellEdit)
{
    cellEdit->SetCellBytes(std::string());
    cellEdit->SetModify(false);
}

void MarkModified(CTavoDoc* document)
{
    if (document)
        document->SetModifiedFlag(true);
}

}  // namespace

bool CTavoView::IsEditControl(const QWidget* window)
{
    return qobject_cast<const QLineEdit*>(window) != nullptr;
}

void CTavoView::OnInsertShare()
{
    const int32_t row = m_grid.GetRow();
    if (row < 1)
        return;
    const int32_t rows = m_grid.GetRows();
    // At the largest worksheet there is no share count to grow to: leave it alone.
    if (rows - 1 >= kMaxAssets)
        return;

    m_assetsEdit->setText(QString::number(rows));
    // Should the view have refused the new count, there is no row to shift into.
    if (m_grid.GetRows() != rows + 1)
        return;
    GridCells cells(m_grid);
    korvel::OpenShareRow(cells, row);
    ShowBlankCell(m_cellEdit);
}

void CTavoView::OnDeleteShare()
{
    const int32_t row = m_grid.GetRow();
    if (row < 1)
        return;
    const QString question = QStringLiteral("Delete ") + korvel::DisplayTextFromBytes(m_grid.GetTextMatrix(row, 1))
                             + QStringLiteral(" on row ") + QString::number(row);
    if (korvel::MessageBox(this, question, QStringLiteral("Question"), korvel::MbButtons::YesNo,
                           korvel::MbIcon::Question)
        != korvel::IDYES)
        return;

    GridCells cells(m_grid);
    const int32_t rows = m_grid.GetRows();
    if (row == 1 && rows == 2) {
        // The worksheet keeps at least one share: the only one is blanked instead.
        korvel::ClearShareRow(cells, 1);
        ShowBlankCell(m_cellEdit);
        MarkModified(GetDocument());
        return;
    }
    korvel::CloseShareRow(cells, row);
    // The last row, now a copy of the one above it, goes with the smaller count.
    m_assetsEdit->setText(QString::number(rows - 2));
}

void CTavoView::OnUpdateEditCopyCut(korvel::CCmdUI* cmdUI)
{
    cmdUI->Enable(CanCopyOrCut(FocusedFormEdit(this)));
}

void CTavoView::OnUpdateEditPaste(korvel::CCmdUI* cmdUI)
{
    cmdUI->Enable(CanPaste(FocusedFormEdit(this)));
}

void CTavoView::OnUpdateEditUndo(korvel::CCmdUI* cmdUI)
{
    cmdUI->Enable(CanUndo(FocusedFormEdit(this)));
}

// Each command checks its own enabled state again: a key can arrive before
// the toolbar's state has caught up with a focus change.

void CTavoView::OnEditCopy()
{
    if (QLineEdit* edit = FocusedFormEdit(this); CanCopyOrCut(edit))
        edit->copy();
}

void CTavoView::OnEditCut()
{
    QLineEdit* edit = FocusedFormEdit(this);
    if (!CanCopyOrCut(edit))
        return;
    // Qt's cut() deletes from a read-only box as well; the read-only Assets and
    // Periods boxes only give their selection to the clipboard.
    if (edit->isReadOnly())
        edit->copy();
    else
        edit->cut();
    MarkModified(GetDocument());
}

void CTavoView::OnEditPaste()
{
    QLineEdit* edit = FocusedFormEdit(this);
    if (!CanPaste(edit))
        return;
    // Qt's paste() writes into a read-only box as well; such a box keeps its text.
    if (!edit->isReadOnly())
        edit->paste();
    MarkModified(GetDocument());
}

void CTavoView::OnEditUndo()
{
    if (QLineEdit* edit = FocusedFormEdit(this); CanUndo(edit))
        edit->undo();
}
