#include "core/files/DescriptorRead.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace korvel::files {

bool ReadDescriptorBytes(int fd, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    uint8_t chunk[65536];
    while (true) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (n == 0)
            return true;
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
            error = "more than " + std::to_string(maxBytes) + " bytes";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
}

}  // namespace korvel::files
