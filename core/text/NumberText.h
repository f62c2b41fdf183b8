#pragma once
// Numbers as worksheet cells hold them: text that strtod reads to its end in
// the classic locale, finite.
#include <string>
#include <string_view>

namespace korvel::text {

// True when the whole text is one finite number as the Go command reads it.
bool ReadsAsWorksheetNumber(std::string_view text, double& value);

// The shortest decimal text that reads back to exactly this value.
std::string ShortestText(double value);
std::string ShortestText(float value);

// Characters of UTF-8 text (bytes that start a character).
size_t CharacterCount(std::string_view text);

}  // namespace korvel::text
