#include "core/text/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <new>

namespace korvel::text {
namespace {

locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (classic == static_cast<locale_t>(nullptr))
        throw std::bad_alloc();
    return classic;
}

template <typename Number>
std::string Shortest(Number value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

}  // namespace

bool ReadsAsWorksheetNumber(std::string_view text, double& value)
{
    const std::string copy(text);  // strtod needs the terminating zero
    char* end = nullptr;
    value = strtod_l(copy.c_str(), &end, ClassicLocale());
    return end == copy.c_str() + copy.size() && std::isfinite(value);
}

std::string ShortestText(double value)
{
    return Shortest(value);
}
std::string ShortestText(float value)
{
    return Shortest(value);
}

size_t CharacterCount(std::string_view text)
{
    size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace korvel::text
