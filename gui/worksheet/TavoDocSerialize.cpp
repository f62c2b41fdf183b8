// The worksheet's way between the view's grid and the document's bytes.
#include "gui/worksheet/TavoDoc.h"

#include "core/worksheet/DocumentFormat.h"
#include "gui/framework/UpDownControl.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/TavoView.h"

namespace {

constexpr int16_t kLeftAlignment = 1;

}  // namespace

void CTavoDoc::Serialize(korvel::doc::DocumentWriter& out)
{
    CTavoView* view = GetFirstView();
    CMSFlexGrid& grid = view->m_grid;
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
    CMSFlexGrid& grid = view->m_grid;
    view->UpdateData(true);
    if (!loaded.headRead)
        return LoadOutcome::ShortFile;
    if (loaded.error == korvel::doc::LoadError::CountsOutOfRange) {
        view->ResetWorksheet();
        return LoadOutcome::CountsOutOfRange;
    }
    const korvel::WorksheetTable& table = loaded.table;
    view->SetMinReturnBytes(table.minReturnText);
    view->UpdateData(false);

    const int32_t rows = table.Rows(), cols = table.Cols();
    // A position that changes runs OnChangeAssets / OnChangePeriods, which
    // size the grid and label it.
    view->m_assetsSpin->SetPos(rows - 1);
    view->m_periodsSpin->SetPos(cols - 2);
    grid.SetRows(rows);
    grid.SetCols(cols);
    for (int32_t col = 1; col < cols; ++col)
        grid.SetColAlignment(col, kLeftAlignment);

    size_t left = loaded.cellsRead;
    for (int32_t row = 1; row < rows && left > 0; ++row)
        for (int32_t col = 1; col < cols && left > 0; ++col, --left)
            grid.SetTextMatrix(row, col, table.TextMatrix(row, col));
    if (loaded.error == korvel::doc::LoadError::ShortFile)
        return LoadOutcome::ShortFile;
    view->m_justLoaded = true;
    view->m_cellEdit->SetCellBytes(grid.GetText());
    return LoadOutcome::Loaded;
}
