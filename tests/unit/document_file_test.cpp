#include "core/files/FileReplace.h"
#include "core/worksheet/DocumentFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvel::doc;
namespace fs = std::filesystem;

namespace {

class DocumentFile : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/korvel-docfile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& name, const std::string& content) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    fs::path m_dir;
};

}  // namespace

TEST_F(DocumentFile, ReadsWholeFilesIncludingEmptyOnes) {
    std::vector<uint8_t> bytes = {1, 2, 3};
    std::string error = "stale";
    ASSERT_TRUE(ReadFileBytes(Write("empty", ""), bytes, error));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(error, "");

    const std::string content("\x02\0\0\0\x05\0\0\0\0\0\0\0\0", 13);
    ASSERT_TRUE(ReadFileBytes(Write("reset", content), bytes, error));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content);
    EXPECT_EQ(LoadDocument(bytes).error, LoadError::None);
}

TEST_F(DocumentFile, RefusesWhatIsNotARegularFileWithAReason) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(ReadFileBytes((m_dir / "missing").string(), bytes, error));
    EXPECT_EQ(error, "No such file or directory");

    EXPECT_FALSE(ReadFileBytes(m_dir.string(), bytes, error));
    EXPECT_EQ(error, "Is a directory");

    // Reports size 0 but never ends: must be refused, not read forever.
    EXPECT_FALSE(ReadFileBytes("/dev/zero", bytes, error));
    EXPECT_EQ(error, "not a regular file");
    EXPECT_TRUE(bytes.empty());

    // A FIFO without a writer must not block the open.
    const fs::path fifo = m_dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(fifo.string(), bytes, error));
    EXPECT_EQ(error, "not a regular file");
}

TEST_F(DocumentFile, RefusesFilesLargerThanAnyWorksheetWithoutReadingThem) {
    const fs::path path = Write("sparse", "");
    fs::resize_file(path, kMaxFileBytes + 1);  // sparse: costs no disk
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(ReadFileBytes(path.string(), bytes, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_TRUE(bytes.empty());
}

namespace {

std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Save(const fs::path& path, const std::string& content, std::string& error) {
    return korvel::files::ReplaceFile(path.string(), content, error);
}

// A file size limit for as long as it lives; SIGXFSZ keeps its default action,
// which ends the process should a write ever exceed the limit unhandled.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_original);
        rlimit tight = m_original;
        tight.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_original); }

private:
    rlimit m_original{};
};

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_F(DocumentFile, SavingReplacesTheFileKeepingItsModeAndLinks) {
    std::string error = "stale";
    const fs::path path = Write("sheet", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(Save(path, "new content", error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(Content(path), "new content");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));

    const fs::path link = m_dir / "link";
    fs::create_symlink(path, link);
    ASSERT_TRUE(Save(link, "through the link", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Content(path), "through the link");

    ASSERT_TRUE(Save(m_dir / "fresh", "", error)) << error;
    EXPECT_EQ(Content(m_dir / "fresh"), "");
    EXPECT_EQ(Names(m_dir), (std::vector<std::string>{"fresh", "link", "sheet"}));

    EXPECT_FALSE(Save(m_dir, "x", error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(Save(m_dir / "missing" / "sheet", "x", error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST_F(DocumentFile, SavingOverTheSizeLimitFailsAndKeepsTheFile) {
    const fs::path path = Write("sheet", "previous");
    std::string error;
    {
        const FileSizeLimit limit(100);
        EXPECT_FALSE(Save(path, std::string(5000, 'x'), error));
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(Content(path), "previous");
    EXPECT_EQ(Names(m_dir), std::vector<std::string>{"sheet"});
}

TEST_F(DocumentFile, NamesAtTheSystemLimitSaveLongerOnesSayWhy) {
    const std::string longest(255, 'n');
    std::string error;
    ASSERT_TRUE(Save(m_dir / longest, "whole", error)) << error;
    EXPECT_EQ(Content(m_dir / longest), "whole");
    ASSERT_TRUE(Save(m_dir / longest, "again", error)) << error;
    EXPECT_EQ(Content(m_dir / longest), "again");
    EXPECT_FALSE(Save(m_dir / (longest + "n"), "x", error));
    EXPECT_EQ(error, "File name too long");
}

// Root passes every permission check, so the folder is locked for a plain
// user's file-system identity instead.
TEST_F(DocumentFile, AFolderWithoutWriteAccessIsWrittenInPlaceAndPutBackOnFailure) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to take a plain user's file-system identity";
    const fs::path path = Write("sheet", "previous content");
    const fs::path theirs = Write("theirs", "not yours");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(m_dir.c_str(), 0755), 0);
    ::setfsuid(65534);
    ::setfsgid(65534);
    std::string error;
    const bool saved = Save(path, "in place", error);
    const std::string savedError = error;
    bool tooLarge;
    {
        const FileSizeLimit limit(100);
        tooLarge = !Save(path, std::string(5000, 'y'), error);
    }
    const std::string tooLargeError = error;
    const bool refusedNew = !Save(m_dir / "new", "x", error);
    const std::string newError = error;
    const bool refusedTheirs = !Save(theirs, "x", error);
    ::setfsuid(0);
    ::setfsgid(0);

    EXPECT_TRUE(saved) << savedError;
    EXPECT_TRUE(tooLarge);
    EXPECT_EQ(tooLargeError, "File too large");
    EXPECT_EQ(Content(path), "in place");
    EXPECT_TRUE(refusedNew);
    EXPECT_EQ(newError, "Permission denied");
    EXPECT_TRUE(refusedTheirs);
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(Content(theirs), "not yours");
    EXPECT_EQ(Names(m_dir), (std::vector<std::string>{"sheet", "theirs"}));
}

TEST_F(DocumentFile, AFileTheUserMayNotWriteIsNotReplaced) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to take a plain user's file-system identity";
    const fs::path path = Write("theirs", "not yours");
    ASSERT_EQ(::chmod(m_dir.c_str(), 0777), 0);
    ::setfsuid(65534);
    std::string error;
    const bool saved = Save(path, "replaced", error);
    ::setfsuid(0);
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(Content(path), "not yours");
}
