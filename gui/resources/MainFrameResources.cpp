#include "gui/resources/MainFrameResources.h"

#include "gui/resources/CommandIds.h"

namespace korvel {
namespace {

constexpr MenuItemDef Cmd(int id, const char* text) { return {MenuItemKind::Command, id, text}; }
constexpr MenuItemDef kSeparator{MenuItemKind::Separator, 0, ""};

constexpr MenuItemDef kFileMenu[] = {
    Cmd(ID_FILE_NEW, "&New\tCtrl+N"),
    Cmd(ID_FILE_OPEN, "&Open...\tCtrl+O"),
    Cmd(ID_FILE_SAVE, "&Save\tCtrl+S"),
    Cmd(ID_FILE_SAVE_AS, "Save &As..."),
    kSeparator,
    Cmd(ID_FILE_MRU_FILE1, "Recent File"),
    kSeparator,
    Cmd(ID_APP_EXIT, "E&xit"),
};

constexpr MenuItemDef kEditMenu[] = {
    Cmd(ID_EDIT_UNDO, "&Undo"),
    kSeparator,
    Cmd(ID_EDIT_CUT, "Cu&t\tCtrl+X"),
    Cmd(ID_EDIT_COPY, "&Copy\tCtrl+C"),
    Cmd(ID_EDIT_PASTE, "&Paste\tCtrl+V"),
};

constexpr MenuItemDef kActionMenu[] = {
    Cmd(ID_GO, "&Go\tCtrl+G"),
    Cmd(ID_DELETE_PERIOD, "De&lete Period"),
    kSeparator,
    Cmd(ID_ANALYSE, "Anal&yse\tCtrl+Y"),
    {MenuItemKind::ColumnBreak, ID_ACTION_COLUMN_BREAK, ""},
    Cmd(ID_INSERT_SHARE, "&Insert share\tCtrl+I"),
    Cmd(ID_DELETE_SHARE, "&Delete share\tCtrl+D"),
};

constexpr MenuItemDef kViewMenu[] = {
    Cmd(ID_VIEW_TOOLBAR, "Main &Toolbar"),
    Cmd(ID_TOGGLE_ACTION_BAR, "Action Tool&bar"),
    Cmd(ID_VIEW_STATUS_BAR, "&Status Bar"),
};

constexpr MenuItemDef kHelpMenu[] = {
    Cmd(ID_APP_ABOUT, "A&bout Korvel..."),
};

constexpr MenuDef kMenus[] = {
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&Action", kActionMenu},
    {"&View", kViewMenu},
    {"&Help", kHelpMenu},
};

constexpr AcceleratorDef kAccelerators[] = {
    {"Ctrl+N", ID_FILE_NEW},
    {"Ctrl+O", ID_FILE_OPEN},
    {"Ctrl+S", ID_FILE_SAVE},
    {"Ctrl+Z", ID_EDIT_UNDO},
    {"Alt+Backspace", ID_EDIT_UNDO},
    {"Ctrl+X", ID_EDIT_CUT},
    {"Shift+Del", ID_EDIT_CUT},
    {"Ctrl+C", ID_EDIT_COPY},
    {"Ctrl+Ins", ID_EDIT_COPY},
    {"Ctrl+V", ID_EDIT_PASTE},
    {"Shift+Ins", ID_EDIT_PASTE},
    {"Ctrl+G", ID_GO},
    {"Ctrl+Y", ID_ANALYSE},
    {"Ctrl+I", ID_INSERT_SHARE},
    {"Ctrl+D", ID_DELETE_SHARE},
};

constexpr int kMainButtons[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_APP_ABOUT,
};

constexpr int kActionButtons[] = {
    ID_GO, ID_DELETE_PERIOD, 0, ID_ANALYSE, 0, ID_INSERT_SHARE, ID_DELETE_SHARE,
};

constexpr ToolbarDef kMainToolbar{IDR_MAINFRAME, 16, 15, kMainButtons};
constexpr ToolbarDef kActionToolbar{IDR_ACTIONBAR, 16, 16, kActionButtons};

}  // namespace

std::span<const MenuDef> MainMenu() { return kMenus; }
std::span<const AcceleratorDef> MainAccelerators() { return kAccelerators; }
const ToolbarDef& MainToolbar() { return kMainToolbar; }
const ToolbarDef& ActionToolbar() { return kActionToolbar; }

}  // namespace korvel
