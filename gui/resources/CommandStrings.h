#pragma once
// The string table of Tavo: command prompts with their tooltips, the idle
// message, the status-bar indicators and the application title.
#include <QString>

namespace korvel {

enum StringId : int {
    AFX_IDS_IDLEMESSAGE = 57345,
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCRL = 59139,
    ID_SYSMENU_SIZE = 61184,
    ID_SYSMENU_MOVE = 61185,
    ID_SYSMENU_MINIMIZE = 61186,
    ID_SYSMENU_MAXIMIZE = 61187,
    ID_SYSMENU_CLOSE = 61190,
    ID_SYSMENU_RESTORE = 61202,
};

// The string as stored; empty when the table has none for id.
QString LoadString(int id);

// A command string holds the status-bar prompt, a line break and the tooltip.
QString CommandPrompt(int id);
QString CommandTooltip(int id);

}  // namespace korvel
