#include "core/worksheet/BoundsText.h"

#include "core/text/DelimitedText.h"
#include "core/text/NumberText.h"

namespace korvel::doc {
namespace {

bool IsHeader(const text::TextRecord& record)
{
    return record.line == 1 && record.fields.size() == 3 && record.fields[1].text == "min"
           && record.fields[2].text == "max";
}

bool ReadBound(const text::TextRecord& record, size_t field, std::optional<double>& bound, std::string& error)
{
    const std::string& cell = record.fields[field].text;
    if (cell.empty())
        return true;
    double value = 0.0;
    if (!text::ReadsAsWorksheetNumber(cell, value)) {
        error = "line " + std::to_string(record.line) + ", field " + std::to_string(field + 1) + ": \"" + cell
                + "\" is not a number";
        return false;
    }
    bound = value;
    return true;
}

}  // namespace

bool ReadBoundsText(std::string_view text, std::vector<BoundsLine>& lines, std::string& error)
{
    text = text::WithoutByteOrderMark(text);
    text::RecordReader reader(text, text::DetectSeparator(text), 4);
    text::TextRecord record;
    while (reader.Next(record)) {
        if (record.Blank() || IsHeader(record))
            continue;
        if (record.fields.size() != 3) {
            error = "line " + std::to_string(record.line) + ": a line holds a name, a least and a largest weight";
            return false;
        }
        BoundsLine line{record.line, record.fields[0].text, {}, {}};
        if (!ReadBound(record, 1, line.lower, error) || !ReadBound(record, 2, line.upper, error))
            return false;
        lines.push_back(std::move(line));
    }
    if (!reader.error().empty()) {
        error = "line " + std::to_string(reader.errorLine()) + ": " + reader.error();
        return false;
    }
    return true;
}

}  // namespace korvel::doc
