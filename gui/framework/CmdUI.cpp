#include "gui/framework/CmdUI.h"

#include <QAction>

namespace korvel {

void CCmdUI::Enable(bool enabled)
{
    if (m_action && m_action->isEnabled() != enabled)
        m_action->setEnabled(enabled);
}

void CCmdUI::SetCheck(bool checked)
{
    if (!m_action)
        return;
    if (!m_action->isCheckable())
        m_action->setCheckable(true);
    if (m_action->isChecked() != checked)
        m_action->setChecked(checked);
}

}  // namespace korvel
