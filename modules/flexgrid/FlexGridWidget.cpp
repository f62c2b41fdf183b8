#include "modules/flexgrid/FlexGridWidget.h"

#include <QFontMetrics>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>

namespace korvel::grid {

namespace {

// Twips to pixels, rounded the way Tavo's own forms convert them.
int32_t TwipsToPixels(int32_t twips, double dpi)
{
    return static_cast<int32_t>(twips * dpi / 1440.0 + 0.5);
}

constexpr int32_t kMinRowHeightTwips = 240;

}  // namespace

FlexGridWidget::FlexGridWidget(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    RefreshLayout();
}

FlexGridWidget::~FlexGridWidget()
{
    // Nothing may reach the owner while the widget goes away.
    m_sink = nullptr;
}

QSize FlexGridWidget::sizeHint() const
{
    return QSize(TwipsToPixels(5 * GridModel::kDefaultColWidthTwips, logicalDpiX()), 160);
}

bool FlexGridWidget::Fire(Event event)
{
    if (!m_sink)
        return true;
    const QPointer<FlexGridWidget> alive(this);
    (m_sink->*event)();
    return !alive.isNull();
}

void FlexGridWidget::MoveCurrent(CellPos target)
{
    if (!m_model.CanBeCurrent(target) || target == m_model.Current())
        return;
    if (!Fire(&IFlexGridEvents::OnLeaveCell))
        return;
    // The leave handler may have reshaped the grid.
    m_model.SetCurrent(m_model.ClampToScrollable(target));
    ScrollIntoView(m_model.Current());
    viewport()->update();
    if (Fire(&IFlexGridEvents::OnRowColChange))
        Fire(&IFlexGridEvents::OnEnterCell);
}

template <typename Change>
void FlexGridWidget::ChangeShape(CellPos after, Change change)
{
    const bool moves = after != m_model.Current();
    if (moves && !Fire(&IFlexGridEvents::OnLeaveCell))
        return;
    change();
    RefreshLayout();
    viewport()->update();
    if (!moves)
        return;
    ScrollIntoView(m_model.Current());
    if (Fire(&IFlexGridEvents::OnRowColChange))
        Fire(&IFlexGridEvents::OnEnterCell);
}

void FlexGridWidget::SetRows(int32_t rows)
{
    ChangeShape(m_model.CurrentAfterRows(rows), [&] { m_model.SetRows(rows); });
}

void FlexGridWidget::SetCols(int32_t cols)
{
    ChangeShape(m_model.CurrentAfterCols(cols), [&] { m_model.SetCols(cols); });
}

void FlexGridWidget::SetFixedRows(int32_t rows)
{
    ChangeShape(m_model.CurrentAfterFixedRows(rows), [&] { m_model.SetFixedRows(rows); });
}

void FlexGridWidget::SetFixedCols(int32_t cols)
{
    ChangeShape(m_model.CurrentAfterFixedCols(cols), [&] { m_model.SetFixedCols(cols); });
}

void FlexGridWidget::SetRow(int32_t row)
{
    MoveCurrent({row, m_model.Current().col});
}

void FlexGridWidget::SetCol(int32_t col)
{
    MoveCurrent({m_model.Current().row, col});
}

std::string FlexGridWidget::GetText() const
{
    return m_model.Text(m_model.Current().row, m_model.Current().col);
}

void FlexGridWidget::SetText(const std::string& text)
{
    SetTextMatrix(m_model.Current().row, m_model.Current().col, text);
}

const std::string& FlexGridWidget::GetTextMatrix(int32_t row, int32_t col) const
{
    return m_model.Text(row, col);
}

void FlexGridWidget::SetTextMatrix(int32_t row, int32_t col, const std::string& text)
{
    m_model.SetText(row, col, text);
    UpdateCell(row, col);
}

void FlexGridWidget::SetColAlignment(int32_t col, int16_t alignment)
{
    m_model.SetColAlignment(col, alignment);
    viewport()->update();
}

int32_t FlexGridWidget::GetColWidth(int32_t col) const
{
    return m_model.ColWidthTwips(col);
}

void FlexGridWidget::SetColWidth(int32_t col, int32_t twips)
{
    m_model.SetColWidthTwips(col, twips);
    RefreshLayout();
    viewport()->update();
}

void FlexGridWidget::SetCurrentCellColor(uint32_t colorBgr)
{
    const CellPos current = m_model.Current();
    m_model.SetColor(current.row, current.col, colorBgr);
    UpdateCell(current.row, current.col);
}

uint32_t FlexGridWidget::GetCellColor(int32_t row, int32_t col) const
{
    return m_model.Color(row, col);
}

void FlexGridWidget::RefreshLayout()
{
    const double dpiX = logicalDpiX();
    m_widthsPx.resize(m_model.Cols());
    for (int32_t c = 0; c < m_model.Cols(); ++c)
        m_widthsPx[c] = TwipsToPixels(m_model.ColWidthTwips(c), dpiX);
    m_geometry.SetColumnWidths(m_widthsPx);
    m_geometry.SetRowCount(m_model.Rows());
    m_geometry.SetRowHeight(
        std::max(TwipsToPixels(kMinRowHeightTwips, logicalDpiY()), QFontMetrics(font()).height() + 4));
    m_geometry.SetFixed(m_model.FixedRows(), m_model.FixedCols());
    m_geometry.SetViewport(viewport()->width(), viewport()->height());
    SyncScrollBars();
}

void FlexGridWidget::SyncScrollBars()
{
    // The bars count scrolled rows and columns; their changes come back
    // through scrollContentsBy, which must not fight this update.
    m_syncingBars = true;
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, m_geometry.MaxFirstRow() - m_model.FixedRows());
    vertical->setPageStep(m_geometry.PageRows());
    vertical->setSingleStep(1);
    vertical->setValue(m_geometry.FirstRow() - m_model.FixedRows());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, m_geometry.MaxFirstCol() - m_model.FixedCols());
    horizontal->setPageStep(m_geometry.PageCols());
    horizontal->setSingleStep(1);
    horizontal->setValue(m_geometry.FirstCol() - m_model.FixedCols());
    m_syncingBars = false;
}

