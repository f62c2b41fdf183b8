#pragma once
// The CAP, NUM and SCRL panes of the status bar. On X11 they read the
// keyboard's lock indicators through the XKB extension of libX11, loaded at
// run time so that the build needs no X11 development files; elsewhere (the
// offscreen platform, Wayland) they follow the lock keys pressed in Tavo.
#include <QObject>
#include <array>
#include <memory>

class QLabel;
class QStatusBar;

namespace korvel {

struct LockStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Reads the lock states from the X server; nullptr where there is none.
class X11LockQuery {
public:
    static std::unique_ptr<X11LockQuery> Open();
    virtual ~X11LockQuery() = default;
    virtual bool Query(LockStates& states) = 0;
};

class LockKeyIndicators : public QObject {
    Q_OBJECT
public:
    // Adds the three panes to the right of statusBar.
    explicit LockKeyIndicators(QStatusBar* statusBar);
    ~LockKeyIndicators() override;

    const LockStates& States() const { return m_states; }
    QLabel* Pane(int index) const { return m_panes[index]; }
    // Reads the states again and shows them.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();

    std::array<QLabel*, 3> m_panes{};
    LockStates m_states;
    std::unique_ptr<X11LockQuery> m_x11;
};

}  // namespace korvel
