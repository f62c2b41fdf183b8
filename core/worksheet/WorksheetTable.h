#pragma once
// A worksheet held in memory without any window: what korvel-solve loads and
// what the tests build. Laid out like the grid (see CellSource).
#include "core/worksheet/WorksheetCells.h"

#include <string>
#include <vector>

namespace korvel {

class WorksheetTable : public WorksheetCells {
public:
    // The reset worksheet: one share, three periods, every text empty, headers set.
    WorksheetTable();
    WorksheetTable(int32_t rows, int32_t cols);

    int32_t Rows() const override { return m_rows; }
    int32_t Cols() const override { return m_cols; }
    const std::string& TextMatrix(int32_t row, int32_t col) const override;
    void SetTextMatrix(int32_t row, int32_t col, std::string text) override;

    // Keeps the cells inside the new size, drops the rest, adds empty ones,
    // and labels headers ("No", "Name", "R%d") and row numbers ("%d").
    void Resize(int32_t rows, int32_t cols);

    std::string minReturnText;

private:
    int32_t m_rows = 0;
    int32_t m_cols = 0;
    std::vector<std::string> m_cells;  // row-major, m_rows * m_cols
};

}  // namespace korvel
