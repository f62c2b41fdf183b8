#include "core/analysis/ReturnText.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace korvel {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The process locale may use a decimal comma (Qt adopts the user's locale at
// start-up); returns are always written with a point.
locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t{});
    return classic;
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
    // strtod needs a terminated string; a copy also stops it at an embedded NUL,
    // which then counts as unread text.
    const std::string trimmed(TrimBlanks(text));
    const char* begin = trimmed.c_str();
    char* end = nullptr;
    const double value = strtod_l(begin, &end, ClassicLocale());
    if (end != begin + trimmed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace korvel
