#pragma once
// The worksheet as the optimizer reads it, straight from the view's grid.
#include "core/text/CellSource.h"
#include "gui/grid/MSFlexGrid.h"

namespace korvel {

class GridCellSource : public CellSource {
public:
    explicit GridCellSource(const CMSFlexGrid& grid) : m_grid(grid) {}

    int32_t Rows() const override { return m_grid.GetRows(); }
    int32_t Cols() const override { return m_grid.GetCols(); }
    const std::string& TextMatrix(int32_t row, int32_t col) const override { return m_grid.GetTextMatrix(row, col); }

private:
    const CMSFlexGrid& m_grid;
};

}  // namespace korvel
