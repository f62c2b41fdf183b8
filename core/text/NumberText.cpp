#include "core/text/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <new>

namespace korvel::text {
namespace {

// The classic locale, made once: strtod_l reads with it whatever locale the
// process has set, so "1.5" means one and a half on every desktop.
locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (classic == static_cast<locale_t>(nullptr))
        throw std::bad_alloc();
    return classic;
}

// The common case, a plain decimal such as "-12.75", read exactly as strtod
// reads it: when the digits form an integer w of at most 2^53 and there are at
// most 22 of them after the point, both w and 10^k are exact doubles, so the one
// correctly rounded division gives the correctly rounded value, which is what
// strtod returns. Everything else (blanks, signs other than a leading minus,
// exponents, hexadecimal, inf, nan, long digit strings) goes to strtod_l.
bool ParsePlainDecimal(std::string_view text, double& value)
{
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr uint64_t kExactLimit = uint64_t{1} << 53;
    size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++pos;
    uint64_t digits = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    bool point = false;
    // Fifteen digits stay below 10^15 < 2^53; only a longer string needs the
    // check against the exact limit.
    constexpr int kAlwaysExactDigits = 15;
    for (; pos < text.size(); ++pos) {
        const unsigned digit = static_cast<unsigned char>(text[pos]) - unsigned{'0'};
        if (digit < 10) {
            digits = digits * 10 + digit;
            ++digitCount;
            fractionDigits += point;
            if (digitCount > kAlwaysExactDigits && digits > kExactLimit)
                return false;
        } else if (text[pos] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digitCount == 0 || fractionDigits > 22)
        return false;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
}

bool ParseTerminated(const char* text, size_t size, double& value)
{
    char* end = nullptr;
    value = strtod_l(text, &end, ClassicLocale());
    return end == text + size;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view TrimmedBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

template <typename Number>
std::string Shortest(Number value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

}  // namespace

bool ReadWholeNumber(std::string_view text, double& value)
{
    if (ParsePlainDecimal(text, value))
        return true;
    // strtod needs a terminated string. Texts typed into the worksheet fit the
    // stack buffer; a longer one (only a loaded file can bring it) is parsed
    // whole from a heap copy rather than cut short.
    constexpr size_t kBuffer = 128;
    if (text.size() < kBuffer) {
        char buffer[kBuffer];
        if (!text.empty())
            std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
        return ParseTerminated(buffer, text.size(), value);
    }
    const std::string copy(text);
    return ParseTerminated(copy.c_str(), copy.size(), value);
}

bool ReadsAsWorksheetNumber(std::string_view text, double& value, NumberBlanks blanks)
{
    if (blanks == NumberBlanks::AtEitherEnd)
        text = TrimmedBlanks(text);
    return ReadWholeNumber(text, value) && std::isfinite(value);
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
