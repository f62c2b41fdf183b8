// UNDER CONSTRUCTION: empty handlers so that the program links while the editing commands are written.
#include "worksheet/TavoView.h"
void CTavoView::OnInsertShare() {}
void CTavoView::OnDeleteShare() {}
void CTavoView::OnEditUndo() {}
void CTavoView::OnEditCut() {}
void CTavoView::OnEditCopy() {}
void CTavoView::OnEditPaste() {}
void CTavoView::OnUpdateEditUndo(korvel::CCmdUI*) {}
void CTavoView::OnUpdateEditCopyCut(korvel::CCmdUI*) {}
void CTavoView::OnUpdateEditPaste(korvel::CCmdUI*) {}
bool CTavoView::IsEditControl(const QWidget*) { return false; }
