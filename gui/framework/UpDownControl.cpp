#include "gui/framework/UpDownControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include <algorithm>

namespace korvel {

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(6, 6));
    }
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownControl::SetBuddy(QLineEdit* buddy)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy)
        m_buddy->installEventFilter(this);
}

void UpDownControl::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
}

QString UpDownControl::FormatPos(int pos) const
{
    QString digits = QString::number(pos < 0 ? -static_cast<qint64>(pos) : pos);
    if (m_thousands) {
        const QString separator = QLocale().groupSeparator();
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
            digits.insert(at, separator);
    }
    return pos < 0 ? QLatin1Char('-') + digits : digits;
}

void UpDownControl::SetPos(int pos)
{
    if (m_buddy)
        m_buddy->setText(FormatPos(std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper))));
}

std::optional<int> UpDownControl::PosFromBuddy() const
{
    if (!m_buddy)
        return std::nullopt;
    QString text = m_buddy->text().trimmed();
    text.remove(QLocale().groupSeparator());
    text.remove(QLatin1Char(','));
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int UpDownControl::GetPos() const
{
    const int lo = std::min(m_lower, m_upper);
    const int hi = std::max(m_lower, m_upper);
    return std::clamp(PosFromBuddy().value_or(lo), lo, hi);
}

void UpDownControl::Step(int delta)
{
    SetPos(GetPos() + delta);
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && m_arrowKeys && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            if (isEnabled())
                Step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

}  // namespace korvel
