#pragma once
// gridsetup: moves the grid control's module file from the current directory
// into the system directory, where Tavo's start-up looks for it after its own
// directory, and says whether that worked. No Qt in here; see ResultBox.h.
#include <string>

namespace gridsetup {

// The file as the build produces it and as it is written. A directory entry
// whose name equals it ignoring ASCII letter case is taken for it.
inline constexpr const char* kModuleFileName = "Msflxgrd.ocx";
inline constexpr const char* kDefaultSystemDirectory = "/usr/local/lib/korvel";
// When set and not empty, replaces kDefaultSystemDirectory (tests, packaging).
inline constexpr const char* kSystemDirectoryVariable = "KORVEL_SYSTEM_DIR";

inline constexpr const char* kSuccessText = "Success !";
inline constexpr const char* kFailureText = "Failure";
inline constexpr const char* kResultCaption = "result";

enum class Outcome {
    NoCurrentDirectory,    // cannot be read, or too long to name the file in it
    Moved,                 // copied and the source deleted
    CopiedSourceKept,      // copied, but the source could not be deleted
    NotCopiedButPresent,   // copy failed; a module already stands in the system directory
    Failed,                // copy failed and there is no module in the system directory
};

std::string SystemDirectory();

// One run, without showing anything.
Outcome Install();

// "Success !", "Failure", or nullptr when nothing is to be shown.
const char* ResultText(Outcome outcome);

}  // namespace gridsetup
