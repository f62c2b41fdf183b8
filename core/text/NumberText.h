#pragma once
// Numbers as worksheet cells hold them: text that strtod reads to its end in
// the classic locale, whatever the process locale. The one reader of numbers
// typed or loaded as text: the Go command, the text import and export, and
// the Single analysis window all read through it.
#include <string>
#include <string_view>

namespace korvel::text {

// Reads text as strtod does in the classic locale (leading blanks, signs,
// hexadecimal forms, "inf" and "nan" included). True when the whole text is
// consumed, whatever the value; value is set whatever the outcome (0 when
// nothing could be read). A text of any length is parsed whole; a text with a
// NUL byte inside is never consumed to its end. An empty text reads as 0.
bool ReadWholeNumber(std::string_view text, double& value);

// Which blanks (space, tab, line breaks, vertical tab, form feed) a reader
// passes over: the Go command and the text files only those strtod skips, before
// the number ("5 " is no number); the Single analysis window those at either
// end as well, and reads a blank text as 0.
enum class NumberBlanks { Leading, AtEitherEnd };

// True when the whole text is one finite number as the Go command reads it:
// ReadWholeNumber, without infinities and NaN, which would poison a tableau.
bool ReadsAsWorksheetNumber(std::string_view text, double& value, NumberBlanks blanks = NumberBlanks::Leading);

// printf's "%.*f" with this many decimals in the C locale, whatever the
// process locale, of any length (the largest double runs to 309 digits).
std::string FixedText(double value, int decimals);

// The shortest decimal text that reads back to exactly this value.
std::string ShortestText(double value);
std::string ShortestText(float value);

// Characters of UTF-8 text (bytes that start a character).
size_t CharacterCount(std::string_view text);

}  // namespace korvel::text
