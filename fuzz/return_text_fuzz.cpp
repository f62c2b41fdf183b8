// libFuzzer target for how the Single analysis window reads a typed return.
// Besides not crashing: a number read is finite, blanks around the text never
// change it, and the number printed back reads as the same number.
#include "core/analysis/ReturnText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = korvel::ReadReturnText(text);
    Require(value == korvel::ReadReturnText(" \t" + text + "\r\n"));
    if (!value)
        return 0;
    Require(std::isfinite(*value));
    Require(text.find('\0') == std::string::npos);
    char printed[40];
    std::snprintf(printed, sizeof printed, "%.17g", *value);
    Require(korvel::ReadReturnText(printed) == value);
    return 0;
}
