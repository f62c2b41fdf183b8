#pragma once
// Command, control and resource numbers of Tavo, as the menus, accelerators,
// toolbars and templates know them.

namespace korvel {

enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE4 = 57619,
    ID_APP_EXIT = 57665,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_CUT = 57635,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_GO = 32771,
    ID_TOGGLE_ACTION_BAR = 32772,
    ID_DELETE_PERIOD = 32773,
    ID_ANALYSE = 32779,
    ID_ACTION_COLUMN_BREAK = 32782,
    ID_INSERT_SHARE = 32783,
    ID_DELETE_SHARE = 32784,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_APP_ABOUT = 57664,
};

enum ResourceId : int {
    IDR_MAINFRAME = 128,       // menu, accelerators, icon, main toolbar, document strings
    IDR_ACTIONBAR = 137,
    IDD_ABOUTBOX = 100,
    IDD_TAVO_FORM = 101,
    IDD_SINGLE_SOLUTION = 141,
    IDD_SINGLE_ANALYSIS = 150,
    IDC_LINK_CURSOR = 153,
    AFX_IDS_APP_TITLE = 57344,
};

}  // namespace korvel
