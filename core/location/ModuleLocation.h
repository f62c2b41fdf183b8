#pragma once
// The system folder and the grid control's module file in a folder.
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The file as the build produces it and as gridsetup writes it.
inline constexpr const char* kGridModuleName = "Msflxgrd.ocx";
// When set and not empty, replaces the configured system folder at run time.
inline constexpr const char* kSystemDirVariable = "KORVEL_SYSTEM_DIR";

// The folder chosen when the program was configured.
const char* DefaultSystemDir();

// KORVEL_SYSTEM_DIR when set and not empty, else DefaultSystemDir().
std::string SystemDirectory();

// The name of the module ignoring ASCII letter case.
bool IsGridModuleName(std::string_view name);

// The names of every entry in dir taken for the module, of any type: the
// exact kGridModuleName first, the other spellings in name order. Empty when
// dir has none or cannot be listed.
std::vector<std::string> GridModuleEntries(const std::string& dir);

}  // namespace korvel
