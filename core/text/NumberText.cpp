#include "core/text/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstddef>
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

bool IsDigit(char c)
{
    return static_cast<unsigned char>(c) - unsigned{'0'} < 10;
}

const char* ReadDigits(const char* p, const char* end, uint64_t& digits)
{
    for (; p != end && IsDigit(*p); ++p)
        digits = digits * 10 + static_cast<unsigned char>(*p - '0');
    return p;
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
    // Fifteen digits stay below 10^15 < 2^53 and nineteen below 2^64, so the
    // integer is only checked once, after the loops.
    constexpr std::ptrdiff_t kAlwaysExactDigits = 15;
    constexpr std::ptrdiff_t kNeverWrappingDigits = 19;
    const char* p = text.data();
    const char* end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    uint64_t digits = 0;
    const char* wholeEnd = ReadDigits(p, end, digits);
    std::ptrdiff_t fractionDigits = 0;
    const char* last = wholeEnd;
    if (last != end && *last == '.') {
        last = ReadDigits(wholeEnd + 1, end, digits);
        fractionDigits = last - (wholeEnd + 1);
    }
    const std::ptrdiff_t digitCount = (wholeEnd - p) + fractionDigits;
    if (last != end || digitCount == 0 || fractionDigits > 22)
        return false;
    if (digitCount > kAlwaysExactDigits && (digitCount > kNeverWrappingDigits || digits > kExactLimit))
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

// Kept out of line so that the plain decimals' path sets up no buffer.
[[gnu::noinline]] bool ReadByStrtod(std::string_view text, double& value)
{
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

}  // namespace

bool ReadWholeNumber(std::string_view text, double& value)
{
    return ParsePlainDecimal(text, value) || ReadByStrtod(text, value);
}

bool ReadsAsWorksheetNumber(std::string_view text, double& value, NumberBlanks blanks)
{
    if (blanks == NumberBlanks::AtEitherEnd)
        text = TrimmedBlanks(text);
    // A plain decimal is always finite.
    if (ParsePlainDecimal(text, value))
        return true;
    return ReadByStrtod(text, value) && std::isfinite(value);
}

std::string FixedText(double value, int decimals)
{
    std::string text(32, '\0');
    for (;;) {
        const std::to_chars_result result =
            std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
        if (result.ec == std::errc{}) {
            text.resize(static_cast<std::size_t>(result.ptr - text.data()));
            return text;
        }
        text.resize(text.size() * 2);
    }
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
