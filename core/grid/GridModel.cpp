#include "core/grid/GridModel.h"

#include <algorithm>

namespace korvel::grid {

namespace {

const std::string kEmpty;

int32_t ClampInt(int64_t value, int64_t low, int64_t high)
{
    return static_cast<int32_t>(std::clamp(value, low, std::max(low, high)));
}

}  // namespace

GridModel::GridModel(int32_t rows, int32_t cols)
{
    m_cols = ClampCols(cols);
    m_colWidths.assign(m_cols, -1);
    m_alignments.assign(m_cols, kAlignGeneral);
    m_cells.assign(ClampRows(rows), std::vector<Cell>(m_cols));
    m_current = Clamp(m_current, CurrentShape());
}

int32_t GridModel::ClampRows(int32_t rows) const
{
    return ClampInt(rows, int64_t{m_fixedRows} + 1, kMaxCells / std::max(m_cols, 1));
}

int32_t GridModel::ClampCols(int32_t cols) const
{
    const int64_t rows = std::max<int64_t>(static_cast<int64_t>(m_cells.size()), 1);
    return ClampInt(cols, int64_t{m_fixedCols} + 1, std::min<int64_t>(kMaxCols, kMaxCells / rows));
}

int32_t GridModel::ClampFixedRows(int32_t fixedRows) const
{
    return ClampInt(fixedRows, 0, Rows() - 1);
}

int32_t GridModel::ClampFixedCols(int32_t fixedCols) const
{
    return ClampInt(fixedCols, 0, m_cols - 1);
}

CellPos GridModel::Clamp(CellPos cell, const Shape& shape)
{
    cell.row = std::clamp(cell.row, shape.fixedRows, shape.rows - 1);
    cell.col = std::clamp(cell.col, shape.fixedCols, shape.cols - 1);
    return cell;
}

CellPos GridModel::CurrentAfterRows(int32_t rows) const
{
    Shape shape = CurrentShape();
    shape.rows = ClampRows(rows);
    return Clamp(m_current, shape);
}

CellPos GridModel::CurrentAfterCols(int32_t cols) const
{
    Shape shape = CurrentShape();
    shape.cols = ClampCols(cols);
    return Clamp(m_current, shape);
}

CellPos GridModel::CurrentAfterFixedRows(int32_t fixedRows) const
{
    Shape shape = CurrentShape();
    shape.fixedRows = ClampFixedRows(fixedRows);
    return Clamp(m_current, shape);
}

CellPos GridModel::CurrentAfterFixedCols(int32_t fixedCols) const
{
    Shape shape = CurrentShape();
    shape.fixedCols = ClampFixedCols(fixedCols);
    return Clamp(m_current, shape);
}

void GridModel::SetRows(int32_t rows)
{
    m_current = CurrentAfterRows(rows);
    m_cells.resize(ClampRows(rows), std::vector<Cell>(m_cols));
}

void GridModel::SetCols(int32_t cols)
{
    m_current = CurrentAfterCols(cols);
    m_cols = ClampCols(cols);
    for (std::vector<Cell>& row : m_cells)
        row.resize(m_cols);
    m_colWidths.resize(m_cols, -1);
    m_alignments.resize(m_cols, kAlignGeneral);
}

void GridModel::SetFixedRows(int32_t fixedRows)
{
    m_current = CurrentAfterFixedRows(fixedRows);
    m_fixedRows = ClampFixedRows(fixedRows);
}

void GridModel::SetFixedCols(int32_t fixedCols)
{
    m_current = CurrentAfterFixedCols(fixedCols);
    m_fixedCols = ClampFixedCols(fixedCols);
}

bool GridModel::Contains(int32_t row, int32_t col) const
{
    return row >= 0 && row < Rows() && col >= 0 && col < m_cols;
}

bool GridModel::CanBeCurrent(CellPos cell) const
{
    return Contains(cell.row, cell.col) && !IsFixed(cell.row, cell.col);
}

bool GridModel::SetCurrent(CellPos cell)
{
    if (!CanBeCurrent(cell))
        return false;
    m_current = cell;
    return true;
}

CellPos GridModel::ClampToScrollable(CellPos cell) const
{
    return Clamp(cell, CurrentShape());
}

const std::string& GridModel::Text(int32_t row, int32_t col) const
{
    return Contains(row, col) ? m_cells[row][col].text : kEmpty;
}

void GridModel::SetText(int32_t row, int32_t col, std::string text)
{
    if (Contains(row, col))
        m_cells[row][col].text = std::move(text);
}

uint32_t GridModel::Color(int32_t row, int32_t col) const
{
    if (Contains(row, col) && m_cells[row][col].color != kUnsetColor)
        return m_cells[row][col].color;
    return IsFixed(row, col) ? kFixedGrey : kWhite;
}

void GridModel::SetColor(int32_t row, int32_t col, uint32_t colorBgr)
{
    if (Contains(row, col))
        m_cells[row][col].color = colorBgr & 0x00FFFFFFu;
}

int32_t GridModel::ColWidthTwips(int32_t col) const
{
    if (col < 0 || col >= m_cols || m_colWidths[col] < 0)
        return kDefaultColWidthTwips;
    return m_colWidths[col];
}

void GridModel::SetColWidthTwips(int32_t col, int32_t twips)
{
    if (col >= 0 && col < m_cols)
        m_colWidths[col] = twips < 0 ? -1 : std::min(twips, kMaxColWidthTwips);
}

int16_t GridModel::ColAlignment(int32_t col) const
{
    return col >= 0 && col < m_cols ? m_alignments[col] : int16_t{kAlignGeneral};
}

void GridModel::SetColAlignment(int32_t col, int16_t alignment)
{
    if (col >= 0 && col < m_cols && alignment >= kAlignLeftTop && alignment <= kAlignGeneral)
        m_alignments[col] = alignment;
}

}  // namespace korvel::grid
