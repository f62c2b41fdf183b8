#pragma once
// A worksheet table as delimited text: a header row "Name,R1,...,RN", one row
// per share, and a row "Min Return,TEXT" when there is a Min Return. Read back
// with ReadDelimitedText it gives the same table.
#include "core/worksheet/TextImport.h"

#include <string>

namespace korvel::text {

// Every return must be a number as the Go command reads it, or empty: text
// that is not would not read back. The error then names the share's row and
// period (line and field of the text that would have been written).
bool WriteDelimitedText(const WorksheetTable& table, char separator, std::string& out, TextError& error);

}  // namespace korvel::text
