#pragma once
// Reading a whole regular file, bounded by its real size, or a file or a
// stream a piece at a time.
#include "core/files/FileDescriptor.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace korvel::files {

// Reads a whole regular file, bounded by its size when opened (fstat) and by
// maxBytes. Directories, devices and FIFOs are refused without waiting for a
// writer. False with the reason alone (no path, e.g. "No such file or
// directory") on failure.
bool ReadFileBytes(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error);

// A regular file (bounded by its size when opened and by maxBytes) or a
// descriptor such as standard input (by maxBytes), read a piece at a time and
// then again from its start: a descriptor that cannot seek is read the second
// time from a copy in an unnamed temporary file, made while it is first read.
class PieceReader {
public:
    bool OpenFile(const std::string& path, uint64_t maxBytes, std::string& error);
    // fd stays the caller's.
    bool OpenDescriptor(int fd, uint64_t maxBytes, std::string& error);
    // Up to size bytes; got is 0 at the end. False with the reason alone.
    bool Read(char* buffer, size_t size, size_t& got, std::string& error);
    bool Rewind(std::string& error);
    // A descriptor's reading failed for passing maxBytes.
    bool PastLimit() const { return !m_sized && m_done > m_limit; }

private:
    bool Spool(const char* bytes, size_t size, std::string& error);

    std::unique_ptr<FileDescriptor> m_owned;
    int m_fd = -1;
    int64_t m_start = 0;  // where a seekable descriptor began
    uint64_t m_limit = 0;
    uint64_t m_done = 0;   // bytes read since the start
    bool m_sized = false;  // a regular file, read up to its size when opened
    bool m_seekable = false;
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, CloseFile> m_spool;
    bool m_fromSpool = false;
};

}  // namespace korvel::files
