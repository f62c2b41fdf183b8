#pragma once
// UTF-16LE to UTF-8, for the 16-bit string form that older documents may hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel::doc {

// Appends the UTF-8 form of `units` 16-bit little-endian code units read from
// `bytes` (2 * units bytes). An unpaired surrogate becomes U+FFFD.
void AppendUtf8FromUtf16Le(const uint8_t* bytes, size_t units, std::string& out);

// Appends the UTF-8 form of UTF-16 code units, an unpaired surrogate as U+FFFD.
void AppendUtf8FromUtf16(std::u16string_view units, std::string& out);

}  // namespace korvel::doc
