// The system folder and the recognition of the grid control's module in a
// folder, which Tavo's start-up and gridsetup both rely on.
#include "core/location/ModuleLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace korvel {
namespace {

namespace fs = std::filesystem;

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "korvel-location-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }
    void Touch(const std::string& name) const { std::ofstream(m_path / name) << "x"; }

private:
    fs::path m_path;
};

TEST(ModuleLocation, EntriesTakeEverySpellingExactNameFirstThenNameOrder) {
    const ScratchFolder folder;
    for (const char* name : {"msflxgrd.OCX", "Msflxgrd.ocx.bak", "MSFLXGRD.ocx", "Msflxgrd.ocx", "Msflxgrd"})
        folder.Touch(name);
    // Any type counts: gridsetup's existence test must see a folder of that name too.
    fs::create_directory(folder.path() / "msflxgrd.ocx");

    const std::vector<std::string> expected = {"Msflxgrd.ocx", "MSFLXGRD.ocx", "msflxgrd.OCX", "msflxgrd.ocx"};
    EXPECT_EQ(GridModuleEntries(folder.path().string()), expected);

    fs::remove(folder.path() / "Msflxgrd.ocx");
    EXPECT_EQ(GridModuleEntries(folder.path().string()).front(), "MSFLXGRD.ocx");
    EXPECT_TRUE(GridModuleEntries((folder.path() / "missing").string()).empty());
    EXPECT_FALSE(IsGridModuleName("Msflxgrd.oc"));
    EXPECT_FALSE(IsGridModuleName("Msflxgrd.ocy"));
}

TEST(ModuleLocation, TheEnvironmentOverridesTheConfiguredFolderUnlessEmpty) {
    EXPECT_STREQ(DefaultSystemDir(), KORVEL_CONFIGURED_SYSTEM_DIR);
    ::setenv(kSystemDirVariable, "/opt/elsewhere", 1);
    EXPECT_EQ(SystemDirectory(), "/opt/elsewhere");
    ::setenv(kSystemDirVariable, "", 1);
    EXPECT_EQ(SystemDirectory(), KORVEL_CONFIGURED_SYSTEM_DIR);
    ::unsetenv(kSystemDirVariable);
    EXPECT_EQ(SystemDirectory(), KORVEL_CONFIGURED_SYSTEM_DIR);
}

}  // namespace
}  // namespace korvel
