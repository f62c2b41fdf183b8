#include "core/analysis/ReturnText.h"

#include "core/text/NumberText.h"

namespace korvel {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> ReadReturnText(std::string_view text)
{
    double value = 0.0;
    if (!text::ReadsAsWorksheetNumber(TrimBlanks(text), value))
        return std::nullopt;
    return value;
}

}  // namespace korvel
