#pragma once
// The CAP, NUM and SCRL panes of the status bar. On X11 they read the
// keyboard's lock indicators through the XKB extension of libX11, loaded at
// run time so that the build needs no X11 development files; elsewhere (the
// offscreen platform, Wayland) they follow the lock keys pressed in Tavo.
// Many keymaps (Xvfb's among them) drive no Scroll Lock indicator at all:
// when the Scroll Lock key leaves that indicator as it was, SCRL follows the
// key instead.
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
    // Replaces the X server's query (tests); null leaves only the keys.
    void SetLockQuery(std::unique_ptr<X11LockQuery> query);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();
    void OnScrollLockPressed();

    std::array<QLabel*, 3> m_panes{};
    LockStates m_states;
    std::unique_ptr<X11LockQuery> m_x11;
    bool m_scrollIndicator = false;   // as the X server last reported it
    bool m_scrollFollowsKey = false;  // the indicator did not follow the key
};

}  // namespace korvel
