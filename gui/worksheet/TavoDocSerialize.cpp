// The worksheet's way between the view's grid and the document's bytes.
#include "gui/worksheet/TavoDoc.h"

#include "core/worksheet/DocumentFormat.h"
#include "gui/worksheet/TavoView.h"

void CTavoDoc::Serialize(korvel::doc::DocumentWriter& out)
{
    CTavoView* view = GetFirstView();
    const CMSFlexGrid& grid = view->Grid();
    const int32_t rows = grid.GetRows();
    const int32_t cols = grid.GetCols();
    // A text too long for the field has been reported; it is stored as it is.
    view->UpdateData(true);

    out.WriteInt32(rows);
    out.WriteInt32(cols);
    out.WriteString(view->MinReturnBytes());
    for (int32_t row = 1; row < rows; ++row)
        for (int32_t col = 1; col < cols; ++col)
            out.WriteString(grid.GetTextMatrix(row, col));
}

// The document's bytes are read by the format's one reader; the view takes
// what it read, and of a short file only the cells before the cut, so that
// the rest of the worksheet on screen stays as it was.
CTavoDoc::LoadOutcome CTavoDoc::ShowLoaded(const korvel::doc::LoadResult& loaded)
{
    CTavoView* view = GetFirstView();
    view->UpdateData(true);
    if (!loaded.headRead)
        return LoadOutcome::ShortFile;
    if (loaded.error == korvel::doc::LoadError::CountsOutOfRange) {
        view->ResetWorksheet();
        return LoadOutcome::CountsOutOfRange;
    }
    const bool complete = loaded.error != korvel::doc::LoadError::ShortFile;
    view->ShowWorksheet(loaded.table, loaded.cellsRead, complete);
    return complete ? LoadOutcome::Loaded : LoadOutcome::ShortFile;
}
