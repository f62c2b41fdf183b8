#pragma once
// The main frame's menu bar, accelerator table and toolbars as data, so that
// the frame builds them and tests compare them with one source.
#include <span>

namespace korvel {

enum class MenuItemKind { Command, Separator, ColumnBreak };

struct MenuItemDef {
    MenuItemKind kind;
    int id;            // 0 for a separator
    const char* text;  // "\t" separates the accelerator shown at the right
};

struct MenuDef {
    const char* title;
    std::span<const MenuItemDef> items;
};

struct AcceleratorDef {
    const char* keys;  // in QKeySequence's portable form
    int id;
};

struct ToolbarDef {
    int resourceId;
    int buttonWidth;
    int buttonHeight;
    std::span<const int> buttons;  // command ids; 0 stands for a gap
};

std::span<const MenuDef> MainMenu();
std::span<const AcceleratorDef> MainAccelerators();
const ToolbarDef& MainToolbar();
const ToolbarDef& ActionToolbar();

}  // namespace korvel
