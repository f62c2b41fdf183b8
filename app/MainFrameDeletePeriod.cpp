// Delete Period: the returns of the first period go, every later period moves
// one column to the left, and the last period's column is left empty. The
// number of periods and the headers stay as they are.
#include "app/MainFrame.h"

#include "framework/MessageBox.h"
#include "worksheet/CellEdit.h"
#include "worksheet/TavoDoc.h"
#include "worksheet/TavoView.h"

#include <string>

namespace {

constexpr int32_t kFirstPeriodCol = 2;

void ShiftPeriodsLeft(CMSFlexGrid& grid, int32_t row, int32_t lastCol)
{
    for (int32_t col = kFirstPeriodCol; col < lastCol; ++col) {
        // A copy, not the reference into the control's own storage that a set may move.
        const std::string text = grid.GetTextMatrix(row, col + 1);
        grid.SetTextMatrix(row, col, text);
    }
    grid.SetTextMatrix(row, lastCol, std::string());
}

}  // namespace

void CMainFrame::OnDeletePeriod()
{
    CTavoView* view = GetActiveView();
    if (!view)
        return;
    CMSFlexGrid& grid = view->m_grid;
    const int32_t cols = grid.GetCols();
    const int32_t rows = grid.GetRows();
    if (korvel::MessageBox(this, QStringLiteral("Are you sure \ndeleting the first period ?"),
                           QStringLiteral("Question"), korvel::MbButtons::YesNo,
                           korvel::MbIcon::Question) != korvel::IDYES)
        return;

    for (int32_t row = 1; row < rows; ++row)
        ShiftPeriodsLeft(grid, row, cols - 1);
    if (CTavoDoc* document = GetActiveDocument())
        document->SetModifiedFlag(true);
    // The current cell's bytes, not a decoded copy, so that they go back unchanged.
    view->m_cellEdit->SetCellBytes(grid.GetText());
    view->m_cellEdit->SetModify(false);
}
