#pragma once
// Delimited text as spreadsheets export it: comma, semicolon or tab between
// fields, fields in double quotes may hold separators, doubled quotes and line
// breaks, lines end in LF or CRLF, and a UTF-8 byte-order mark may lead.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::text {

struct TextField {
    std::string text;     // unquoted, doubled quotes undone
    bool quoted = false;  // a quoted field is taken as it stands, blanks and all
};

struct TextRecord {
    int line = 0;  // the line the record starts on, from 1
    std::vector<TextField> fields;
    // No field holds anything and none was quoted: an empty line, or one of
    // separators only, which spreadsheets write for an empty row.
    bool Blank() const;
};

// Skips a UTF-8 byte-order mark.
std::string_view WithoutByteOrderMark(std::string_view text);

// The separator of the first line that holds any: the most frequent of tab,
// semicolon and comma outside quotes; on a tie tab, then semicolon (whose files
// write decimal commas), then comma. Comma when the line has none.
char DetectSeparator(std::string_view text);

// Reads one record at a time, so that a large file is never held twice.
class RecordReader {
public:
    // maxFields bounds every record, so a hostile line cannot make the reader
    // allocate a field per byte.
    RecordReader(std::string_view text, char separator, size_t maxFields);
    // False at the end of the text or on a fault (then error() says which).
    bool Next(TextRecord& record);
    const std::string& error() const { return m_error; }
    int errorLine() const { return m_errorLine; }

private:
    bool ReadQuoted(TextField& field);
    void ReadPlain(TextField& field);
    bool Fail(int line, std::string message);

    std::string_view m_text;
    char m_separator;
    size_t m_maxFields;
    size_t m_pos = 0;
    int m_line = 1;
    std::string m_error;
    int m_errorLine = 0;
};

// A field as the reader takes it back: quoted when it holds the separator, a
// quote or a line break, leads or ends with a blank, or is empty and quoting
// is asked for, or holds one of quoteAlso.
std::string QuoteField(std::string_view text, char separator, bool quoteEmpty = false, std::string_view quoteAlso = {});

}  // namespace korvel::text
