#include "gui/app/LockKeyIndicators.h"

#include "gui/resources/CommandStrings.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

#include <dlfcn.h>

namespace korvel {
namespace {

// The few libX11 entry points needed, with their C types spelled out here.
using Display = struct _XDisplay;
using Atom = unsigned long;
using XInternAtomFn = Atom (*)(Display*, const char*, int);
using XkbGetNamedIndicatorFn = int (*)(Display*, Atom, int*, int*, void*, int*);
using XOpenDisplayFn = Display* (*)(const char*);
using XCloseDisplayFn = int (*)(Display*);

class XkbLockQuery : public X11LockQuery {
public:
    XkbLockQuery(void* library, Display* display) : m_library(library), m_display(display)
    {
        auto internAtom = reinterpret_cast<XInternAtomFn>(dlsym(library, "XInternAtom"));
        m_getIndicator = reinterpret_cast<XkbGetNamedIndicatorFn>(dlsym(library, "XkbGetNamedIndicator"));
        m_closeDisplay = reinterpret_cast<XCloseDisplayFn>(dlsym(library, "XCloseDisplay"));
        if (internAtom) {
            m_atoms[0] = internAtom(display, "Caps Lock", 0);
            m_atoms[1] = internAtom(display, "Num Lock", 0);
            m_atoms[2] = internAtom(display, "Scroll Lock", 0);
        }
    }

    ~XkbLockQuery() override
    {
        if (m_closeDisplay)
            m_closeDisplay(m_display);
        dlclose(m_library);
    }

    bool Usable() const { return m_getIndicator && m_closeDisplay && m_atoms[0] != 0; }

    bool Query(LockStates& states) override
    {
        bool* targets[] = {&states.caps, &states.num, &states.scroll};
        bool any = false;
        for (int i = 0; i < 3; ++i) {
            int on = 0;
            if (m_atoms[i] && m_getIndicator(m_display, m_atoms[i], nullptr, &on, nullptr, nullptr)) {
                *targets[i] = on != 0;
                any = true;
            }
        }
        return any;
    }

private:
    void* m_library;
    Display* m_display;
    XkbGetNamedIndicatorFn m_getIndicator = nullptr;
    XCloseDisplayFn m_closeDisplay = nullptr;
    Atom m_atoms[3] = {0, 0, 0};
};

bool IsLockKey(int key)
{
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

}  // namespace

// A connection of our own keeps this apart from the toolkit's: it costs one
// round trip at start-up and works whatever the toolkit's native interface offers.
std::unique_ptr<X11LockQuery> X11LockQuery::Open()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    auto openDisplay = reinterpret_cast<XOpenDisplayFn>(dlsym(library, "XOpenDisplay"));
    Display* display = openDisplay ? openDisplay(nullptr) : nullptr;
    if (!display) {
        dlclose(library);
        return nullptr;
    }
    auto query = std::make_unique<XkbLockQuery>(library, display);
    if (!query->Usable())
        return nullptr;
    return query;
}

LockKeyIndicators::LockKeyIndicators(QStatusBar* statusBar) : QObject(statusBar), m_x11(X11LockQuery::Open())
{
    const int ids[] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(statusBar);
        const QString text = LoadString(ids[i]);
        pane->setObjectName(text);
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        // A pane keeps its width whether its text shows or not.
        pane->setMinimumWidth(QFontMetrics(pane->font()).horizontalAdvance(text) + 12);
        statusBar->addPermanentWidget(pane);
        m_panes[i] = pane;
    }
    qApp->installEventFilter(this);
    Refresh();
}

LockKeyIndicators::~LockKeyIndicators()
{
    qApp->removeEventFilter(this);
}

void LockKeyIndicators::SetLockQuery(std::unique_ptr<X11LockQuery> query)
{
    m_x11 = std::move(query);
    m_scrollFollowsKey = false;
    Refresh();
}

void LockKeyIndicators::Refresh()
{
    if (m_x11) {
        const bool followed = m_states.scroll;
        m_x11->Query(m_states);
        m_scrollIndicator = m_states.scroll;
        if (m_scrollFollowsKey)
            m_states.scroll = followed;
    }
    Show();
}

void LockKeyIndicators::OnScrollLockPressed()
{
    const bool before = m_scrollIndicator;
    const bool followed = m_states.scroll;
    Refresh();
    if (m_scrollIndicator != before) {
        m_scrollFollowsKey = false;
        m_states.scroll = m_scrollIndicator;
    } else {
        m_scrollFollowsKey = true;
        m_states.scroll = !followed;
    }
    Show();
}

void LockKeyIndicators::Show()
{
    const bool on[] = {m_states.caps, m_states.num, m_states.scroll};
    const int ids[] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i)
        m_panes[i]->setText(on[i] ? LoadString(ids[i]) : QString());
}

bool LockKeyIndicators::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Every key reaches its window first and is then passed on to widgets,
        // which the filter would see again: count the window's delivery only.
        if (!IsLockKey(key->key()) || !watched->isWindowType())
            break;
        const bool press = event->type() == QEvent::KeyPress && !key->isAutoRepeat();
        if (m_x11 && press && key->key() == Qt::Key_ScrollLock) {
            OnScrollLockPressed();
        } else if (m_x11) {
            Refresh();
        } else if (press) {
            bool& state = key->key() == Qt::Key_CapsLock  ? m_states.caps
                          : key->key() == Qt::Key_NumLock ? m_states.num
                                                          : m_states.scroll;
            state = !state;
            Show();
        }
        break;
    }
    case QEvent::ApplicationActivate:
        // The locks may have changed while another program had the keyboard.
        Refresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvel
