#pragma once
// Reading a whole regular file, bounded by its real size.
#include <cstdint>
#include <string>
#include <vector>

namespace korvel::files {

// Reads a whole regular file, bounded by its size when opened (fstat) and by
// maxBytes. Directories, devices and FIFOs are refused without waiting for a
// writer. False with the reason alone (no path, e.g. "No such file or
// directory") on failure.
bool ReadFileBytes(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace korvel::files
