#pragma once
// Bounded reading of a stream (standard input) whose size is not known ahead.
#include <cstdint>
#include <string>
#include <vector>

namespace korvel::files {

// Reads a descriptor to its end, refusing more than maxBytes.
bool ReadDescriptorBytes(int fd, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace korvel::files
