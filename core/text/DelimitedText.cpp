#include "core/text/DelimitedText.h"

#include <algorithm>

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

char DetectSeparator(std::string_view text)
{
    size_t tabs = 0, semicolons = 0, commas = 0, pipes = 0, spaces = 0;
    bool inQuotes = false;
    for (const char c : text) {
        if (c == '"')
            inQuotes = !inQuotes;
        if (inQuotes)
            continue;
        if (c == '\n') {
            if (tabs + semicolons + commas + pipes + spaces > 0)
                break;
            continue;
        }
        tabs += c == '\t';
        semicolons += c == ';';
        commas += c == ',';
        pipes += c == '|';
        spaces += c == ' ';
    }
    if (tabs > 0 && tabs >= semicolons && tabs >= commas && tabs >= pipes)
        return '\t';
    if (semicolons > 0 && semicolons >= commas && semicolons >= pipes)
        return ';';
    if (pipes > commas)
        return '|';
    // Blanks part fields only where nothing else does.
    return commas == 0 && spaces > 0 ? ' ' : ',';
}

RecordReader::RecordReader(std::string_view text, char separator, size_t maxFields)
    : m_text(text), m_separator(separator), m_maxFields(maxFields)
{}

bool RecordReader::Fail(int line, std::string message)
{
    m_error = std::move(message);
    m_errorLine = line;
    m_pos = m_text.size();
    return false;
}

// After the opening quote: up to the closing one, "" standing for one quote.
bool RecordReader::ReadQuoted(TextField& field)
{
    const int startLine = m_line;
    field.quoted = true;
    ++m_pos;
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos++];
        if (c == '"') {
            if (m_pos < m_text.size() && m_text[m_pos] == '"') {
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
    const size_t end = m_text.find_first_of(std::string{m_separator, '\n', '\r'}, m_pos);
    const size_t stop = end == std::string_view::npos ? m_text.size() : end;
    field.text.append(m_text.substr(m_pos, stop - m_pos));
    m_pos = stop;
}

bool RecordReader::Next(TextRecord& record)
{
    record.fields.clear();
    if (m_pos >= m_text.size())
        return false;
    record.line = m_line;
    if (m_separator == ' ')
        while (m_pos < m_text.size() && m_text[m_pos] == ' ')
            ++m_pos;
    while (true) {
        if (record.fields.size() == m_maxFields)
            return Fail(record.line, "more than " + std::to_string(m_maxFields) + " fields");
        TextField& field = record.fields.emplace_back();
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            if (!ReadQuoted(field))
                return false;
            // Text between a closing quote and the separator is kept, as
            // spreadsheets read it.
        }
        ReadPlain(field);
        if (m_pos >= m_text.size())
            return true;
        char c = m_text[m_pos++];
        if (c == ' ' && m_separator == ' ') {
            // Aligned columns: a run of blanks is one separator, and blanks
            // before the line's end part nothing.
            while (m_pos < m_text.size() && m_text[m_pos] == ' ')
                ++m_pos;
            if (m_pos == m_text.size())
                return true;
            if (m_text[m_pos] != '\n' && m_text[m_pos] != '\r')
                continue;
            c = m_text[m_pos++];
        }
        if (c == m_separator)
            continue;
        if (c == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
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
