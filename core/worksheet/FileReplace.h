#pragma once
// Whole-file output that never leaves a half-written file under the name, and
// bounded reading of standard input.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::doc {

// Writes to a new file beside path, then renames it over path, so that path
// holds either its old bytes or all the new ones. An existing file keeps its
// permissions. False with the reason on failure; path is then untouched.
bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& error);

// Reads a descriptor to its end, refusing more than maxBytes.
bool ReadDescriptorBytes(int fd, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace korvel::doc
