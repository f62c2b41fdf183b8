#pragma once
// How the Single analysis window reads a typed return.
#include <optional>
#include <string_view>

namespace korvel {

// The number a typed return stands for: the text read as a worksheet number,
// blanks, tabs and line breaks at either end ignored (text::NumberBlanks::
// AtEitherEnd: the Go command refuses "5 "). Empty when part of the text is
// left unread or the value is not finite ("inf", "nan", 1e999). A blank text
// is the number 0.
std::optional<double> ReadReturnText(std::string_view text);

}  // namespace korvel
