#include "core/worksheet/WorksheetRules.h"

namespace korvel {

namespace {

// A copy first: the source may be storage that the write reallocates.
void CopyCell(WorksheetCells& cells, int32_t fromRow, int32_t fromCol, int32_t toRow, int32_t toCol)
{
    std::string text = cells.TextMatrix(fromRow, fromCol);
    cells.SetTextMatrix(toRow, toCol, std::move(text));
}

void CopyShareRow(WorksheetCells& cells, int32_t from, int32_t to)
{
    for (int32_t col = kNameCol; col < cells.Cols(); ++col)
        CopyCell(cells, from, col, to, col);
}

}  // namespace

std::string ColumnHeader(int32_t col)
{
    if (col == 0)
        return "No";
    if (col == kNameCol)
        return "Name";
    return "R" + std::to_string(col - 1);
}

void LabelColumns(WorksheetCells& cells, int32_t fromCol, int32_t toCol)
{
    for (int32_t col = fromCol; col < toCol; ++col)
        cells.SetTextMatrix(0, col, ColumnHeader(col));
}

void NumberRows(WorksheetCells& cells, int32_t fromRow, int32_t toRow)
{
    for (int32_t row = fromRow; row < toRow; ++row)
        cells.SetTextMatrix(row, 0, std::to_string(row));
}

void LabelWorksheet(WorksheetCells& cells)
{
    if (cells.Rows() == 0)
        return;
    LabelColumns(cells, 0, cells.Cols());
    NumberRows(cells, 1, cells.Rows());
}

void ClearShareRow(WorksheetCells& cells, int32_t row)
{
    for (int32_t col = kNameCol; col < cells.Cols(); ++col)
        cells.SetTextMatrix(row, col, std::string());
}

void OpenShareRow(WorksheetCells& cells, int32_t row)
{
    // From the bottom up, so that no share is overwritten before it moved.
    for (int32_t i = cells.Rows() - 1; i > row; --i)
        CopyShareRow(cells, i - 1, i);
    ClearShareRow(cells, row);
}

void CloseShareRow(WorksheetCells& cells, int32_t row)
{
    for (int32_t i = row + 1; i < cells.Rows(); ++i)
        CopyShareRow(cells, i, i - 1);
}

void DeleteFirstPeriod(WorksheetCells& cells)
{
    const int32_t lastCol = cells.Cols() - 1;
    for (int32_t row = 1; row < cells.Rows(); ++row) {
        for (int32_t col = kFirstPeriodCol; col < lastCol; ++col)
            CopyCell(cells, row, col + 1, row, col);
        cells.SetTextMatrix(row, lastCol, std::string());
    }
}

}  // namespace korvel
