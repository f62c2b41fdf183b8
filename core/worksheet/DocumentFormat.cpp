#include "core/worksheet/DocumentFormat.h"

#include "core/text/Utf16.h"

#include <limits>
#include <stdexcept>

namespace korvel::doc {

namespace {

// Length prefixes: one byte below 0xFF; else 0xFF and a 16-bit length below
// 0xFFFE; else 0xFF 0xFFFF and a 32-bit length. 0xFF 0xFFFE marks 16-bit text.
constexpr uint8_t kLongerLength = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kLongestLength = 0xFFFF;

}  // namespace

bool CountsInRange(int32_t rows, int32_t cols)
{
    return rows >= kMinRows && rows <= kMaxRows && cols >= kMinCols && cols <= kMaxCols;
}

bool DocumentReader::ReadByte(uint8_t& value)
{
    if (Remaining() < 1)
        return false;
    value = m_bytes[m_pos++];
    return true;
}

bool DocumentReader::ReadUInt16(uint16_t& value)
{
    if (Remaining() < 2)
        return false;
    value = static_cast<uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
    m_pos += 2;
    return true;
}

bool DocumentReader::ReadUInt32(uint32_t& value)
{
    if (Remaining() < 4)
        return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | m_bytes[m_pos + i];
    m_pos += 4;
    return true;
}

bool DocumentReader::ReadInt32(int32_t& value)
{
    uint32_t raw = 0;
    if (!ReadUInt32(raw))
        return false;
    value = static_cast<int32_t>(raw);
    return true;
}

bool DocumentReader::ReadLength(uint32_t& length, bool& wide)
{
    uint8_t shortLength = 0;
    if (!ReadByte(shortLength))
        return false;
    if (shortLength != kLongerLength) {
        length = shortLength;
        return true;
    }
    uint16_t mediumLength = 0;
    if (!ReadUInt16(mediumLength))
        return false;
    if (mediumLength == kWideMarker && !wide) {
        // The 16-bit form: its own length follows, counting 16-bit units.
        wide = true;
        return ReadLength(length, wide);
    }
    if (mediumLength != kLongestLength) {
        length = mediumLength;
        return true;
    }
    return ReadUInt32(length);
}

bool DocumentReader::ReadString(std::string& text)
{
    const size_t start = m_pos;
    uint32_t length = 0;
    bool wide = false;
    if (!ReadLength(length, wide)) {
        m_pos = start;
        return false;
    }
    // Compared before anything is allocated, so a forged length costs nothing.
    const uint64_t byteCount = wide ? uint64_t{length} * 2 : uint64_t{length};
    if (byteCount > Remaining()) {
        m_pos = start;
        return false;
    }
    const uint8_t* data = m_bytes.data() + m_pos;
    if (wide) {
        text.clear();
        AppendUtf8FromUtf16Le(data, length, text);
    } else {
        text.assign(reinterpret_cast<const char*>(data), length);
    }
    m_pos += static_cast<size_t>(byteCount);
    return true;
}

void DocumentWriter::WriteUInt16(uint16_t value)
{
    m_bytes.push_back(static_cast<uint8_t>(value));
    m_bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void DocumentWriter::WriteUInt32(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void DocumentWriter::WriteInt32(int32_t value)
{
    WriteUInt32(static_cast<uint32_t>(value));
}

void DocumentWriter::WriteString(std::string_view text)
{
    const size_t length = text.size();
    if (length > std::numeric_limits<uint32_t>::max())
        throw std::length_error("text too long for a worksheet document");
    if (length < kLongerLength) {
        m_bytes.push_back(static_cast<uint8_t>(length));
    } else if (length < kWideMarker) {
        m_bytes.push_back(kLongerLength);
        WriteUInt16(static_cast<uint16_t>(length));
    } else {
        m_bytes.push_back(kLongerLength);
        WriteUInt16(kLongestLength);
        WriteUInt32(static_cast<uint32_t>(length));
    }
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

}  // namespace korvel::doc
