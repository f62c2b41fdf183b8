// The worksheet's way between the view's grid and the document's bytes.
#include "worksheet/TavoDoc.h"

#include "framework/UpDownControl.h"
#include "worksheet/CellEdit.h"
#include "worksheet/TavoView.h"
#include "worksheet/core/DocumentFormat.h"

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

CTavoDoc::LoadOutcome CTavoDoc::Serialize(korvel::doc::DocumentReader& in)
{
    CTavoView* view = GetFirstView();
    CMSFlexGrid& grid = view->m_grid;
    view->UpdateData(true);

    int32_t rows = 0, cols = 0;
    std::string text;
    if (!in.ReadInt32(rows) || !in.ReadInt32(cols) || !in.ReadString(text))
        return LoadOutcome::ShortFile;
    view->SetMinReturnBytes(text);
    view->UpdateData(false);

    if (!korvel::doc::CountsInRange(rows, cols)) {
        view->ResetWorksheet();
        return LoadOutcome::CountsOutOfRange;
    }
    // A position that changes runs OnChangeAssets / OnChangePeriods, which
    // size the grid and label it.
    view->m_assetsSpin->SetPos(rows - 1);
    view->m_periodsSpin->SetPos(cols - 2);
    grid.SetRows(rows);
    grid.SetCols(cols);
    for (int32_t col = 1; col < cols; ++col)
        grid.SetColAlignment(col, kLeftAlignment);

    for (int32_t row = 1; row < rows; ++row) {
        for (int32_t col = 1; col < cols; ++col) {
            if (!in.ReadString(text))
                return LoadOutcome::ShortFile;
            grid.SetTextMatrix(row, col, text);
        }
    }
    view->m_justLoaded = true;
    view->m_cellEdit->SetCellBytes(grid.GetText());
    return LoadOutcome::Loaded;
}
