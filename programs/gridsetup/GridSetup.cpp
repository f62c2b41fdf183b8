#include "GridSetup.h"

#include "ModuleFile.h"

#include <climits>
#include <unistd.h>

namespace gridsetup {

namespace {

// A directory too long to name the module inside it counts as unreadable.
bool ReadCurrentDirectory(std::string& directory)
{
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return false;
    directory = buffer;
    return FitsWithModuleName(directory);
}

std::string SourcePath(const std::string& currentDirectory)
{
    const std::string name = FindModuleEntry(currentDirectory).value_or(kGridModuleName);
    if (currentDirectory == "/")
        return "/" + name;
    return currentDirectory + "/" + name;
}

}  // namespace

Outcome Install()
{
    std::string currentDirectory;
    if (!ReadCurrentDirectory(currentDirectory))
        return Outcome::NoCurrentDirectory;
    const std::string systemDirectory = SystemDirectory();
    const std::string source = SourcePath(currentDirectory);

    const bool copied = CopyReplacing(source, systemDirectory);
    if (copied && ::unlink(source.c_str()) == 0)
        return Outcome::Moved;
    if (!ModuleExists(systemDirectory))
        return Outcome::Failed;
    return copied ? Outcome::CopiedSourceKept : Outcome::NotCopiedButPresent;
}

const char* ResultText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Moved:
        return kSuccessText;
    case Outcome::Failed:
        return kFailureText;
    case Outcome::NoCurrentDirectory:
    case Outcome::CopiedSourceKept:
    case Outcome::NotCopiedButPresent:
        break;
    }
    return nullptr;
}

}  // namespace gridsetup
