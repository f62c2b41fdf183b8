#include "core/files/FileRead.h"

#include "core/files/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel::files {

namespace {

std::string SystemReason(int error)
{
    return std::strerror(error);
}

// Non-blocking, so that a FIFO without a writer cannot hang the open; the
// descriptor is refused below unless it is a regular file anyway.
int OpenForReading(const std::string& path)
{
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool CheckRegularFile(int fd, uint64_t maxBytes, size_t& size, std::string& error)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = SystemReason(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = SystemReason(EISDIR);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
        return false;
    }
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) {
        error = "file too large (" + std::to_string(info.st_size) + " bytes; at most " + std::to_string(maxBytes) + ")";
        return false;
    }
    size = static_cast<size_t>(info.st_size);
    return true;
}

// Reads at most bytes.size() bytes; a file that shrank meanwhile gives fewer.
bool ReadUpTo(int fd, std::vector<uint8_t>& bytes, std::string& error)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = SystemReason(errno);
            return false;
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    error.clear();
    const FileDescriptor fd(OpenForReading(path));
    if (fd.get() < 0) {
        error = SystemReason(errno);
        return false;
    }
    size_t size = 0;
    if (!CheckRegularFile(fd.get(), maxBytes, size, error))
        return false;
    bytes.resize(size);
    if (!ReadUpTo(fd.get(), bytes, error)) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace korvel::files
