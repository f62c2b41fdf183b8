#pragma once
// The worksheet document's bytes: int32 Rows, int32 Cols (little-endian), the
// Min Return string, then (Rows-1) x (Cols-1) cell strings row by row, columns
// 1..Cols-1. Strings carry a 1-, 3- or 7-byte length prefix; the reader also
// takes the 16-bit (UTF-16LE) form and turns it into UTF-8. No header, no version.
#include "core/files/FileRead.h"
#include "core/worksheet/WorksheetRules.h"
#include "core/worksheet/WorksheetTable.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::doc {

inline constexpr int32_t kMinRows = kMinShares + 1, kMaxRows = kMaxShares + 1;
inline constexpr int32_t kMinCols = kMinPeriods + 2, kMaxCols = kMaxPeriods + 2;
bool CountsInRange(int32_t rows, int32_t cols);

// Reads from a byte buffer that the caller keeps alive. Every read is bounded by
// what is left: a length prefix larger than the rest of the buffer fails without
// allocating that length.
class DocumentReader {
public:
    explicit DocumentReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool ReadInt32(int32_t& value);
    // The bytes as stored (any encoding, kept byte for byte); the 16-bit form
    // comes back as UTF-8. On failure nothing is consumed.
    bool ReadString(std::string& text);
    size_t Remaining() const { return m_bytes.size() - m_pos; }
    size_t Position() const { return m_pos; }

private:
    bool ReadByte(uint8_t& value);
    bool ReadUInt16(uint16_t& value);
    bool ReadUInt32(uint32_t& value);
    bool ReadLength(uint32_t& length, bool& wide);

    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

class DocumentWriter {
public:
    void WriteInt32(int32_t value);
    // Always the 8-bit form, the bytes unchanged. Throws std::length_error for
    // a text of 4 GiB or more, which the format cannot describe.
    void WriteString(std::string_view text);
    void Reserve(size_t bytes) { m_bytes.reserve(bytes); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    void WriteUInt16(uint16_t value);
    void WriteUInt32(uint32_t value);

    std::vector<uint8_t> m_bytes;
};

// ShortFile: the bytes ended before the counts announced ("unexpected file
// format"). CountsOutOfRange: Rows or Cols outside the ranges above.
enum class LoadError { None, ShortFile, CountsOutOfRange };

struct LoadResult {
    LoadError error = LoadError::None;
    // ShortFile: what was read (counts, Min Return and the cells so far, the
    // rest empty), or the reset worksheet if the counts or Min Return were cut.
    // CountsOutOfRange: the reset worksheet.
    WorksheetTable table;
    // Whether the counts and Min Return were read, and how many cells after
    // them (row by row): a window showing a short file takes only those.
    bool headRead = false;
    size_t cellsRead = 0;
};

// Whole-document load and store on a WorksheetTable.
LoadResult LoadDocument(std::span<const uint8_t> bytes);
std::vector<uint8_t> SaveDocument(const WorksheetTable& table);

// Far above any real worksheet (1000 x 10 cells of typed text is about 1 MB).
inline constexpr uint64_t kMaxFileBytes = uint64_t{256} << 20;

// A whole document file, at most kMaxFileBytes (see files::ReadFileBytes).
inline bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    return files::ReadFileBytes(path, kMaxFileBytes, bytes, error);
}

}  // namespace korvel::doc
