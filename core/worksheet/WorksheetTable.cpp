#include "core/worksheet/WorksheetTable.h"

#include "core/worksheet/WorksheetRules.h"

#include <algorithm>
#include <utility>

namespace korvel {

namespace {

const std::string& EmptyText()
{
    static const std::string empty;
    return empty;
}

}  // namespace

WorksheetTable::WorksheetTable() : WorksheetTable(2, 5) {}

WorksheetTable::WorksheetTable(int32_t rows, int32_t cols)
{
    Resize(rows, cols);
}

// Like the grid, a cell outside the table reads as "" and a write there is
// dropped: callers index with counts that came from a file or from the user.
const std::string& WorksheetTable::TextMatrix(int32_t row, int32_t col) const
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return EmptyText();
    return m_cells[static_cast<size_t>(row) * m_cols + col];
}

void WorksheetTable::SetTextMatrix(int32_t row, int32_t col, std::string text)
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return;
    m_cells[static_cast<size_t>(row) * m_cols + col] = std::move(text);
}

void WorksheetTable::Resize(int32_t rows, int32_t cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (cols == m_cols) {
        m_cells.resize(static_cast<size_t>(rows) * cols);
    } else {
        std::vector<std::string> cells(static_cast<size_t>(rows) * cols);
        const int32_t keptRows = std::min(rows, m_rows);
        const int32_t keptCols = std::min(cols, m_cols);
        for (int32_t r = 0; r < keptRows; ++r)
            for (int32_t c = 0; c < keptCols; ++c)
                cells[static_cast<size_t>(r) * cols + c] = std::move(m_cells[static_cast<size_t>(r) * m_cols + c]);
        m_cells = std::move(cells);
    }
    m_rows = rows;
    m_cols = cols;
    LabelWorksheet(*this);
}

}  // namespace korvel
