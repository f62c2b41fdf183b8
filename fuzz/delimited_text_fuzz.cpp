// libFuzzer target for the delimited-text reader that korvel-convert and
// korvel-solve read spreadsheet exports with. The first byte picks the
// options, the rest is the text. Besides not crashing: a refusal always says
// why, what is accepted fits the limits it was read under, and the returns
// read straight into numbers are those the table's cells read as.
#include "core/text/NumberText.h"
#include "core/worksheet/TextImport.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace korvel::text;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

TextOptions OptionsFrom(uint8_t choice)
{
    static constexpr char kSeparators[] = {0, ',', ';', '\t'};
    TextOptions options;
    options.separator = kSeparators[choice & 3];
    options.layout = static_cast<TextLayout>((choice >> 2) % 3);
    options.header = static_cast<HeaderRow>((choice >> 4) % 3);
    options.prices = (choice & 0x40) != 0;
    return options;
}

void RequireSameNumbers(const korvel::WorksheetTable& table, const TextReturns& returns)
{
    Require(returns.names.size() == static_cast<size_t>(table.Rows() - 1) && returns.periods == table.Cols() - 2);
    for (int32_t r = 1; r < table.Rows(); ++r) {
        Require(returns.names[static_cast<size_t>(r - 1)] == table.TextMatrix(r, 1));
        for (int32_t p = 0; p < returns.periods; ++p) {
            const double number = returns.values[static_cast<size_t>(r - 1) * returns.periods + p];
            const std::string& cell = table.TextMatrix(r, p + 2);
            double value = 0.0;
            if (cell.empty())
                Require(std::isnan(number));
            else
                Require(ReadsAsWorksheetNumber(cell, value) && std::memcmp(&value, &number, sizeof value) == 0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const TextOptions options = OptionsFrom(data[0]);
    const TextLimits& limits = (data[0] & 0x80) != 0 ? kLargeLimits : kWorksheetLimits;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    korvel::WorksheetTable table;
    TextError error;
    TextReturns returns;
    TextDetails details;
    TextError numericError;
    const bool read = ReadDelimitedText(text, options, limits, table, error);
    Require(ReadDelimitedReturns(text, options, limits, returns, details, numericError) == read);
    if (!read) {
        Require(!error.message.empty() && numericError.Describe() == error.Describe());
        return 0;
    }
    RequireSameNumbers(table, returns);
    Require(table.Rows() - 1 <= limits.maxShares);
    Require(table.Cols() - 2 <= limits.maxPeriods);
    return 0;
}
