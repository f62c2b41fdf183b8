#pragma once
// Share returns (or prices) from delimited text into a worksheet table.
//
// Layouts: one row per share (name, then its returns), or one column per share
// with the names in the header row and an optional first column of dates. A
// row "Min Return,TEXT" in the first layout gives the Min Return.
#include "core/text/DelimitedText.h"
#include "core/worksheet/TextImportDates.h"
#include "core/worksheet/WorksheetRules.h"
#include "core/worksheet/WorksheetTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::text {

enum class TextLayout { Detect, ByRow, ByColumn };
enum class HeaderRow { Detect, Present, Absent };

// What to do with a share that has no value for a period (an empty cell).
// Returns may stay empty in a worksheet, so only prices are refused unasked.
enum class GapRule { Refuse, CompleteRows, DropIncomplete };

struct TextOptions {
    char separator = 0;  // 0: detected
    TextLayout layout = TextLayout::Detect;
    HeaderRow header = HeaderRow::Detect;
    bool prices = false;  // n prices per share become n-1 returns in percent
    GapRule gaps = GapRule::Refuse;
    // The window, applied in this order: the dates inside [since, until], one
    // value per calendar period, the last `last` returns.
    std::string since{}, until{};
    CalendarPeriod every = CalendarPeriod::None;
    int32_t last = 0;  // 0: all
    DateFormat dateFormat = DateFormat::Detect;
    std::vector<std::string> shares{};  // only these, in this order; empty: all
    std::vector<std::string> drop{};    // all but these
};

struct TextLimits {
    int32_t maxShares;
    int32_t minPeriods;
    int32_t maxPeriods;
    size_t maxCellChars;       // 0: no limit
    size_t maxMinReturnChars;  // 0: no limit
    int64_t maxValues = 0;     // shares x periods; 0: no limit beyond the two
    size_t maxLineBytes = 0;   // 0: no limit but the text's own size
    size_t maxLabelChars = 0;  // a name's or a date's, where cells have none; 0: no limit
};

// What a worksheet document holds, as Tavo edits it.
inline constexpr TextLimits kWorksheetLimits{kMaxShares, kMinPeriods, kMaxPeriods, kMaxCellChars, kMaxMinReturnChars};
// What korvel-solve takes from text: eighty years of daily returns of a few
// shares, or ten years of daily returns of 2,000, within 400 MB of doubles.
// The text itself may be of any size; a line holds at most 20,002 fields, and
// 16 MiB leaves each of them 800 bytes, far more than a name or a number needs.
// Names and dates are kept, one a line, so each is bounded too.
inline constexpr TextLimits kLargeLimits{20000, 3, 20000, 0, 0, 50'000'000, size_t{16} << 20, 256};

// The longest text the limits can hold, for a copy of a stream read twice:
// every value and every name, date or label at a generous 64 bytes, and two
// lines at the longest a line may be.
uint64_t MaxTextBytes(const TextLimits& limits);

struct TextError {
    int line = 0;   // 0: the fault has no line of its own
    int field = 0;  // 0: the whole line
    std::string message;
    // "line 4, field 3: "abc" is not a number"
    std::string Describe() const;
};

// What the reader saw besides the table.
struct TextDetails {
    std::vector<std::string> dates;  // the date of every period's return (of its closing price); empty: none
    std::vector<std::string> notes;  // what the reader did unasked or guesses, for the user to know
};

// The Min Return comes from the text's "Min Return" row, "" when it has none.
bool ReadDelimitedText(std::string_view text, const TextOptions& options, const TextLimits& limits,
                       WorksheetTable& table, TextError& error);
bool ReadDelimitedText(std::string_view text, const TextOptions& options, const TextLimits& limits,
                       WorksheetTable& table, TextDetails& details, TextError& error);

// The returns of the text as numbers, for the companions that solve them: each
// field read once, by the rules the worksheet table's cells are read by, and
// no cell text kept. Prices become returns exactly as in the table.
struct TextReturns {
    std::vector<std::string> names;  // one per share
    int32_t periods = 0;
    std::vector<double> values;  // share by share, period by period; NaN: an empty field
    std::string minReturnText;
};

bool ReadDelimitedReturns(std::string_view text, const TextOptions& options, const TextLimits& limits,
                          TextReturns& returns, TextDetails& details, TextError& error);
// The same on a text read a piece at a time, twice (a survey of its shape,
// then its values): it is never held whole, and counts beyond the limits are
// refused at the line that passes them, before the rest is read.
bool ReadDelimitedReturns(TextSource& source, const TextOptions& options, const TextLimits& limits,
                          TextReturns& returns, TextDetails& details, TextError& error);

// A field's text as messages quote it: at most 80 characters ("..." after a
// longer one), with or without quotes.
std::string Excerpt(std::string_view text);
std::string QuotedExcerpt(std::string_view text);

// The Min Return text against the limit (over-long texts only; its number is
// the Go command's business).
bool CheckMinReturnText(const std::string& minReturn, const TextLimits& limits, TextError& error);

// The label of the Min Return row, in both directions.
inline constexpr std::string_view kMinReturnLabel = "Min Return";

}  // namespace korvel::text