void FlexGridWidget::scrollContentsBy(int, int)
{
    if (m_syncingBars)
        return;
    m_geometry.SetFirstRow(m_model.FixedRows() + verticalScrollBar()->value());
    m_geometry.SetFirstCol(m_model.FixedCols() + horizontalScrollBar()->value());
    viewport()->update();
}

void FlexGridWidget::ScrollIntoView(CellPos cell)
{
    // Until the widget is laid out there is no page to scroll by; the first
    // layout shows the current cell instead.
    if (m_geometry.ViewportHeight() == 0 || m_geometry.ViewportWidth() == 0) {
        m_scrollPending = true;
        return;
    }
    const int32_t firstRow = m_geometry.FirstRow();
    const int32_t firstCol = m_geometry.FirstCol();
    m_geometry.ScrollIntoView(cell);
    if (firstRow != m_geometry.FirstRow() || firstCol != m_geometry.FirstCol()) {
        SyncScrollBars();
        viewport()->update();
    }
}

void FlexGridWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    RefreshLayout();
    if (m_scrollPending && !event->size().isEmpty()) {
        m_scrollPending = false;
        ScrollIntoView(m_model.Current());
    }
}

void FlexGridWidget::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ScreenChangeInternal)
        RefreshLayout();
}

QRect FlexGridWidget::CellRect(int32_t row, int32_t col) const
{
    return QRect(m_geometry.ColLeft(col), m_geometry.RowTop(row), m_geometry.ColumnWidth(col), m_geometry.RowHeight());
}

QRect FlexGridWidget::cellRect(int row, int col) const
{
    if (!m_geometry.IsRowShown(row) || !m_geometry.IsColShown(col))
        return {};
    return CellRect(row, col);
}

void FlexGridWidget::UpdateCell(int32_t row, int32_t col)
{
    if (m_geometry.IsRowShown(row) && m_geometry.IsColShown(col))
        viewport()->update(CellRect(row, col));
}

}  // namespace korvel::grid
