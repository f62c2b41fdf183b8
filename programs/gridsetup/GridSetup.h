#pragma once
// gridsetup: moves the grid control's module file from the current directory
// into the system directory, where Tavo's start-up looks for it after its own
// directory, and says whether that worked. No Qt in here; see ResultBox.h.
// The system folder and the module's name come from the one definition that
// Tavo's start-up uses too.
#include "core/location/ModuleLocation.h"

#include <string>

namespace gridsetup {

using korvel::kGridModuleName;
using korvel::kSystemDirVariable;
using korvel::SystemDirectory;

inline constexpr const char* kSuccessText = "Success !";
inline constexpr const char* kFailureText = "Failure";
inline constexpr const char* kResultCaption = "result";

enum class Outcome {
    NoCurrentDirectory,   // cannot be read, or too long to name the file in it
    Moved,                // copied and the source deleted
    CopiedSourceKept,     // copied, but the source could not be deleted
    NotCopiedButPresent,  // copy failed; a module already stands in the system directory
    Failed,               // copy failed and there is no module in the system directory
};

// One run, without showing anything.
Outcome Install();

// "Success !", "Failure", or nullptr when nothing is to be shown.
const char* ResultText(Outcome outcome);

}  // namespace gridsetup
