#include "gui/framework/MenuBarFocus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace korvel {
namespace {

bool IsMenuWidget(const QWidget* widget)
{
    return qobject_cast<const QMenuBar*>(widget) || qobject_cast<const QMenu*>(widget);
}

// Turns the menu bar's focus changes into a popup's, for the control that lends it.
class MenuBarFocusLoan : public QObject {
public:
    explicit MenuBarFocusLoan(QApplication* app) : QObject(app)
    {
        app->installEventFilter(this);
        connect(app, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    }

    QWidget* Lender() const { return m_lender; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool focusEvent = event->type() == QEvent::FocusOut || event->type() == QEvent::FocusIn;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!focusEvent || !widget || IsMenuWidget(widget)
            || static_cast<QFocusEvent*>(event)->reason() != Qt::MenuBarFocusReason)
            return false;
        if (event->type() == QEvent::FocusOut)
            m_lender = widget;
        else if (widget == m_lender)
            m_lender = nullptr;
        QFocusEvent asPopup(event->type(), Qt::PopupFocusReason);
        QCoreApplication::sendEvent(widget, &asPopup);
        return true;
    }

private:
    // The focus went on from the menu bar to another control: only now is
    // the lender really left, and it hears so as from any other move.
    void OnFocusChanged(QWidget* now)
    {
        if (!m_lender || !now || IsMenuWidget(now))
            return;
        QPointer<QWidget> left = m_lender;
        m_lender = nullptr;
        if (left && left != now) {
            QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(left, &out);
        }
    }

    QPointer<QWidget> m_lender;
};

MenuBarFocusLoan* g_loan = nullptr;

}  // namespace

void KeepFocusWhileInMenuBar()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (g_loan || !app)
        return;
    g_loan = new MenuBarFocusLoan(app);
    QObject::connect(g_loan, &QObject::destroyed, [] { g_loan = nullptr; });
}

QWidget* CommandFocusWidget()
{
    QWidget* focus = QApplication::focusWidget();
    if (g_loan && g_loan->Lender() && IsMenuWidget(focus))
        return g_loan->Lender();
    return focus;
}

void ToggleMenuBarKeyboardMode(QWidget* window)
{
    // Qt gives the bar no call for it: the bar watches its window for Alt
    // pressed and released with no other key between.
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(window, &release);
}

}  // namespace korvel
