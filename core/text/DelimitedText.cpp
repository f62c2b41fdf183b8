#include "core/text/DelimitedText.h"

#include <algorithm>
#include <limits>

namespace korvel::text {

bool TextRecord::Blank() const
{
    return std::all_of(fields.begin(), fields.end(), [](const TextField& f) { return !f.quoted && f.text.empty(); });
}

std::string_view WithoutByteOrderMark(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

bool SeparatorDetector::Feed(std::string_view piece)
{
    for (const char c : piece) {
        if (m_decided)
            break;
        if (c == '"')
            m_inQuotes = !m_inQuotes;
        if (m_inQuotes)
            continue;
        if (c == '\n') {
            m_decided = m_tabs + m_semicolons + m_commas + m_pipes + m_spaces > 0;
            continue;
        }
        m_tabs += c == '\t';
        m_semicolons += c == ';';
        m_commas += c == ',';
        m_pipes += c == '|';
        m_spaces += c == ' ';
    }
    return m_decided;
}

char SeparatorDetector::Separator() const
{
    if (m_tabs > 0 && m_tabs >= m_semicolons && m_tabs >= m_commas && m_tabs >= m_pipes)
        return '\t';
    if (m_semicolons > 0 && m_semicolons >= m_commas && m_semicolons >= m_pipes)
        return ';';
    if (m_pipes > m_commas)
        return '|';
    // Blanks part fields only where nothing else does.
    return m_commas == 0 && m_spaces > 0 ? ' ' : ',';
}

char DetectSeparator(std::string_view text)
{
    SeparatorDetector detector;
    detector.Feed(text);
    return detector.Separator();
}

bool ViewSource::Read(char* buffer, size_t size, size_t& got, std::string&)
{
    got = std::min(size, m_text.size() - m_pos);
    std::copy_n(m_text.data() + m_pos, got, buffer);
    m_pos += got;
    return true;
}

bool ViewSource::Rewind(std::string&)
{
    m_pos = 0;
    return true;
}

RecordReader::RecordReader(std::string_view text, char separator, size_t maxFields)
    : m_text(text), m_separator(separator), m_maxFields(maxFields)
{}

RecordReader::RecordReader(TextSource& source, char separator, size_t maxFields, size_t maxBytes, size_t skip)
    : m_source(&source), m_skip(skip), m_separator(separator), m_maxFields(maxFields), m_maxBytes(maxBytes)
{}

bool RecordReader::CheckLength(size_t end)
{
    if (m_recordLine == 0 || m_maxBytes == 0 || m_before + end - m_recordStart <= m_maxBytes)
        return true;
    return Fail(m_recordLine, "the line is longer than " + std::to_string(m_maxBytes) + " bytes");
}

bool RecordReader::Refill()
{
    // A record is measured at each piece it spans, so that an endless line
    // stops the reading once it passes the bound, not at the text's end.
    if (!CheckLength(m_text.size()))
        return false;
    // Growing to a size at which a line of a long history costs few calls,
    // small beside the returns it holds; a short text stays a small piece.
    constexpr size_t kFirstPiece = size_t{1} << 12, kLargestPiece = size_t{1} << 18;
    while (m_source != nullptr && !m_ended) {
        m_piece.resize(m_piece.empty() ? kFirstPiece : std::min(2 * m_piece.capacity(), kLargestPiece));
        size_t got = 0;
        std::string reason;
        if (!m_source->Read(m_piece.data(), m_piece.size(), got, reason))
            return Fail(m_line, reason);
        m_piece.resize(got);
        m_before += m_text.size();
        m_text = m_piece;
        m_pos = std::min(m_skip, got);
        m_skip -= m_pos;
        m_ended = got == 0;
        if (m_pos < m_text.size())
            return true;
    }
    return false;
}

bool RecordReader::Fail(int line, std::string message)
{
    if (m_error.empty()) {
        m_error = std::move(message);
        m_errorLine = line;
    }
    m_pos = m_text.size();
    m_ended = true;
    return false;
}

// After the opening quote: up to the closing one, "" standing for one quote.
bool RecordReader::ReadQuoted(TextField& field)
{
    const int startLine = m_line;
    field.quoted = true;
    ++m_pos;
    while (Fill()) {
        const char c = m_text[m_pos++];
        if (c == '"') {
            if (Fill() && m_text[m_pos] == '"') {
                field.text += '"';
                ++m_pos;
                continue;
            }
            return true;
        }
        if (c == '\n')
            ++m_line;
        field.text += c;
    }
    return Fail(startLine, "a quoted field is not closed");
}

void RecordReader::ReadPlain(TextField& field)
{
    // A plain loop: find_first_of tries each character against the stops with
    // a call of its own, which was most of reading a long history.
    const char separator = m_separator;
    while (Fill()) {
        const char* const text = m_text.data();
        size_t stop = m_pos;
        while (stop < m_text.size() && text[stop] != separator && text[stop] != '\n' && text[stop] != '\r')
            ++stop;
        field.text.append(text + m_pos, stop - m_pos);
        m_pos = stop;
        if (stop < m_text.size())
            return;
    }
}

bool RecordReader::Next(TextRecord& record)
{
    // A fault of the source met inside a record ends the text there.
    const bool read = ReadRecord(record) && CheckLength(m_pos);
    m_recordLine = 0;
    return read && m_error.empty();
}

bool RecordReader::ReadRecord(TextRecord& record)
{
    record.fields.clear();
    if (!Fill())
        return false;
    // Places are named by their line as an int: a text of more lines, blank
    // ones most likely, stops at the last that can be named.
    if (m_line == std::numeric_limits<int>::max())
        return Fail(m_line, "more than " + std::to_string(m_line - 1) + " lines");
    record.line = m_recordLine = m_line;
    m_recordStart = m_before + m_pos;
    if (m_separator == ' ')
        while (Fill() && m_text[m_pos] == ' ')
            ++m_pos;
    while (true) {
        if (record.fields.size() == m_maxFields)
            return Fail(record.line, "more than " + std::to_string(m_maxFields) + " fields");
        TextField& field = record.fields.emplace_back();
        if (Fill() && m_text[m_pos] == '"') {
            if (!ReadQuoted(field))
                return false;
            // Text between a closing quote and the separator is kept, as
            // spreadsheets read it.
        }
        ReadPlain(field);
        if (!Fill())
            return true;
        char c = m_text[m_pos++];
        if (c == ' ' && m_separator == ' ') {
            // Aligned columns: a run of blanks is one separator, and blanks
            // before the line's end part nothing.
            while (Fill() && m_text[m_pos] == ' ')
                ++m_pos;
            if (!Fill())
                return true;
            if (m_text[m_pos] != '\n' && m_text[m_pos] != '\r')
                continue;
            c = m_text[m_pos++];
        }
        if (c == m_separator)
            continue;
        if (c == '\r' && Fill() && m_text[m_pos] == '\n')
            ++m_pos;
        ++m_line;
        return true;
    }
}

std::string QuoteField(std::string_view text, char separator, bool quoteEmpty, std::string_view quoteAlso)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool needsQuotes = (quoteEmpty && text.empty())
                             || text.find_first_of(std::string{separator, '"', '\n', '\r'}) != std::string_view::npos
                             || (!text.empty() && (blank(text.front()) || blank(text.back())))
                             || text.find_first_of(quoteAlso) != std::string_view::npos;
    if (!needsQuotes)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace korvel::text
