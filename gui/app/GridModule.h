#pragma once
// Finding, loading and registering the grid control's module before any
// window exists. No Qt here: the search works on plain paths.
#include "core/location/ModuleLocation.h"

#include <string>
#include <vector>

namespace korvel {

// Where the module is looked for, in order: the executable's directory, the
// system directory, then the library search path (the bare name).
struct GridModuleSearch {
    std::string executableDir;
    std::string systemDir;
    bool libraryPath = true;
};

// The regular files in dir taken for the module (see GridModuleEntries), as
// paths, in the order they are tried. Empty when dir cannot be read.
std::vector<std::string> ModuleCandidates(const std::string& dir);

// RegistrationFailed: the entry point ran and reported an error. Start-up
// goes on (an earlier registration may still serve), but a grid that then
// cannot be made is explained by it.
enum class GridRegistration { Registered, NotFound, NoEntryPoint, RegistrationFailed };

// Loads the first candidate that is a loadable module (one that is not
// counts as missing), calls its DllRegisterServer once and unloads it again.
GridRegistration RegisterGridModule(const GridModuleSearch& search);

}  // namespace korvel
