// Delete Period: the returns of the first period go, every later period moves
// one column to the left, and the last period's column is left empty. The
// number of periods and the headers stay as they are.
#include "gui/app/MainFrame.h"

#include "gui/framework/MessageBox.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/GridCells.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

void CMainFrame::OnDeletePeriod()
{
    CTavoView* view = GetActiveView();
    if (!view)
        return;
    CMSFlexGrid& grid = view->m_grid;
    if (korvel::MessageBox(this, QStringLiteral("Are you sure \ndeleting the first period ?"),
                           QStringLiteral("Question"), korvel::MbButtons::YesNo, korvel::MbIcon::Question)
        != korvel::IDYES)
        return;

    GridCells cells(grid);
    korvel::DeleteFirstPeriod(cells);
    if (CTavoDoc* document = GetActiveDocument())
        document->SetModifiedFlag(true);
    // The current cell's bytes, not a decoded copy, so that they go back unchanged.
    view->m_cellEdit->SetCellBytes(grid.GetText());
    view->m_cellEdit->SetModify(false);
}
