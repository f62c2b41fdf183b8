#pragma once
// The grid's cells and layout, without any drawing: sizes, fixed rows and
// columns, texts kept as raw bytes, per-cell colours, per-column widths and
// alignments, and the current cell. Row-major storage gives O(1) access and
// makes adding or dropping trailing rows cost only the rows concerned.
#include <cstdint>
#include <string>
#include <vector>

namespace korvel::grid {

struct CellPos {
    int32_t row = 0;
    int32_t col = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// Colours are 0x00BBGGRR.
inline constexpr uint32_t kWhite = 0x00FFFFFF;
inline constexpr uint32_t kFixedGrey = 0x00C8D0D4;  // RGB(212, 208, 200)

// Column alignments, as the classic control numbers them.
enum Alignment : int16_t {
    kAlignLeftTop = 0,
    kAlignLeftCenter = 1,
    kAlignLeftBottom = 2,
    kAlignCenterTop = 3,
    kAlignCenterCenter = 4,
    kAlignCenterBottom = 5,
    kAlignRightTop = 6,
    kAlignRightCenter = 7,
    kAlignRightBottom = 8,
    kAlignGeneral = 9,  // numbers right, other text left; vertically centred
};

class GridModel {
public:
    // Bounds that keep a hostile caller from asking for gigabytes.
    static constexpr int32_t kMaxCols = 2048;
    static constexpr int64_t kMaxCells = 1 << 20;
    static constexpr int32_t kDefaultColWidthTwips = 960;
    static constexpr int32_t kMaxColWidthTwips = 144000;

    GridModel(int32_t rows = 2, int32_t cols = 2);

    int32_t Rows() const { return static_cast<int32_t>(m_cells.size()); }
    int32_t Cols() const { return m_cols; }
    int32_t FixedRows() const { return m_fixedRows; }
    int32_t FixedCols() const { return m_fixedCols; }
    CellPos Current() const { return m_current; }

    // What a request really gets: at least one non-fixed row and column, at
    // most the bounds above; fixed rows and columns leave one of each free.
    int32_t ClampRows(int32_t rows) const;
    int32_t ClampCols(int32_t cols) const;
    int32_t ClampFixedRows(int32_t fixedRows) const;
    int32_t ClampFixedCols(int32_t fixedCols) const;

    // Keep the cells inside the new size, drop the others, add empty ones,
    // and pull the current cell into the new non-fixed area. The requested
    // count is clamped first.
    void SetRows(int32_t rows);
    void SetCols(int32_t cols);
    void SetFixedRows(int32_t fixedRows);
    void SetFixedCols(int32_t fixedCols);

    // Where the current cell would stand after such a change (for firing the
    // leave event while the old cell still exists).
    CellPos CurrentAfterRows(int32_t rows) const;
    CellPos CurrentAfterCols(int32_t cols) const;
    CellPos CurrentAfterFixedRows(int32_t fixedRows) const;
    CellPos CurrentAfterFixedCols(int32_t fixedCols) const;

    bool Contains(int32_t row, int32_t col) const;
    bool IsFixed(int32_t row, int32_t col) const { return row < m_fixedRows || col < m_fixedCols; }
    // A cell the current cell may move to: inside the grid and not fixed.
    bool CanBeCurrent(CellPos cell) const;
    // Moves the current cell; false (and nothing changes) for a cell that
    // cannot be current.
    bool SetCurrent(CellPos cell);
    // The nearest cell that can be current.
    CellPos ClampToScrollable(CellPos cell) const;

    // Unwritten cells and cells outside the grid read "".
    const std::string& Text(int32_t row, int32_t col) const;
    void SetText(int32_t row, int32_t col, std::string text);

    // The background actually shown: the colour set on the cell, otherwise
    // white for normal cells and grey for fixed ones.
    uint32_t Color(int32_t row, int32_t col) const;
    void SetColor(int32_t row, int32_t col, uint32_t colorBgr);

    // Negative widths mean "default"; widths read back in twips.
    int32_t ColWidthTwips(int32_t col) const;
    void SetColWidthTwips(int32_t col, int32_t twips);
    int16_t ColAlignment(int32_t col) const;
    void SetColAlignment(int32_t col, int16_t alignment);

private:
    static constexpr uint32_t kUnsetColor = 0xFFFFFFFFu;
    struct Cell {
        std::string text;
        uint32_t color = kUnsetColor;
    };

    struct Shape {
        int32_t rows, cols, fixedRows, fixedCols;
    };
    Shape CurrentShape() const { return {Rows(), m_cols, m_fixedRows, m_fixedCols}; }
    static CellPos Clamp(CellPos cell, const Shape& shape);

    std::vector<std::vector<Cell>> m_cells;  // one vector per row
    int32_t m_cols = 0;
    int32_t m_fixedRows = 1;
    int32_t m_fixedCols = 1;
    CellPos m_current{1, 1};
    std::vector<int32_t> m_colWidths;  // twips, -1 = default
    std::vector<int16_t> m_alignments;
};

}  // namespace korvel::grid
