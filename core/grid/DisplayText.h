#pragma once
// How a cell's bytes are shown: valid UTF-8 sequences as what they encode,
// every other byte as its Windows-1252 character, so that text written on an
// 8-bit system stays readable. Display only: the bytes themselves never change.
#include <cstddef>
#include <string>
#include <string_view>

namespace korvel::grid {

// Decodes bytes into UTF-16 code units, replacing `out`. Stops once `out`
// holds at least maxUnits units: a cell never shows more than a screenful.
void DecodeForDisplay(std::string_view bytes, std::u16string& out, size_t maxUnits = 4096);

}  // namespace korvel::grid
