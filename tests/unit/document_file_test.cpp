#include "worksheet/core/DocumentFormat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvel::doc;
namespace fs = std::filesystem;

namespace {

class DocumentFile : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/korvel-docfile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& name, const std::string& content)
    {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    fs::path m_dir;
};

}  // namespace

TEST_F(DocumentFile, ReadsWholeFilesIncludingEmptyOnes)
{
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

TEST_F(DocumentFile, RefusesWhatIsNotARegularFileWithAReason)
{
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

TEST_F(DocumentFile, RefusesFilesLargerThanAnyWorksheetWithoutReadingThem)
{
    const fs::path path = Write("sparse", "");
    fs::resize_file(path, kMaxFileBytes + 1);  // sparse: costs no disk
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(ReadFileBytes(path.string(), bytes, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_TRUE(bytes.empty());
}
