// The worksheet's shape (Assets, Periods, reset) and the cell box's tie to the grid.
#include "gui/worksheet/TavoView.h"

#include "core/worksheet/WorksheetTable.h"
#include "gui/framework/UpDownControl.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/GridCells.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <string>

namespace {

constexpr int32_t kResetColumnWidthTwips = 500;
constexpr int16_t kLeftAlignment = 1;

}  // namespace

bool CTavoView::ResetWorksheet()
{
    if (m_justLoaded) {
        m_justLoaded = false;
        return false;
    }
    if (!m_grid.IsCreated())
        return false;
    // Each position that changes runs its change handler, which sizes the grid.
    m_assetsSpin->SetRange(kMinAssets, kMaxAssets);
    m_assetsSpin->SetPos(kMinAssets);
    m_periodsSpin->SetRange(kMinPeriods, kMaxPeriods);
    m_periodsSpin->SetPos(kMinPeriods);

    m_grid.SetColWidth(0, kResetColumnWidthTwips);
    GridCells cells(m_grid);
    korvel::LabelColumns(cells, 0, korvel::kFirstPeriodCol);
    korvel::NumberRows(cells, 1, 2);
    m_grid.SetColAlignment(1, kLeftAlignment);
    for (int32_t col = 1; col <= kMinPeriods + 1; ++col)
        m_grid.SetTextMatrix(1, col, std::string());

    m_minReturnText.clear();
    UpdateData(false);
    m_cellEdit->SetCellBytes(std::string());
    return true;
}

int CTavoView::AcceptedSpinValue(korvel::UpDownControl* spin, int gridCount)
{
    const std::optional<int> value = spin->PosFromBuddy();
    if (value && *value >= spin->Lower() && *value <= spin->Upper())
        return *value;
    // Refused: the field shows again the count the grid really has, without
    // running the change handler a second time.
    QLineEdit* buddy = spin->GetBuddy();
    const QSignalBlocker quiet(buddy);
    buddy->setText(spin->FormatPos(gridCount));
    return -1;
}

void CTavoView::OnChangeAssets()
{
    if (!GridBound())
        return;
    const int32_t oldRows = m_grid.GetRows();
    const int assets = AcceptedSpinValue(m_assetsSpin, oldRows - 1);
    if (assets < 0)
        return;
    const int32_t newRows = assets + 1;
    if (newRows != oldRows)
        MarkDocumentModified();
    m_grid.SetRows(newRows);
    m_grid.SetCurrentCellColor(kCurrentCellColor);
    LoadCellEdit();
    if (newRows > oldRows) {
        GridCells cells(m_grid);
        korvel::NumberRows(cells, std::max(oldRows - 1, 1), newRows);
    }
}

void CTavoView::OnChangePeriods()
{
    if (!GridBound())
        return;
    const int periods = AcceptedSpinValue(m_periodsSpin, m_grid.GetCols() - 2);
    if (periods < 0)
        return;
    const bool changed = periods + 2 != m_grid.GetCols();
    m_grid.SetCols(periods + 2);
    for (int32_t col = korvel::kFirstPeriodCol; col <= periods + 1; ++col)
        m_grid.SetColAlignment(col, kLeftAlignment);
    GridCells cells(m_grid);
    korvel::LabelColumns(cells, korvel::kFirstPeriodCol, periods + 2);
    if (changed)
        MarkDocumentModified();
    LoadCellEdit();
    m_grid.SetCurrentCellColor(kCurrentCellColor);
}

void CTavoView::LoadCellEdit()
{
    if (!m_grid.IsCreated())
        return;
    const int32_t row = m_grid.GetRow();
    const int32_t col = m_grid.GetCol();
    if (row == 0 || col == 0)
        return;
    // Writes the same bytes back through OnChangeCellEdit when the text changes.
    m_cellEdit->SetCellBytes(m_grid.GetTextMatrix(row, col));
    m_cellEdit->SetModify(false);
}

void CTavoView::OnChangeCellEdit()
{
    if (!m_grid.IsCreated())
        return;
    // The box also changes when it is loaded from a cell; only a text that
    // differs from the cell's is an edit, whichever way it came (keys, the
    // box's own menu, a mouse paste, Undo).
    std::string bytes = m_cellEdit->CellBytes();
    if (bytes == m_grid.GetText())
        return;
    m_grid.SetText(bytes);
    MarkDocumentModified();
}

void CTavoView::OnClickGrid()
{
    m_cellEdit->setFocus(Qt::OtherFocusReason);
}

void CTavoView::OnLeaveCellGrid()
{
    if (!m_grid.IsCreated())
        return;
    m_grid.SetCurrentCellColor(kLeftCellColor);
}

void CTavoView::OnRowColChangeGrid()
{
    if (!m_grid.IsCreated())
        return;
    m_grid.SetCurrentCellColor(kCurrentCellColor);
}

void CTavoView::ShowWorksheet(const korvel::WorksheetTable& table, size_t cellsShown, bool complete)
{
    SetMinReturnBytes(table.minReturnText);
    UpdateData(false);

    const int32_t rows = table.Rows(), cols = table.Cols();
    // A position that changes runs OnChangeAssets / OnChangePeriods, which
    // size the grid and label it.
    m_assetsSpin->SetPos(rows - 1);
    m_periodsSpin->SetPos(cols - 2);
    m_grid.SetRows(rows);
    m_grid.SetCols(cols);
    for (int32_t col = 1; col < cols; ++col)
        m_grid.SetColAlignment(col, kLeftAlignment);

    size_t left = cellsShown;
    for (int32_t row = 1; row < rows && left > 0; ++row)
        for (int32_t col = 1; col < cols && left > 0; ++col, --left)
            m_grid.SetTextMatrix(row, col, table.TextMatrix(row, col));
    if (!complete)
        return;
    m_justLoaded = true;
    m_cellEdit->SetCellBytes(m_grid.GetText());
}

void CTavoView::DeleteFirstPeriod()
{
    GridCells cells(m_grid);
    korvel::DeleteFirstPeriod(cells);
    MarkDocumentModified();
    // The current cell's bytes, not a decoded copy, so that they go back unchanged.
    m_cellEdit->SetCellBytes(m_grid.GetText());
    m_cellEdit->SetModify(false);
}

void CTavoView::SetShareCount(int shares)
{
    m_assetsSpin->SetPos(shares);
}

void CTavoView::SetPeriodCount(int periods)
{
    m_periodsSpin->SetPos(periods);
}

void CTavoView::MakeCurrent(int32_t row, int32_t col)
{
    m_grid.SetRow(row);
    m_grid.SetCol(col);
}

void CTavoView::SetCellBytes(int32_t row, int32_t col, const std::string& bytes)
{
    m_grid.SetTextMatrix(row, col, bytes);
}
