#include "core/text/Utf16.h"

namespace korvel::doc {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

char32_t UnitAt(const uint8_t* bytes, size_t i)
{
    return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

void AppendUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

void AppendUtf8FromUtf16(std::u16string_view units, std::string& out)
{
    out.reserve(out.size() + units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char32_t u = units[i];
        if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            const char32_t low = units[++i];
            AppendUtf8(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00), out);
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            AppendUtf8(kReplacement, out);
        } else {
            AppendUtf8(u, out);
        }
    }
}

void AppendUtf8FromUtf16Le(const uint8_t* bytes, size_t units, std::string& out)
{
    std::u16string text(units, u'\0');
    for (size_t i = 0; i < units; ++i)
        text[i] = static_cast<char16_t>(UnitAt(bytes, i));
    AppendUtf8FromUtf16(text, out);
}

}  // namespace korvel::doc
