// The Go command of the worksheet view: the optimizer checks, builds,
// solves and walks the solutions and shows them; the view gives it the
// worksheet and keeps the last solution and the parsed Min Return.
#include "gui/optimizer/GoDialogs.h"
#include "gui/worksheet/GridCells.h"
#include "gui/worksheet/TavoView.h"

void CTavoView::OnGo()
{
    // A failed exchange has shown its own message; Go goes on with the text
    // the member has taken.
    UpdateData(true);
    const GridCells cells(m_grid);
    m_minReturn = korvel::RunGoWithDialogs(this, cells, MinReturnBytes(), m_solution).minReturn;
}
