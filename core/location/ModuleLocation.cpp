#include "core/location/ModuleLocation.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>

#ifndef KORVEL_DEFAULT_SYSTEM_DIR
#error "KORVEL_DEFAULT_SYSTEM_DIR is set by the build from its KORVEL_SYSTEM_DIR cache entry"
#endif

namespace korvel {

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const char* DefaultSystemDir()
{
    return KORVEL_DEFAULT_SYSTEM_DIR;
}

std::string SystemDirectory()
{
    const char* overridden = std::getenv(kSystemDirVariable);
    return (overridden && *overridden) ? std::string(overridden) : std::string(DefaultSystemDir());
}

bool IsGridModuleName(std::string_view name)
{
    const std::string_view module(kGridModuleName);
    return name.size() == module.size() && std::equal(name.begin(), name.end(), module.begin(), [](char a, char b) {
               return LowerAscii(a) == LowerAscii(b);
           });
}

std::vector<std::string> GridModuleEntries(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* stream = ::opendir(dir.c_str())) {
        while (const dirent* entry = ::readdir(stream))
            if (IsGridModuleName(entry->d_name))
                names.emplace_back(entry->d_name);
        ::closedir(stream);
    }
    std::sort(names.begin(), names.end());
    // The exact name, when present, is the one the build produced: prefer it.
    const auto exact = std::find(names.begin(), names.end(), kGridModuleName);
    if (exact != names.end())
        std::rotate(names.begin(), exact, exact + 1);
    return names;
}

}  // namespace korvel
