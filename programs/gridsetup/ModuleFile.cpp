#include "ModuleFile.h"

#include "GridSetup.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
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

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    bool Close()
    {
        const bool ok = m_fd < 0 || ::close(m_fd) == 0;
        m_fd = -1;
        return ok;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CopyContents(int from, int to)
{
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!WriteAll(to, buffer.data(), static_cast<size_t>(n)))
            return false;
    }
}

// Non-blocking, so that a FIFO of that name cannot hang the run.
int OpenRegularFile(const std::string& path)
{
    Descriptor opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (opened.get() < 0 || ::fstat(opened.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return opened.Release();
}

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

// Writes the copy under a temporary name in the destination directory and
// gives it the final name only once it is complete.
bool CopyThroughTemporary(int source, const std::string& directory)
{
    std::string temporary = JoinPath(directory, std::string(".") + kGridModuleName + ".XXXXXX");
    if (temporary.size() >= PATH_MAX)
        return false;
    Descriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (out.get() < 0)
        return false;
    const bool written = CopyContents(source, out.get()) && ::fchmod(out.get(), 0755) == 0 && ::fsync(out.get()) == 0;
    const bool closed = out.Close();
    if (!written || !closed || ::rename(temporary.c_str(), JoinPath(directory, kGridModuleName).c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
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
    const Descriptor in(OpenRegularFile(source));
    if (in.get() < 0)
        return false;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error || SameDirectory(ParentOf(source), directory) || !CopyThroughTemporary(in.get(), directory))
        return false;
    RemoveOtherSpellings(directory);
    return true;
}

}  // namespace gridsetup
