#pragma once
// The worksheet document's bytes: int32 Rows, int32 Cols (little-endian), the
// Min Return string, then (Rows-1) x (Cols-1) cell strings row by row, columns
// 1..Cols-1. Strings carry a 1-, 3- or 7-byte length prefix; the reader also
// takes the 16-bit (UTF-16LE) form and turns it into UTF-8. No header, no version.
#include "worksheet/core/WorksheetTable.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::doc {

inline constexpr int32_t kMinRows = 2, kMaxRows = 1001;
inline constexpr int32_t kMinCols = 5, kMaxCols = 12;
bool CountsInRange(int32_t rows, int32_t cols);

// Reads from a byte buffer that the caller keeps alive. Every read is bounded by
// what is left: a length prefix larger than the rest of the buffer fails without
// allocating that length.
class DocumentReader {
public:
    explicit DocumentReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool ReadInt32(int32_t& value);
    bool ReadString(std::string& text);  // bytes as stored; 16-bit form as UTF-8
    size_t Remaining() const { return m_bytes.size() - m_pos; }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

class DocumentWriter {
public:
    void WriteInt32(int32_t value);
    void WriteString(std::string_view text);  // never the 16-bit form
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

enum class LoadError { None, ShortFile, CountsOutOfRange };

struct LoadResult {
    LoadError error = LoadError::None;
    WorksheetTable table;  // what was read, even when the load failed part-way
};

// Whole-document load and store on a WorksheetTable.
LoadResult LoadDocument(std::span<const uint8_t> bytes);
std::vector<uint8_t> SaveDocument(const WorksheetTable& table);

// Reads a whole file, bounded by its real size. False with a reason on failure.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace korvel::doc
