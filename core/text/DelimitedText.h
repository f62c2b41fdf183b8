#pragma once
// Delimited text as spreadsheets export it: comma, semicolon or tab between
// fields, fields in double quotes may hold separators, doubled quotes and line
// breaks, lines end in LF or CRLF, and a UTF-8 byte-order mark may lead.
#include <cstddef>
#include <cstdint>
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

// The same on a text fed a piece at a time, so that a stream is not held whole.
class SeparatorDetector {
public:
    // True once the pieces fed decide it, whatever follows.
    bool Feed(std::string_view piece);
    char Separator() const;

private:
    size_t m_tabs = 0, m_semicolons = 0, m_commas = 0, m_pipes = 0, m_spaces = 0;
    bool m_inQuotes = false;
    bool m_decided = false;
};

// Where a text comes from a piece at a time, twice if asked.
class TextSource {
public:
    virtual ~TextSource() = default;
    // Up to size bytes; got is 0 at the end. False on a fault, with its reason.
    virtual bool Read(char* buffer, size_t size, size_t& got, std::string& error) = 0;
    // Back to the first byte.
    virtual bool Rewind(std::string& error) = 0;
};

// A text already in memory as a source.
class ViewSource : public TextSource {
public:
    explicit ViewSource(std::string_view text) : m_text(text) {}
    bool Read(char* buffer, size_t size, size_t& got, std::string& error) override;
    bool Rewind(std::string& error) override;

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

// Reads one record at a time, so that a large file is never held twice.
class RecordReader {
public:
    // maxFields bounds every record, so a hostile line cannot make the reader
    // allocate a field per byte.
    RecordReader(std::string_view text, char separator, size_t maxFields);
    // The text of source from where it stands, its first skip bytes passed
    // over; a record may span pieces, and only one piece is held at a time.
    // maxBytes (0: none) bounds a record's length, line ends included, so that
    // a text of any size holds no more than that at once.
    RecordReader(TextSource& source, char separator, size_t maxFields, size_t maxBytes, size_t skip = 0);
    // False at the end of the text or on a fault (then error() says which).
    bool Next(TextRecord& record);
    const std::string& error() const { return m_error; }
    int errorLine() const { return m_errorLine; }

private:
    bool ReadQuoted(TextField& field);
    void ReadPlain(TextField& field);
    bool Fail(int line, std::string message);
    // True when a byte stands at m_pos, reading the next piece if need be.
    bool Fill() { return m_pos < m_text.size() || Refill(); }
    bool Refill();
    bool ReadRecord(TextRecord& record);
    // False, with the fault, once the record being read has passed maxBytes.
    bool CheckLength(size_t end);

    TextSource* m_source = nullptr;
    std::string m_piece;
    size_t m_skip = 0;
    bool m_ended = false;
    std::string_view m_text;
    char m_separator;
    size_t m_maxFields;
    size_t m_maxBytes = 0;
    uint64_t m_before = 0;  // the bytes of the pieces before this one
    uint64_t m_recordStart = 0;
    int m_recordLine = 0;  // 0: between records
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
