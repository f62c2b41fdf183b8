#include "core/grid/DisplayText.h"

#include <cstdint>

namespace korvel::grid {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// 0x80..0x9F in Windows-1252; the five unassigned bytes show as U+FFFD.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char16_t Cp1252(uint8_t byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t{byte};
}

bool IsContinuation(uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at the start of `bytes` and its
// code point, or 0 when the first byte does not start one (overlong forms,
// surrogates and values above U+10FFFF are not well formed).
size_t DecodeUtf8(std::string_view bytes, char32_t& codePoint)
{
    const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    const uint8_t lead = at(0);
    size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if (!IsContinuation(at(i)))
            return 0;
        codePoint = (codePoint << 6) | (at(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || codePoint > 0x10FFFF || surrogate)
        return 0;
    return length;
}

void AppendUtf16(char32_t codePoint, std::u16string& out)
{
    if (codePoint < 0x10000) {
        out += static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
}

}  // namespace

void DecodeForDisplay(std::string_view bytes, std::u16string& out, size_t maxUnits)
{
    out.clear();
    size_t i = 0;
    while (i < bytes.size() && out.size() < maxUnits) {
        char32_t codePoint = kReplacement;
        const size_t length = DecodeUtf8(bytes.substr(i), codePoint);
        if (length == 0) {
            out += Cp1252(static_cast<uint8_t>(bytes[i]));
            ++i;
        } else {
            AppendUtf16(codePoint, out);
            i += length;
        }
    }
}

}  // namespace korvel::grid
