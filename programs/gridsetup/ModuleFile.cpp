#include "ModuleFile.h"

#include "GridSetup.h"
#include "core/files/FileRead.h"
#include "core/files/FileReplace.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace gridsetup {

namespace {

std::string JoinPath(const std::string& directory, const std::string& name)
{
    if (!directory.empty() && directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

// Far above any build of the module; a larger file is not it.
constexpr uint64_t kMaxModuleBytes = uint64_t{256} << 20;

bool SameDirectory(const std::string& a, const std::string& b)
{
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev
           && first.st_ino == second.st_ino;
}

std::string ParentOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

void RemoveOtherSpellings(const std::string& directory)
{
    for (const std::string& name : korvel::GridModuleEntries(directory))
        if (name != kGridModuleName)
            ::unlink(JoinPath(directory, name).c_str());
}

}  // namespace

bool FitsWithModuleName(const std::string& directory)
{
    return directory.size() + 1 + std::strlen(kGridModuleName) < PATH_MAX;
}

std::optional<std::string> FindModuleEntry(const std::string& directory)
{
    const std::vector<std::string> names = korvel::GridModuleEntries(directory);
    if (names.empty())
        return std::nullopt;
    return names.front();
}

bool ModuleExists(const std::string& directory)
{
    if (!FitsWithModuleName(directory))
        return false;
    struct stat info {};
    if (::lstat(JoinPath(directory, kGridModuleName).c_str(), &info) == 0)
        return true;
    return FindModuleEntry(directory).has_value();
}

bool CopyReplacing(const std::string& source, const std::string& directory)
{
    if (!FitsWithModuleName(directory))
        return false;
    // The source first, so that a run with nothing to copy creates nothing.
    std::vector<uint8_t> module;
    std::string reason;
    if (!korvel::files::ReadFileBytes(source, kMaxModuleBytes, module, reason))
        return false;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error || SameDirectory(ParentOf(source), directory))
        return false;
    if (!korvel::files::ReplaceFile(JoinPath(directory, kGridModuleName), module, reason, {.mode = 0755}))
        return false;
    RemoveOtherSpellings(directory);
    return true;
}

}  // namespace gridsetup
