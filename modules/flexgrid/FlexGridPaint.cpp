// Drawing: only the cells in view, each filled with its own colour, with
// gridlines and its text clipped to the cell.
#include "core/grid/DisplayText.h"
#include "modules/flexgrid/FlexGridWidget.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <charconv>

namespace korvel::grid {

namespace {

const QColor kBackground(128, 128, 128);  // beyond the last row and column
const QColor kGridLine(192, 192, 192);
const QColor kFixedGridLine(128, 128, 128);
constexpr int kTextMargin = 3;
// A cell never shows more characters than this; longer texts are clipped anyway.
constexpr size_t kMaxShownUnits = 1024;
constexpr size_t kMaxToolTipUnits = 4096;

QColor FromBgr(uint32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

bool IsNumber(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

Qt::Alignment TextAlignment(int16_t alignment, const std::string& text)
{
    if (alignment == kAlignGeneral)
        return Qt::AlignVCenter | (IsNumber(text) ? Qt::AlignRight : Qt::AlignLeft);
    const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[alignment / 3] | vertical[alignment % 3];
}

}  // namespace

void FlexGridWidget::CollectVisible()
{
    const int32_t width = m_geometry.ViewportWidth();
    const int32_t height = m_geometry.ViewportHeight();
    m_visibleRows.clear();
    for (int32_t r = 0; r < m_model.FixedRows() && m_geometry.RowTop(r) < height; ++r)
        m_visibleRows.push_back(r);
    for (int32_t r = m_geometry.FirstRow(); r < m_model.Rows() && m_geometry.RowTop(r) < height; ++r)
        m_visibleRows.push_back(r);
    m_visibleCols.clear();
    for (int32_t c = 0; c < m_model.FixedCols() && m_geometry.ColLeft(c) < width; ++c)
        m_visibleCols.push_back(c);
    for (int32_t c = m_geometry.FirstCol(); c < m_model.Cols() && m_geometry.ColLeft(c) < width; ++c)
        m_visibleCols.push_back(c);
}

void FlexGridWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, kBackground);
    painter.setPen(Qt::black);
    CollectVisible();
    for (const int32_t row : m_visibleRows) {
        for (const int32_t col : m_visibleCols) {
            const QRect rect = CellRect(row, col);
            if (rect.width() > 0 && rect.intersects(exposed))
                PaintCell(painter, rect, row, col);
        }
    }
    PaintFocus(painter);
}

void FlexGridWidget::PaintCell(QPainter& painter, const QRect& rect, int32_t row, int32_t col)
{
    const bool fixed = m_model.IsFixed(row, col);
    painter.fillRect(rect, FromBgr(m_model.Color(row, col)));
    painter.setPen(fixed ? kFixedGridLine : kGridLine);
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());

    const std::string& text = m_model.Text(row, col);
    if (text.empty())
        return;
    painter.setPen(Qt::black);
    const QRect textRect = rect.adjusted(kTextMargin, 0, -kTextMargin - 1, -1);
    const Qt::Alignment alignment = TextAlignment(m_model.ColAlignment(col), text);
    DecodeForDisplay(text, m_decoded, kMaxShownUnits);
    painter.drawText(textRect, int(alignment) | Qt::TextSingleLine,
                     QString::fromUtf16(m_decoded.data(), static_cast<qsizetype>(m_decoded.size())));
}

void FlexGridWidget::PaintFocus(QPainter& painter)
{
    const CellPos current = m_model.Current();
    if (!hasFocus() || !m_geometry.IsRowShown(current.row) || !m_geometry.IsColShown(current.col))
        return;
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(CellRect(current.row, current.col).adjusted(1, 1, -3, -3));
}

QString FlexGridWidget::DisplayText(int32_t row, int32_t col)
{
    DecodeForDisplay(m_model.Text(row, col), m_decoded, kMaxToolTipUnits);
    return QString::fromUtf16(m_decoded.data(), static_cast<qsizetype>(m_decoded.size()));
}

bool FlexGridWidget::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return ShowToolTip(event);
    return QAbstractScrollArea::viewportEvent(event);
}

// A text wider than its cell shows whole in a tooltip.
bool FlexGridWidget::ShowToolTip(QEvent* event)
{
    const auto* help = static_cast<QHelpEvent*>(event);
    const CellPos cell = m_geometry.HitTest(help->pos().x(), help->pos().y());
    const QString text = m_model.Contains(cell.row, cell.col) ? DisplayText(cell.row, cell.col) : QString();
    const int room = m_geometry.ColumnWidth(std::max(cell.col, 0)) - 2 * kTextMargin - 1;
    if (text.isEmpty() || fontMetrics().horizontalAdvance(text) <= room) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), text, viewport(), CellRect(cell.row, cell.col));
    return true;
}

}  // namespace korvel::grid
