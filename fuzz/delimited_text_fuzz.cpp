// libFuzzer target for the delimited-text reader that korvel-convert and
// korvel-solve read spreadsheet exports with. The first byte picks the
// options, the rest is the text. Besides not crashing: a refusal always says
// why, and what is accepted fits the limits it was read under.
#include "core/worksheet/TextImport.h"

#include <cstdlib>
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
    if (!ReadDelimitedText(text, options, limits, table, error)) {
        Require(!error.message.empty());
        return 0;
    }
    Require(table.Rows() - 1 <= limits.maxShares);
    Require(table.Cols() - 2 <= limits.maxPeriods);
    return 0;
}
