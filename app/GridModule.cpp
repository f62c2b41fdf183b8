#include "app/GridModule.h"

#include "grid/FlexGridControl.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace korvel {
namespace {

namespace fs = std::filesystem;

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char x, char y) { return lower(static_cast<unsigned char>(x)) ==
                                                   lower(static_cast<unsigned char>(y)); });
}

// A handle from dlopen that is closed on every path out.
class LoadedModule {
public:
    explicit LoadedModule(void* handle) : m_handle(handle) {}
    ~LoadedModule() { if (m_handle) dlclose(m_handle); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    void* Symbol(const char* name) const { return dlsym(m_handle, name); }

private:
    void* m_handle;
};

void* LoadFirst(const GridModuleSearch& search)
{
    for (const std::string& dir : {search.executableDir, search.systemDir}) {
        if (dir.empty())
            continue;
        for (const std::string& path : ModuleCandidates(dir, kGridModuleName)) {
            if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
                return handle;
        }
    }
    return search.libraryPath ? dlopen(kGridModuleName, RTLD_NOW | RTLD_LOCAL) : nullptr;
}

}  // namespace

std::string SystemDirectory()
{
    const char* dir = std::getenv("KORVEL_SYSTEM_DIR");
    return (dir && *dir) ? std::string(dir) : std::string(kDefaultSystemDir);
}

std::vector<std::string> ModuleCandidates(const std::string& dir, const std::string& name)
{
    std::vector<std::string> exact;
    std::vector<std::string> others;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string entryName = it->path().filename().string();
        if (!EqualsIgnoringAsciiCase(entryName, name))
            continue;
        std::error_code typeError;
        if (!fs::is_regular_file(it->path(), typeError))
            continue;
        (entryName == name ? exact : others).push_back(it->path().string());
    }
    std::sort(others.begin(), others.end());
    exact.insert(exact.end(), others.begin(), others.end());
    return exact;
}

GridRegistration RegisterGridModule(const GridModuleSearch& search)
{
    void* handle = LoadFirst(search);
    if (!handle)
        return GridRegistration::NotFound;
    LoadedModule module(handle);
    auto registerServer = reinterpret_cast<FlexGridRegisterFn>(module.Symbol(kFlexGridRegisterEntry));
    if (!registerServer)
        return GridRegistration::NoEntryPoint;
    return registerServer() == 0 ? GridRegistration::Registered : GridRegistration::RegistrationFailed;
}

}  // namespace korvel
