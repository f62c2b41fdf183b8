#pragma once
// The list of the most recently used documents, most recent first, and the
// texts of its File-menu entries. No Qt: paths are plain strings.
#include <cstddef>
#include <string>
#include <vector>

namespace korvel {

class RecentFileList {
public:
    explicit RecentFileList(std::size_t capacity = 4) : m_capacity(capacity) {}

    // Puts path first; an entry already in the list moves up, the oldest falls off.
    void Add(const std::string& path);
    void Remove(std::size_t index);
    // Takes the stored entries, oldest last: empty and repeated ones are skipped.
    void Assign(const std::vector<std::string>& paths);

    const std::vector<std::string>& Paths() const { return m_paths; }
    std::size_t Capacity() const { return m_capacity; }

private:
    std::size_t m_capacity;
    std::vector<std::string> m_paths;
};

// The longest form of path that fits maxLength characters: the root, "...",
// and as many of the last components as fit; at least the file name.
std::string AbbreviatePath(const std::string& path, std::size_t maxLength = 30);

// The text of entry index (0-based): "&1 name". A document in currentDir
// shows its file name only; others their abbreviated path. A '&' in the name
// is doubled so that it is not taken for a mnemonic.
std::string RecentEntryText(std::size_t index, const std::string& path, const std::string& currentDir);

}  // namespace korvel
