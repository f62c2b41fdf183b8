#include "core/files/FileReplace.h"

#include "core/files/FileDescriptor.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace korvel::files {

namespace {

std::string SystemReason(int error)
{
    return std::strerror(error);
}

// Past a file size limit the kernel sends SIGXFSZ, whose default action ends
// the program with the user's edit; ignored, the write fails with EFBIG.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        m_restore = ::sigaction(SIGXFSZ, &ignore, &m_previous) == 0;
    }
    ~FileSizeSignalIgnored()
    {
        if (m_restore)
            ::sigaction(SIGXFSZ, &m_previous, nullptr);
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

private:
    struct sigaction m_previous {};
    bool m_restore = false;
};

// 0, or the errno of the write that failed.
int WriteAt(int fd, std::span<const uint8_t> bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Past this a file rewritten in place is not kept in memory to be put back.
constexpr uint64_t kMaxKeptBytes = uint64_t{256} << 20;

// The file's present bytes, kept to put back; empty when it is too large to keep.
std::vector<uint8_t> PresentBytes(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size <= 0 || static_cast<uint64_t>(info.st_size) > kMaxKeptBytes)
        return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

// 0, or the errno of the step that failed: the bytes, the length, the disk.
int ReplaceContent(int fd, std::span<const uint8_t> bytes)
{
    if (const int why = WriteAt(fd, bytes))
        return why;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        return errno;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The older way, for a folder that takes no new file: the file itself is
// rewritten, and its previous bytes go back should the new ones not fit.
bool WriteInPlace(const std::string& target, std::span<const uint8_t> bytes, std::string& error)
{
    FileDescriptor fd(::open(target.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd.get() < 0) {
        error = SystemReason(errno);
        return false;
    }
    const std::vector<uint8_t> previous = PresentBytes(fd.get());
    int why = ReplaceContent(fd.get(), bytes);
    if (why != 0)
        ReplaceContent(fd.get(), previous);
    if (fd.Close() != 0 && why == 0)
        why = errno;
    if (why != 0) {
        error = SystemReason(why);
        return false;
    }
    return true;
}

// The file a save replaces: a symbolic link's target, so that the link stays a link.
std::string ResolvedTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string target = real;
    std::free(real);
    return target;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A short name of its own, so that a file name near the system's limit still
// leaves room for it.
int CreateTemporaryBeside(const std::string& target, std::string& temporary)
{
    std::string pattern = FolderOf(target) + "/.korvel-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    temporary = pattern;
    return fd;
}

bool FolderRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The owner may not be given away by a plain user; the group may, to one of theirs.
void KeepOwner(int fd, const struct stat& existing)
{
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
}

mode_t ModeOf(const struct stat* existing, const ReplaceRules& rules)
{
    if (rules.mode)
        return *rules.mode;
    return existing ? existing->st_mode & 07777 : NewFileMode();
}

// 0, or the errno that stops the temporary from standing in for the file.
int FillTemporary(int fd, std::span<const uint8_t> bytes, const struct stat* existing, const ReplaceRules& rules)
{
    if (existing)
        KeepOwner(fd, *existing);
    if (::fchmod(fd, ModeOf(existing, rules)) != 0)
        return errno;
    if (const int why = WriteAt(fd, bytes))
        return why;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// 0 when target may be saved; otherwise the reason it may not.
int CheckTarget(const std::string& target, struct stat& existing, bool& exists)
{
    exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(existing.st_mode))
        return EISDIR;
    if (!S_ISREG(existing.st_mode))
        return EINVAL;
    // A file the user may not write is not replaced behind its back.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return 0;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error, const ReplaceRules& rules)
{
    error.clear();
    const FileSizeSignalIgnored noSignal;
    const std::string target = ResolvedTarget(path);
    struct stat existing {};
    bool exists = false;
    if (const int why = CheckTarget(target, existing, exists)) {
        error = why == EINVAL ? std::string("not a regular file") : SystemReason(why);
        return false;
    }
    std::string temporary;
    FileDescriptor fd(CreateTemporaryBeside(target, temporary));
    if (fd.get() < 0) {
        const int why = errno;
        if (FolderRefusesNewFiles(why))
            return WriteInPlace(target, bytes, error);
        error = SystemReason(why);
        return false;
    }
    int why = FillTemporary(fd.get(), bytes, exists ? &existing : nullptr, rules);
    if (fd.Close() != 0 && why == 0)
        why = errno;
    if (why == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        why = errno;
    if (why != 0) {
        ::unlink(temporary.c_str());
        error = SystemReason(why);
        return false;
    }
    return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error, const ReplaceRules& rules)
{
    return ReplaceFile(path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), error, rules);
}

}  // namespace korvel::files
