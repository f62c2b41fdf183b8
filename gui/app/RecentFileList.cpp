#include "gui/app/RecentFileList.h"

#include <algorithm>

namespace korvel {

void RecentFileList::Add(const std::string& path)
{
    if (path.empty() || m_capacity == 0)
        return;
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
    m_paths.insert(m_paths.begin(), path);
    if (m_paths.size() > m_capacity)
        m_paths.resize(m_capacity);
}

void RecentFileList::Remove(std::size_t index)
{
    if (index < m_paths.size())
        m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentFileList::Assign(const std::vector<std::string>& paths)
{
    m_paths.clear();
    for (const std::string& path : paths) {
        if (m_paths.size() == m_capacity)
            break;
        if (!path.empty() && std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end())
            m_paths.push_back(path);
    }
}

std::string AbbreviatePath(const std::string& path, std::size_t maxLength)
{
    if (path.size() <= maxLength)
        return path;
    const std::size_t lastSlash = path.find_last_of('/');
    if (lastSlash == std::string::npos)
        return path;
    const std::string root = path.front() == '/' ? "/" : "";
    const std::string fileName = path.substr(lastSlash + 1);
    // Grow the tail one component at a time, from the file name leftwards.
    std::string best = fileName;
    std::size_t cut = lastSlash;
    while (true) {
        const std::string candidate = root + ".../" + path.substr(cut + 1);
        if (candidate.size() > maxLength)
            break;
        best = candidate;
        if (cut == 0)
            break;
        const std::size_t previous = path.find_last_of('/', cut - 1);
        if (previous == std::string::npos || previous == 0)
            break;
        cut = previous;
    }
    return best;
}

std::string RecentEntryText(std::size_t index, const std::string& path, const std::string& currentDir)
{
    std::string name;
    const std::size_t lastSlash = path.find_last_of('/');
    if (lastSlash != std::string::npos && path.substr(0, lastSlash) == currentDir)
        name = path.substr(lastSlash + 1);
    else
        name = AbbreviatePath(path);

    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : name) {
        if (c == '&')
            text += '&';
        text += c;
    }
    return text;
}

}  // namespace korvel
