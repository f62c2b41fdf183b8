#pragma once
// The one way a program replaces a whole file: what it writes is either all
// there or not at all, and the old file stays as it was on any failure.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace korvel::files {

struct ReplaceRules {
    // The mode the file gets, whatever it had. Unset, a file keeps its mode
    // and a new one gets 0666 less the umask.
    std::optional<mode_t> mode;
};

// Writes bytes to a new file beside path, syncs it and renames it over path.
// A symbolic link is followed: its target is replaced and the link stays a
// link. Only a regular file is replaced: a directory, device, FIFO or socket
// is refused, and so is a file the user may not write (it stays read-only).
// Where the folder takes no new file (no write permission, a read-only
// folder), the file is rewritten in place instead, and put back as it was if
// that write fails. A file size limit fails the write (SIGXFSZ does not end
// the program). False with the reason alone (e.g. "File too large") on
// failure; nothing is left behind then.
bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error,
                 const ReplaceRules& rules = {});
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error, const ReplaceRules& rules = {});

}  // namespace korvel::files
