#pragma once
// The form's grid as the worksheet's cells: what the editing rules change and
// what the Go command reads, straight from the grid.
#include "core/worksheet/WorksheetCells.h"
#include "gui/grid/MSFlexGrid.h"

class GridCells : public korvel::WorksheetCells {
public:
    explicit GridCells(CMSFlexGrid& grid) : m_grid(grid) {}

    int32_t Rows() const override { return m_grid.GetRows(); }
    int32_t Cols() const override { return m_grid.GetCols(); }
    const std::string& TextMatrix(int32_t row, int32_t col) const override { return m_grid.GetTextMatrix(row, col); }
    void SetTextMatrix(int32_t row, int32_t col, std::string text) override { m_grid.SetTextMatrix(row, col, text); }

private:
    CMSFlexGrid& m_grid;
};
