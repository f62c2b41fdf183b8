#include "gui/app/GridModule.h"

#include "gui/grid/FlexGridControl.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace korvel {
namespace {

namespace fs = std::filesystem;

// A handle from dlopen that is closed on every path out.
class LoadedModule {
public:
    explicit LoadedModule(void* handle) : m_handle(handle) {}
    ~LoadedModule()
    {
        if (m_handle)
            dlclose(m_handle);
    }
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
        for (const std::string& path : ModuleCandidates(dir)) {
            if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
                return handle;
        }
    }
    return search.libraryPath ? dlopen(kGridModuleName, RTLD_NOW | RTLD_LOCAL) : nullptr;
}

}  // namespace

std::vector<std::string> ModuleCandidates(const std::string& dir)
{
    std::vector<std::string> paths;
    for (const std::string& name : GridModuleEntries(dir)) {
        const fs::path path = fs::path(dir) / name;
        std::error_code error;
        if (fs::is_regular_file(path, error))
            paths.push_back(path.string());
    }
    return paths;
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
