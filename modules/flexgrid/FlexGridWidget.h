#pragma once
// The grid control's widget: a spreadsheet-like grid of text cells that draws
// only the cells in view. Fixed rows and columns stay put while the rest
// scrolls by whole rows and columns. The widget is the control object too, so
// the control lives exactly as long as the widget its parent owns.
#include "core/grid/GridGeometry.h"
#include "core/grid/GridModel.h"
#include "gui/grid/FlexGridControl.h"

#include <QAbstractScrollArea>
#include <string>
#include <vector>

namespace korvel::grid {

class FlexGridWidget : public QAbstractScrollArea, public IFlexGridControl {
    Q_OBJECT
public:
    explicit FlexGridWidget(QWidget* parent = nullptr);
    ~FlexGridWidget() override;

    QWidget* Widget() override { return this; }
    void SetEventSink(IFlexGridEvents* sink) override { m_sink = sink; }

    int32_t GetRows() const override { return m_model.Rows(); }
    void SetRows(int32_t rows) override;
    int32_t GetCols() const override { return m_model.Cols(); }
    void SetCols(int32_t cols) override;
    int32_t GetFixedRows() const override { return m_model.FixedRows(); }
    void SetFixedRows(int32_t rows) override;
    int32_t GetFixedCols() const override { return m_model.FixedCols(); }
    void SetFixedCols(int32_t cols) override;
    int32_t GetRow() const override { return m_model.Current().row; }
    void SetRow(int32_t row) override;
    int32_t GetCol() const override { return m_model.Current().col; }
    void SetCol(int32_t col) override;
    std::string GetText() const override;
    void SetText(const std::string& text) override;
    const std::string& GetTextMatrix(int32_t row, int32_t col) const override;
    void SetTextMatrix(int32_t row, int32_t col, const std::string& text) override;
    void SetColAlignment(int32_t col, int16_t alignment) override;
    int32_t GetColWidth(int32_t col) const override;
    void SetColWidth(int32_t col, int32_t twips) override;
    void SetCurrentCellColor(uint32_t colorBgr) override;
    uint32_t GetCellColor(int32_t row, int32_t col) const override;

    QSize sizeHint() const override;

    // For tests and tools, reached through the meta-object system: where a
    // cell is drawn, in viewport coordinates; empty when it is not in view.
    Q_INVOKABLE QRect cellRect(int row, int col) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    using Event = void (IFlexGridEvents::*)();
    // Fires an event into the sink; false when a handler destroyed the grid.
    bool Fire(Event event);

    // Moves the current cell with the leave / change / enter events; a cell
    // that cannot be current is ignored.
    void MoveCurrent(CellPos target);
    // Runs a change of the grid's shape that pulls the current cell to
    // `after`, firing the cell events around it when the cell moves.
    template <typename Change>
    void ChangeShape(CellPos after, Change change);
    void MoveByKey(int key, Qt::KeyboardModifiers modifiers);

    void RefreshLayout();
    void SyncScrollBars();
    void ScrollIntoView(CellPos cell);
    QRect CellRect(int32_t row, int32_t col) const;
    void UpdateCell(int32_t row, int32_t col);

    void CollectVisible();
    void PaintCell(QPainter& painter, const QRect& rect, int32_t row, int32_t col);
    void PaintFocus(QPainter& painter);
    QString DisplayText(int32_t row, int32_t col);
    bool ShowToolTip(QEvent* event);

    GridModel m_model;
    GridGeometry m_geometry;
    IFlexGridEvents* m_sink = nullptr;
    bool m_pressed = false;
    bool m_syncingBars = false;
    bool m_scrollPending = false;  // a scroll asked for before the first layout

    // Scratch space reused by every paint.
    std::vector<int32_t> m_widthsPx;
    std::vector<int32_t> m_visibleRows;
    std::vector<int32_t> m_visibleCols;
    std::u16string m_decoded;
};

}  // namespace korvel::grid
