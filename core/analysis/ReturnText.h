#pragma once
// How the Single analysis window reads a typed return.
#include <optional>
#include <string_view>

namespace korvel {

// Blanks, tabs and line breaks at either end of a typed return are ignored.
std::string_view TrimBlanks(std::string_view text);

// The number a typed return stands for: the trimmed text read as a worksheet
// number (text::ReadsAsWorksheetNumber). Empty when part of the trimmed text is
// left unread or the value is not finite ("inf", "nan", 1e999). A blank text is
// the number 0. The trimming of trailing blanks is this window's own: the Go
// command refuses "5 ".
std::optional<double> ReadReturnText(std::string_view text);

}  // namespace korvel
