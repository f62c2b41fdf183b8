#pragma once
// The file operations of the installer, on POSIX paths.
#include <optional>
#include <string>

namespace gridsetup {

// "/msflxgrd.ocx" appended to a directory must still fit a PATH_MAX buffer.
bool FitsWithModuleName(const std::string& directory);

// The module's entry in a directory: the first of korvel::GridModuleEntries.
// Nothing when the directory has none or cannot be listed.
std::optional<std::string> FindModuleEntry(const std::string& directory);

// The existence test: any entry, of any type, taken for the module.
bool ModuleExists(const std::string& directory);

// Copies source to <directory>/kGridModuleName, creating the directory when
// missing and replacing a module already there (other spellings removed), by
// way of a temporary file renamed into place, so that a failed copy leaves no
// half-written module. Refuses to copy a file onto itself (same directory).
bool CopyReplacing(const std::string& source, const std::string& directory);

}  // namespace gridsetup
