// libFuzzer target for the grid's display decoding of a cell's bytes.
// Besides not crashing: the limit holds (a pair may overrun it by one unit),
// every surrogate is paired, and a text of plain ASCII shows unchanged.
#include "core/grid/DisplayText.h"

#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsHigh(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLow(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void RequirePairedSurrogates(const std::u16string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHigh(text[i])) {
            Require(i + 1 < text.size() && IsLow(text[i + 1]));
            ++i;
        } else {
            Require(!IsLow(text[i]));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the limit, the rest is the cell.
    const size_t limit = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    std::u16string whole, cut;
    korvel::grid::DecodeForDisplay(bytes, whole);
    korvel::grid::DecodeForDisplay(bytes, cut, limit);
    Require(whole.size() <= bytes.size());
    Require(cut.size() <= limit + 1);
    Require(whole.compare(0, cut.size(), cut) == 0);
    RequirePairedSurrogates(whole);

    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii && bytes.size() <= 4096)
        Require(whole == std::u16string(bytes.begin(), bytes.end()));
    return 0;
}
