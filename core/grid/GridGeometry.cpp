#include "core/grid/GridGeometry.h"

#include <algorithm>

namespace korvel::grid {

void GridGeometry::SetColumnWidths(const std::vector<int32_t>& widthsPx)
{
    m_colX.resize(widthsPx.size() + 1);
    m_colX[0] = 0;
    for (size_t c = 0; c < widthsPx.size(); ++c)
        m_colX[c + 1] = m_colX[c] + std::max(widthsPx[c], 0);
    m_fixedCols = std::min(m_fixedCols, Cols());
    ClampScroll();
}

void GridGeometry::SetFixed(int32_t fixedRows, int32_t fixedCols)
{
    m_fixedRows = std::max(fixedRows, 0);
    m_fixedCols = std::clamp(fixedCols, 0, Cols());
    ClampScroll();
}

void GridGeometry::SetViewport(int32_t width, int32_t height)
{
    m_viewWidth = std::max(width, 0);
    m_viewHeight = std::max(height, 0);
    ClampScroll();
}

int32_t GridGeometry::PageRows() const
{
    return std::max((m_viewHeight - FixedHeight()) / m_rowHeight, 1);
}

int32_t GridGeometry::PageCols() const
{
    const int32_t room = m_viewWidth - FixedWidth();
    int32_t count = 0;
    for (int32_t c = m_firstCol, used = 0; c < Cols(); ++c) {
        used += ColumnWidth(c);
        if (used > room)
            break;
        ++count;
    }
    return std::max(count, 1);
}

int32_t GridGeometry::MaxFirstRow() const
{
    return std::max(m_rows - PageRows(), m_fixedRows);
}

int32_t GridGeometry::MaxFirstCol() const
{
    // The smallest first column that still shows the last column wholly.
    const int32_t room = m_viewWidth - FixedWidth();
    int32_t first = Cols();
    while (first > m_fixedCols && m_colX[Cols()] - m_colX[first - 1] <= room)
        --first;
    return std::min(first, std::max(Cols() - 1, m_fixedCols));
}

void GridGeometry::ClampScroll()
{
    m_firstRow = std::clamp(m_firstRow, m_fixedRows, MaxFirstRow());
    m_firstCol = std::clamp(m_firstCol, m_fixedCols, MaxFirstCol());
}

void GridGeometry::SetFirstRow(int32_t row)
{
    m_firstRow = row;
    ClampScroll();
}

void GridGeometry::SetFirstCol(int32_t col)
{
    m_firstCol = col;
    ClampScroll();
}

int32_t GridGeometry::RowTop(int32_t row) const
{
    if (row < m_fixedRows)
        return row * m_rowHeight;
    return FixedHeight() + (row - m_firstRow) * m_rowHeight;
}

int32_t GridGeometry::ColLeft(int32_t col) const
{
    if (col < m_fixedCols)
        return m_colX[col];
    return FixedWidth() + m_colX[col] - m_colX[m_firstCol];
}

bool GridGeometry::IsRowShown(int32_t row) const
{
    if (row < 0 || row >= m_rows)
        return false;
    return row < m_fixedRows || (row >= m_firstRow && RowTop(row) < m_viewHeight);
}

bool GridGeometry::IsColShown(int32_t col) const
{
    if (col < 0 || col >= Cols())
        return false;
    return col < m_fixedCols || (col >= m_firstCol && ColLeft(col) < m_viewWidth);
}

CellPos GridGeometry::HitTest(int32_t x, int32_t y) const
{
    const CellPos none{-1, -1};
    if (x < 0 || y < 0 || x >= m_viewWidth || y >= m_viewHeight)
        return none;
    const int32_t row = y < FixedHeight() ? y / m_rowHeight : m_firstRow + (y - FixedHeight()) / m_rowHeight;
    // Unscrolled x of the point, then the column whose span holds it.
    const int32_t unscrolledX = x < FixedWidth() ? x : x - FixedWidth() + m_colX[m_firstCol];
    const auto after = std::upper_bound(m_colX.begin(), m_colX.end(), unscrolledX);
    const int32_t col = static_cast<int32_t>(after - m_colX.begin()) - 1;
    if (row >= m_rows || col >= Cols() || (x >= FixedWidth() && col < m_fixedCols))
        return none;
    return {row, col};
}

void GridGeometry::ScrollIntoView(CellPos cell)
{
    if (cell.row >= m_fixedRows && cell.row < m_rows) {
        if (cell.row < m_firstRow)
            m_firstRow = cell.row;
        else if (cell.row >= m_firstRow + PageRows())
            m_firstRow = cell.row - PageRows() + 1;
    }
    if (cell.col >= m_fixedCols && cell.col < Cols()) {
        if (cell.col < m_firstCol) {
            m_firstCol = cell.col;
        } else {
            const int32_t room = m_viewWidth - FixedWidth();
            while (m_firstCol < cell.col && m_colX[cell.col + 1] - m_colX[m_firstCol] > room)
                ++m_firstCol;
        }
    }
    ClampScroll();
}

}  // namespace korvel::grid
