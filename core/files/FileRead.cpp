#include "core/files/FileRead.h"

#include "core/files/FileDescriptor.h"

#include <algorithm>
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

ssize_t ReadSome(int fd, char* buffer, size_t size)
{
    ssize_t n;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

bool WriteAll(int fd, const char* bytes, size_t size, std::string& error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = SystemReason(errno);
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
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

bool PieceReader::OpenFile(const std::string& path, uint64_t maxBytes, std::string& error)
{
    m_owned = std::make_unique<FileDescriptor>(OpenForReading(path));
    m_fd = m_owned->get();
    if (m_fd < 0) {
        error = SystemReason(errno);
        return false;
    }
    size_t size = 0;
    if (!CheckRegularFile(m_fd, maxBytes, size, error))
        return false;
    m_limit = size;
    m_sized = m_seekable = true;
    return true;
}

bool PieceReader::OpenDescriptor(int fd, uint64_t maxBytes, std::string& error)
{
    m_fd = fd;
    m_limit = maxBytes;
    m_start = ::lseek(fd, 0, SEEK_CUR);
    m_seekable = m_start >= 0;
    if (m_seekable)
        return true;
    m_spool.reset(std::tmpfile());
    if (m_spool)
        return true;
    error = SystemReason(errno);
    return false;
}

bool PieceReader::Spool(const char* bytes, size_t size, std::string& error)
{
    if (m_seekable || m_fromSpool || WriteAll(fileno(m_spool.get()), bytes, size, error))
        return true;
    error = "the copy to read it again failed in the temporary folder: " + error;
    return false;
}

bool PieceReader::Read(char* buffer, size_t size, size_t& got, std::string& error)
{
    got = 0;
    // A file read to its size when opened: what was appended since is not read.
    if (m_sized)
        size = static_cast<size_t>(std::min<uint64_t>(size, m_limit - m_done));
    if (size == 0)
        return true;
    const int fd = m_fromSpool ? fileno(m_spool.get()) : m_fd;
    const ssize_t n = ReadSome(fd, buffer, size);
    if (n < 0) {
        error = SystemReason(errno);
        return false;
    }
    got = static_cast<size_t>(n);
    m_done += got;
    if (!m_sized && m_done > m_limit) {
        error = "more than " + std::to_string(m_limit) + " bytes";
        return false;
    }
    return Spool(buffer, got, error);
}

bool PieceReader::Rewind(std::string& error)
{
    if (!m_seekable && !m_fromSpool) {
        // The rest of a stream read only in part goes to the copy first.
        char rest[65536];
        size_t got = 0;
        do {
            if (!Read(rest, sizeof rest, got, error))
                return false;
        } while (got > 0);
        m_fromSpool = true;
    }
    const int fd = m_fromSpool ? fileno(m_spool.get()) : m_fd;
    if (::lseek(fd, m_fromSpool ? 0 : m_start, SEEK_SET) < 0) {
        error = SystemReason(errno);
        return false;
    }
    m_done = 0;
    return true;
}

}  // namespace korvel::files
