#pragma once
// Share returns (or prices) from delimited text into a worksheet table.
//
// Layouts: one row per share (name, then its returns), or one column per share
// with the names in the header row and an optional first column of dates. A
// row "Min Return,TEXT" in the first layout gives the Min Return.
#include "core/worksheet/WorksheetTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel::text {

enum class TextLayout { Detect, ByRow, ByColumn };
enum class HeaderRow { Detect, Present, Absent };

struct TextOptions {
    char separator = 0;  // 0: detected
    TextLayout layout = TextLayout::Detect;
    HeaderRow header = HeaderRow::Detect;
    bool prices = false;  // n prices per share become n-1 returns in percent
};

struct TextLimits {
    int32_t maxShares;
    int32_t minPeriods;
    int32_t maxPeriods;
    size_t maxCellChars;       // 0: no limit
    size_t maxMinReturnChars;  // 0: no limit
};

// What a worksheet document holds, as Tavo edits it.
inline constexpr TextLimits kWorksheetLimits{1000, 3, 10, 127, 20};
// What korvel-solve takes from text: ten years of weekly returns of 10,000 shares.
inline constexpr TextLimits kLargeLimits{10000, 3, 520, 0, 0};

struct TextError {
    int line = 0;   // 0: the fault has no line of its own
    int field = 0;  // 0: the whole line
    std::string message;
    // "line 4, field 3: "abc" is not a number"
    std::string Describe() const;
};

// The Min Return comes from the text's "Min Return" row, "" when it has none.
bool ReadDelimitedText(std::string_view text, const TextOptions& options, const TextLimits& limits,
                       WorksheetTable& table, TextError& error);

// The Min Return text against the limit (over-long texts only; its number is
// the Go command's business).
bool CheckMinReturnText(const std::string& minReturn, const TextLimits& limits, TextError& error);

// The label of the Min Return row, in both directions.
inline constexpr std::string_view kMinReturnLabel = "Min Return";

}  // namespace korvel::text
