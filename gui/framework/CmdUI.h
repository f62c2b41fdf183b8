#pragma once
// The enabled state and check mark of a command, asked of its owner whenever
// menus open and while toolbars are shown.
class QAction;

namespace korvel {

class CCmdUI {
public:
    explicit CCmdUI(QAction* action) : m_action(action) {}
    void Enable(bool enabled = true);
    void SetCheck(bool checked = true);

private:
    QAction* m_action;
};

}  // namespace korvel
