#pragma once
// Where the cells stand on screen, in pixels: fixed rows and columns pinned
// to the top and left, the rest scrolled by whole rows and columns. Rows share
// one height, so every row lookup is O(1); columns use prefix sums.
#include "core/grid/GridModel.h"

#include <cstdint>
#include <vector>

namespace korvel::grid {

class GridGeometry {
public:
    // Layout inputs.
    void SetColumnWidths(const std::vector<int32_t>& widthsPx);
    void SetRowCount(int32_t rows) { m_rows = rows; }
    void SetRowHeight(int32_t px) { m_rowHeight = px > 0 ? px : 1; }
    void SetFixed(int32_t fixedRows, int32_t fixedCols);
    void SetViewport(int32_t width, int32_t height);

    int32_t Rows() const { return m_rows; }
    int32_t Cols() const { return static_cast<int32_t>(m_colX.size()) - 1; }
    int32_t RowHeight() const { return m_rowHeight; }
    int32_t ColumnWidth(int32_t col) const { return m_colX[col + 1] - m_colX[col]; }
    int32_t FixedWidth() const { return m_colX[m_fixedCols]; }
    int32_t FixedHeight() const { return m_fixedRows * m_rowHeight; }
    int32_t ViewportWidth() const { return m_viewWidth; }
    int32_t ViewportHeight() const { return m_viewHeight; }

    // The first scrolled row and column shown. Setting clamps into range.
    int32_t FirstRow() const { return m_firstRow; }
    int32_t FirstCol() const { return m_firstCol; }
    void SetFirstRow(int32_t row);
    void SetFirstCol(int32_t col);
    int32_t MaxFirstRow() const;
    int32_t MaxFirstCol() const;

    // Scrolled rows that fit wholly below the fixed rows (at least 1).
    int32_t PageRows() const;
    int32_t PageCols() const;

    // Top and left edges in viewport pixels (of fixed cells as well).
    int32_t RowTop(int32_t row) const;
    int32_t ColLeft(int32_t col) const;
    // Whether a cell is drawn at all with the current scroll position.
    bool IsRowShown(int32_t row) const;
    bool IsColShown(int32_t col) const;

    // The cell under a viewport point, or {-1, -1} outside every cell.
    CellPos HitTest(int32_t x, int32_t y) const;

    // Scrolls, as little as possible, so that the cell is wholly visible
    // (as far as the viewport allows).
    void ScrollIntoView(CellPos cell);

private:
    void ClampScroll();

    std::vector<int32_t> m_colX{0};  // prefix sums: m_colX[c] = left of column c unscrolled
    int32_t m_rows = 0;
    int32_t m_rowHeight = 16;
    int32_t m_fixedRows = 0;
    int32_t m_fixedCols = 0;
    int32_t m_viewWidth = 0;
    int32_t m_viewHeight = 0;
    int32_t m_firstRow = 0;
    int32_t m_firstCol = 0;
};

}  // namespace korvel::grid
