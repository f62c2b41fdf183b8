#pragma once
// A worksheet table as delimited text, one column per share as analysts'
// tools read it: a header row of names after "Date" (the periods' dates) or
// "Period" (1, 2, ...), then a line per period. The Min Return rides in the
// first header, "Date (Min Return TEXT)", so that no row or column that a
// data-frame reader takes for a share or a period holds it. Read back with
// ReadDelimitedText it gives the same table.
#include "core/worksheet/TextImport.h"

#include <string>
#include <vector>

namespace korvel::text {

// Every return must be a number as the Go command reads it, or empty: text
// that is not would not read back. The error then names the share's row and
// period. dates: one per period, else the periods are numbered.
bool WriteDelimitedText(const WorksheetTable& table, const std::vector<std::string>& dates, char separator,
                        std::string& out, TextError& error);

// "Date (Min Return 0.5)": the label and the Min Return text, when the header
// is of that form.
bool SplitMinReturnHeader(std::string_view header, std::string_view& label, std::string_view& minReturn);

}  // namespace korvel::text
